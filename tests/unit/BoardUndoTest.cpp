// Undo and redo of every change to the board picture, checked on what the board would write,
// and the history's memory budget.
#include <gtest/gtest.h>

#include <functional>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"
#include "UndoHistory.h"

namespace inkra::board {
namespace {

using testing::MakeJpeg;
using testing::RecordingSurface;
using testing::RecordingSurfaces;

// A picture with a different colour in every pixel, so a misplaced byte shows.
Bitmap Pattern(int w, int h, int bpp) {
  Bitmap b(w, h, bpp);
  for (std::size_t i = 0; i < b.Pixels().size(); ++i) b.Pixels()[i] = std::uint8_t(i * 7 + 3);
  return b;
}

std::vector<std::uint8_t> BmpFile(const Bitmap& b) {
  VectorSink sink;
  WriteBmp(b, sink);
  return sink.data;
}

// Everything of the board that undo must bring back.
struct Seen {
  std::vector<std::uint8_t> written;
  PictureKind kind;
  LayoutMode mode;
  Size view;
  friend bool operator==(const Seen&, const Seen&) = default;
};

class BoardUndo : public ::testing::Test {
 protected:
  void SetUp() override { board.Create(602, 258); }
  Seen Look() const {
    VectorSink sink;
    board.WritePicture(sink);
    return {sink.data, board.Kind(), board.Mode(), board.ViewSize()};
  }
  void Stroke(int x0, int y0, int x1, int y1) {
    board.MouseDown(MouseButton::Left, x0, y0);
    board.MouseMove((x0 + x1) / 2, y0);
    board.MouseMove(x1, y1);
    board.MouseUp();
  }
  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

struct UndoCase {
  const char* name;
  std::function<void(BoardModel&)> setup;  // before the change
  std::function<void(BoardModel&)> change;
};

TEST_F(BoardUndo, EachChangeIsTakenBackAndBroughtBackWhole) {
  const auto jpeg = MakeJpeg(90, 70, 20, 120, 220);
  const auto bmp = BmpFile(Pattern(120, 90, 24));
  const auto seal = BmpFile(Pattern(150, 150, 32));
  auto stroke = [this](BoardModel&) { Stroke(10, 10, 60, 50); };
  const UndoCase cases[] = {
      {"stroke", [](BoardModel&) {}, stroke},
      {"stroke on an opened JPEG", [&](BoardModel& b) { b.OpenPicture("p.jpg", jpeg); }, stroke},
      {"stroke over a seal", [&](BoardModel& b) { b.TakeSeal(seal); }, stroke},
      {"time stamp over writing", [&](BoardModel& b) { stroke(b); b.MouseDown(MouseButton::Right, 20, 30); },
       [](BoardModel& b) { b.StampTime("2026-12-07 11:30"); }},
      {"clear", [&](BoardModel& b) { b.OpenPicture("p.bmp", bmp); stroke(b); }, [](BoardModel& b) { b.Clear(); }},
      {"open a bitmap", stroke, [&](BoardModel& b) { b.EnterNaturalMode(); b.OpenPicture("p.bmp", bmp); }},
      {"open a JPEG", stroke, [&](BoardModel& b) { b.OpenPicture("p.jpg", jpeg); }},
      {"seal", stroke, [&](BoardModel& b) { b.TakeSeal(seal); }},
      {"scan over a JPEG", [&](BoardModel& b) { b.OpenPicture("p.jpg", jpeg); },
       [this](BoardModel& b) { b.TakeScan(surfaces.FromBitmap(Pattern(300, 200, 32))); }},
  };
  for (const UndoCase& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    c.setup(board);
    const Seen before = Look();
    c.change(board);
    const Seen after = Look();
    ASSERT_NE(before.written, after.written);
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(board.Undo());
      EXPECT_EQ(Look(), before);
      ASSERT_TRUE(board.Redo());
      EXPECT_EQ(Look(), after);
    }
    EXPECT_FALSE(board.Redo());
  }
}

TEST_F(BoardUndo, AnOpenedJpegRegainsItsBytesWhenItsOnlyStrokeIsTakenBack) {
  const auto jpeg = MakeJpeg(64, 48, 200, 30, 30);
  board.OpenPicture("photo.jpg", jpeg);
  board.ChooseColour(clBlue);  // a colour alone leaves it a JPEG
  Stroke(5, 5, 30, 30);
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(board.Kind(), PictureKind::Jpeg);
  EXPECT_EQ(Look().written, jpeg);
  // The pen keeps the colour chosen since.
  Stroke(5, 5, 30, 30);
  EXPECT_EQ(surfaces.Last().Recorder().Polygons().back().brush, clBlue);
}

TEST_F(BoardUndo, ANewChangeDropsWhatCouldHaveBeenRedone) {
  Stroke(10, 10, 50, 50);
  const Seen first = Look();
  Stroke(100, 10, 150, 60);
  ASSERT_TRUE(board.Undo());
  Stroke(200, 100, 260, 150);
  EXPECT_FALSE(board.Redo());
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(Look(), first);
}

TEST_F(BoardUndo, UndoInTheMiddleOfAStrokeTakesBackWhatItDrewSoFar) {
  const Seen blank = Look();
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseMove(80, 40);
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(Look(), blank);
  board.MouseMove(120, 60);  // the stroke goes on as a new change
  board.MouseUp();
  EXPECT_NE(Look(), blank);
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(Look(), blank);
  EXPECT_FALSE(board.Undo());
}

TEST_F(BoardUndo, PressesThatDrawNothingLeaveNoStep) {
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseUp();
  board.MouseDown(MouseButton::Left, 5000, 5000);  // far outside the picture
  board.MouseMove(5100, 5100);
  board.MouseUp();
  EXPECT_EQ(board.History().UndoCount(), 0u);
  EXPECT_FALSE(board.Undo());
}

// Two A4 pages at 300 dpi (35 MB each at 32 bits) do not both fit the 64 MB budget: the older
// change is forgotten, the newer one still comes back.
TEST_F(BoardUndo, ChangesPastTheBudgetAreForgottenOldestFirst) {
  board.TakeScan(surfaces.FromBitmap(Pattern(2480, 3508, 32)));
  const Seen firstPage = Look();
  board.Clear();
  board.TakeScan(surfaces.FromBitmap(Pattern(2480, 3508, 32)));
  board.MouseDown(MouseButton::Right, 100, 100);
  board.StampTime("2026-12-07 11:30");
  const Seen secondPage = Look();
  board.Clear();
  EXPECT_LE(board.History().BytesHeld(), board.History().Budget());
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(Look(), secondPage);
  ASSERT_TRUE(board.Undo());  // the time stamp
  ASSERT_TRUE(board.Undo());  // the second page
  EXPECT_NE(Look(), firstPage);
  EXPECT_FALSE(board.Undo());  // the first clear, holding the first page, did not fit
}

class UndoHistoryTiles : public ::testing::Test {
 protected:
  // Flips every byte of the rows under `area`, as drawing there would change them.
  static void Scribble(Surface& s, const Rect& area) {
    const PixelRows rows = s.Pixels();
    for (int y = area.top; y < area.bottom; ++y) {
      for (std::size_t i = std::size_t(area.left) * std::size_t(rows.bitsPerPixel) / 8;
           i < (std::size_t(area.right) * std::size_t(rows.bitsPerPixel) + 7) / 8; ++i)
        rows.Row(y)[i] ^= 0xFF;
    }
  }
  static void Change(UndoHistory& h, Surface& s, const Rect& area) {
    h.BeginDrawing({nullptr, PictureKind::Bitmap, {}, LayoutMode::Fill});
    h.SaveArea(s, area);
    Scribble(s, area);
    h.EndDrawing();
  }
  static PictureState Showing(std::unique_ptr<Surface> s) {
    return {std::move(s), PictureKind::Bitmap, {}, LayoutMode::Fill};
  }
};

TEST_F(UndoHistoryTiles, EveryDepthComesBackExactlyAtTheEdges) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    const Bitmap original = Pattern(70, 40, bpp);
    PictureState shown = Showing(std::make_unique<RecordingSurface>(original));
    UndoHistory history;
    Change(history, *shown.surface, {60, 30, 70, 40});
    Change(history, *shown.surface, {0, 0, 5, 5});
    const Bitmap scribbled = shown.surface->ToBitmap();
    ASSERT_NE(scribbled.Pixels(), original.Pixels());
    EXPECT_EQ(history.Undo(shown).area, (Rect{0, 0, 32, 32}));
    EXPECT_EQ(history.Undo(shown).area, (Rect{32, 0, 70, 40}));
    EXPECT_EQ(shown.surface->ToBitmap().Pixels(), original.Pixels());
    history.Redo(shown);
    history.Redo(shown);
    EXPECT_EQ(shown.surface->ToBitmap().Pixels(), scribbled.Pixels());
  }
}

