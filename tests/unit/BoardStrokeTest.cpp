// The pointer state machine and the strokes of the board model: ink along the nib's band.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "BoardFakes.h"
#include "BoardModel.h"

namespace inkra::board {
namespace {

using testing::RecordingSurfaces;

class BoardStroke : public ::testing::Test {
 protected:
  void SetUp() override {
    board.Create(602, 258);
    Rec().Clear();
  }
  RecordingCanvas& Rec() { return surfaces.Last().Recorder(); }
  // One stroke through the points, pressed at the first and released at the last.
  void Stroke(std::initializer_list<Point> points, float pressure = ink::kNoPressure) {
    const Point& first = *points.begin();
    board.MouseDown(MouseButton::Left, first.x, first.y, pressure);
    for (const Point& p : points) board.MouseMove(p.x, p.y, pressure);
    board.MouseUp();
  }
  int Coverage(int x, int y) const { return board.Ink() ? board.Ink()->At(x, y).coverage : 0; }
  // Pixels of column x, between the rows given, that the ink reaches / covers whole.
  int RowsInked(int x, int top, int bottom, int least = 1) const {
    int n = 0;
    for (int y = top; y < bottom; ++y) n += Coverage(x, y) >= least ? 1 : 0;
    return n;
  }
  bool NoInk() const {
    for (int y = 0; y < 258; ++y)
      for (int x = 0; x < 602; ++x)
        if (Coverage(x, y) != 0) return false;
    return true;
  }

  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

// The picture underneath is never drawn on: strokes are ink over it.
TEST_F(BoardStroke, StrokesLeaveThePictureAloneAndGoOntoTheInk) {
  Stroke({{10, 10}, {20, 12}, {25, 30}, {5, 2}});
  EXPECT_TRUE(Rec().DrawingOps().empty());
  ASSERT_NE(board.Ink(), nullptr);
  EXPECT_EQ(board.Ink()->Width(), 602);
  EXPECT_EQ(board.Ink()->At(20, 13).colour, (ink::Rgb{255, 0, 0}));
  EXPECT_EQ(board.LastX(), 5);
  EXPECT_EQ(board.CurY(), 2);
}

TEST_F(BoardStroke, PressesAndMovesThatDrawNothing) {
  struct Case {
    const char* name;
    std::function<void(BoardModel&)> act;
  } cases[] = {
      {"press and release", [](BoardModel& b) { b.MouseDown(MouseButton::Left, 40, 50); b.MouseUp(); }},
      {"moves without a press, after the release",
       [](BoardModel& b) {
         b.MouseMove(10, 10);
         b.MouseDown(MouseButton::Left, 10, 10);
         b.MouseUp();
         b.MouseMove(30, 30);
       }},
      {"right and middle buttons",
       [](BoardModel& b) {
         b.MouseDown(MouseButton::Right, 33, 44);
         b.MouseMove(50, 60);
         b.MouseDown(MouseButton::Middle, 70, 80);
         b.MouseMove(90, 60);
       }},
  };
  for (const Case& c : cases) {
    SetUp();
    c.act(board);
    EXPECT_FALSE(board.Drawing()) << c.name;
    EXPECT_TRUE(NoInk()) << c.name;
    EXPECT_TRUE(board.History().UndoCount() == 0) << c.name;
  }
  EXPECT_EQ(board.StampX(), 33);
  EXPECT_EQ(board.StampY(), 44);
}

TEST_F(BoardStroke, AMoveAtThePressPointLeavesTheNibAlone) {
  Stroke({{40, 50}, {40, 50}});
  // The nib's hexagon over its pixel corner: the pixel itself whole, its diagonal too.
  EXPECT_EQ(Coverage(40, 50), 255);
  EXPECT_EQ(Coverage(42, 52), 255);
  EXPECT_EQ(Coverage(39, 50), 0);
  EXPECT_EQ(Coverage(45, 50), 0);
}

// A straight horizontal drag is today's band: the nib's reach plus its pixel, whole inside,
// with nothing around it. The width follows the list, the dpi and a pen's pressure.
TEST_F(BoardStroke, TheBandIsAsWideAsTheNibAtTheDpiAndPressure) {
  struct Case {
    const char* name;
    int pen, dpi;
    float pressure;
    int whole, reached;  // rows at the middle of the band
  } cases[] = {
      {"the first nib is three", -1, 96, ink::kNoPressure, 4, 4},
      {"list entry 3: four", 3, 96, ink::kNoPressure, 5, 5},
      {"list entry 0: one", 0, 96, ink::kNoPressure, 2, 2},
      {"192 dpi: twice the reach", -1, 192, ink::kNoPressure, 7, 7},
      {"medium pressure: the chosen width", -1, 96, 0.5f, 4, 4},
      {"lightest touch: 40 %", -1, 96, 0.0f, 2, 3},
      {"full pressure: 160 %", -1, 96, 1.0f, 5, 6},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.pen >= 0) board.ChoosePen(c.pen);
    board.SetDpi(c.dpi);
    Stroke({{10, 100}, {60, 100}, {110, 100}}, c.pressure);
    EXPECT_EQ(RowsInked(60, 90, 120, 255), c.whole) << c.name;
    EXPECT_EQ(RowsInked(60, 90, 120), c.reached) << c.name;
    EXPECT_EQ(Coverage(60, 99), 0) << c.name;
  }
}

TEST_F(BoardStroke, PressureChangesTheWidthAlongTheStroke) {
  board.MouseDown(MouseButton::Left, 10, 100, 0.0f);
  board.MouseMove(60, 100, 0.0f);
  board.MouseMove(110, 100, 1.0f);
  board.MouseMove(160, 100, 1.0f);
  board.MouseUp();
  EXPECT_LT(RowsInked(30, 90, 120), RowsInked(140, 90, 120));
  EXPECT_EQ(RowsInked(140, 90, 120, 255), 5);
}

TEST_F(BoardStroke, ASlantedEdgeCarriesPartialCoverage) {
  Stroke({{100, 100}, {140, 140}, {180, 180}});
  Stroke({{100, 200}, {140, 160}, {180, 120}});
  int partial = 0;
  for (int y = 100; y < 210; ++y)
    for (int x = 95; x < 190; ++x) partial += Coverage(x, y) > 0 && Coverage(x, y) < 255;
  EXPECT_GT(partial, 40);
}

TEST_F(BoardStroke, PressesDuringAStroke) {
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseDown(MouseButton::Right, 90, 91);  // stamp point only, the stroke goes on
  board.MouseMove(30, 10);
  board.MouseDown(MouseButton::Left, 100, 100);  // a new start point: the first stroke ends
  EXPECT_EQ(Coverage(20, 11), 255);
  board.MouseMove(120, 100);
  board.MouseUp();
  EXPECT_EQ(Coverage(110, 101), 255);
  EXPECT_EQ(Coverage(60, 50), 0);  // nothing joins the two
  EXPECT_EQ(board.StampX(), 90);
}

TEST_F(BoardStroke, ColourChangeColoursTheNextStroke) {
  board.ChooseColour(clBlue);
  Stroke({{1, 1}, {2, 5}});
  EXPECT_EQ(board.Ink()->At(2, 3).colour, (ink::Rgb{0, 0, 255}));
  EXPECT_EQ(board.SelectedColour(), clBlue);
}

TEST_F(BoardStroke, DirtyAreaIsTheInkedPixelsOnly) {
  board.TakeChanges();
  Stroke({{100, 100}, {110, 90}});
  auto changes = board.TakeChanges();
  EXPECT_FALSE(changes.all);
  EXPECT_EQ(changes.dirty, (Rect{100, 90, 114, 104}));
  EXPECT_TRUE(board.TakeChanges().dirty.Empty());
}

TEST_F(BoardStroke, StrokesOutsideThePictureAndHugeNibsAreBounded) {
  Stroke({{590, 250}, {700, 300}, {-20, -40}});
  EXPECT_GT(RowsInked(300, 0, 258), 0);  // the stroke back across the picture
  board.ApplySettings({std::nullopt, INT_MAX});
  EXPECT_EQ(board.NibWidth(), BoardModel::kMaxNibWidth);
  Stroke({{INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}});  // across the whole picture, the nib across it
  EXPECT_EQ(Coverage(0, 257), 255);
  EXPECT_EQ(Coverage(601, 0), 255);
  board.ApplySettings({std::nullopt, INT_MIN});
  EXPECT_EQ(board.NibWidth(), -BoardModel::kMaxNibWidth);
}

}  // namespace
}  // namespace inkra::board
