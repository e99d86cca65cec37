// The pointer state machine and the stroke polygon of the board model.
#include <gtest/gtest.h>

#include <climits>

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
  std::vector<Point> Quad(int lx, int ly, int cx, int cy, int w) {
    return {{lx, ly}, {cx, cy}, {cx + w, cy + w}, {lx + w, ly + w}};
  }

  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

TEST_F(BoardStroke, PressAndReleaseWithoutMovementDrawsNothing) {
  board.MouseDown(MouseButton::Left, 40, 50);
  EXPECT_TRUE(board.Drawing());
  board.MouseUp();
  EXPECT_FALSE(board.Drawing());
  EXPECT_TRUE(Rec().DrawingOps().empty());
}

TEST_F(BoardStroke, MoveAtThePressPointPaintsTheNibAlone) {
  board.MouseDown(MouseButton::Left, 40, 50);
  board.MouseMove(40, 50);
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].points, Quad(40, 50, 40, 50, 3));
  EXPECT_EQ(polys[0].pen, clRed);
  EXPECT_EQ(polys[0].brush, clRed);
}

TEST_F(BoardStroke, EachMoveIsOnePolygonFromTheLastPoint) {
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseMove(20, 12);
  board.MouseMove(25, 30);
  board.MouseMove(5, 2);
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0].points, Quad(10, 10, 20, 12, 3));
  EXPECT_EQ(polys[1].points, Quad(20, 12, 25, 30, 3));
  EXPECT_EQ(polys[2].points, Quad(25, 30, 5, 2, 3));
  EXPECT_EQ(board.LastX(), 5);
  EXPECT_EQ(board.LastY(), 2);
  EXPECT_EQ(board.CurX(), 5);
}

TEST_F(BoardStroke, MovesWithoutAPressOrAfterTheReleaseDrawNothing) {
  board.MouseMove(10, 10);
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseUp();
  board.MouseMove(30, 30);
  EXPECT_TRUE(Rec().DrawingOps().empty());
}

TEST_F(BoardStroke, StrokeOutsideThePictureGoesOnUntilTheRelease) {
  board.MouseDown(MouseButton::Left, 590, 250);
  board.MouseMove(700, 300);
  board.MouseMove(-20, -40);
  board.MouseUp();
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[1].points, Quad(700, 300, -20, -40, 3));
}

TEST_F(BoardStroke, RightButtonStoresTheStampPointAndDrawsNothing) {
  board.MouseDown(MouseButton::Right, 33, 44);
  EXPECT_EQ(board.StampX(), 33);
  EXPECT_EQ(board.StampY(), 44);
  EXPECT_FALSE(board.Drawing());
  board.MouseMove(50, 60);
  board.MouseDown(MouseButton::Middle, 70, 80);
  EXPECT_EQ(board.StampX(), 33);
  EXPECT_FALSE(board.Drawing());
  EXPECT_TRUE(Rec().DrawingOps().empty());
}

TEST_F(BoardStroke, PressesDuringAStroke) {
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseDown(MouseButton::Right, 90, 91);  // stamp point only, the stroke goes on
  board.MouseMove(12, 12);
  board.MouseDown(MouseButton::Left, 100, 100);  // a new start point
  board.MouseMove(101, 100);
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].points, Quad(10, 10, 12, 12, 3));
  EXPECT_EQ(polys[1].points, Quad(100, 100, 101, 100, 3));
  EXPECT_EQ(board.StampX(), 90);
}

TEST_F(BoardStroke, TheListShowsNormalButTheFirstNibIsThree) {
  EXPECT_EQ(board.PenIndex(), 3);
  EXPECT_EQ(board.NibWidth(), 3);
  board.ChoosePen(0);
  EXPECT_EQ(board.NibWidth(), 1);
  board.ChoosePen(3);
  EXPECT_EQ(board.NibWidth(), 4);
  board.MouseDown(MouseButton::Left, 0, 0);
  board.MouseMove(0, 0);
  EXPECT_EQ(Rec().Polygons().at(0).points, Quad(0, 0, 0, 0, 4));
}

TEST_F(BoardStroke, ColourChangeSetsPenAndFill) {
  board.ChooseColour(clBlue);
  board.MouseDown(MouseButton::Left, 1, 1);
  board.MouseMove(2, 5);
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].pen, clBlue);
  EXPECT_EQ(polys[0].brush, clBlue);
  EXPECT_EQ(board.SelectedColour(), clBlue);
}

TEST_F(BoardStroke, DirtyAreaIsThePolygonsBoundsOnly) {
  board.TakeChanges();
  board.MouseDown(MouseButton::Left, 100, 100);
  board.MouseMove(110, 90);
  auto changes = board.TakeChanges();
  EXPECT_FALSE(changes.all);
  // Every vertex inside, and no larger than the bounds with a pixel's margin.
  EXPECT_LE(changes.dirty.left, 100);
  EXPECT_LE(changes.dirty.top, 90);
  EXPECT_GT(changes.dirty.right, 113);
  EXPECT_GT(changes.dirty.bottom, 103);
  EXPECT_LE(changes.dirty.right - changes.dirty.left, 16);
  EXPECT_LE(changes.dirty.bottom - changes.dirty.top, 16);
  EXPECT_TRUE(board.TakeChanges().dirty.Empty());
}

TEST_F(BoardStroke, HugeNibsAndCoordinatesAreClampedWithoutOverflow) {
  board.ApplySettings({std::nullopt, INT_MAX});
  EXPECT_EQ(board.NibWidth(), BoardModel::kMaxNibWidth);
  board.MouseDown(MouseButton::Left, INT_MIN, INT_MIN);
  board.MouseMove(INT_MAX, INT_MAX);  // across the whole picture
  auto polys = Rec().Polygons();
  ASSERT_EQ(polys.size(), 1u);
  const int c = BoardModel::kMaxCoordinate, w = BoardModel::kMaxNibWidth;
  EXPECT_EQ(polys[0].points, Quad(-c, -c, c, c, w));
  board.ApplySettings({std::nullopt, INT_MIN});
  EXPECT_EQ(board.NibWidth(), -BoardModel::kMaxNibWidth);
}

}  // namespace
}  // namespace inkra::board
