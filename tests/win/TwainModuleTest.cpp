// The scanner module on Windows, against the scripted fake source manager and against none.
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

std::vector<std::uint32_t> Triplets(const fake::Report& r) {
  return std::vector<std::uint32_t>(r.triplets, r.triplets + r.tripletCount);
}

TEST(TwainModuleWine, WithoutAManagerBothOperationsWarnAndLoadNothing) {
  ManagerPlacement none(Manager::None);
  int chosen = -1;
  EXPECT_EQ(BoxesDuring([&] { chosen = TWAIN_SelectImageSource(nullptr); }), std::vector{Warning(kCannotLoadManager)});
  EXPECT_EQ(chosen, 0);
  HGLOBAL last = nullptr;
  EXPECT_EQ(BoxesDuring([&] { last = TWAIN_AcquireImages(nullptr, 0); }), std::vector{Warning(kCannotLoadManager)});
  EXPECT_EQ(last, nullptr);
  EXPECT_EQ(TWAIN_ImageCount(), 0);
  EXPECT_EQ(TWAIN_Session().State(), kNoManager);
}

TEST(TwainModuleWine, SelectionAnswersWhatTheUserDidInTheManagersDialog) {
  ManagerPlacement placed(Manager::Fake);
  for (std::uint16_t answer : {TWRC_SUCCESS, TWRC_CANCEL}) {
    fake::Script script = PagesScript(0);
    script.userSelect = answer;
    placed.SetScript(script);
    int chosen = -1;
    EXPECT_TRUE(BoxesDuring([&] { chosen = TWAIN_SelectImageSource(nullptr); }).empty());
    EXPECT_EQ(chosen, answer == TWRC_SUCCESS ? 1 : 0);
    EXPECT_EQ(TWAIN_Session().State(), kNoManager);
  }
  EXPECT_EQ(placed.Report().userSelects, 2);
}

TEST(TwainModuleWine, AFeederOfThreeArrivesInOrderAndEveryBlockCanBeFreed) {
  ManagerPlacement placed(Manager::Fake);
  placed.SetScript(PagesScript(3));
  HGLOBAL last = nullptr;
  EXPECT_TRUE(BoxesDuring([&] { last = TWAIN_AcquireImages(nullptr, 0); }).empty());
  ASSERT_EQ(TWAIN_ImageCount(), 3);
  EXPECT_EQ(last, TWAIN_ImageAt(2));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(DrawnColour(TWAIN_ImageAt(i), 39, 29), fake::PageColour(i)) << i;
  const std::vector<std::uint32_t> ending{DAT_USERINTERFACE << 16 | MSG_DISABLEDS, DAT_IDENTITY << 16 | MSG_CLOSEDS,
                                          DAT_PARENT << 16 | MSG_CLOSEDSM};
  const std::vector<std::uint32_t> triplets = Triplets(placed.Report());
  EXPECT_EQ(std::vector(triplets.end() - 3, triplets.end()), ending);
  EXPECT_EQ(placed.Report().blocksLive, 3);
  for (int i = 0; i < 3; ++i) TWAIN_FreeImage(TWAIN_ImageAt(i));
  EXPECT_EQ(placed.Report().blocksHandedOut, 3);
  EXPECT_EQ(placed.Report().blocksLive, 0);
  EXPECT_EQ(TWAIN_Session().State(), kNoManager);
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
  const fake::Report report = placed.Report();
  EXPECT_EQ(report.transfers, 999);
  EXPECT_EQ(report.resets, 1);
  EXPECT_EQ(report.blocksHandedOut, 999);
  EXPECT_EQ(report.blocksLive, 0);
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

TEST(TwainModuleWine, FailuresToOpenAreReportedWithTheirTexts) {
  ManagerPlacement placed(Manager::Fake);
  struct Case {
    std::uint16_t fake::Script::*answer;
    Box box;
  } cases[] = {{&fake::Script::openDsm, Warning(kCannotOpenManager)},
               {&fake::Script::openDs, Warning(kReportLastError)},
               {&fake::Script::enableDs, Warning(kReportLastError)}};
  for (const Case& c : cases) {
    fake::Script script = PagesScript(1);
    script.*c.answer = TWRC_FAILURE;
    placed.SetScript(script);
    EXPECT_EQ(BoxesDuring([&] { TWAIN_AcquireImages(nullptr, 0); }), std::vector{c.box});
    EXPECT_EQ(TWAIN_ImageCount(), 0);
    EXPECT_EQ(TWAIN_Session().State(), kNoManager);
  }
}

}  // namespace
}  // namespace inkra::twain::test
