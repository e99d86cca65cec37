// The pen's tip (笔锋): the width a mouse stroke gets from the hand's speed and its release, on
// the board and in the tip itself, and the setting that keeps it.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "InkTestSupport.h"
#include "MemorySettingsStore.h"
#include "PenTip.h"

namespace inkra::board {
namespace {

using ink::testing::ColumnInk;

// A level stroke from (10, 100) to (300, 100) in 10-pixel moves, `msPerMove` apart, released
// `releaseAfter` ms after the last move, on a board with the tip on or off.
struct TimedStroke {
  bool tip;
  std::uint32_t msPerMove, releaseAfter;
  float pressure = ink::kNoPressure;
};

class BoardPenTip : public ::testing::Test {
 protected:
  std::unique_ptr<BoardModel> Draw(const TimedStroke& s) {
    auto board = std::make_unique<BoardModel>(surfaces);
    board->Create(602, 258);
    board->SetPenTip(s.tip);
    std::uint32_t ms = 1000;
    board->MouseDown(MouseButton::Left, 10, 100, s.pressure, ms);
    for (int x = 20; x <= 300; x += 10) board->MouseMove(x, 100, s.pressure, ms += s.msPerMove);
    board->MouseUp(ms + s.releaseAfter);
    return board;
  }
  static bool SameInk(const BoardModel& a, const BoardModel& b) {
    for (int y = 0; y < 258; ++y)
      for (int x = 0; x < 602; ++x)
        if (a.Ink()->At(x, y).coverage != b.Ink()->At(x, y).coverage) return false;
    return true;
  }
  testing::RecordingSurfaces surfaces;
};

// Slow is 10 pixels in 100 ms (26 mm/s at 96 dpi), fast 10 in 5 (530 mm/s). A level band is
// the nib's reach and its pixel high: 3 x 1.3 + 1 slow, 3 x 0.5 + 1 fast; near its end, a
// tapered stroke is on its way from two thirds of that down to a third.
TEST_F(BoardPenTip, WidthFollowsSpeedAndARelease) {
  struct Case {
    const char* name;
    TimedStroke stroke;
    double middle, end;  // the ink of the columns at x = 150 and x = 298
  } cases[] = {
      {"off: the chosen width", {false, 5, 0}, 4, 4},
      {"slow", {true, 100, 0}, 4.9, 4.9},
      {"fast, then at rest before the release", {true, 5, 200}, 2.5, 2.5},
      {"fast, released moving: tapers towards a third", {true, 5, 5}, 2.5, 1.65},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto board = Draw(c.stroke);
    EXPECT_NEAR(ColumnInk(*board->Ink(), 150), c.middle, 0.15);
    EXPECT_NEAR(ColumnInk(*board->Ink(), 298), c.end, 0.15);
  }
}

TEST_F(BoardPenTip, OffAndPressureDrawAsWithoutTheTip) {
  // Off, the times change nothing; a pen's pressure is its own, tip or not.
  EXPECT_TRUE(SameInk(*Draw({false, 5, 5}), *Draw({false, 100, 300})));
  EXPECT_TRUE(SameInk(*Draw({true, 5, 5, 0.8f}), *Draw({false, 5, 5, 0.8f})));
  EXPECT_FALSE(SameInk(*Draw({true, 5, 5}), *Draw({false, 5, 5})));
}

TEST(PenTip, HoldsTwoSamplesAndChangesAFifthAtMost) {
  ink::PenTip tip;
  std::vector<ink::InkSample> out;
  tip.Start(0, 0, 0, 96);
  tip.Add(100, 0, 4, out);  // a jerk far beyond fast
  EXPECT_TRUE(out.empty());
  tip.Add(200, 0, 8, out);
  ASSERT_EQ(out.size(), 1u);  // the press
  EXPECT_FLOAT_EQ(out[0].width, 1.3f);
  for (std::uint32_t ms = 12; ms < 60; ms += 4) tip.Add(ms * 25.0, 0, ms, out);
  for (std::size_t i = 1; i < out.size(); ++i) EXPECT_GE(out[i].width, out[i - 1].width * 0.8f - 1e-6f);
  EXPECT_FLOAT_EQ(out.back().width, 0.5f);
  out.clear();
  tip.Finish(60, out);  // released as it moves: two thirds, then a third
  ASSERT_EQ(out.size(), 2u);
  EXPECT_FLOAT_EQ(out[0].width, 0.5f * 2 / 3);
  EXPECT_FLOAT_EQ(out[1].width, 0.5f / 3);
}

TEST(PenTipSetting, OffUnlessStoredOn) {
  MemorySettingsStore store;
  SettingsStore* stores[] = {&store};
  EXPECT_FALSE(LoadPenTip(stores));
  ASSERT_TRUE(SavePenTip(stores, true));
  EXPECT_EQ(store.values.at(kPenTipValue), MemorySettingsStore::Value(std::uint32_t(1)));
  EXPECT_TRUE(LoadPenTip(stores));
  store.values[kPenTipValue] = std::uint32_t(7);
  EXPECT_FALSE(LoadPenTip(stores));
}

}  // namespace
}  // namespace inkra::board
