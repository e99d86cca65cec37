// "扫描" with sources that differ from the standard the way real ones do (the fake behaving like
// Wine's camera source): pending counts that never drop, no MSG_CLOSEDSREQ once their dialog has
// closed, images handed over as DIB-section bitmaps.
#include <gtest/gtest.h>

#include <cstdio>

#include "BoardScanSupport.h"
#include "Bmp.h"
#include "hostdouble/Apartment.h"
#include "support/AddInDll.h"

namespace inkra::test {
namespace {

using twain::test::CameraScript;

// The colours of the picture's top-left corner and of a pixel below the top row.
std::pair<std::uint32_t, std::uint32_t> Corners(const Bitmap& b) { return {b.PixelRGB(0, 0), b.PixelRGB(1, 5)}; }

// Through the built DLL in a host: the source's OK closes its dialog and hands over its images,
// then nothing more comes from it. With no user action the board shows the last image received
// and says so, and "确定" inserts it; every image goes back to the system.
TEST_F(BoardScan, ThroughTheBuiltDllASourceThatLeavesQuietlyHasItsLastImageInserted) {
  struct Case {
    const char* name;
    void (*script)(twain::fake::Script&);
    int shown;  // the page whose colour lands
  } cases[] = {
      {"one image", [](twain::fake::Script&) {}, 0},
      {"three images", [](twain::fake::Script& s) { s.pageCount = 3; }, 2},
      {"a later image failed", [](twain::fake::Script& s) { s.pageCount = 3, s.pages[1].result = twain::TWRC_FAILURE; },
       0},
      {"the last image cancelled, counts right",
       [](twain::fake::Script& s) { s.pageCount = 2, s.countsDelivered = 0, s.pages[1].result = twain::TWRC_CANCEL; },
       0},
  };
  for (const Case& c : cases) {
    ManagerPlacement placed(Manager::Fake);
    twain::fake::Script script = CameraScript(3, 60, 45);
    script.pageCount = 1;
    c.script(script);
    placed.SetScript(script);
    Apartment apartment;
    AddInDll dll;
    ASSERT_TRUE(dll.Loaded());
    office::HostDouble host(office::HostKind::Word);
    win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
    ASSERT_TRUE(addIn);
    std::vector<MessageBoxInfo> boxes;
    ULONGLONG waited = 0;
    UiDriver ui(10000);
    ui.Then([&](UiDriver& d) {
      HWND board = WaitForBoard(d), toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr);
      ClickTool(toolbar, board::win::kBtnScan);
      Eventually(d, [] { return ManagerPlacement::SourceDialog() != nullptr; }, "the source's dialog");
      ManagerPlacement::PressInSourceDialog(IDOK);
      const ULONGLONG pressed = GetTickCount64();
      boxes.push_back(AnswerMessageBox(d, L"扫描"));
      waited = GetTickCount64() - pressed;
      Eventually(d, [&] { return IsWindowEnabled(toolbar) != FALSE; }, "the scan ended");
      ClickTool(toolbar, board::win::kBtnOK);
    });
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK) << c.name;
    ASSERT_EQ(ui.Join(), std::vector<std::string>{}) << c.name;
    // How long the board took to take the images after the source's dialog closed; the grace time
    // is one second of it. A figure to read, not a check: timings belong to the benchmarks.
    std::printf("%s: the image landed %llu ms after the source closed\n", c.name, (unsigned long long)waited);
    EXPECT_EQ(twain::test::ToBoxes(boxes), std::vector{ScanMessage("扫描操作完成，成功！")}) << c.name;
    ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u) << c.name;
    EXPECT_EQ(ReadBmp(AddInDll::Shapes(host).items[0]->picture).PixelRGB(5, 5), twain::fake::PageColour(c.shown))
        << c.name;
    const twain::fake::Report report = placed.Report();
    EXPECT_EQ(std::tuple(report.sequenceErrors, report.state, report.blocksLive), std::tuple(0, 1, 0)) << c.name;
    EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK) << c.name;
  }
}

