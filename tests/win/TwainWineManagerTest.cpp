// The scanner module through Wine's own source manager (a real one that we did not write), with
// our three-page test feeder as its source. 32-bit only: the 64-bit module uses TWAINDSM.DLL,
// which Wine does not ship.
#include <gtest/gtest.h>

#include "GdiSurface.h"
#include "MultiTWAIN.h"
#include "ScanPicture.h"
#include "TwainTestSupport.h"
#include "support/BoardDriver.h"

namespace inkra::twain::test {
namespace {

using inkra::test::UiDriver;

class TwainWineManager : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sizeof(void*) == 8) GTEST_SKIP() << "Wine ships no 64-bit TWAINDSM.DLL";
  }
};

TEST_F(TwainWineManager, SelectionThroughTheManagersDialog) {
  ManagerPlacement placed(Manager::Wine);
  for (int button : {IDCANCEL, IDOK}) {
    UiDriver ui;
    ui.Then([button](UiDriver& d) { inkra::test::ChooseTwainSource(d, inkra::test::kTestFeeder, button); });
    EXPECT_EQ(TWAIN_SelectImageSource(nullptr), button == IDOK ? 1 : 0);
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    EXPECT_EQ(TWAIN_Session().State(), kNoManager);
  }
}

TEST_F(TwainWineManager, AThreePageAcquisitionEndToEnd) {
  ManagerPlacement placed(Manager::Wine);
  {
    UiDriver ui;
    ui.Then([](UiDriver& d) { inkra::test::ChooseTwainSource(d, inkra::test::kTestFeeder, IDOK); });
    ASSERT_EQ(TWAIN_SelectImageSource(nullptr), 1);
    ASSERT_EQ(ui.Join(), std::vector<std::string>{});
  }
  const std::vector<Box> boxes = BoxesDuring([] { TWAIN_AcquireImages(nullptr, 0); });
  EXPECT_EQ(boxes, std::vector<Box>{});
  EXPECT_EQ(TWAIN_Session().LastError().code, kNoError);
  ASSERT_EQ(TWAIN_ImageCount(), 3);
  EXPECT_EQ(std::string(TWAIN_Session().Source().ProductName), "Inkra Test Feeder");
  for (int i = 0; i < 3; ++i) {
    board::win::GdiSurfaceFactory surfaces;
    board::win::ScanPicture control(surfaces);
    TWAIN_DrawToImage(TWAIN_ImageAt(i), control);
    const std::unique_ptr<board::Surface> page = control.TakePicture();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->Width(), 320);
    EXPECT_EQ(page->ToBitmap().PixelRGB(160, 120), fake::PageColour(i));
    TWAIN_FreeImage(TWAIN_ImageAt(i));
  }
  EXPECT_EQ(TWAIN_Session().State(), kNoManager);
}

}  // namespace
}  // namespace inkra::twain::test