TEST_F(UndoHistoryTiles, TheBudgetKeepsTheNewestChangesAndRefusesOneTooLarge) {
  const std::size_t tile = UndoHistory::kTileSize * UndoHistory::kTileSize * 4;
  UndoHistory history(3 * tile + 3000);  // three one-tile changes and their bookkeeping
  const Bitmap original = Pattern(320, 64, 32);
  PictureState shown = Showing(std::make_unique<RecordingSurface>(original));
  for (int i = 0; i < 5; ++i) Change(history, *shown.surface, {i * 64, 0, i * 64 + 10, 10});
  EXPECT_EQ(history.UndoCount(), 3u);
  EXPECT_LE(history.BytesHeld(), history.Budget());
  while (history.Undo(shown).moved) {
  }
  const Bitmap back = shown.surface->ToBitmap();
  EXPECT_NE(back.PixelRGB(0, 0), original.PixelRGB(0, 0));    // changes 1 and 2: forgotten
  EXPECT_NE(back.PixelRGB(64, 0), original.PixelRGB(64, 0));
  EXPECT_EQ(back.PixelRGB(128, 0), original.PixelRGB(128, 0));  // changes 3 to 5: taken back
  EXPECT_EQ(back.PixelRGB(256, 0), original.PixelRGB(256, 0));

  // One change larger than the whole budget cannot be kept, and nothing before it can either.
  Change(history, *shown.surface, {0, 0, 320, 64});
  EXPECT_EQ(history.UndoCount(), 0u);
  EXPECT_EQ(history.RedoCount(), 0u);
  EXPECT_FALSE(history.Undo(shown).moved);
}

}  // namespace
}  // namespace inkra::board
