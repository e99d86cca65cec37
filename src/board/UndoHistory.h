#pragma once
// The board's undo history: every change to the board picture, newest last, within a fixed
// memory budget.
//
// A change drawn on the board (a stroke, a time stamp) keeps the items it drew and the area
// they reach: undoing takes the items off and draws that area of the ink again from the items
// left (InkRedraw), redoing puts them back and draws it again. Where such a change painted the
// picture itself (a stamp's white box, a stroke on a palette picture) it keeps the tiles it
// painted over, each saved once, as they were before. A change that put a new picture in place
// (clear, open, seal, scan) keeps the whole earlier picture. Nothing is kept of the picture after
// a change: undoing swaps what a step holds with what the board shows, so the step then holds
// what redo needs, and the same swap brings it back.
//
// A whole picture is held as its pixels in plain memory, never as a drawing surface, so the
// history costs no device context, DIB section, pen, brush or font however long it grows. An
// opened JPEG that was never drawn on is held as its file's bytes alone and decoded again when
// it comes back, so a large photo costs the history only its file's size.
//
// The budget: a new change forgets the oldest changes first. Travelling (undo or redo) may make
// a step larger (undoing an open makes the step hold the opened picture); room for it is made
// on the far side first (undoing drops the redo steps furthest away, redoing the oldest undo
// steps), then on the near side oldest first. The step itself always stays, so whatever was
// taken back can be brought back; when it alone cannot fit the budget, or memory for the swap
// cannot be had, the travel is refused and nothing changes. The budget counts pictures only: the
// whole pictures held and the tiles of the picture painted over. Items cost it nothing: a stroke
// is its pointer samples (24 bytes each, a few hundred to a stroke), a stamp its outlines, and
// the board's own item list already holds them, shared, so a step adds only a reference; a
// thousand strokes come to a few hundred kilobytes. A whole picture is held as its pixels (or
// file) and its items: its ink is drawn again from them when it comes back, so any picture the
// board holds fits, and it can always be taken back once with its signature, however far the
// ink reaches.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "Bitmap.h"
#include "BoardPicture.h"
#include "Surface.h"

namespace inkra::board {

class UndoHistory {
 public:
  // One picture of the largest size the board holds, with room for the bookkeeping, so any
  // picture the board shows can be taken back and brought back at least once.
  static constexpr std::size_t kDefaultBudget = kMaxPictureBytes + (std::size_t(1) << 20);
  // Square tiles of this many pixels; a multiple of 8, so a tile's row starts on a byte at
  // every depth.
  static constexpr int kTileSize = 32;

  // Pictures coming back are made on surfaces from `surfaces` (not owned).
  explicit UndoHistory(SurfaceFactory& surfaces, std::size_t budgetBytes = kDefaultBudget)
      : surfaces_(surfaces), budget_(budgetBytes) {}

  // --- Recording (each new change forgets what could have been redone) ---
  // Opens a drawn change. `before` carries the kind and JPEG bytes the picture had (its surface
  // stays null): the first stroke on an opened JPEG makes it a bitmap, and undo makes it a
  // JPEG again. A change still open is closed first. Until the change keeps a pixel, what can
  // be redone stays: a drag that paints nothing is no change.
  void BeginDrawing(PictureState before);
  bool DrawingOpen() const { return open_.has_value(); }
  // Keeps the pixels of `area` (clipped to the surface) that this change has not kept yet, as
  // they are now: call it before drawing there.
  void SaveArea(Surface& surface, const Rect& area);
  // An item was drawn by the open change (the newest of the picture's items, reaching `bounds`):
  // undoing the change takes it off the picture, redoing puts it back.
  void ItemAdded(const Rect& bounds);
  // Closes the drawn change; one that kept no pixels, changed no kind and drew no item is dropped.
  void EndDrawing();
  // A picture as the history keeps it, copied while the board still shows it, so a change that
  // cannot be kept (no memory for the copy) is refused before the board changes.
  class Kept;
  // Throws std::bad_alloc when memory for the copy cannot be had; nothing changed then. Once it
  // returns, `before` has given up its JPEG bytes.
  static Kept Keep(PictureState& before);
  // A change that put a new picture in place of the one kept. Its ink costs nothing (the items
  // draw it again), so any picture the board holds fits the budget and comes back with its ink.
  // Older changes are forgotten to make room.
  void RecordReplacement(Kept before);
  // Both at once: the surface is let go once its pixels are kept.
  void RecordReplacement(PictureState before);
  // Forgets everything.
  void Clear();