// Esc or the close box while the source's dialog is still open: what was received is shown as if
// the source had closed; with nothing received the board says so and stays as it was.
TEST_F(BoardScan, EndingTheWaitKeepsWhatWasReceived) {
  struct Case {
    const char* name;
    bool scanFirst;  // the source hands over its two pages before the user ends the wait
    void (*end)(UiDriver&, TfrmWhiteBorad&);
    const char* says;
    std::uint32_t picture;
  } cases[] = {
      {"Esc after two images", true, [](UiDriver&, TfrmWhiteBorad& b) { PostMessageW(b.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); },
       "扫描操作完成，成功！", twain::fake::PageColour(1)},
      {"Esc with nothing", false, [](UiDriver&, TfrmWhiteBorad& b) { PostMessageW(b.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); },
       "没有扫描操作！", 0xFFFFFF},
  };
  for (const Case& c : cases) {
    ManagerPlacement placed(Manager::Fake);
    placed.SetScript(CameraScript(2, 50, 40));
    TfrmWhiteBorad board(Options());
    std::vector<Box> boxes;
    bool dialogLeft = true;
    EXPECT_EQ(DriveBoard(board, [&](UiDriver& d) {
      boxes = ScanOnce(d, board, [&](UiDriver& d) {
        WaitForTheSource(d, placed);
        if (c.scanFirst) {
          placed.UserScans();
          Eventually(d, [&] { return placed.Report().blocksHandedOut == 2; }, "two images handed over");
          Sleep(1500);  // longer than the grace time: the dialog still open keeps the wait going
        }
        c.end(d, board);
      });
      dialogLeft = ManagerPlacement::SourceDialog() != nullptr;
    }), std::vector<std::string>{}) << c.name;
    EXPECT_EQ(boxes, std::vector{ScanMessage(c.says)}) << c.name;
    EXPECT_EQ(BoardPixels(board).PixelRGB(5, 5), c.picture) << c.name;
    EXPECT_FALSE(dialogLeft) << c.name;
    EXPECT_EQ(std::tuple(placed.Report().sequenceErrors, placed.Report().blocksLive), std::tuple(0, 0)) << c.name;
  }
}

// The same pages as global DIBs and as DIB-section bitmaps, each row order and depth, land as the
// same board; a device-dependent bitmap is no image: it is refused, freed, and nothing lands.
TEST_F(BoardScan, ABitmapHandleAndAGlobalDibOfTheSamePixelsGiveTheSameBoard) {
  const int shapes[][2] = {{24, 40}, {24, -40}, {8, -40}};
  for (const auto& [bits, height] : shapes) {
    Bitmap landed[2];
    for (std::uint8_t handle : {twain::fake::kGlobalDib, twain::fake::kDibSection}) {
      ManagerPlacement placed(Manager::Fake);
      twain::fake::Script script = PagesScript(1, 50, height, bits);
      script.pages[0].handle = handle;
      script.pages[0].marked = 1;
      placed.SetScript(script);
      TfrmWhiteBorad board(Options());
      EXPECT_EQ(Scan(board), std::vector{ScanMessage("扫描操作完成，成功！")}) << bits << " " << height;
      landed[handle] = BoardPixels(board);
      EXPECT_EQ(placed.Report().blocksLive, 0);
    }
    EXPECT_EQ(Corners(landed[0]), std::pair(0u, twain::fake::PageColour(0))) << bits << " " << height;
    EXPECT_EQ(Corners(landed[1]), Corners(landed[0])) << bits << " " << height;
    EXPECT_TRUE(landed[1].Width() == 50 && landed[1].Height() == 40 && landed[1].Pixels() == landed[0].Pixels())
        << bits << " " << height;
  }
  // The refused bitmap ends its transfer; the page after it is abandoned, and the source closes.
  ManagerPlacement placed(Manager::Fake);
  twain::fake::Script script = PagesScript(2, 50, 40);
  script.pages[0].handle = twain::fake::kDeviceBitmap;
  placed.SetScript(script);
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(Scan(board), std::vector{ScanMessage("没有扫描操作！")});
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
  EXPECT_EQ(std::tuple(placed.Report().blocksHandedOut, placed.Report().sequenceErrors, placed.Report().blocksLive),
            std::tuple(1, 0, 0));
}

}  // namespace
}  // namespace inkra::test
