// The scanner module's Win32 platform against the scripted fake source manager: real DIBs drawn
// by GDI, and a source that will not let go taken down through the real message loop. The
// logic itself is tested natively; the board's tests cover the rest of the road.
#include <gtest/gtest.h>

#include "GdiSurface.h"
#include "MultiTWAIN.h"
#include "ScanPicture.h"
#include "TwainTestSupport.h"
#include "TwainTexts.h"

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

TEST(TwainModuleWine, ASourceRefusingToEndItsTransferIsTakenDownAndReportedOnce) {
  ManagerPlacement placed(Manager::Fake);
  fake::Script script = PagesScript(2);
  script.endXfer = TWRC_FAILURE;
  placed.SetScript(script);
  HGLOBAL last = nullptr;
  EXPECT_EQ(BoxesDuring([&] { last = TWAIN_AcquireImages(nullptr, 0); }), std::vector{Warning(kReportLastError)});
  EXPECT_EQ(TWAIN_ImageCount(), 1);
  EXPECT_EQ(last, TWAIN_ImageAt(0));
  EXPECT_EQ(TWAIN_Session().State(), kNoManager);
  TWAIN_FreeImage(last);
}

}  // namespace
}  // namespace inkra::twain::test
