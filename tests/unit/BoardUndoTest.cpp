// Undo and redo of every change to the board picture, checked on what the board would write,
// and the history's memory budget.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "BoardUndoFixture.h"
#include "Bmp.h"
#include "BoardTexts.h"
#include "UndoHistory.h"

namespace inkra::board {
namespace {

using testing::MakeJpeg;
using testing::RecordingSurface;
using testing::RecordingSurfaces;

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
  ASSERT_NE(board.Ink(), nullptr);
  EXPECT_EQ(board.Ink()->At(10, 6), (ink::InkPixel{{0, 0, 255}, 255}));
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

TEST_F(BoardUndo, PressesThatDrawNothingLeaveNoStep) {
  board.MouseDown(MouseButton::Left, 10, 10);
  board.MouseUp();
  board.MouseDown(MouseButton::Left, 5000, 5000);  // far outside the picture
  board.MouseMove(5100, 5100);
  board.MouseUp();
  EXPECT_EQ(board.History().UndoCount(), 0u);
  EXPECT_FALSE(board.Undo());
}

// Two 16-megapixel pages (61 MiB each at 32 bits) do not both fit the budget of one picture of
// the largest size: the older change is forgotten, the newer one still comes back.
TEST_F(BoardUndo, ChangesPastTheBudgetAreForgottenOldestFirst) {
  board.TakeScan(surfaces.FromBitmap(Pattern(4000, 4000, 32)));
  const Seen firstPage = Look();
  board.Clear();
  board.TakeScan(surfaces.FromBitmap(Pattern(4000, 4000, 32)));
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

// The example the history must survive: a large picture opened, signed, and taken back past
// its strokes and its opening; redo brings the picture back, then every stroke.
TEST_F(BoardUndo, ALargePictureTakenBackPastItsStrokesComesBackWithEverythingElse) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
  } photos[] = {
      {"photo.jpg", MakeJpeg(6000, 4000, 40, 90, 160)},  // 24 megapixels, held as its file
      {"photo.bmp", BmpFile(Bitmap(6000, 4000, 24))},    // 72 MB, held as its pixels
  };
  for (const auto& photo : photos) {
    SCOPED_TRACE(photo.name);
    board.Create(602, 258);
    const Seen blank = Look();
    board.OpenPicture(photo.name, photo.file);
    const Seen opened = Look();
    Stroke(100, 100, 400, 300);
    Stroke(500, 100, 800, 300);
    const Seen signedPhoto = Look();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(board.Undo());
    EXPECT_EQ(Look(), blank);
    EXPECT_EQ(board.History().RedoCount(), 3u);
    EXPECT_LE(board.History().BytesHeld(), board.History().Budget());
    ASSERT_TRUE(board.Redo());
    EXPECT_EQ(Look(), opened);
    ASSERT_TRUE(board.Redo());
    ASSERT_TRUE(board.Redo());
    EXPECT_EQ(Look(), signedPhoto);
    EXPECT_EQ(board.History().UndoCount(), 3u);
  }
}

// An undo or redo the history cannot hold (no memory for the surface coming back) is refused with the board's message; the board and its history stay.
TEST_F(BoardUndo, RefusedTravelsSaySoAndChangeNothing) {
  const auto bmp = BmpFile(Pattern(120, 90, 24));
  const struct {
    const char* name;
    std::function<void()> setup;
    bool redo, noMemory;
  } cases[] = {
      {"no memory to undo", [&] { board.OpenPicture("p.bmp", bmp); }, false, true},
      {"no memory to redo", [&] { board.OpenPicture("p.bmp", bmp), board.Undo(); }, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    c.setup();
    const Seen before = Look();
    const std::size_t undo = board.History().UndoCount(), redo = board.History().RedoCount();
    surfaces.refuse = c.noMemory;
    try {
      Travel(c.redo);
      ADD_FAILURE() << "not refused";
    } catch (const UndoRefused& e) {
      EXPECT_STREQ(e.what(), c.redo ? kRedoRefused : kUndoRefused);
    }
    surfaces.refuse = false;
    EXPECT_EQ(Look(), before);
    EXPECT_EQ(board.History().UndoCount(), undo);
    EXPECT_EQ(board.History().RedoCount(), redo);
  }
}

// Ctrl+Z or Ctrl+Y with the button still down ends the stroke: the next move paints no tail,
// and what was taken back or brought back stays so.
TEST_F(BoardUndo, UndoOrRedoDuringAStrokeEndsIt) {
  for (const Way& key : kWays) {
    SCOPED_TRACE(key.name);
    board.Create(602, 258);
    Stroke(300, 20, 350, 60);
    if (key.redo) {
      ASSERT_TRUE(board.Undo());
    }
    const Seen start = Look();
    board.MouseDown(MouseButton::Left, 10, 10);
    if (!key.redo) board.MouseMove(80, 40);
    ASSERT_TRUE(Travel(key.redo));
    const Seen after = Look();
    EXPECT_EQ(after == start, !key.redo);  // undo took back the part drawn; redo brought a stroke
    EXPECT_FALSE(board.Drawing());
    board.MouseMove(120, 60);
    board.MouseMove(200, 90);
    board.MouseUp();
    EXPECT_EQ(Look(), after);
  }
}

TEST_F(BoardUndo, PressesAndDragsThatPaintNothingLeaveRedoAsItWas) {
  const auto jpeg = MakeJpeg(90, 70, 20, 120, 220);
  const UndoCase cases[] = {
      {"press and release", [](BoardModel&) {}, [](BoardModel& b) { b.MouseDown(MouseButton::Left, 10, 10); }},
      {"drag outside the picture", [](BoardModel&) {},
       [](BoardModel& b) { b.MouseDown(MouseButton::Left, 700, 300), b.MouseMove(900, 310), b.MouseMove(5000, 5000); }},
      {"drag beside an opened JPEG", [&](BoardModel& b) { b.OpenPicture("p.jpg", jpeg); },
       [](BoardModel& b) { b.MouseDown(MouseButton::Left, 200, 10), b.MouseMove(300, 40); }},
      {"right press", [](BoardModel&) {}, [](BoardModel& b) { b.MouseDown(MouseButton::Right, 10, 10); }},
      {"time stamp beside the picture", [](BoardModel&) {},
       [](BoardModel& b) { b.MouseDown(MouseButton::Right, 700, 300), b.StampTime("2026-12-07 11:30"); }},
  };
  for (const UndoCase& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    c.setup(board);
    const PictureKind kind = board.Kind();
    Stroke(20, 20, 60, 60);
    const Seen stroked = Look();
    ASSERT_TRUE(board.Undo());
    const Seen before = Look();
    c.change(board);
    board.MouseUp();
    EXPECT_EQ(Look(), before);
    EXPECT_EQ(board.Kind(), kind);
    ASSERT_TRUE(board.Redo());
    EXPECT_EQ(Look(), stroked);
  }
}

// Held pictures are pixels, not surfaces: however many clears and seals the history holds, the
// board has one surface, so on Windows one device context, DIB section, pen, brush and font.
TEST_F(BoardUndo, HeldPicturesKeepNoSurface) {
  const auto seal = BmpFile(Pattern(150, 150, 32));
  for (int i = 0; i < 150; ++i) {
    Stroke(10 + i, 10, 60 + i, 50);
    board.Clear();
    board.TakeSeal(seal);
  }
  EXPECT_GE(board.History().PicturesHeld(), 150u);
  EXPECT_EQ(surfaces.alive, 1);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(board.Undo());
  EXPECT_EQ(surfaces.alive, 1);
}

class UndoHistoryTiles : public ::testing::Test {
 protected:
  RecordingSurfaces surfaces;
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
    UndoHistory history(surfaces);
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
  UndoHistory history(surfaces, 3 * tile + 3000);  // three one-tile changes and their bookkeeping
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


// Undoing a change that put a large picture in place makes the step hold that picture. Room is
// made on the far side first (the furthest redo steps), then on the near side oldest first; the
// step itself always stays.
class UndoHistoryBudget : public UndoHistoryTiles {
 protected:
  // The history holds the large picture and three one-tile changes, and no more.
  std::size_t Budget() {
    UndoHistory probe(surfaces);
    PictureState shown = Showing(surfaces.FromBitmap(small));
    Change(probe, *shown.surface, {0, 0, 4, 4});
    return large.Pixels().size() + probe.BytesHeld() * 7 / 2;
  }
  // One-tile changes, one in each 64-pixel column.
  static void Changes(UndoHistory& h, Surface& s, int count) {
    for (int i = 0; i < count; ++i) Change(h, s, {i * 64, 0, i * 64 + 4, 4});
  }
  static void Travel(UndoHistory& h, PictureState& shown, int undos, int redos) {
    for (int i = 0; i < undos; ++i) ASSERT_TRUE(h.Undo(shown).moved);
    for (int i = 0; i < redos; ++i) ASSERT_TRUE(h.Redo(shown).moved);
  }
  const Bitmap small = Pattern(256, 64, 32), large = Pattern(256, 256, 32);
};

TEST_F(UndoHistoryBudget, UndoingMakesRoomFromTheFurthestRedoStepsAndKeepsTheUndoSteps) {
  UndoHistory history(surfaces, Budget());
  PictureState shown = Showing(surfaces.FromBitmap(small));
  Changes(history, *shown.surface, 2);
  const Bitmap beforeLarge = shown.surface->ToBitmap();
  history.RecordReplacement(std::exchange(shown, Showing(surfaces.FromBitmap(large))));
  Changes(history, *shown.surface, 1);
  const Bitmap firstOnLarge = shown.surface->ToBitmap();
  Changes(history, *shown.surface, 2);
  Travel(history, shown, 4, 0);  // three changes on the large picture, then the replacement
  EXPECT_EQ(shown.surface->ToBitmap().Pixels(), beforeLarge.Pixels());
  EXPECT_EQ(history.UndoCount(), 2u);  // within the budget: kept
  EXPECT_EQ(history.RedoCount(), 2u);  // the replacement and the change nearest it
  EXPECT_LE(history.BytesHeld(), history.Budget());
  Travel(history, shown, 2, 4);
  EXPECT_EQ(shown.surface->ToBitmap().Pixels(), firstOnLarge.Pixels());
  EXPECT_FALSE(history.Redo(shown).moved);
}

}  // namespace
}  // namespace inkra::board