  // --- Travelling ---
  struct Moved {
    bool moved = false;    // there was a step to take, and it was taken
    bool refused = false;  // there was one, but it cannot be held: nothing changed
    bool whole = false;    // the whole picture was swapped (surface, kind, layout mode)
    Rect area;             // otherwise the pixels that changed
  };
  // Takes back the newest change. `current` is the board's picture as it stands (its surface
  // must be present); it leaves as the picture before the change. An open change is closed
  // first, so a stroke in progress is what goes.
  Moved Undo(PictureState& current);
  // Brings back the change taken back last.
  Moved Redo(PictureState& current);

  std::size_t UndoCount() const { return done_.size(); }
  std::size_t RedoCount() const { return undone_.size(); }
  std::size_t BytesHeld() const { return held_; }
  std::size_t Budget() const { return budget_; }
  // Whole pictures held, as pixels or as a JPEG's bytes (none of them as a surface).
  std::size_t PicturesHeld() const;

 private:
  // A tile of the picture's pixels, its rows as they are.
  struct Tile {
    int x = 0, y = 0, height = 0;
    std::size_t offset = 0, rowBytes = 0;  // byte offset of x in a row; bytes of one tile row
    std::vector<std::uint8_t> bytes;
  };
  // An ink layer as the history keeps it: its size alone. Its pixels are the picture's own ink
  // and its items, drawn again when it comes back.
  struct HeldInk {
    bool present = false;
    int width = 0, height = 0;
  };
  static HeldInk Hold(const ink::InkLayer* layer);
  // A picture as the history keeps it: no surface.
  struct Held {
    PictureKind kind = PictureKind::Empty;
    Bitmap pixels;                        // a bitmap's; empty for a JPEG, and in a drawn step
    std::vector<std::uint8_t> jpegBytes;  // a JPEG's file, while it is undrawn
    LayoutMode mode = LayoutMode::Fill;
    HeldInk ink;
    bool paper = true;
    std::shared_ptr<const ScalableArt> art;  // shared, never copied
    ItemList items;                          // shared, never copied
    std::shared_ptr<const Bitmap> baseInk;
  };
  struct Step {
    // Declared so that the enclosing class's std::optional<Step> sees it as constructible before
    // the member initializers below are parsed (clang decides that early).
    Step() {}
    bool replaces = false;
    Held other;  // replacing: the whole other picture; drawing: its kind and bytes
    std::vector<Tile> tiles;
    Rect area;  // the tiles'
    std::size_t bytes = 0;
    // Drawing: how many of the picture's newest items the change drew, the ink they reach, and
    // those items while the change is taken back (empty while it stands).
    std::size_t items = 0;
    Rect inkArea;
    ItemList itemsAway;
    bool itemsOff = false;
  };

  static std::size_t SizeOf(const Step& step);
  // What the budget counts of a replacement: its picture, not the ink riding on it.
  static std::size_t PictureWeight(const Held& held) { return held.pixels.Pixels().size() + held.jpegBytes.size(); }
  // What the budget will count of the step once swapped with `current`, worked out before
  // anything is copied.
  static std::size_t SizeAfterSwap(const Step& step, const PictureState& current);
  // The bytes a picture takes once held, its ink apart: a bitmap's pixels, a JPEG's file.
  static std::size_t HeldBytes(const PictureState& picture);
  // The held picture on a new surface (a JPEG decoded again). Throws when memory runs out.
  PictureState Restore(const Held& held);
  // Swaps the step's content with the board's; afterwards the step holds the other side. Either
  // it all happens or, when it throws, nothing has.
  Moved Swap(Step& step, PictureState& current);
  Moved SwapDrawn(Step& step, PictureState& current);
  Moved Travel(std::deque<Step>& from, std::deque<Step>& to, PictureState& current);
  void Push(std::deque<Step>& to, Step step);
  void DropFront(std::deque<Step>& steps);
  void DropRedo();
  // Forgets old changes until what is held fits the budget, `extra` bytes more included.
  void Trim(std::size_t extra = 0);

  SurfaceFactory& surfaces_;
  std::size_t budget_;
 public:
  class Kept {
    friend class UndoHistory;
    Held held;
  };

 private:
  std::size_t held_ = 0;   // bytes of done_ and undone_
  std::deque<Step> done_;  // newest last
  std::deque<Step> undone_;  // the next to redo last
  std::optional<Step> open_;
  std::unordered_set<std::uint64_t> openTiles_;  // tiles the open change has kept
  bool openLost_ = false;  // the open change outgrew the budget and is not kept
};

}  // namespace inkra::board
