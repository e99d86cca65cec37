// Timings of the board under Wine, printed: a stroke step (the nib's anti-aliased band and the
// repaint) and the undo of a stroke (Ctrl+Z) on the default board and on an A4 page at 300 dpi
// (2480 x 3508), both at 32 bits, and under 300 strokes that cross it; the confirm of a signed
// page of that size written as a PNG against libpng's own encoding of the same RGBA, and its size
// against libpng's defaults; and opening a JPEG of that size (libjpeg's own djpeg decodes the same
// solid-colour page in about 40 ms natively, for comparison).
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
#include "Handwriting.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "FileReplace.h"
#include "HandOffFile.h"
#include "Png.h"
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

// Handwriting, one step per call, a new stroke every few dozen steps (its press and release
// timed with the step they come with).
double StrokeStep(board::win::TfrmWhiteBorad& board) {
  ShowWindow(board.Handle(), SW_SHOW);
  Pump();
  const auto path = bench::Handwriting(0, 0, 1);
  std::size_t i = 0;
  const double us = Time(9, 400, [&] {
    const auto& p = path[i % path.size()];
    if (i % bench::kStepsPerStroke == 0) {
      board.imageMouseUp(board::MouseButton::Left, 0, 0);
      board.imageMouseDown(board::MouseButton::Left, int(p.x), int(p.y));
    } else {
      board.imageMouseMove(int(p.x), int(p.y));
    }
    ++i;
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
  const std::wstring greyBmp = folder + L"board-bench-grey.bmp";
  {
    // A palette picture of the default board's size: the board draws on it as it drew on every
    // picture before strokes became ink (a GDI polygon per step, no coverage).
    VectorSink grey;
    WriteBmp(Bitmap(602, 258, 8), grey);
    WriteAll(greyBmp, grey.data);
    VectorSink bmp;
    // At the display's depth, as the default board is: the two stroke steps compare like with like.
    WriteBmp(Bitmap(kPageWidth, kPageHeight, 32), bmp);
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
  const double smallStep = StrokeStep(board);
  std::printf("stroke step, default board 602x258:      %8.1f us\n", smallStep);
  // The same with the pen's tip on, as the user ticks it, beside the step without it timed
  // right after (the first figure of the run also carries the window's first showing).
  SendMessageW(board.PenTipBox(), BM_SETCHECK, BST_CHECKED, 0);
  board.chkTipClick();
  const double tipStep = StrokeStep(board);
  SendMessageW(board.PenTipBox(), BM_SETCHECK, BST_UNCHECKED, 0);
  board.chkTipClick();
  const double plainStep = StrokeStep(board);
  std::printf("stroke step with 笔锋, 602x258:          %8.1f us (without, again: %.1f us)\n", tipStep, plainStep);
  PrintFigure("stroke_tip", tipStep / 1000, plainStep / 1000);
  std::size_t kept = CircleStroke(board, 300, 130);
  const double smallUndo = MedianUndo(board);
  std::printf("undo of a stroke, default board 602x258:  %8.1f us (history budget +%zu KB)\n", smallUndo,
              kept / 1024);

  dialogs.path = greyBmp;
  board.BtnOpenClick();
  const double aliasedStep = StrokeStep(board);
  std::printf("aliased stroke step, 602x258 palette:     %8.1f us\n", aliasedStep);
  PrintFigure("stroke_aliased", smallStep / 1000, aliasedStep / 1000);
  DeleteFileW(greyBmp.c_str());

  dialogs.path = pageBmp;
  board.BtnOpenClick();
  const double pageStep = StrokeStep(board);
  std::printf("stroke step, page 2480x3508:              %8.1f us\n", pageStep);
  PrintFigure("stroke", pageStep / 1000, smallStep / 1000);
  kept = CircleStroke(board, 300, 130);
  const double pageUndo = MedianUndo(board);
  std::printf("undo of a stroke, page 2480x3508:         %8.1f us (history budget +%zu KB)\n", pageUndo,
              kept / 1024);
  PrintFigure("undo", pageUndo / 1000, smallUndo / 1000);
  board.BtnDeleteClick();
  std::printf("undo of a clear of the page:              %8.1f us\n", MedianUndo(board));
  // The undo of a stroke that 300 earlier strokes cross: the area it covered is drawn again from
  // every one of them.
  board.BtnDeleteClick();
  for (int i = 0; i < 300; ++i) {
    const int x = 20 + (i * 37) % 560;
    board.imageMouseDown(board::MouseButton::Left, x, 5);
    for (int k = 1; k <= 10; ++k) board.imageMouseMove(x + (k % 2) * 15, 5 + k * 24);
    board.imageMouseUp(board::MouseButton::Left, 0, 0);
  }
  board.imageMouseDown(board::MouseButton::Left, 10, 130);
  for (int x = 10; x < 590; x += 8) board.imageMouseMove(x, 130 + int(30 * std::sin(x / 30.0)));
  board.imageMouseUp(board::MouseButton::Left, 0, 0);
  std::printf("undo of a stroke 300 strokes cross:       %8.1f us\n", MedianUndo(board));

  // "确定" of a page-size sheet of paper with a signature, as a current Office gets it: the model
  // writes the PNG (ink with its alpha, paper transparent) into the hand-off file. The anchor is
  // libpng encoding the very same RGBA rows at the same settings into a file.
  board::win::GdiSurfaceFactory surfaces;
  board::BoardModel signedPage(surfaces);
  signedPage.Create(kPageWidth, kPageHeight);
  for (int line = 0; line < 12; ++line) {
    const int y = 300 + line * 250;
    signedPage.MouseDown(board::MouseButton::Left, 200, y);
    for (int x = 200; x <= 2200; x += 8)
      signedPage.MouseMove(x, y + int(60 * std::sin(x / 40.0)) + int(30 * std::cos(x / 13.0)));
    signedPage.MouseUp();
  }
  const std::wstring png = folder + L"board-bench-handoff.png";
  VectorSink ours;
  signedPage.WritePng(ours);
  const PngImage rgba = ReadPng(ours.data);
  const PngRows rows{rgba.pixels.data(), std::size_t(rgba.width) * 4, rgba.width, rgba.height, 4};
  VectorSink libpngDefault;
  WritePng(rows, libpngDefault, PngSettings{6, PngFilter::Adaptive, false});
  std::vector<double> confirms, encodes;
  for (int run = 0; run < 7; ++run) {  // interleaved, so both see the same load on the machine
    confirms.push_back(Time(1, 1, [&] { win::ReplaceFileWith(png, [&](ByteSink& sink) { signedPage.WritePng(sink); }); }));
    encodes.push_back(Time(1, 1, [&] { win::ReplaceFileWith(png, [&](ByteSink& sink) { WritePng(rows, sink); }); }));
  }
  std::sort(confirms.begin(), confirms.end());
  std::sort(encodes.begin(), encodes.end());
  const double confirm = confirms[confirms.size() / 2], encode = encodes[encodes.size() / 2];
  PrintFigure("confirm", confirm / 1000, encode / 1000);
  PrintFigure("confirm_size", double(ours.data.size()), double(libpngDefault.data.size()));
  std::printf("confirm of a signed page as PNG (%zu bytes): %8.1f ms\n", ours.data.size(), confirm / 1000);
  std::printf("libpng on the same RGBA, same settings:   %8.1f ms (its defaults: %zu bytes)\n", encode / 1000,
              libpngDefault.data.size());
  DeleteFileW(png.c_str());
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
