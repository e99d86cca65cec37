// "扫描" with sources that differ from the standard the way real ones do (the fake behaving like
// Wine's camera source): pending counts that never drop, no MSG_CLOSEDSREQ once their dialog has
// closed, images handed over as DIB-section bitmaps.
#include <gtest/gtest.h>

#include <cstdio>

#include "BoardScanSupport.h"
#include "Bmp.h"

namespace inkra::test {
namespace {

using twain::test::CameraScript;

const Box kDone = ScanMessage("扫描操作完成，成功！"), kNothing = ScanMessage("没有扫描操作！");

// The colours of the picture's top-left corner and of a pixel below the top row.
std::pair<std::uint32_t, std::uint32_t> Corners(const Bitmap& b) { return {b.PixelRGB(0, 0), b.PixelRGB(1, 5)}; }

// Through the built DLL in a host: the source's OK closes its dialog and hands over its images,
// then nothing more comes from it. With no user action the board shows the last image received
// and says so, and "确定" inserts it; every image goes back to the system.
TEST_F(BoardScan, ThroughTheBuiltDllASourceThatLeavesQuietlyHasItsLastImageInserted) {
  const struct {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ManagerPlacement placed(Manager::Fake);
    twain::fake::Script script = CameraScript(3, 60, 45);
    script.pageCount = 1;
    c.script(script);
    placed.SetScript(script);
    std::vector<MessageBoxInfo> boxes;
    ULONGLONG waited = 0;
    std::vector<std::shared_ptr<office::ShapeState>> shapes;
    ScanInWord(10000, [&](UiDriver& d, HWND) {
      Eventually(d, [] { return ManagerPlacement::SourceDialog() != nullptr; }, "the source's dialog");
      ManagerPlacement::PressInSourceDialog(IDOK);
      const ULONGLONG pressed = GetTickCount64();
      boxes.push_back(AnswerMessageBox(d, L"扫描"));
      waited = GetTickCount64() - pressed;
    }, shapes);
    // How long the board took to take the images after the source's dialog closed; the grace time
    // is one second of it. A figure to read, not a check: timings belong to the benchmarks.
    std::printf("%s: the image landed %llu ms after the source closed\n", c.name, (unsigned long long)waited);
    EXPECT_EQ(twain::test::ToBoxes(boxes), std::vector{kDone});
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(ReadBmp(shapes[0]->picture).PixelRGB(5, 5), twain::fake::PageColour(c.shown));
    const twain::fake::Report report = placed.Report();
    EXPECT_EQ(std::tuple(report.sequenceErrors, report.state, report.blocksLive), std::tuple(0, 1, 0));
  }
}

// Esc while the source's dialog is still open: what was received is shown as if the source had
// closed; with nothing received the board says so and stays as it was.
TEST_F(BoardScan, EndingTheWaitKeepsWhatWasReceived) {
  for (const bool scanFirst : {true, false}) {  // the source hands over two pages before the Esc
    SCOPED_TRACE(scanFirst ? "Esc after two images" : "Esc with nothing");
    ManagerPlacement placed(Manager::Fake);
    placed.SetScript(CameraScript(2, 50, 40));
    TfrmWhiteBorad board(Options());
    std::vector<Box> boxes;
    bool dialogLeft = true;
    EXPECT_EQ(DriveBoard(board, [&](UiDriver& d) {
      boxes = ScanOnce(d, board, [&](UiDriver& d) {
        WaitForTheSource(d, placed);
        if (scanFirst) {
          placed.UserScans();
          Eventually(d, [&] { return placed.Report().blocksHandedOut == 2; }, "two images handed over");
          Sleep(1500);  // longer than the grace time: the dialog still open keeps the wait going
        }
        PostMessageW(board.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      });
      dialogLeft = ManagerPlacement::SourceDialog() != nullptr;
    }), std::vector<std::string>{});
    EXPECT_EQ(boxes, std::vector{scanFirst ? kDone : kNothing});
    EXPECT_EQ(BoardPixels(board).PixelRGB(5, 5), scanFirst ? twain::fake::PageColour(1) : 0xFFFFFFu);
    EXPECT_FALSE(dialogLeft);
    EXPECT_EQ(std::tuple(placed.Report().sequenceErrors, placed.Report().blocksLive), std::tuple(0, 0));
  }
}

// The same pages as global DIBs and as DIB-section bitmaps, each row order and depth, land as the
// same board; a device-dependent bitmap is no image: it is refused, freed, and nothing lands.
TEST_F(BoardScan, ABitmapHandleAndAGlobalDibOfTheSamePixelsGiveTheSameBoard) {
  // Scans one script of `pages` pages, page one handed over as `handle`; returns the board.
  const auto scan = [&](int pages, int height, int bits, std::uint8_t handle, const Box& says) {
    ManagerPlacement placed(Manager::Fake);
    twain::fake::Script script = PagesScript(pages, 50, height, bits);
    script.pages[0].handle = handle;
    script.pages[0].marked = 1;
    placed.SetScript(script);
    TfrmWhiteBorad board(Options());
    EXPECT_EQ(Scan(board), std::vector{says});
    const twain::fake::Report report = placed.Report();
    EXPECT_EQ(std::tuple(report.sequenceErrors, report.blocksLive), std::tuple(0, 0));
    return std::pair(BoardPixels(board), report.blocksHandedOut);
  };
  for (const auto& [bits, height] : {std::pair(24, 40), std::pair(24, -40), std::pair(8, -40)}) {
    SCOPED_TRACE(testing::Message() << bits << " bits, height " << height);
    const Bitmap dib = scan(1, height, bits, twain::fake::kGlobalDib, kDone).first;
    const Bitmap section = scan(1, height, bits, twain::fake::kDibSection, kDone).first;
    EXPECT_EQ(Corners(dib), std::pair(0u, twain::fake::PageColour(0)));
    EXPECT_EQ(Corners(section), Corners(dib));
    EXPECT_TRUE(section.Width() == 50 && section.Height() == 40 && section.Pixels() == dib.Pixels());
  }
  // The refused bitmap ends its transfer; the page after it is abandoned, and the source closes.
  const auto [refused, handedOut] = scan(2, 40, 24, twain::fake::kDeviceBitmap, kNothing);
  EXPECT_TRUE(AllWhite(refused));
  EXPECT_EQ(handedOut, 1);
}

}  // namespace
}  // namespace inkra::test
