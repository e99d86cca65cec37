// "扫描" on the real board, with no source manager and with the scripted fake one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "BoardScanSupport.h"
#include "../unit/BoardTestJpeg.h"
#include "TwainTexts.h"

namespace inkra::test {
namespace {

TEST_F(BoardScan, EachOutcomeShowsItsOneMessageAndAnEmptyScanLeavesTheBoard) {
  struct Case {
    const char* name;
    Manager manager;
    std::uint16_t userSelect;
    int pages;
    std::vector<Box> boxes;
    int bits = 24;
  } cases[] = {
      {"no manager", Manager::None, 0, 0, {twain::test::Warning(twain::kCannotLoadManager)}},
      {"selection cancelled", Manager::Fake, twain::TWRC_CANCEL, 1, {}},
      {"nothing scanned", Manager::Fake, twain::TWRC_SUCCESS, 0, {ScanMessage("没有扫描操作！")}},
      // A source that hands out a DIB of a depth no bitmap has: nothing reaches the board.
      {"unreadable image", Manager::Fake, twain::TWRC_SUCCESS, 1, {ScanMessage("图片保存出现异常！")}, 7},
  };
  for (const Case& c : cases) {
    ManagerPlacement placed(c.manager);
    if (c.manager == Manager::Fake) {
      twain::fake::Script script = PagesScript(c.pages, 40, 30, c.bits);
      script.userSelect = c.userSelect;
      placed.SetScript(script);
    }
    TfrmWhiteBorad board(Options());
    EXPECT_EQ(Scan(board), c.boxes) << c.name;
    EXPECT_TRUE(AllWhite(BoardPixels(board))) << c.name;
    EXPECT_EQ(board.Model().ViewSize(), (board::Size{602, 258})) << c.name;
    if (c.manager == Manager::Fake) {
      EXPECT_EQ(placed.Report().enables, c.userSelect == twain::TWRC_SUCCESS) << c.name;
    }
  }
}

TEST_F(BoardScan, AFeederOfThreeLeavesTheThirdPageAndFreesEveryBlock) {
  ManagerPlacement placed(Manager::Fake);
  placed.SetScript(PagesScript(3, 700, 400));
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(Scan(board), std::vector{ScanMessage("扫描操作完成，成功！")});
  const Bitmap b = BoardPixels(board);
  EXPECT_EQ(std::make_tuple(b.Width(), b.Height()), std::make_tuple(700, 400));
  EXPECT_EQ(b.PixelRGB(0, 0), twain::fake::PageColour(2));
  EXPECT_EQ(b.PixelRGB(699, 399), twain::fake::PageColour(2));
  // Fill mode stays: the view keeps the panel's client area and shows the scan cut off.
  EXPECT_EQ(board.Model().Mode(), board::LayoutMode::Fill);
  EXPECT_EQ(board.Model().ViewSize(), (board::Size{602, 258}));
  const twain::fake::Report report = placed.Report();
  EXPECT_EQ(report.blocksHandedOut, 3);
  EXPECT_EQ(report.blocksLive, 0);
}

TEST_F(BoardScan, AScanOverAJpegLeavesABitmapInNaturalMode) {
  ManagerPlacement placed(Manager::Fake);
  placed.SetScript(PagesScript(1, 90, 70));
  const std::wstring jpeg = TempPath(L"scan-over.jpg");
  const std::vector<std::uint8_t> bytes = board::testing::MakeJpeg(120, 90, 30, 140, 220);
  std::ofstream(std::filesystem::path(jpeg), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  TfrmWhiteBorad board(Options());
  const auto boxes = Scan(board, [&](UiDriver& d) { OpenThroughDialog(d, board.Toolbar(), jpeg); });
  DeleteFileW(jpeg.c_str());
  EXPECT_EQ(boxes, std::vector{ScanMessage("扫描操作完成，成功！")});
  EXPECT_EQ(board.Model().Kind(), board::PictureKind::Bitmap);
  EXPECT_EQ(board.Model().Mode(), board::LayoutMode::Natural);
  EXPECT_EQ(board.Model().ViewSize(), (board::Size{90, 70}));
  EXPECT_EQ(BoardPixels(board).PixelRGB(45, 35), twain::fake::PageColour(0));
  EXPECT_EQ(placed.Report().blocksLive, 0);
}

TEST_F(BoardScan, ThroughWinesOwnManagerTheFeedersThirdPageLands) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "Wine ships no 64-bit TWAINDSM.DLL";
  ManagerPlacement placed(Manager::Wine);
  TfrmWhiteBorad board(Options());
  const auto boxes = Scan(board, {}, [](UiDriver& d) { ChooseTwainSource(d, kTestFeeder, IDOK); });
  EXPECT_EQ(boxes, std::vector{ScanMessage("扫描操作完成，成功！")});
  const Bitmap b = BoardPixels(board);
  EXPECT_EQ(std::make_tuple(b.Width(), b.Height()), std::make_tuple(320, 240));
  EXPECT_EQ(b.PixelRGB(319, 239), twain::fake::PageColour(2));
}

// The close box while the manager's selection dialog is open ends the scan once the dialog is
// answered: nothing is acquired, nothing is said, and the board stays open as it was.
TEST_F(BoardScan, TheCloseBoxDuringTheSelectionEndsTheScanAndKeepsTheBoard) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "Wine ships no 64-bit TWAINDSM.DLL";
  ManagerPlacement placed(Manager::Wine);
  TfrmWhiteBorad board(Options());
  bool open = false;
  const auto boxes = Scan(board, {}, [&](UiDriver& d) {
    d.WaitForWindow(kDialogClass, L"Select Source");
    d.Close(board.Handle());
    ChooseTwainSource(d, kTestFeeder, IDOK);
    Eventually(d, [&] { return IsWindowEnabled(board.Toolbar()) != FALSE; }, "the scan ended");
    open = board.InModal();
  });
  EXPECT_EQ(boxes, std::vector<Box>{});
  EXPECT_TRUE(open);
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
}

TEST_F(BoardScan, ASecondScanCommandWhileTheSourceIsOpenStartsNoSecondScan) {
  ManagerPlacement placed(Manager::Fake);
  twain::fake::Script script = PagesScript(0);
  script.holdOpen = 1;
  placed.SetScript(script);
  TfrmWhiteBorad board(Options());
  // The first click's acquisition waits in its event loop, which dispatches the second command
  // (the toolbar is disabled, so it comes as a message); a marker posted after it tells when
  // that has been handled.
  const UINT marker = RegisterWindowMessageW(twain::fake::kMarkerMessage);
  const auto boxes = Scan(board, {}, [&](UiDriver& d) {
    WaitForTheSource(d, placed);
    PostMessageW(board.Handle(), WM_COMMAND, board::win::kBtnScan, 0);
    PostMessageW(board.Handle(), marker, 0, 0);
    Eventually(d, [&] { return placed.Report().markersOffered == 1; }, "the second click handled");
    placed.UserCloses();
  });
  EXPECT_EQ(boxes, std::vector{ScanMessage("没有扫描操作！")});
  EXPECT_EQ(placed.Report().userSelects, 1);
  EXPECT_EQ(placed.Report().enables, 1);
}

// Sources that will not let go, and one that never asks to close, which the board's close box or
// Esc end (having received nothing, it says so). The board stays open each time, and the next
// scan on it works.
TEST_F(BoardScan, ASourceThatWillNotLetGoLeavesTheBoardOpenAndTheNextScanWorks) {
  const Box refused = twain::test::Warning(twain::kReportLastError);
  struct Case {
    const char* name;
    void (*script)(twain::fake::Script&);
    std::function<void(UiDriver&, TfrmWhiteBorad&)> user;
    std::vector<Box> boxes;
    std::uint32_t picture;  // at (0, 0) after the first scan
    int unloadedIn;         // the manager's state when the scan let go of it
  } cases[] = {
      {"end refused", [](twain::fake::Script& s) { s.endXfer = twain::TWRC_FAILURE; }, {},
       {refused, ScanMessage("扫描操作完成，成功！")}, twain::fake::PageColour(0), 7},
      {"reset refused",
       [](twain::fake::Script& s) { s.reset = twain::TWRC_FAILURE, s.pages[0].result = twain::TWRC_FAILURE; }, {},
       {refused, ScanMessage("没有扫描操作！")}, 0xFFFFFF, 6},
      {"disable refused", [](twain::fake::Script& s) { s.disable = twain::TWRC_FAILURE, s.pageCount = 0; }, {},
       {refused, ScanMessage("没有扫描操作！")}, 0xFFFFFF, 5},
      {"never closes, close box", [](twain::fake::Script& s) { s.holdOpen = s.neverCloses = 1; },
       [](UiDriver& d, TfrmWhiteBorad& b) { d.Close(b.Handle()); }, {ScanMessage("没有扫描操作！")}, 0xFFFFFF, 2},
      {"never closes, Esc", [](twain::fake::Script& s) { s.holdOpen = s.neverCloses = 1; },
       [](UiDriver&, TfrmWhiteBorad& b) { PostMessageW(b.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); },
       {ScanMessage("没有扫描操作！")}, 0xFFFFFF, 2},
  };
  for (const Case& c : cases) {
    ManagerPlacement placed(Manager::Fake);
    twain::fake::Script script = PagesScript(2, 50, 40);
    c.script(script);
    placed.SetScript(script);
    TfrmWhiteBorad board(Options());
    std::vector<Box> first, second;
    twain::fake::Report report{};
    bool open = false;
    std::uint32_t firstPicture = 0;
    EXPECT_EQ(DriveBoard(board, [&](UiDriver& d) {
      first = ScanOnce(d, board, [&](UiDriver& d) {
        if (!c.user) return;
        WaitForTheSource(d, placed);
        c.user(d, board);
      });
      open = IsWindowVisible(board.Handle()) && board.InModal();
      firstPicture = BoardPixels(board).PixelRGB(0, 0);  // the board is idle in its loop now
      report = placed.Report();
      placed.SetScript(PagesScript(1, 60, 45));
      second = ScanOnce(d, board);
    }), std::vector<std::string>{}) << c.name;
    EXPECT_EQ(first, c.boxes) << c.name;
    EXPECT_TRUE(open) << c.name;
    EXPECT_EQ(firstPicture, c.picture) << c.name;
    EXPECT_EQ(std::tuple(report.sequenceErrors, report.unloadedIn, report.loads, report.unloads),
              std::tuple(0, c.unloadedIn, 2, 2))
        << c.name;
    EXPECT_EQ(second, std::vector{ScanMessage("扫描操作完成，成功！")}) << c.name;
    const Bitmap b = BoardPixels(board);
    EXPECT_EQ(std::tuple(b.Width(), b.Height(), b.PixelRGB(59, 44)), std::tuple(60, 45, twain::fake::PageColour(0)))
        << c.name;
    EXPECT_EQ(placed.Report().sequenceErrors, 0) << c.name;
  }
}

// The thread's quit message during a scan ends the scan, then the board, and is still in the
// queue for the host's own loop.
TEST_F(BoardScan, AQuitDuringTheScanEndsItAndReachesTheHostsLoop) {
  ManagerPlacement placed(Manager::Fake);
  twain::fake::Script script = PagesScript(1);
  script.holdOpen = script.neverCloses = 1;
  placed.SetScript(script);
  TfrmWhiteBorad board(Options());
  const DWORD thread = GetCurrentThreadId();
  EXPECT_EQ(DriveBoard(board, [&](UiDriver& d) {
    ClickTool(board.Toolbar(), board::win::kBtnScan);
    WaitForTheSource(d, placed);
    PostThreadMessageW(thread, WM_QUIT, 7, 0);
  }, false), std::vector<std::string>{});
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(board.InModal());
  EXPECT_TRUE(AllWhite(BoardPixels(board)));
  EXPECT_EQ(std::tuple(placed.Report().sequenceErrors, placed.Report().unloadedIn), std::tuple(0, 2));
}

// The road through the built DLL in a host whose thread is not DPI aware: the source's dialog is
// made unaware like the host's own windows; while it is open only the board's frame takes input,
// so "确定" cannot write the picture from before the scan; the close box ends a source that never
// asks to close (nothing was received, which the board says), and the next scan is confirmed and
// inserted.
TEST_F(BoardScan, ThroughTheBuiltDllASourceThatNeverClosesIsEndedAndTheNextScanInserted) {
  ManagerPlacement placed(Manager::Fake);
  twain::fake::Script script = PagesScript(1, 50, 40);
  script.holdOpen = script.neverCloses = 1;
  placed.SetScript(script);
  twain::fake::Report first{};
  bool locked = false;
  std::vector<MessageBoxInfo> boxes;
  std::vector<std::shared_ptr<office::ShapeState>> inserted;
  const bool awarenessSet = ScanInWord(10000, [&](UiDriver& d, HWND board) {
    HWND toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr);
    WaitForTheSource(d, placed);
    locked = !IsWindowEnabled(toolbar) && !IsWindowEnabled(d.Child(board, L"InkraPenBar", nullptr)) &&
             !IsWindowEnabled(d.Child(board, L"InkraBoardPanel", nullptr)) && IsWindowEnabled(board);
    ClickTool(toolbar, board::win::kBtnOK);
    d.Close(board);
    boxes.push_back(AnswerMessageBox(d, L"扫描"));
    Eventually(d, [&] { return IsWindowEnabled(toolbar) != FALSE; }, "the scan ended");
    first = placed.Report();
    placed.SetScript(PagesScript(1, 50, 40));
    ClickTool(toolbar, board::win::kBtnScan);
    boxes.push_back(AnswerMessageBox(d, L"扫描"));
  }, inserted, -1);  // Windows 10's DPI_AWARENESS_CONTEXT_UNAWARE
  EXPECT_TRUE(locked);
  EXPECT_EQ(std::tuple(first.sequenceErrors, first.state, first.unloadedIn), std::tuple(0, 1, 2));
  if (awarenessSet) {
    EXPECT_EQ(std::tuple(first.awarenessAtSelect, first.awarenessAtEnable, first.parentAwareness), std::tuple(0, 0, 0));
  }
  EXPECT_EQ(twain::test::ToBoxes(boxes), (std::vector{ScanMessage("没有扫描操作！"), ScanMessage("扫描操作完成，成功！")}));
  EXPECT_EQ(std::tuple(placed.Report().sequenceErrors, inserted.size()), std::tuple(0, 1u));
}

}  // namespace
}  // namespace inkra::test
