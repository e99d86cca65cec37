// The scanner module's Win32 platform against the scripted fake source manager: real DIBs drawn
// by GDI, and the DPI awareness the scanner's windows are made in. The logic itself is tested
// natively; the board's tests cover the rest of the road, sources that will not let go included.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "Dpi.h"
#include "GdiSurface.h"
#include "MultiTWAIN.h"
#include "ScanPicture.h"
#include "TwainTestSupport.h"
#include "WholeDibCopy.h"
#include "support/ScreenDpi.h"

namespace inkra::twain::test {
namespace {

std::uint32_t DrawnColour(HGLOBAL image, int x, int y) {
  board::win::GdiSurfaceFactory surfaces;
  board::win::ScanPicture control(surfaces);
  TWAIN_DrawToImage(image, control);
  std::unique_ptr<board::Surface> picture = control.TakePicture();
  return picture ? picture->ToBitmap().PixelRGB(x, y) : 0xFFFFFFFFu;
}

TEST(TwainModuleWine, EveryDepthAndRowOrderDrawsItsPageColour) {
  ManagerPlacement placed(Manager::Fake);
  const int depths[][2] = {{24, 30}, {24, -30}, {32, 30}, {8, 30}};
  fake::Script script = PagesScript(4);
  for (int i = 0; i < 4; ++i) script.pages[i].bits = std::uint16_t(depths[i][0]), script.pages[i].height = depths[i][1];
  placed.SetScript(script);
  TWAIN_AcquireImages(nullptr, 0);
  ASSERT_EQ(TWAIN_ImageCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(DrawnColour(TWAIN_ImageAt(i), 0, 0), fake::PageColour(i)) << depths[i][0] << " " << depths[i][1];
    TWAIN_FreeImage(TWAIN_ImageAt(i));
  }
  EXPECT_EQ(placed.Report().blocksLive, 0);
}

TEST(TwainModuleWine, AThousandthImageEndsTheBatchAndNothingLeaks) {
  ManagerPlacement placed(Manager::Fake);
  placed.SetScript(PagesScript(1000, 2, 2));
  TWAIN_AcquireImages(nullptr, 0);
  ASSERT_EQ(TWAIN_ImageCount(), 999);
  for (int i = 0; i < 999; ++i) TWAIN_FreeImage(TWAIN_ImageAt(i));
  EXPECT_EQ(placed.Report().blocksHandedOut, 999);
  EXPECT_EQ(placed.Report().blocksLive, 0);
}

// The manager's dialog and the source's are made in the host thread's own awareness, not in the
// per-monitor scope our windows are made in (the add-in holds it around the board).
TEST(TwainModuleWine, TheScannersWindowsAreMadeInTheHostThreadsDpiAwareness) {
  ManagerPlacement placed(Manager::Fake);
  constexpr int kUnaware = 0, kPerMonitor = 2;  // DPI_AWARENESS
  for (auto [context, awareness] : {std::pair{INT_PTR(-1), kUnaware}, std::pair{INT_PTR(-3), kPerMonitor}}) {
    inkra::test::ThreadDpiAwareness host(context);
    if (!host.Taken()) GTEST_SKIP() << "no per-thread DPI awareness here";
    placed.SetScript(PagesScript(0));
    {
      inkra::win::DpiAwareScope ours;
      EXPECT_EQ(TWAIN_SelectImageSource(nullptr), 1);
      TWAIN_AcquireImages(nullptr, 0);
    }
    const fake::Report report = placed.Report();
    EXPECT_EQ(std::tuple(report.awarenessAtSelect, report.awarenessAtEnable, report.parentAwareness),
              std::tuple(awareness, awareness, awareness))
        << context;
  }
}

// The scan hand-off's own conversion gives GDI's pixels, fourth byte included, in both row orders
// of the DIB and of the section, and leaves every other case to GDI.
TEST(TwainModuleWine, AWholeRgbDibCopiesAsStretchDibitsDrawsIt) {
  constexpr int kWidth = 37, kHeight = 9;  // rows padded to 4 bytes
  const std::size_t stride = (kWidth * 3 + 3) & ~std::size_t(3);
  std::vector<std::uint8_t> dib(sizeof(BITMAPINFOHEADER) + stride * kHeight);
  for (std::size_t i = sizeof(BITMAPINFOHEADER); i < dib.size(); ++i) dib[i] = std::uint8_t(i * 7 + i / 5);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  const auto headerOf = [](int height, int bits) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h, h.biWidth = kWidth, h.biHeight = height, h.biPlanes = 1, h.biBitCount = WORD(bits);
    return h;
  };
  const auto section = [&](int height, int bits = 32) {
    BITMAPINFO info{};
    info.bmiHeader = headerOf(height, bits);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    return std::tuple{dc, bitmap, static_cast<const std::uint8_t*>(pixels)};
  };
  const DibDraw whole{0, 0, kWidth, kHeight, 0, 0, dib.data() + sizeof(BITMAPINFOHEADER), dib.data()};
  for (int dibHeight : {kHeight, -kHeight}) {
    for (int sectionHeight : {kHeight, -kHeight}) {
      SCOPED_TRACE(std::to_string(dibHeight) + " onto " + std::to_string(sectionHeight));
      *header = headerOf(dibHeight, 24);
      auto [gdiDc, gdiBitmap, gdiPixels] = section(sectionHeight);
      auto [ourDc, ourBitmap, ourPixels] = section(sectionHeight);
      StretchDIBits(gdiDc, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, whole.bits,
                    reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
      GdiFlush();
      EXPECT_TRUE(win::CopyWholeRgbDib(ourDc, whole));
      EXPECT_TRUE(std::equal(gdiPixels, gdiPixels + kWidth * 4 * kHeight, ourPixels));
      // Moved, clipped, or onto another depth: GDI's to draw.
      DibDraw moved = whole;
      moved.x = 1;
      EXPECT_FALSE(win::CopyWholeRgbDib(ourDc, moved));
      HRGN clip = CreateRectRgn(0, 0, 5, 5);
      SelectClipRgn(ourDc, clip);
      EXPECT_FALSE(win::CopyWholeRgbDib(ourDc, whole));
      DeleteObject(clip);
      auto [deepDc, deepBitmap, deepPixels] = section(sectionHeight, 24);
      EXPECT_FALSE(win::CopyWholeRgbDib(deepDc, whole));
      for (auto [dc, bitmap] : {std::pair{gdiDc, gdiBitmap}, {ourDc, ourBitmap}, {deepDc, deepBitmap}}) {
        DeleteDC(dc);
        DeleteObject(bitmap);
      }
    }
  }
}

}  // namespace
}  // namespace inkra::twain::test
