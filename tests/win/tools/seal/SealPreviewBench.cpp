// Times one preview redraw of the seals as the dialogs draw them (ink with exact coverage, then
// laid over white), beside GDI's aliased drawing of the same, and prints the figures:
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
#include "GdiGlyphSource.h"
#include "SealForm.h"
#include "RoundSeal.h"
#include "SealParamsText.h"
#include "SealTemplates.h"
#include "StampLook.h"
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

void DrawRoundGdi(const RoundSealParams& p) {
  const RoundSealGeometry g = ComputeGeometry(p);
  GdiCanvas canvas(g.imageWidth, g.imageHeight, 24);
  DrawRoundSeal(canvas, p);
}

// As the dialog redraws its preview: the glyph source (and its outlines) kept from the last time,
// the stamp's look laid over the ink when the seal asks for it.
void DrawRound(GdiGlyphSource& glyphs, const RoundSealParams& p) {
  const RoundSealGeometry g = ComputeGeometry(p);
  InkFinish look;
  if (p.stampLook) {
    const std::uint32_t seed = StampSeed(RoundSealText(p, 0));
    look = [seed](ink::InkLayer& layer, int dpi) { ApplyStampLook(layer, seed, dpi); };
  }
  const auto ink = DrawSealInk(glyphs, g.imageWidth, g.imageHeight, [&p](Canvas& c) { DrawRoundSeal(c, p); }, look);
  InkOverWhite(*ink);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int iterations = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
  RoundSealParams defaults;
  RoundSealParams eighteen;
  eighteen.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  eighteen.textSize = 100;

  GdiGlyphSource glyphs(96);
  Report("round seal, defaults (10 characters)", iterations, [&] { DrawRound(glyphs, defaults); });
  const double eighteenMs = Report("round seal, 18 characters at size 100", iterations, [&] { DrawRound(glyphs, eighteen); });
  PrintFigure("seal_redraw", eighteenMs, 16);  // one frame
  Report("  the same drawn aliased by GDI", iterations, [&] { DrawRoundGdi(eighteen); });
  GdiGlyphSource glyphs192(192);
  Report("round seal, 18 characters at size 100, 192 dpi", iterations, [&] { DrawRound(glyphs192, eighteen); });
  // The templates as a user makes them at 200 % scaling: 42 mm with the stamp's look, and the oval.
  RoundSealParams template42 = ApplyRoundTemplate(1, RoundSealParams{});
  template42.text = eighteen.text;
  template42.code = "1101000012345";
  template42.stampLook = true;
  const double lookMs = Report("42 mm template, 18 characters, look, 192 dpi", iterations, [&] { DrawRound(glyphs192, template42); });
  PrintFigure("seal_template_look_redraw", lookMs, 16);
  // Where that time goes: the drawing without the look, and the look alone on drawn ink.
  RoundSealParams plain42 = template42;
  plain42.stampLook = false;
  Report("  the same without the look", iterations, [&] { DrawRound(glyphs192, plain42); });
  const RoundSealGeometry g42 = ComputeGeometry(plain42);
  const auto ink42 = DrawSealInk(glyphs192, g42.imageWidth, g42.imageHeight, [&](Canvas& c) { DrawRoundSeal(c, plain42); });
  Report("  the look alone (over and over on the same ink)", iterations, [&] { ApplyStampLook(*ink42, 1, 192); });
  RoundSealParams oval = ApplyRoundTemplate(6, template42);
  const double ovalMs = Report("oval template, 18 characters, look, 192 dpi", iterations, [&] { DrawRound(glyphs192, oval); });
  PrintFigure("seal_oval_redraw", ovalMs, 16);
  Report("square seal, defaults", iterations, [&] {
    InkOverWhite(*DrawSealInk(glyphs, kSquareSealSide, kSquareSealSide, [](Canvas& c) { DrawSquareSeal(c, SquareSealParams{}); }));
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
