// "确定" at print resolution, each beside libpng encoding the very same output rows at the same
// settings in the same run: the default board holding the benchmark handwriting, and a round
// seal of 42 mm with its stamp's look and 18 characters, both drawn again at print scale (4 times
// at 96 dpi, 400 pixels to the inch) and written as the PNG hand-off file.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardTool.h"
#include "Bmp.h"
#include "ByteSink.h"
#include "Figure.h"
#include "FileReplace.h"
#include "Handwriting.h"
#include "Png.h"
#include "RoundSeal.h"
#include "SealArt.h"
#include "SealParamsText.h"
#include "SealTemplates.h"
#include "StampLook.h"
#include "WhiteBorad.h"

namespace {

using namespace inkra;

double Ms(const std::function<void()>& body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The print "确定" of `model` and libpng on its output, interleaved so both see the same load on
// the machine; prints the figure `key` and a line, and returns nothing.
void ComparePrint(const board::BoardModel& model, const char* key, const char* what, const std::wstring& png) {
  const double scale = model.PrintScale();
  VectorSink printed;
  model.WritePngAt(printed, scale);
  const PngImage out = ReadPng(printed.data);
  const PngRows rows{out.pixels.data(), std::size_t(out.width) * std::size_t(out.channels), out.width, out.height,
                     out.channels};
  std::vector<double> prints, encodes, draws;
  for (int run = 0; run < 9; ++run) {
    draws.push_back(Ms([&] { model.InkAt(scale); }));
    prints.push_back(Ms([&] { win::ReplaceFileWith(png, [&](ByteSink& sink) { model.WritePngAt(sink, scale); }); }));
    encodes.push_back(Ms([&] { win::ReplaceFileWith(png, [&](ByteSink& sink) { WritePng(rows, sink); }); }));
  }
  std::sort(prints.begin(), prints.end());
  std::sort(encodes.begin(), encodes.end());
  std::sort(draws.begin(), draws.end());
  const double print = prints[prints.size() / 2], encode = encodes[encodes.size() / 2];
  PrintFigure(key, print, encode);
  std::printf("confirm at print scale %.4g, %s (%dx%d, %zu bytes): %8.1f ms\n", scale, what, out.width, out.height,
              printed.data.size(), print);
  std::printf("libpng on the same rows, same settings:   %8.1f ms (the ink alone drawn at the scale: %.1f ms)\n", encode,
              draws[draws.size() / 2]);
  DeleteFileW(png.c_str());
}

// The round seal the dialog makes from "公章 42 mm" with 18 characters and "仿真效果", as the
// board keeps it: its hand-off pixels and what they were drawn from.
std::shared_ptr<const ScalableArt> RoundSealArt(Bitmap& handOff) {
  RoundSealParams chosen;
  chosen.text = "一二三四五六七八九十甲乙丙丁戊己庚辛";
  chosen.stampLook = true;
  const std::vector<std::string>& names = RoundTemplateNames();
  const int index = int(std::find(names.begin(), names.end(), std::string("公章 42 mm")) - names.begin());
  const RoundSealParams p = ApplyRoundTemplate(index, chosen);
  const RoundSealGeometry g = ComputeGeometry(p);
  const std::uint32_t seed = StampSeed(RoundSealText(p, 0));
  auto art = std::make_shared<win::SealArt>(
      g.imageWidth, g.imageHeight, [p](Canvas& canvas) { DrawRoundSeal(canvas, p); },
      [seed](ink::InkLayer& layer, int dpi) { ApplyStampLook(layer, seed, dpi); }, 96);
  handOff = art->DrawAt(1);
  return art;
}

}  // namespace

int RunPrintTimings() {
  wchar_t tempFolder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, tempFolder);
  const std::wstring png = std::wstring(tempFolder) + L"board-bench-print.png";
  board::win::GdiSurfaceFactory surfaces;

  board::BoardModel handwriting(surfaces);
  handwriting.Create(602, 258);
  const auto path = bench::Handwriting(0, 0, 1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    const int x = int(path[i].x), y = int(path[i].y);
    if (i % bench::kStepsPerStroke == 0) {
      handwriting.MouseUp();
      handwriting.MouseDown(board::MouseButton::Left, x, y);
    }
    handwriting.MouseMove(x, y);
  }
  handwriting.MouseUp();
  ComparePrint(handwriting, "confirm_print", "602x258 handwriting", png);

  board::BoardModel sealed(surfaces);
  sealed.Create(602, 258);
  Bitmap handOff;
  const auto art = RoundSealArt(handOff);
  VectorSink bmp;
  WriteBmp(handOff, bmp);
  sealed.TakeSeal(bmp.data, art);
  ComparePrint(sealed, "confirm_print_seal", "round seal 42 mm, 18 characters, stamp's look", png);
  return 0;
}
