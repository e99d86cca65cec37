// Timings of the board under Wine, printed: a stroke step (polygon and repaint) and the undo of
// a stroke (Ctrl+Z) on the default board and on an A4 page
// at 300 dpi (2480 x 3508), the confirm command on that page against
// a raw write of as many bytes, and opening a JPEG of that size (libjpeg's own djpeg decodes
// the same solid-colour page in about 40 ms natively, for comparison).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "BoardTestJpeg.h"
#include "BoardTool.h"
#include "Figure.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "HandOffFile.h"
#include "MemorySettingsStore.h"
#include "WhiteBorad.h"

namespace {

using namespace inkra;
using Clock = std::chrono::steady_clock;

constexpr int kPageWidth = 2480, kPageHeight = 3508;

// Median of `runs` of `body`, in microseconds per call of it (each run calls it `calls` times):
// steadier than the best on a machine other work shares.
double Time(int runs, int calls, const std::function<void()>& body) {
  std::vector<double> us;
  for (int r = 0; r < runs; ++r) {
    auto start = Clock::now();
    for (int i = 0; i < calls; ++i) body();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls);
  }
  std::sort(us.begin(), us.end());
  return us[us.size() / 2];
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WriteAll(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Strokes going round in a circle, one step per call.
double StrokeStep(board::win::TfrmWhiteBorad& board, int cx, int cy) {
  ShowWindow(board.Handle(), SW_SHOW);
  Pump();
  board.imageMouseDown(board::MouseButton::Left, cx, cy);
  int i = 0;
  double us = Time(9, 400, [&] {
    const double a = (i++ % 360) * 3.14159 / 180;
    board.imageMouseMove(cx + int(100 * std::cos(a)), cy + int(100 * std::sin(a)));
  });
  board.imageMouseUp(board::MouseButton::Left, 0, 0);
  ShowWindow(board.Handle(), SW_HIDE);
  Pump();
  return us;
}

// Ctrl+Z then Ctrl+Y, over and over: the median time of the undo alone (the history's swap and
// the view's repaint), in microseconds.
double MedianUndo(board::win::TfrmWhiteBorad& board) {
  ShowWindow(board.Handle(), SW_SHOW);
  Pump();
  std::vector<double> us;
  for (int i = 0; i < 101; ++i) {
    const auto start = Clock::now();
    board.KeyUndoPress();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    board.KeyRedoPress();
  }
  std::nth_element(us.begin(), us.begin() + 50, us.end());
  ShowWindow(board.Handle(), SW_HIDE);
  Pump();
  return us[50];
}

// One stroke once round a circle of radius 100; returns the bytes the history keeps for it.
std::size_t CircleStroke(board::win::TfrmWhiteBorad& board, int cx, int cy) {
  const std::size_t before = board.Model().History().BytesHeld();
  board.imageMouseDown(board::MouseButton::Left, cx + 100, cy);
  for (int degrees = 0; degrees <= 360; degrees += 6) {
    const double a = degrees * 3.14159 / 180;
    board.imageMouseMove(cx + int(100 * std::cos(a)), cy + int(100 * std::sin(a)));
  }
  board.imageMouseUp(board::MouseButton::Left, 0, 0);
  return board.Model().History().BytesHeld() - before;
}

}  // namespace

int RunBoardTimings(const wchar_t* jpegPath) {
  wchar_t tempFolder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, tempFolder);
  const std::wstring folder = tempFolder;
  const std::wstring pageBmp = folder + L"board-bench-page.bmp", pageJpg = folder + L"board-bench-page.jpg";
  {
    VectorSink bmp;
    WriteBmp(Bitmap(kPageWidth, kPageHeight, 24), bmp);
    WriteAll(pageBmp, bmp.data);
    if (jpegPath)
      WriteAll(pageJpg, ReadFileBytes(std::filesystem::path(jpegPath)));
    else
      WriteAll(pageJpg, board::testing::MakeJpeg(kPageWidth, kPageHeight, 250, 245, 230));
  }
  board::MemorySettingsStore noSettings;
  FixedDialogs dialogs;
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  options.dialogs = &dialogs;
  options.handOffPath = folder + L"board-bench-handoff.wmf";

  board::win::TfrmWhiteBorad board(options);
  const double smallStep = StrokeStep(board, 300, 130);
  std::printf("stroke step, default board 602x258:      %8.1f us\n", smallStep);
  std::size_t kept = CircleStroke(board, 300, 130);
  const double smallUndo = MedianUndo(board);
  std::printf("undo of a stroke, default board 602x258:  %8.1f us (stroke kept in %zu KB)\n", smallUndo,
              kept / 1024);

  dialogs.path = pageBmp;
  board.BtnOpenClick();
  const double pageStep = StrokeStep(board, 300, 130);
  std::printf("stroke step, page 2480x3508:              %8.1f us\n", pageStep);
  PrintFigure("stroke", pageStep / 1000, smallStep / 1000);
  kept = CircleStroke(board, 300, 130);
  const double pageUndo = MedianUndo(board);
  std::printf("undo of a stroke, page 2480x3508:         %8.1f us (stroke kept in %zu KB)\n", pageUndo,
              kept / 1024);
  PrintFigure("undo", pageUndo / 1000, smallUndo / 1000);
  board.BtnDeleteClick();
  std::printf("undo of a clear of the page:              %8.1f us\n", MedianUndo(board));

  VectorSink encoded;
  board.Model().WritePicture(encoded);
  // Interleaved, so both see the same load on the machine.
  std::vector<double> confirms, raws;
  for (int run = 0; run < 11; ++run) {
    confirms.push_back(Time(1, 1, [&] { board.BtnOKClick(); }));
    raws.push_back(Time(1, 1, [&] { win::WriteHandOffFile(options.handOffPath, encoded.data); }));
  }
  std::sort(confirms.begin(), confirms.end());
  std::sort(raws.begin(), raws.end());
  const double confirm = confirms[confirms.size() / 2], raw = raws[raws.size() / 2];
  PrintFigure("confirm", confirm / 1000, raw / 1000);
  std::printf("confirm of the page (%zu bytes):    %8.1f ms\n", encoded.data.size(), confirm / 1000);
  std::printf("raw write of as many bytes:               %8.1f ms\n", raw / 1000);
  Pump();

  dialogs.path = pageJpg;
  const double open = Time(7, 1, [&] { board.BtnOpenClick(); });
  PrintFigure("open_jpeg", open / 1000, 0);  // the anchor, djpeg, is timed natively by scripts/bench
  std::printf("open of a 2480x3508 JPEG (%s):        %8.1f ms\n",
              board.Model().Kind() == board::PictureKind::Jpeg ? "jpeg" : "??", open / 1000);
  DeleteFileW(pageJpg.c_str());
  DeleteFileW(pageBmp.c_str());
  DeleteFileW(options.handOffPath.c_str());
  return 0;
}
