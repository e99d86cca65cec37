// Times one preview redraw of the seals with the GDI canvas and prints the figures:
//   seal_preview_bench.exe [iterations]
// Figures only: nothing here passes or fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "Figure.h"
#include "GdiCanvas.h"
#include "RoundSeal.h"
#include "SquareSeal.h"
#include "UtOneSign.h"
#include "uSign.h"

namespace {

using namespace inkra;
using namespace inkra::win;

// Prints the figures and returns the median in milliseconds.
double Report(const char* what, int iterations, const std::function<void()>& once) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  once();  // warm the font cache
  std::vector<double> ms;
  for (int i = 0; i < iterations; ++i) {
    QueryPerformanceCounter(&start);
    once();
    QueryPerformanceCounter(&end);
    ms.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  double total = 0;
  for (double v : ms) total += v;
  std::printf("%-44s median %8.3f ms  min %8.3f ms  mean %8.3f ms  (%d runs)\n", what,
              ms[ms.size() / 2], ms.front(), total / double(ms.size()), iterations);
  return ms[ms.size() / 2];
}

void DrawRound(const RoundSealParams& p) {
  const RoundSealGeometry g = ComputeGeometry(p);
  GdiCanvas canvas(g.imageWidth, g.imageHeight, 24);
  DrawRoundSeal(canvas, p);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int iterations = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
  RoundSealParams defaults;
  RoundSealParams eighteen;
  eighteen.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  eighteen.textSize = 100;

  Report("round seal, defaults (10 characters)", iterations, [&] { DrawRound(defaults); });
  const double eighteenMs = Report("round seal, 18 characters at size 100", iterations, [&] { DrawRound(eighteen); });
  PrintFigure("seal_redraw", eighteenMs, 16);  // one frame
  Report("square seal, defaults", iterations, [] {
    GdiCanvas canvas(kSquareSealSide, kSquareSealSide, 24);
    DrawSquareSeal(canvas, SquareSealParams{});
  });

  // The dialogs' own preview handlers: controls read, checked, drawn and shown.
  TfrmSign round;
  Report("TfrmSign::btn_InputClick, defaults", iterations, [&] { round.btn_InputClick(); });
  SetWindowTextW(GetDlgItem(round.Handle(), TfrmSign::idInput), L"一二三四五六七八九十甲乙丙丁戊己庚辛");
  Report("TfrmSign::btn_InputClick, 18 characters", iterations, [&] { round.btn_InputClick(); });
  TfrmOneSign square;
  Report("TfrmOneSign::DrawSeal, defaults", iterations, [&] { square.DrawSeal(); });
  return 0;
}
