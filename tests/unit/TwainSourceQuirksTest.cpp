// Sources that differ from the standard in the ways real ones do: pending counts that never drop,
// no MSG_CLOSEDSREQ after their dialog has closed. (Handles that are no image: the board's tests,
// with real GDI handles.)
#include "TwainTestSupport.h"

namespace inkra::twain::testing {
namespace {

constexpr auto kDone = TWRC_XFERDONE, kFail = TWRC_FAILURE;

using TwainQuirkTest = TwainTest;

// Once images were received and the source shows no window for a second, the wait ends by itself
// and the session goes down as if the source had asked; the images stay. A window of the source
// still open keeps the wait going, and nothing received never ends it.
TEST_F(TwainQuirkTest, ASourceThatLeftWithImagesEndsTheWaitAfterTheGraceTime) {
  struct Case {
    const char* name;
    std::vector<Page> pages;
    bool countsDelivered;
    std::uint64_t windowUntil;  // the source's window is shown until then
    int stored;
    std::uint64_t endedFrom, endedBy;  // the clock when the wait ended, at least and at most
  } cases[] = {
      {"one image, pending stays 1", {{kDone}}, true, 0, 1, 1000, 1100},
      {"three images, pending stays 3", {{kDone}, {kDone}, {kDone}}, true, 0, 3, 1000, 1100},
      {"a later image failed", {{kDone}, {kFail}, {kDone}}, false, 0, 1, 1000, 1100},
      {"its window open a while", {{kDone}}, true, 2500, 1, 3500, 3600},
      {"nothing received", {{kFail}}, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TwainRig r;
    auto& [p, m, s] = r;
    m.pages.assign(c.pages.begin(), c.pages.end());
    m.countsDelivered = c.countsDelivered;
    p.sourceWindowUntil = c.windowUntil;
    p.queue = {kSourceXferReady};
    std::vector<bool> waiting;
    s.AcquireImages(nullptr, 0, [&waiting](bool w) { waiting.push_back(w); });
    EXPECT_EQ(Images(s), std::vector<MemoryHandle>(m.handedOut.begin(), m.handedOut.begin() + c.stored));
    EXPECT_TRUE(p.now >= c.endedFrom && p.now <= c.endedBy) << p.now;
    // Taken down as from the source's own request: disabled first, nothing out of sequence.
    EXPECT_EQ(std::tuple(waiting, p.notedProxies, m.Count(DAT_USERINTERFACE, MSG_DISABLEDS),
                         s.AcquisitionInterrupted(), p.boxes.size()),
              std::tuple(std::vector<bool>{true, false}, std::vector<WindowHandle>{FakePlatform::kProxy}, 1, false,
                         std::size_t(0)));
    ExpectTornDown(r);
  }
}

}  // namespace
}  // namespace inkra::twain::testing
