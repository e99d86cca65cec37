// board_tool screens <folder>   drives the board and captures the screen at each state
// board_tool timings [JPEG]     prints the board's timings, the scan hand-off's among them; the
//                               JPEG opened is the one named, or a made-up page
// board_tool print             only the timings of "确定" at print resolution
// board_tool opens              only the timings of opening the board and the round seal
// board_tool peak WHAT          the memory taken by opening the largest picture the board holds
//                               (WHAT: jpeg or bmp), or the refusal of a 20000 x 20000 one
//                               (huge-jpeg, huge-bmp); one per run, the peak being the process's
#include <windows.h>

#include <cstdio>
#include <string>

#include "BoardTool.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"screens" && argc > 2) return RunBoardScreens(argv[2]);
  if (mode == L"peak" && argc > 2) return RunBoardPeak(argv[2]);
  if (mode == L"timings") return RunBoardTimings(argc > 2 ? argv[2] : nullptr) | RunPrintTimings() | RunScanTimings() | RunOpenTimings();
  if (mode == L"opens") return RunOpenTimings();
  if (mode == L"print") return RunPrintTimings();
  std::fprintf(stderr, "usage: board_tool screens FOLDER | board_tool timings [JPEG] | board_tool print | board_tool opens | board_tool peak WHAT\n");
  return 2;
}
