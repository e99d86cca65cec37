// The board never loses or spoils a picture: a change that cannot be made leaves the board and
// its history as they were; a picture put aside comes back with its ink; ink shows whatever the
// display's depth; a release shows and keeps only what it drew; undo restores the settled mode.
#include <gtest/gtest.h>

#include <functional>

#include "BoardTexts.h"
#include "BoardUndoFixture.h"
#include "Handwriting.h"
#include "PictureFile.h"

namespace inkra::board {
namespace {

using testing::MakeJpeg;

class BoardSafety : public BoardUndo {
 protected:
  // A signature on paper, cleared, and signed again: the history holds a picture and strokes.
  void Sign() {
    Stroke(10, 10, 200, 120);
    board.Clear();
    Stroke(40, 30, 300, 200);
  }
  std::pair<std::size_t, std::size_t> Counts() const {
    return {board.History().UndoCount(), board.History().RedoCount()};
  }
};

struct FailedChange {
  const char* name;
  std::function<void(testing::RecordingSurfaces&)> fail;
  std::function<void(BoardModel&, testing::RecordingSurfaces&)> change;
  const char* message;  // the user's message, when the board writes it itself
};

TEST_F(BoardSafety, AChangeThatCannotBeMadeLeavesTheBoardAndItsHistory) {
  const auto seal = BmpFile(Pattern(150, 150, 32));
  const FailedChange cases[] = {
      {"clear without paper", [](auto& s) { s.refuseNew = true; }, [](BoardModel& b, auto&) { b.Clear(); }, nullptr},
      {"seal without paper", [](auto& s) { s.refuseNew = true; }, [&](BoardModel& b, auto&) { b.TakeSeal(seal); },
       nullptr},
      {"clear with no memory to keep the picture", [](auto& s) { s.refuseCopy = true; },
       [](BoardModel& b, auto&) { b.Clear(); }, kChangeRefused},
      {"scan with no memory to keep the picture", [](auto& s) { s.refuseCopy = true; },
       [](BoardModel& b, auto& s) { b.TakeScan(s.FromBitmap(Pattern(300, 200, 32))); }, kChangeRefused},
      // 5200 x 5000 at 32 bits, 99.2 MiB: past the limit of an opened picture.
      {"scan past the picture limit", [](auto&) {},
       [](BoardModel& b, auto& s) { b.TakeScan(s.FromBitmap(Bitmap(5200, 5000, 32))); },
       nullptr},
  };
  for (const FailedChange& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    Sign();
    const Seen before = Look();
    const auto counts = Counts();
    c.fail(surfaces);
    try {
      c.change(board, surfaces);
      ADD_FAILURE() << "not refused";
    } catch (const PictureTooLarge& e) {
      EXPECT_NE(std::string(e.what()).find("5200 × 5000"), std::string::npos);
    } catch (const std::exception& e) {
      if (c.message) EXPECT_STREQ(e.what(), c.message);
    }
    surfaces.refuseNew = surfaces.refuseCopy = false;
    EXPECT_EQ(Look(), before);
    EXPECT_EQ(Counts(), counts);
    // The board goes on as if nothing had been tried: a smaller window, a clear and a stroke,
    // then every step back to the first signature (ASan finds a step landing on the wrong size).
    board.PanelResized(300, 120);
    board.Clear();
    Stroke(5, 5, 100, 80);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(board.Undo());
    EXPECT_EQ(Look().written, before.written);  // the view has the smaller window's size
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(board.Undo());  // the signature, its clear, the first
    EXPECT_FALSE(board.Undo());
  }
}

// A picture the board opens, signed across, then put aside by another picture: the step holds
// the picture and its ink, whatever the ink's box, and undo brings back the signed photo.
TEST_F(BoardSafety, TheLargestSignedPhotoComesBackAfterAnyReplacement) {
  const auto photo = MakeJpeg(6000, 4000, 40, 90, 160);
  const auto seal = BmpFile(Pattern(150, 150, 32));
  const struct {
    const char* name;
    std::function<void()> change;
  } cases[] = {
      {"clear", [&] { board.Clear(); }},
      {"seal", [&] { board.TakeSeal(seal); }},
      {"scan", [&] { board.TakeScan(surfaces.FromBitmap(Pattern(300, 200, 32))); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    board.Create(602, 258);
    board.OpenPicture("photo.jpg", photo);
    Stroke(20, 20, 5900, 3900);
    Stroke(5900, 20, 20, 3900);
    const Seen signedPhoto = Look();
    c.change();
    ASSERT_TRUE(board.Undo());
    EXPECT_EQ(Look(), signedPhoto);
    ASSERT_TRUE(board.Redo());
    ASSERT_TRUE(board.Undo());
    EXPECT_EQ(Look(), signedPhoto);
  }
}

// On a 16-bit display the paper is still made at a depth ink shows on: a seal and a first stroke
// are seen, and "确定" writes them.
TEST_F(BoardSafety, InkShowsAndLeavesOnASixteenBitDisplay) {
  Bitmap solid(150, 150, 32);  // a seal as the dialogs write it: red, opaque, on transparent
  for (int y = 50; y < 100; ++y)
    for (int x = 50; x < 100; ++x) std::copy_n("\x00\x00\xC8\xFF", 4, solid.Row(y) + x * 4);
  const auto seal = BmpFile(solid);
  const struct {
    const char* name;
    std::function<void()> ink;
    int x, y;  // a pixel the ink covers whole
  } cases[] = {
      {"seal", [&] { board.TakeSeal(seal); }, 75, 75},
      {"first stroke", [&] { Stroke(10, 10, 60, 60); }, 22, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    surfaces.displayBits = 16;
    board.Create(602, 258);
    c.ink();
    const Picture shown = board.Snapshot();
    ASSERT_TRUE(std::holds_alternative<Bitmap>(shown));
    const std::uint32_t inked = std::get<Bitmap>(shown).PixelRGB(c.x, c.y);
    EXPECT_NE(inked, 0xFFFFFFu);
    EXPECT_TRUE(board.CanWritePng());
    VectorSink bmp, png;
    board.WritePicture(bmp);
    EXPECT_EQ(ReadBmp(bmp.data).PixelRGB(c.x, c.y), inked);
    board.WritePng(png);
    EXPECT_FALSE(png.data.empty());
  }
}

// A release draws the curve's last piece: it is reported for the view, and the history keeps
// the stroke, not the pixels of its box (1200 x 800 here, 3.7 MB of ink).
TEST_F(BoardSafety, AReleaseShowsItsLastPieceAndKeepsOnlyWhatTheStrokeTouched) {
  board.Create(1200, 800);
  board.MouseDown(MouseButton::Left, 0, 0);
  for (int i = 1; i <= 99; ++i) board.MouseMove(i * 12, i * 8);
  board.TakeChanges();
  const Bitmap before = std::get<Bitmap>(board.Snapshot());
  board.MouseUp();
  const BoardModel::Changes reported = board.TakeChanges();
  const Bitmap after = std::get<Bitmap>(board.Snapshot());
  Rect changed;
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1200; ++x)
      if (before.PixelRGB(x, y) != after.PixelRGB(x, y)) changed = changed.Union({x, y, x + 1, y + 1});
  ASSERT_FALSE(changed.Empty());
  EXPECT_EQ(changed.Intersect(reported.dirty), changed);
  EXPECT_LT(board.History().BytesHeld(), std::size_t(600) << 10);
  ASSERT_TRUE(board.Undo());
  EXPECT_EQ(std::get<Bitmap>(board.Snapshot()).Pixels(), Bitmap(1200, 800, 32).Pixels());
}

// A failed Open leaves natural mode on the screen but is no change of its own: undo and redo of
// the clear before it come back in the mode the clear settled, and so at the view size it gave.
TEST_F(BoardSafety, UndoAndRedoBringBackTheSettledLayoutMode) {
  Stroke(10, 10, 200, 120);
  board.Clear();
  board.EnterNaturalMode();
  EXPECT_THROW(board.OpenPicture("broken.bmp", {'B', 'M', 1, 2, 3}), PictureError);
  ASSERT_TRUE(board.Undo());
  ASSERT_TRUE(board.Redo());
  EXPECT_EQ(board.Mode(), LayoutMode::Fill);
  EXPECT_EQ(board.ViewSize(), (Size{602, 258}));
}

// A thousand handwritten strokes on the default board: each step holds the items it drew, which
// the board holds anyway, so none of them costs the history's budget and all can be taken back.
TEST_F(BoardSafety, AThousandStrokesCostTheHistorysBudgetNothing) {
  const std::vector<bench::PathPoint> path = bench::Handwriting(0, 0, 1);
  for (int i = 0; i < 1000; ++i) {
    const std::size_t first = std::size_t(i * 17) % (path.size() - 12);
    board.MouseDown(MouseButton::Left, int(path[first].x), int(path[first].y));
    for (std::size_t k = 1; k <= 10; ++k) board.MouseMove(int(path[first + k].x), int(path[first + k].y));
    board.MouseUp();
  }
  EXPECT_EQ(board.History().UndoCount(), 1000u);
  EXPECT_EQ(board.History().BytesHeld(), 0u);
}

}  // namespace
}  // namespace inkra::board
