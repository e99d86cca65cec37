#include "UndoHistory.h"

#include <algorithm>
#include <utility>

namespace inkra::board {
namespace {

std::size_t SurfaceBytes(Surface* surface) { return surface ? surface->Pixels().Bytes() : 0; }

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

void UndoHistory::BeginDrawing(PictureState before) {
  EndDrawing();
  DropRedo();
  before.surface.reset();
  open_.emplace();
  open_->other = std::move(before);
  open_->bytes = SizeOf(*open_);
  openTiles_.clear();
  openLost_ = false;
  Trim();
}

void UndoHistory::SaveArea(Surface& surface, const Rect& area) {
  if (!open_ || openLost_) return;
  const PixelRows rows = surface.Pixels();
  const Rect clipped = area.Intersect({0, 0, rows.width, rows.height});
  if (clipped.Empty() || !rows.bits) return;
  const int tilesAcross = (rows.width + kTileSize - 1) / kTileSize;
  for (int ty = clipped.top / kTileSize; ty <= (clipped.bottom - 1) / kTileSize; ++ty) {
    for (int tx = clipped.left / kTileSize; tx <= (clipped.right - 1) / kTileSize; ++tx) {
      if (!openTiles_.insert(std::uint64_t(ty) * std::uint64_t(tilesAcross) + std::uint64_t(tx)).second) continue;
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
      open_->bytes += tile.bytes.size() + sizeof(Tile);
      open_->area = open_->area.Union(cell);
      open_->tiles.push_back(std::move(tile));
    }
  }
  Trim();
}

void UndoHistory::EndDrawing() {
  if (!open_) return;
  Step step = std::move(*open_);
  open_.reset();
  openTiles_.clear();
  const bool changedKind = step.other.kind != PictureKind::Bitmap;
  if (openLost_ || (step.tiles.empty() && !changedKind)) return;
  Push(done_, std::move(step));
  Trim();
}

void UndoHistory::RecordReplacement(PictureState before) {
  EndDrawing();
  DropRedo();
  Step step;
  step.replaces = true;
  step.other = std::move(before);
  Push(done_, std::move(step));
  Trim();
}

void UndoHistory::Clear() {
  open_.reset();
  openTiles_.clear();
  done_.clear();
  undone_.clear();
  held_ = 0;
}

UndoHistory::Moved UndoHistory::Undo(PictureState& current) { return Travel(done_, undone_, current); }

UndoHistory::Moved UndoHistory::Redo(PictureState& current) { return Travel(undone_, done_, current); }

UndoHistory::Moved UndoHistory::Travel(std::deque<Step>& from, std::deque<Step>& to, PictureState& current) {
  EndDrawing();
  if (from.empty()) return {};
  Step step = std::move(from.back());
  from.pop_back();
  held_ -= step.bytes;
  const Moved moved = Swap(step, current);
  Push(to, std::move(step));
  Trim();
  return moved;
}

std::size_t UndoHistory::SizeOf(const Step& step) {
  std::size_t bytes = sizeof(Step) + step.other.jpegBytes.size() + SurfaceBytes(step.other.surface.get());
  for (const Tile& tile : step.tiles) bytes += tile.bytes.size() + sizeof(Tile);
  return bytes;
}

UndoHistory::Moved UndoHistory::Swap(Step& step, PictureState& current) {
  if (step.replaces) {
    std::swap(step.other, current);
    return {true, true, {}};
  }
  const PixelRows rows = current.surface->Pixels();
  for (Tile& tile : step.tiles) SwapTile(tile.bytes, tile.offset, tile.rowBytes, tile.y, tile.height, rows);
  std::swap(step.other.kind, current.kind);
  std::swap(step.other.jpegBytes, current.jpegBytes);
  return {true, false, step.area};
}

void UndoHistory::Push(std::deque<Step>& to, Step step) {
  // Sizes are taken afresh: a swap changes what the step holds.
  step.bytes = SizeOf(step);
  to.push_back(std::move(step));
  held_ += to.back().bytes;
}

void UndoHistory::DropOldest() {
  held_ -= done_.front().bytes;
  done_.pop_front();
}

void UndoHistory::DropRedo() {
  for (const Step& step : undone_) held_ -= step.bytes;
  undone_.clear();
}

void UndoHistory::Trim() {
  const std::size_t openBytes = open_ ? open_->bytes : 0;
  while (held_ + openBytes > budget_ && !done_.empty()) DropOldest();
  // The redo side, furthest first, only once every undo step has gone.
  while (held_ + openBytes > budget_ && !undone_.empty()) {
    held_ -= undone_.front().bytes;
    undone_.pop_front();
  }
  if (open_ && openBytes > budget_) {
    // Too large to keep: the change happens but cannot be taken back, and nothing older can be
    // either, since it would land on a picture it was not made on.
    openLost_ = true;
    open_->tiles.clear();
    open_->bytes = 0;
  }
}

}  // namespace inkra::board
