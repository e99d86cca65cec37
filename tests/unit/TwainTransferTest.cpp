// The event loop, the native transfer loop, the image list and the DIBs it holds.
#include "TwainTestSupport.h"

namespace inkra::twain::testing {
namespace {

using TwainEventLoopTest = TwainTest;

TEST_F(TwainEventLoopTest, OffersEveryMessageAndDispatchesOnlyWhatTheSourceLeaves) {
  platform.queue = {kHostMessage, kSourceXferReady, kHostMessage};
  manager.pages = {Page{}};
  Acquire();
  EXPECT_EQ(platform.dispatched, std::vector<int>{kHostMessage});
  EXPECT_EQ(manager.Count(DAT_EVENT, MSG_PROCESSEVENT), 2);
  EXPECT_EQ(platform.queue.size(), 1u);  // the loop ended with the batch's last image
  ExpectTornDown();
}

TEST_F(TwainEventLoopTest, QuitEndsTheAcquisitionAndIsPostedAgainForTheOuterLoops) {
  platform.queue = {kQuit, kHostMessage};
  EXPECT_EQ(Acquire(), nullptr);
  EXPECT_TRUE(platform.dispatched.empty());
  EXPECT_EQ(platform.queue, (std::deque<int>{kHostMessage, kQuit}));
  EXPECT_FALSE(manager.Sent(DAT_EVENT, MSG_PROCESSEVENT));
  EXPECT_TRUE(session.AcquisitionInterrupted());
  ExpectTornDown();
}

TEST_F(TwainEventLoopTest, AMessageTheSourceDoesNotClaimStillCarriesItsRequest) {
  manager.answers[{DAT_EVENT, MSG_PROCESSEVENT}] = TWRC_NOTDSEVENT;
  platform.queue = {kSourceCloseRequest, kHostMessage};
  Acquire();
  EXPECT_EQ(platform.dispatched, std::vector<int>{kSourceCloseRequest});
  ExpectTornDown();
}

using TwainBatchTest = TwainTest;

TEST_F(TwainBatchTest, EachBatchLeavesItsCompletedImagesInOrder) {
  constexpr auto kDone = TWRC_XFERDONE, kCancel = TWRC_CANCEL, kFail = TWRC_FAILURE;
  struct Case {
    const char* name;
    std::vector<Page> pages;
    std::deque<int> queue;
    int stored;  // the first images handed out, in order
    int last;    // index of the last image handle among those handed out, -1 for null
    bool reset;
  } cases[] = {
      {"feeder of three", {{kDone}, {kDone}, {kDone}}, {kSourceXferReady}, 3, 2, false},
      {"middle cancelled", {{kDone}, {kCancel}, {kDone}}, {kSourceXferReady}, 2, 1, false},
      {"last cancelled, then closed", {{kDone}, {kDone}, {kCancel}},
       {kSourceXferReady, kHostMessage, kSourceCloseRequest}, 2, -1, false},
      {"last cancelled, scanned again", {{kDone}, {kCancel, 4, 3, 24, true}, {kDone}},
       {kSourceXferReady, kHostMessage, kSourceXferReady}, 2, 1, false},
      {"single failed", {{kFail}}, {kSourceXferReady, kHostMessage, kSourceCloseRequest}, 0, -1, true},
      {"second failed", {{kDone}, {kFail}, {kDone}}, {kSourceXferReady, kSourceCloseRequest}, 1, -1, true},
  };
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    m.pages.assign(c.pages.begin(), c.pages.end());
    p.queue = c.queue;
    const MemoryHandle last = s.AcquireImages(nullptr, 0);
    const std::vector<MemoryHandle> expected(m.handedOut.begin(), m.handedOut.begin() + c.stored);
    EXPECT_EQ(Images(s), expected) << c.name;
    EXPECT_EQ(last, c.last < 0 ? nullptr : m.handedOut[c.last]) << c.name;
    EXPECT_EQ(s.LastImage(), last) << c.name;
    EXPECT_EQ(m.Sent(DAT_PENDINGXFERS, MSG_RESET), c.reset) << c.name;
    EXPECT_TRUE(p.queue.empty()) << c.name;
    EXPECT_EQ(p.dispatched, std::vector<int>(c.queue.size() > 2 ? 1 : 0, kHostMessage)) << c.name;
    EXPECT_TRUE(p.boxes.empty()) << c.name;
    EXPECT_EQ(s.State(), kNoManager) << c.name;
  }
}

TEST_F(TwainBatchTest, AnUndeterminedCountMeansMoreToCome) {
  manager.undeterminedCount = true;
  manager.pages = {Page{}, Page{}};
  platform.queue = {kSourceXferReady};
  const MemoryHandle last = Acquire();
  ASSERT_EQ(manager.handedOut.size(), 2u);
  EXPECT_EQ(last, manager.handedOut[1]);
  EXPECT_EQ(session.ImageCount(), 2);
}

TEST_F(TwainBatchTest, AThousandthImageEndsTheBatchWithReset) {
  manager.pages.assign(1000, Page{TWRC_XFERDONE, 1, 1, 24});
  platform.queue = {kSourceXferReady};
  const MemoryHandle last = Acquire();
  ASSERT_EQ(manager.handedOut.size(), 999u);
  EXPECT_EQ(last, manager.handedOut[998]);
  EXPECT_EQ(session.ImageCount(), Session::kImageSlots);
  EXPECT_EQ(manager.Count(DAT_IMAGENATIVEXFER, MSG_GET), 999);
  EXPECT_EQ(manager.Count(DAT_PENDINGXFERS, MSG_RESET), 1);
  EXPECT_EQ(session.ImageAt(999), nullptr);
  EXPECT_TRUE(platform.boxes.empty());
  ExpectTornDown();
}

// Each way a source (or its manager) can refuse to be taken down, and a source that never asks
// to close, which only the board's own request ends. The session goes down from the state the
// source is really in, sends nothing out of sequence, lets go of the manager when a step is
// refused, and the next scan starts from state 1 and works.
TEST_F(TwainBatchTest, ASourceThatWillNotLetGoIsTakenDownAndTheNextScanWorks) {
  constexpr auto kDone = TWRC_XFERDONE;
  struct Case {
    const char* name;
    std::pair<std::uint16_t, std::uint16_t> refused;  // DAT, MSG
    std::vector<std::uint16_t> pages;
    std::deque<int> queue;
    int unloadedIn;  // the manager's state when the library went
    int stored;
  } cases[] = {
      {"end refused", {DAT_PENDINGXFERS, MSG_ENDXFER}, {kDone, kDone}, {kSourceXferReady, kHostMessage}, 7, 1},
      {"end refused after a cancel", {DAT_PENDINGXFERS, MSG_ENDXFER}, {TWRC_CANCEL},
       {kSourceXferReady, kHostMessage}, 7, 0},
      {"reset refused", {DAT_PENDINGXFERS, MSG_RESET}, {kDone, TWRC_FAILURE}, {kSourceXferReady, kHostMessage}, 6, 1},
      {"disable refused", {DAT_USERINTERFACE, MSG_DISABLEDS}, {}, {kSourceCloseRequest, kHostMessage}, 5, 0},
      {"close refused", {DAT_IDENTITY, MSG_CLOSEDS}, {}, {kSourceCloseRequest, kHostMessage}, 4, 0},
      {"manager close refused", {DAT_PARENT, MSG_CLOSEDSM}, {}, {kSourceCloseRequest, kHostMessage}, 3, 0},
      {"never asks to close", {}, {}, {kHostMessage, kHostMessage}, kManagerLoaded, 0},
  };
  for (const Case& c : cases) {
    TwainRig r;
    auto& [p, m, s] = r;
    if (c.refused.first) m.answers[c.refused] = TWRC_FAILURE;
    for (std::uint16_t result : c.pages) m.pages.push_back({result});
    p.queue = c.queue;
    // The board's close box: a window the loop dispatches to asks the acquisition to end.
    p.onDispatch = [&r](int message) {
      if (message == kHostMessage) r.session.EndAcquisition();
    };
    const MemoryHandle last = s.AcquireImages(nullptr, 0);
    EXPECT_EQ(s.ImageCount(), c.stored) << c.name;
    EXPECT_EQ(last, c.stored ? m.handedOut[0] : nullptr) << c.name;
    const bool orderly = c.unloadedIn == kManagerLoaded;
    EXPECT_EQ(p.Texts(), std::vector<std::string>(orderly ? 0 : 1, Warning(kReportLastError))) << c.name;
    const int error = orderly                       ? kNoError
                      : c.unloadedIn == kManagerOpen ? kManagerOperationFailed
                                                     : kSourceOperationFailed;
    EXPECT_EQ(s.LastError().code, error) << c.name;
    EXPECT_EQ(s.AcquisitionInterrupted(), orderly) << c.name;
    EXPECT_EQ(p.queue.size(), 1u) << c.name;  // returned at once, not waiting on the source
    EXPECT_EQ(m.unloadedIn, std::vector{c.unloadedIn}) << c.name;
    ExpectTornDown(r);

    m.answers.clear();
    m.pages = {Page{}};
    p.queue = {kSourceXferReady};
    p.boxes.clear();
    const MemoryHandle second = s.AcquireImages(nullptr, 0);
    ASSERT_FALSE(m.handedOut.empty()) << c.name;
    EXPECT_EQ(second, m.handedOut.back()) << c.name;
    EXPECT_TRUE(p.boxes.empty()) << c.name;
    EXPECT_EQ(m.unloadedIn.back(), kManagerLoaded) << c.name;
    ExpectTornDown(r);
  }
}

TEST_F(TwainBatchTest, TheListIsEmptiedButNotFreedByTheNextAcquisition) {
  manager.pages = {Page{}};
  platform.queue = {kSourceXferReady};
  const MemoryHandle first = Acquire();
  platform.queue = {kSourceCloseRequest};
  Acquire();
  EXPECT_EQ(session.ImageCount(), 0);
  EXPECT_EQ(session.ImageAt(0), nullptr);
  EXPECT_EQ(platform.blocks.count(first), 1u);
  session.FreeImage(first);
  session.FreeImage(nullptr);
  EXPECT_TRUE(platform.blocks.empty());
}

TEST_F(TwainBatchTest, AFreedImageLeavesTheList) {
  manager.pages = {Page{}, Page{}};
  platform.queue = {kSourceXferReady};
  Acquire();
  const MemoryHandle first = session.ImageAt(0), second = session.ImageAt(1);
  session.FreeImage(first);
  EXPECT_EQ(session.ImageCount(), 2);
  EXPECT_EQ(session.ImageAt(0), nullptr);
  EXPECT_EQ(session.ImageAt(1), second);
  EXPECT_EQ(platform.blocks.count(second), 1u);
}

class FakeControl final : public PictureControl {
 public:
  int w = 400, h = 300, bitmapW = 0, bitmapH = 0;
  int Width() const override { return w; }
  int Height() const override { return h; }
  void SetSize(int width, int height) override { w = width, h = height; }
  DeviceContext Canvas() override {
    if (!bitmapW) bitmapW = w, bitmapH = h;
    return this;
  }
};

using TwainDibTest = TwainTest;

TEST_F(TwainDibTest, ColourTablesAndPixelsAreFoundWhereTheHeaderSays) {
  struct Case {
    int bits;
    std::uint32_t clrUsed;
    int entries;
  } cases[] = {{24, 0, 0}, {8, 0, 256}, {8, 16, 16}, {32, 0, 0}, {1, 0, 2}, {4, 300, 0}};
  for (const Case& c : cases) {
    const MemoryHandle h = platform.Allocate(MakeDib(5, -2, c.bits, c.clrUsed));
    EXPECT_EQ(session.ColourTableEntries(h), c.entries) << c.bits;
    EXPECT_EQ(session.ImageWidth(h), 5);
    EXPECT_EQ(session.ImageHeight(h), -2);
    FakeControl control;
    platform.draws.clear();
    session.DrawToImage(h, control);
    ASSERT_EQ(platform.draws.size(), 1u);
    const DibDraw& d = platform.draws[0];
    EXPECT_EQ(static_cast<const std::uint8_t*>(d.bits) - static_cast<const std::uint8_t*>(d.header),
              40 + 4 * c.entries);
    EXPECT_EQ(d.header, platform.blocks[h].data());
    EXPECT_EQ(std::tie(d.x, d.y, d.width, d.height, d.sourceX, d.sourceY), std::make_tuple(0, 0, 5, 2, 0, 0));
  }
  EXPECT_EQ(platform.locks, platform.unlocks);
}

TEST_F(TwainDibTest, AnA4ScanFillsANewBitmapAndLeavesTheControlItsSize) {
  const MemoryHandle h = platform.Allocate(MakeDib(2480, 3508, 24));
  FakeControl control;
  EXPECT_TRUE(session.DrawToImage(h, control));
  EXPECT_EQ(std::tie(control.w, control.h, control.bitmapW, control.bitmapH), std::make_tuple(400, 300, 2480, 3508));
  FakeControl holding;
  holding.bitmapW = 10, holding.bitmapH = 10;
  session.DrawToImage(h, holding);
  EXPECT_EQ(std::tie(holding.bitmapW, holding.bitmapH), std::make_tuple(10, 10));
}

TEST_F(TwainDibTest, UnreadableBlocksDrawNothing) {
  std::vector<std::uint8_t> truncated = MakeDib(100, 100, 24);
  truncated.resize(truncated.size() - 1);
  const MemoryHandle blocks[] = {platform.Allocate(truncated), platform.Allocate(MakeDib(2, 2, 8)), nullptr,
                                 platform.Allocate({40, 0, 0})};
  platform.unlockable.push_back(blocks[1]);
  for (MemoryHandle h : blocks) {
    FakeControl control;
    EXPECT_FALSE(session.DrawToImage(h, control));
    EXPECT_EQ(control.bitmapW, 0);
    EXPECT_EQ(session.ImageWidth(h), 0);
  }
  EXPECT_TRUE(platform.draws.empty());
  EXPECT_EQ(platform.locks, platform.unlocks);
}

}  // namespace
}  // namespace inkra::twain::testing
