#pragma once
// The board's undo history: every change to the board picture, newest last, within a fixed
// memory budget (the oldest changes are forgotten first).
//
// A change drawn into the picture (a stroke, a time stamp) keeps only the tiles it drew over,
// each saved once, as it was before the change touched it; a change that put a new picture in
// place (clear, open, seal, scan) keeps the whole earlier picture. Nothing is kept of the
// picture after a change: undoing swaps what a step holds with what the board shows, so the
// step then holds what redo needs, and the same swap brings it back. Undo and redo therefore
// cost the size of the change, never the size of the picture.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_set>
#include <vector>

#include "BoardPicture.h"
#include "Surface.h"

namespace inkra::board {

class UndoHistory {
 public:
  static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;
  // Square tiles of this many pixels; a multiple of 8, so a tile's row starts on a byte at
  // every depth.
  static constexpr int kTileSize = 32;

  explicit UndoHistory(std::size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

  // --- Recording (each new change forgets what could have been redone) ---
  // Opens a drawn change. `before` carries the kind and JPEG bytes the picture had (its surface
  // stays null): the first stroke on an opened JPEG makes it a bitmap, and undo makes it a
  // JPEG again. A change still open is closed first.
  void BeginDrawing(PictureState before);
  bool DrawingOpen() const { return open_.has_value(); }
  // Keeps the pixels of `area` (clipped to the surface) that this change has not kept yet, as
  // they are now: call it before drawing there.
  void SaveArea(Surface& surface, const Rect& area);
  // Closes the drawn change; one that kept no pixels and changed no kind is dropped.
  void EndDrawing();
  // A change that put a new picture in place of `before`, which the history now holds.
  void RecordReplacement(PictureState before);
  // Forgets everything.
  void Clear();

  // --- Travelling ---
  struct Moved {
    bool moved = false;  // there was a step to take
    bool whole = false;  // the whole picture was swapped (surface, kind, layout mode)
    Rect area;           // otherwise the pixels that changed
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

 private:
  struct Tile {
    int x = 0, y = 0, height = 0;
    std::size_t offset = 0, rowBytes = 0;  // byte offset of x in a row; bytes of one tile row
    std::vector<std::uint8_t> bytes;
  };
  struct Step {
    // Declared so that the enclosing class's std::optional<Step> sees it as constructible before
    // the member initializers below are parsed (clang decides that early).
    Step() {}
    bool replaces = false;
    PictureState other;  // replacing: the whole other picture; drawing: its kind and bytes
    std::vector<Tile> tiles;
    Rect area;
    std::size_t bytes = 0;
  };

  static std::size_t SizeOf(const Step& step);
  // Swaps the step's content with the board's; afterwards the step holds the other side.
  static Moved Swap(Step& step, PictureState& current);
  Moved Travel(std::deque<Step>& from, std::deque<Step>& to, PictureState& current);
  void Push(std::deque<Step>& to, Step step);
  void DropOldest();
  void DropRedo();
  // Forgets old changes until what is held fits the budget.
  void Trim();

  std::size_t budget_;
  std::size_t held_ = 0;   // bytes of done_ and undone_
  std::deque<Step> done_;  // newest last
  std::deque<Step> undone_;  // the next to redo last
  std::optional<Step> open_;
  std::unordered_set<std::uint64_t> openTiles_;  // tiles the open change has kept
  bool openLost_ = false;  // the open change outgrew the budget and is not kept
};

}  // namespace inkra::board
