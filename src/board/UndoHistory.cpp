#include "UndoHistory.h"

#include <algorithm>
#include <new>
#include <utility>

#include "Errors.h"
#include "InkRedraw.h"
#include "PictureFile.h"

namespace inkra::board {
namespace {

// Exchanges a tile's bytes with the surface's pixels under it.
void SwapTile(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t rowBytes, int y, int height,
              const PixelRows& rows) {
  std::uint8_t* saved = bytes.data();
  for (int r = 0; r < height; ++r, saved += rowBytes) {
    std::uint8_t* row = rows.Row(y + r) + offset;
    std::swap_ranges(row, row + rowBytes, saved);
  }
}

}  // namespace

UndoHistory::HeldInk UndoHistory::Hold(const ink::InkLayer* layer) {
  if (!layer) return {};
  return {true, layer->Width(), layer->Height()};
}

void UndoHistory::BeginDrawing(PictureState before) {
  EndDrawing();
  open_.emplace();
  open_->other.kind = before.kind;
  open_->other.jpegBytes = std::move(before.jpegBytes);
  open_->other.mode = before.mode;
  open_->bytes = SizeOf(*open_);
  openTiles_.clear();
  openLost_ = false;
}

void UndoHistory::SaveArea(Surface& surface, const Rect& area) {
  if (!open_ || openLost_) return;
  const PixelRows rows = surface.Pixels();
  const Rect clipped = area.Intersect({0, 0, rows.width, rows.height});
  if (clipped.Empty() || !rows.bits) return;
  // Pixels are about to change: what could have been redone no longer fits the picture.
  DropRedo();
  const int tilesAcross = (rows.width + kTileSize - 1) / kTileSize;
  for (int ty = clipped.top / kTileSize; ty <= (clipped.bottom - 1) / kTileSize; ++ty) {
    for (int tx = clipped.left / kTileSize; tx <= (clipped.right - 1) / kTileSize; ++tx) {
      const std::uint64_t key = std::uint64_t(ty) * std::uint64_t(tilesAcross) + std::uint64_t(tx);
      if (!openTiles_.insert(key).second) continue;
      const Rect cell = Rect{tx * kTileSize, ty * kTileSize, (tx + 1) * kTileSize, (ty + 1) * kTileSize}
                            .Intersect({0, 0, rows.width, rows.height});
      Tile tile;
      tile.x = cell.left;
      tile.y = cell.top;
      tile.height = cell.bottom - cell.top;
      tile.offset = std::size_t(cell.left) * std::size_t(rows.bitsPerPixel) / 8;
      tile.rowBytes = (std::size_t(cell.right - cell.left) * std::size_t(rows.bitsPerPixel) + 7) / 8;
      tile.bytes.resize(tile.rowBytes * std::size_t(tile.height));
      for (int r = 0; r < tile.height; ++r) {
        const std::uint8_t* row = rows.Row(tile.y + r) + tile.offset;
        std::copy(row, row + tile.rowBytes, tile.bytes.begin() + std::ptrdiff_t(std::size_t(r) * tile.rowBytes));
      }
      open_->bytes += tile.bytes.size();
      open_->area = open_->area.Union(cell);
      open_->tiles.push_back(std::move(tile));
    }
  }
  Trim();
}

void UndoHistory::ItemAdded(const Rect& bounds) {
  if (!open_) return;
  // The ink changed: what could have been redone no longer fits the picture.
  DropRedo();
  ++open_->items;
  open_->inkArea = open_->inkArea.Union(bounds);
}

void UndoHistory::EndDrawing() {
  if (!open_) return;
  Step step = std::move(*open_);
  open_.reset();
  openTiles_.clear();
  const bool changedKind = step.other.kind != PictureKind::Bitmap;
  if (openLost_ || (step.tiles.empty() && !changedKind && step.items == 0)) return;
  DropRedo();
  Push(done_, std::move(step));
  Trim();
}

UndoHistory::Kept UndoHistory::Keep(PictureState& before) {
  Kept kept;
  Held& held = kept.held;
  held.kind = before.kind;
  held.mode = before.mode;
  held.paper = before.paper;
  held.art = before.art;
  held.items = before.items;
  held.baseInk = before.baseInk;
  if (before.kind == PictureKind::Bitmap && before.surface) held.pixels = before.surface->ToBitmap();
  held.ink = Hold(before.ink.get());
  // Moved last, once nothing more can fail: a refused change leaves the picture its bytes.
  held.jpegBytes = std::move(before.jpegBytes);
  return kept;
}

void UndoHistory::RecordReplacement(PictureState before) {
  Kept kept;
  try {
    kept = Keep(before);
  } catch (const std::bad_alloc&) {
    // The change stands without its way back, and nothing older can be taken back either,
    // since it would land on a picture it was not made on.
    Clear();
    return;
  }
  before = {};
  RecordReplacement(std::move(kept));
}

void UndoHistory::RecordReplacement(Kept before) {
  EndDrawing();
  DropRedo();
  Step step;
  step.replaces = true;
  step.other = std::move(before.held);
  if (PictureWeight(step.other) > budget_) {
    // Too large to keep: as above.
    Clear();
    return;
  }
  // Room first; the new step itself stays even when its ink takes it past the budget.
  Trim(SizeOf(step));
  Push(done_, std::move(step));
}

void UndoHistory::Clear() {
  open_.reset();
  openTiles_.clear();
  done_.clear();
  undone_.clear();
  held_ = 0;
}

std::size_t UndoHistory::PicturesHeld() const {
  const auto whole = [](const Step& s) { return s.replaces && s.other.kind != PictureKind::Empty; };
  return std::size_t(std::count_if(done_.begin(), done_.end(), whole) +
                     std::count_if(undone_.begin(), undone_.end(), whole));
}

UndoHistory::Moved UndoHistory::Undo(PictureState& current) { return Travel(done_, undone_, current); }

UndoHistory::Moved UndoHistory::Redo(PictureState& current) { return Travel(undone_, done_, current); }

UndoHistory::Moved UndoHistory::Travel(std::deque<Step>& from, std::deque<Step>& to, PictureState& current) {
  EndDrawing();
  if (from.empty()) return {};
  const Moved refused{.refused = true, .area = {}};
  Step& step = from.back();
  if (SizeAfterSwap(step, current) > budget_) return refused;
  Moved moved;
  try {
    moved = Swap(step, current);
  } catch (const std::bad_alloc&) {
    return refused;
  } catch (const PictureError&) {
    return refused;  // a surface the system would not give (a DIB section past its memory)
  }
  Step taken = std::move(step);
  from.pop_back();
  held_ -= taken.bytes;
  Push(to, std::move(taken));
  // Room on the far side first, then on this side oldest first; the step just taken stays.
  while (held_ > budget_ && to.size() > 1) DropFront(to);
  while (held_ > budget_ && !from.empty()) DropFront(from);
  return moved;
}

std::size_t UndoHistory::SizeOf(const Step& step) {
  // Pictures only: the items are shared with the board (see the header).
  std::size_t bytes = step.other.jpegBytes.size() + step.other.pixels.Pixels().size();
  for (const Tile& tile : step.tiles) bytes += tile.bytes.size();
  return bytes;
}

std::size_t UndoHistory::HeldBytes(const PictureState& picture) {
  switch (picture.kind) {
    case PictureKind::Bitmap: return picture.surface ? picture.surface->Pixels().Bytes() : 0;
    case PictureKind::Jpeg: return picture.jpegBytes.size();
    case PictureKind::Empty: break;
  }
  return 0;
}

std::size_t UndoHistory::SizeAfterSwap(const Step& step, const PictureState& current) {
  if (step.replaces) return HeldBytes(current);
  return SizeOf(step) - step.other.jpegBytes.size() + current.jpegBytes.size();
}

PictureState UndoHistory::Restore(const Held& held) {
  PictureState picture;
  picture.kind = held.kind;
  picture.mode = held.mode;
  if (held.kind == PictureKind::Bitmap) picture.surface = surfaces_.FromBitmap(held.pixels);
  if (held.kind == PictureKind::Jpeg) picture.surface = DecodeJpegSurface(surfaces_, held.jpegBytes);
  return picture;
}

UndoHistory::Moved UndoHistory::Swap(Step& step, PictureState& current) {
  if (step.replaces) {
    // Everything that can fail comes first: the surface coming back, then the copy going out.
    PictureState next = Restore(step.other);
    Bitmap pixels;
    if (current.kind == PictureKind::Bitmap && current.surface) pixels = current.surface->ToBitmap();
    if (step.other.ink.present) {
      next.ink = std::make_unique<ink::InkLayer>(step.other.ink.width, step.other.ink.height);
      RedrawInk(*next.ink, step.other.baseInk.get(), step.other.items, next.ink->Bounds());
    }
    const HeldInk ink = Hold(current.ink.get());
    next.jpegBytes = std::move(step.other.jpegBytes);
    next.paper = step.other.paper;
    next.art = std::move(step.other.art);
    next.items = std::move(step.other.items);
    next.baseInk = std::move(step.other.baseInk);
    step.other.items = std::move(current.items);
    step.other.baseInk = std::move(current.baseInk);
    step.other.ink = ink;
    step.other.paper = current.paper;
    step.other.art = std::move(current.art);
    step.other.pixels = std::move(pixels);
    step.other.jpegBytes = std::move(current.jpegBytes);
    step.other.kind = current.kind;
    step.other.mode = current.mode;
    current = std::move(next);
    return {.moved = true, .whole = true, .area = {}};
  }
  return SwapDrawn(step, current);
}

UndoHistory::Moved UndoHistory::SwapDrawn(Step& step, PictureState& current) {
  // Everything that can fail comes first: the item lists as they will be, and as they were.
  ItemList items, away;
  if (!step.itemsOff) {
    const std::size_t n = std::min(step.items, current.items.size());
    items.assign(current.items.begin(), current.items.end() - std::ptrdiff_t(n));
    away.assign(current.items.end() - std::ptrdiff_t(n), current.items.end());
  } else {
    items = current.items;
    items.insert(items.end(), step.itemsAway.begin(), step.itemsAway.end());
  }
  ItemList itemsWere = current.items, awayWas = step.itemsAway;
  const PixelRows picture = current.surface->Pixels();
  // Swapping twice puts everything back, so a redraw that fails can be undone.
  const auto exchange = [&] {
    for (Tile& tile : step.tiles) {
      // A tile lands only on rows it lies inside (the rows it was taken from).
      if (!picture.bits || tile.y + tile.height > picture.height || tile.offset + tile.rowBytes > picture.stride)
        continue;
      SwapTile(tile.bytes, tile.offset, tile.rowBytes, tile.y, tile.height, picture);
    }
    std::swap(step.other.kind, current.kind);
    std::swap(step.other.jpegBytes, current.jpegBytes);
    step.itemsOff = !step.itemsOff;
  };
  const auto redraw = [&] {
    if (current.ink) RedrawInk(*current.ink, current.baseInk.get(), current.items, step.inkArea);
  };
  exchange();
  current.items = std::move(items);
  step.itemsAway = std::move(away);
  try {
    redraw();
  } catch (...) {
    exchange();
    current.items = std::move(itemsWere);
    step.itemsAway = std::move(awayWas);
    redraw();  // the same drawing that failed, on memory just given back
    throw;
  }
  return {.moved = true, .area = step.area.Union(step.inkArea)};
}

void UndoHistory::Push(std::deque<Step>& to, Step step) {
  // Sizes are taken afresh: a swap changes what the step holds.
  step.bytes = SizeOf(step);
  to.push_back(std::move(step));
  held_ += to.back().bytes;
}

void UndoHistory::DropFront(std::deque<Step>& steps) {
  held_ -= steps.front().bytes;
  steps.pop_front();
}

void UndoHistory::DropRedo() {
  for (const Step& step : undone_) held_ -= step.bytes;
  undone_.clear();
}

void UndoHistory::Trim(std::size_t extra) {
  const std::size_t openBytes = open_ ? open_->bytes : 0;
  while (held_ + openBytes + extra > budget_ && !done_.empty()) DropFront(done_);
  // The redo side, furthest first, only once every undo step has gone.
  while (held_ + openBytes + extra > budget_ && !undone_.empty()) DropFront(undone_);
  if (open_ && openBytes > budget_) {
    // Too large to keep: the change happens but cannot be taken back, and nothing older can be
    // either, since it would land on a picture it was not made on.
    openLost_ = true;
    open_->tiles.clear();
    open_->bytes = 0;
  }
}

}  // namespace inkra::board
