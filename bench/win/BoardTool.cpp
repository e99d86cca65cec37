// board_tool screens <folder>   drives the board and captures the screen at each state
// board_tool timings [JPEG]     prints the board's timings, the scan hand-off's among them; the
//                               JPEG opened is the one named, or a made-up page
#include <windows.h>

#include <cstdio>
#include <string>

#include "BoardTool.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"screens" && argc > 2) return RunBoardScreens(argv[2]);
  if (mode == L"timings") return RunBoardTimings(argc > 2 ? argv[2] : nullptr) | RunScanTimings();
  std::fprintf(stderr, "usage: board_tool screens FOLDER | board_tool timings [JPEG]\n");
  return 2;
}
