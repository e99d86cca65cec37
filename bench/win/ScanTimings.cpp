// The hand-off of an A4 24-bit scan (2480 x 3508) from the source's DIB to the board picture:
// the scan command's drawing into its temporary picture and the board taking that picture over,
// beside a plain copy of the DIB's bytes plus one StretchDIBits of them into a bitmap that
// already exists. Prints both, the median of nine, and their ratio.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BoardModel.h"
#include "BoardTool.h"
#include "Figure.h"
#include "GdiSurface.h"
#include "MultiTWAIN.h"
#include "PageDib.h"
#include "ScanPicture.h"

namespace {

using namespace inkra;
using Clock = std::chrono::steady_clock;

template <typename Body>
double MedianMs(Body body) {
  std::vector<double> ms;
  for (int run = 0; run < 9; ++run) {
    const auto start = Clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int RunScanTimings() {
  constexpr int kWidth = 2480, kHeight = 3508;
  HGLOBAL dib = twain::fake::MakePageDib({6, kWidth, kHeight, 24, 0}, 0);
  if (!dib) return 1;
  const std::size_t size = GlobalSize(dib);
  board::win::GdiSurfaceFactory surfaces;
  board::BoardModel model(surfaces);
  model.Create(602, 258);

  const double handOff = MedianMs([&] {
    board::win::ScanPicture picture(surfaces);
    twain::TWAIN_DrawToImage(dib, picture);
    model.TakeScan(picture.TakePicture());
  });

  std::vector<std::uint8_t> copy(size);
  auto target = surfaces.NewWhite(kWidth, kHeight);
  HDC dc = static_cast<board::win::GdiSurface&>(*target).Dc();
  const double baseline = MedianMs([&] {
    const void* bytes = GlobalLock(dib);
    std::memcpy(copy.data(), bytes, size);
    GlobalUnlock(dib);
    StretchDIBits(dc, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, copy.data() + sizeof(BITMAPINFOHEADER),
                  reinterpret_cast<const BITMAPINFO*>(copy.data()), DIB_RGB_COLORS, SRCCOPY);
  });
  GlobalFree(dib);

  std::printf("scan hand-off, A4 24-bit DIB to the board picture (%d bpp): %8.1f ms\n", surfaces.DisplayDepth(),
              handOff);
  std::printf("memcpy of the DIB + StretchDIBits into an existing bitmap:   %8.1f ms\n", baseline);
  std::printf("ratio:                                                       %8.2f x\n", handOff / baseline);
  PrintFigure("scan_handoff", handOff, baseline);
  return model.PictureSize().width == kWidth ? 0 : 1;
}
