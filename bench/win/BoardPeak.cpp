// The memory the board takes to open the largest picture it holds (6144 x 5461 at 24 bits, just
// under 96 MiB of pixels), as a JPEG and as a BMP, and the refusal of a 20000 x 20000 picture;
// and a photo of 3000 x 2000 (a BMP), whose "确定" at print scale (about 2) is the largest
// picture the board writes from a picture of an ordinary size. The peak working set is the
// process's own lifetime peak, so each case is a run of its own:
//   board_tool peak jpeg | bmp | huge-jpeg | huge-bmp | photo
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <fstream>
#include <vector>

#include "BoardTestJpeg.h"
#include "ByteSink.h"
#include "Figure.h"
#include "BoardItems.h"
#include "BoardTool.h"
#include "MemorySettingsStore.h"
#include "TextConvert.h"
#include "WhiteBorad.h"

namespace {

using namespace inkra;

constexpr int kLargestWidth = 6144, kLargestHeight = 5461;  // 100,657,152 bytes at 24 bits
constexpr int kHugeSide = 20000;
constexpr int kPhotoWidth = 3000, kPhotoHeight = 2000;

// The commit charge stands for the private bytes: Wine answers PrivateUsage with 0 but fills it.
PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
  return m;
}

double Mb(std::size_t bytes) { return double(bytes) / (1 << 20); }

void WriteAll(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A 24-bit BMP written row by row, so making it takes no memory of its size. Rows left out
// (`sparse`) are a hole in the file, which reads as black.
void WriteBmpFile(const std::filesystem::path& path, int width, int height, bool sparse) {
  const std::vector<std::uint8_t> headers = board::testing::BmpHeadersOf(width, height, 24);
  const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(headers.data()), std::streamsize(headers.size()));
    if (!sparse) {
      const std::vector<char> row(stride, char(0xE0));
      for (int y = 0; y < height; ++y) out.write(row.data(), std::streamsize(stride));
    }
  }
  if (sparse) std::filesystem::resize_file(path, headers.size() + stride * std::size_t(height));
}

}  // namespace

int RunBoardPeak(const std::wstring& what) {
  wchar_t tempFolder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, tempFolder);
  const bool huge = what.rfind(L"huge-", 0) == 0;
  const bool jpeg = what.find(L"jpeg") != std::wstring::npos;
  const bool photo = what == L"photo";
  const int width = huge ? kHugeSide : photo ? kPhotoWidth : kLargestWidth;
  const int height = huge ? kHugeSide : photo ? kPhotoHeight : kLargestHeight;
  const std::filesystem::path file = std::wstring(tempFolder) + L"board-peak." + (jpeg ? L"jpg" : L"bmp");
  if (jpeg)
    WriteAll(file, board::testing::MakeJpeg(width, height, 200, 180, 150));
  else
    WriteBmpFile(file, width, height, huge);

  board::MemorySettingsStore noSettings;
  FixedDialogs dialogs;
  dialogs.path = file.wstring();
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  options.dialogs = &dialogs;
  board::win::TfrmWhiteBorad board(options);
  // Opened on a fresh board, then once more over itself (the history then holds the first as its
  // pixels or its file), then that second open taken back; then signed (the ink layer, 4 bytes a
  // pixel, and its wet coverage) and written as the PNG "确定" hands to a current Office.
  const PROCESS_MEMORY_COUNTERS before = Memory();
  std::printf("%dx%d %s (%.1f MB file); working set %.1f MB, private bytes %.1f MB before\n", width, height,
              jpeg ? "JPEG" : "BMP", Mb(std::filesystem::file_size(file)), Mb(before.PeakWorkingSetSize),
              Mb(before.PagefileUsage));
  const struct {
    const char* name;
    std::function<void()> step;
  } steps[] = {{"open", [&] { board.BtnOpenClick(); }},
               {"open again", [&] { board.BtnOpenClick(); }},
               {"undo", [&] { board.KeyUndoPress(); }},
               {"sign", [&] {
                  board.imageMouseDown(board::MouseButton::Left, 100, 100);
                  for (int x = 100; x < 600; x += 6) board.imageMouseMove(x, 100 + (x / 6 % 2) * 40);
                  board.imageMouseUp(board::MouseButton::Left, 0, 0);
                }},
               {"as PNG", [&] {
                  VectorSink png;
                  board.Model().WritePng(png);
                }},
               {"print PNG", [&] {
                  VectorSink png;
                  board.Model().WritePngAt(png, board.Model().PrintScale());
                }},
               // Signed across, corner to corner, so the ink's box is the whole picture; then
               // "清除", which keeps the signed picture, and its undo.
               {"sign across", [&] {
                  board.imageMouseDown(board::MouseButton::Left, 10, 10);
                  for (int x = 10; x < width - 10; x += 6) board.imageMouseMove(x, 10 + (x - 10) * (height - 20) / (width - 20));
                  board.imageMouseUp(board::MouseButton::Left, 0, 0);
                }},
               {"clear", [&] { board.BtnDeleteClick(); }},
               {"undo clear", [&] { board.KeyUndoPress(); }}};
  for (const auto& step : steps) {
    const PROCESS_MEMORY_COUNTERS at = Memory();
    const auto start = std::chrono::steady_clock::now();
    std::string outcome = "done";
    try {
      step.step();
    } catch (const std::exception& e) {
      outcome = e.what();
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const PROCESS_MEMORY_COUNTERS after = Memory();
    std::printf("  %-10s %6.0f ms: peak working set +%.1f MB, private bytes now +%.1f MB, history %.1f MB; %s\n",
                step.name, ms, Mb(after.PeakWorkingSetSize - before.PeakWorkingSetSize),
                Mb(after.PagefileUsage - before.PagefileUsage), Mb(board.Model().History().BytesHeld()),
                outcome.c_str());
    if (std::string(step.name) == "print PNG") {
      // What the print "确定" took above the memory the board held, beside the ink drawn at the
      // print scale (4 bytes a pixel), which it cannot do without.
      const double scale = board.Model().PrintScale();
      const double layer = 4.0 * board::ScaledLength(width, scale) * board::ScaledLength(height, scale);
      std::printf("  print at %.4g: %.1f MB above the board's memory, the ink at that scale %.1f MB\n", scale,
                  Mb(after.PeakWorkingSetSize - at.WorkingSetSize), Mb(std::size_t(layer)));
      if (photo) PrintFigure("print_peak", Mb(after.PeakWorkingSetSize - at.WorkingSetSize), Mb(std::size_t(layer)));
    }
    if (huge) break;
  }
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  return 0;
}
