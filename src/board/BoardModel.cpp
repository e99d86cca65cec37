#include "BoardModel.h"

#include <algorithm>

#include "Bmp.h"
#include "BoardTexts.h"
#include "Errors.h"
#include "Numeric.h"
#include "PictureFile.h"

namespace inkra::board {
namespace {

int ClampInt(std::int64_t v, int bound) { return int(std::clamp<std::int64_t>(v, -bound, bound)); }

}  // namespace

void BoardModel::Create(int panelClientWidth, int panelClientHeight) {
  client_ = {panelClientWidth, panelClientHeight};
  mode_ = settledMode_ = LayoutMode::Fill;
  EmptyPicture();
  history_.Clear();
  SetSurfaceColours();
  nibWidth_ = kInitialNibWidth;
  accepted_ = false;
}

void BoardModel::ApplySettings(const LoadedPenSettings& settings) {
  if (settings.colour) {
    Surface& s = DrawingSurface();
    s.SetPenColour(*settings.colour);
    s.SetBrushColour(*settings.colour);
    selected_ = *settings.colour;
  }
  if (settings.penWidth) nibWidth_ = ClampInt(std::int64_t(*settings.penWidth) + 1, kMaxNibWidth);
}

void BoardModel::MouseDown(MouseButton button, int x, int y) {
  x = ClampInt(x, kMaxCoordinate);
  y = ClampInt(y, kMaxCoordinate);
  if (button == MouseButton::Left) {
    history_.EndDrawing();  // a new press is a new stroke
    drawing_ = true;
    lastX_ = curX_ = x;
    lastY_ = curY_ = y;
  } else if (button == MouseButton::Right) {
    stampX_ = x;
    stampY_ = y;
  }
}

void BoardModel::MouseMove(int x, int y) {
  if (!drawing_) return;
  curX_ = ClampInt(x, kMaxCoordinate);
  curY_ = ClampInt(y, kMaxCoordinate);
  const int w = ClampInt(ScaleToDpi(nibWidth_, dpi_), kMaxNibWidth);
  const Point polygon[4] = {{lastX_, lastY_}, {curX_, curY_}, {curX_ + w, curY_ + w}, {lastX_ + w, lastY_ + w}};
  Rect bounds{polygon[0].x, polygon[0].y, polygon[0].x, polygon[0].y};
  for (const Point& p : polygon) {
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
  }
  // A step wholly outside the picture paints nothing: it is no change, and what could be
  // redone stays (the outline covers its end vertices, hence the one pixel more).
  const Size picture = PictureSize();
  if (surface_ && Rect{bounds.left, bounds.top, bounds.right + 1, bounds.bottom + 1}
                      .Intersect({0, 0, picture.width, picture.height})
                      .Empty()) {
    lastX_ = curX_;
    lastY_ = curY_;
    return;
  }
  BeginDrawnChange();
  // One more pixel each way is cheap insurance.
  bounds = {bounds.left - 1, bounds.top - 1, bounds.right + 2, bounds.bottom + 2};
  SaveForUndo(bounds);
  DrawingSurface().Polygon(polygon);
  PictureChanged(&bounds);
  lastX_ = curX_;
  lastY_ = curY_;
}

void BoardModel::MouseUp() {
  drawing_ = false;
  history_.EndDrawing();
}

void BoardModel::ChoosePen(int index) {
  penIndex_ = index;
  nibWidth_ = index + 1;
}

void BoardModel::ChooseColour(ColourValue c) {
  selected_ = c;
  // An opened JPEG keeps its bytes until a mark is made: the colour waits on its surface.
  Surface& s = kind_ == PictureKind::Jpeg ? *surface_ : DrawingSurface();
  s.SetPenColour(c);
  s.SetBrushColour(c);
}

void BoardModel::Clear() {
  PictureState before = TakePicture();
  mode_ = LayoutMode::Fill;
  SetSurfaceColours();
  KeepForUndo(std::move(before));
  PictureChanged(nullptr);
}

void BoardModel::PanelResized(int clientWidth, int clientHeight) {
  client_ = {clientWidth, clientHeight};
  // The panel's outer size, its 1-pixel border included.
  if (mode_ == LayoutMode::Natural) naturalView_ = {clientWidth + 2, clientHeight + 2};
  changes_.all = true;
}

void BoardModel::StampTime(const std::string& text) {
  BeginDrawnChange();
  Surface& s = DrawingSurface();
  s.SetBrushColour(clWhite);
  Font font;
  font.sizePoints = 10;
  font.bold = true;
  s.SetFont(font);
  // The glyphs of a bold face may reach past the box; a margin of half its height covers them.
  const Rect cell = s.TextCell(stampX_, stampY_, text);
  const int margin = (cell.bottom - cell.top) / 2 + 1;
  const Rect area{cell.left - margin, cell.top - margin, cell.right + margin, cell.bottom + margin};
  SaveForUndo(area);
  s.TextOut(stampX_, stampY_, text);
  s.SetBrushColour(selected_);
  history_.EndDrawing();
  PictureChanged(&area);
}

void BoardModel::EnterNaturalMode() {
  if (mode_ == LayoutMode::Fill) naturalView_ = client_;
  mode_ = LayoutMode::Natural;
  changes_.all = true;
}

void BoardModel::OpenPicture(std::string_view fileName, std::vector<std::uint8_t> bytes) {
  CheckPictureFits(fileName, bytes);
  EnterNaturalMode();
  // The new surface is made before the old picture is let go, so a failure keeps the board.
  std::unique_ptr<Surface> next;
  if (PictureKindForName(fileName) == PictureFileKind::Bitmap) {
    // The file's bytes go before the surface is made, so a large picture is never held three
    // times over.
    const Bitmap pixels = ReadBmp(bytes);
    std::vector<std::uint8_t>().swap(bytes);
    next = surfaces_.FromBitmap(pixels);
  } else {
    next = DecodePictureFile(surfaces_, fileName, bytes);
  }
  PictureState before = TakePicture();
  surface_ = std::move(next);
  if (PictureKindForName(fileName) == PictureFileKind::Bitmap) {
    kind_ = PictureKind::Bitmap;
    SetSurfaceColours();
  } else {
    kind_ = PictureKind::Jpeg;
    jpegBytes_ = std::move(bytes);
  }
  KeepForUndo(std::move(before));
  PictureChanged(nullptr);
}

void BoardModel::ClearForSeal() {
  PictureState before = TakePicture();
  EnterNaturalMode();
  SetSurfaceColours();
  KeepForUndo(std::move(before));
  PictureChanged(nullptr);
}

void BoardModel::LoadSeal(std::span<const std::uint8_t> bmp) {
  Bitmap seal = ReadBmp(bmp);
  // The seal dialogs write colour and straight alpha: laid over the cleared board's white, so
  // the anti-aliased edges stay and nothing of the seal's background shows.
  if (seal.BitsPerPixel() == 32 && !seal.HasMasks()) {
    Bitmap over(seal.Width(), seal.Height(), 24);
    for (int y = 0; y < seal.Height(); ++y) {
      const std::uint8_t* from = seal.Row(y);
      std::uint8_t* to = over.Row(y);
      for (int x = 0; x < seal.Width(); ++x)
        for (int c = 0; c < 3; ++c)
          to[3 * x + c] = std::uint8_t((from[4 * x + c] * from[4 * x + 3] + 255 * (255 - from[4 * x + 3]) + 127) / 255);
    }
    seal = std::move(over);
  }
  surface_ = surfaces_.FromBitmap(seal);
  SetSurfaceColours();
  PictureChanged(nullptr);
}

void BoardModel::TakeScan(std::unique_ptr<Surface> scan) {
  PictureState before = TakePicture();
  surface_ = std::move(scan);
  kind_ = PictureKind::Bitmap;
  SetSurfaceColours();
  KeepForUndo(std::move(before));
  PictureChanged(nullptr);
}

bool BoardModel::Undo() { return Travel(&UndoHistory::Undo, kUndoRefused); }
bool BoardModel::Redo() { return Travel(&UndoHistory::Redo, kRedoRefused); }

bool BoardModel::Travel(UndoHistory::Moved (UndoHistory::*direction)(PictureState&), const char* refusal) {
  // The stroke in progress ends here: the next move paints no tail from where it was.
  drawing_ = false;
  if (!surface_) return false;
  PictureState current{std::move(surface_), kind_, std::move(jpegBytes_), mode_};
  const auto restore = [&] {
    surface_ = std::move(current.surface);
    kind_ = current.kind;
    jpegBytes_ = std::move(current.jpegBytes);
  };
  UndoHistory::Moved moved;
  try {
    moved = (history_.*direction)(current);
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (moved.refused) throw UndoRefused(refusal);
  if (!moved.moved) return false;
  if (moved.whole) mode_ = settledMode_ = current.mode;
  // A picture kept from earlier comes back with no colours of its own.
  if (surface_) {
    surface_->SetPenColour(selected_);
    surface_->SetBrushColour(selected_);
  }
  PictureChanged(moved.whole ? nullptr : &moved.area);
  return true;
}

void BoardModel::WritePicture(ByteSink& sink) const {
  switch (kind_) {
    case PictureKind::Jpeg: sink.Write(jpegBytes_); return;
    case PictureKind::Bitmap: surface_->WriteBmp(sink); return;
    case PictureKind::Empty: break;
  }
  throw PictureError("The board holds no picture");
}

Picture BoardModel::Snapshot() const {
  switch (kind_) {
    case PictureKind::Jpeg: return JpegPicture{jpegBytes_, surface_->ToBitmap()};
    case PictureKind::Bitmap: return surface_->ToBitmap();
    case PictureKind::Empty: break;
  }
  return std::monostate{};
}

Size BoardModel::PictureSize() const {
  if (!surface_) return {};
  return {surface_->Width(), surface_->Height()};
}

BoardModel::Changes BoardModel::TakeChanges() {
  Changes out = changes_;
  changes_ = {};
  return out;
}

Surface& BoardModel::DrawingSurface() {
  if (kind_ == PictureKind::Empty) {
    Size view = ViewSize();
    surface_ = surfaces_.NewWhite(view.width, view.height);
    kind_ = PictureKind::Bitmap;
    PictureChanged(nullptr);
  } else if (kind_ == PictureKind::Jpeg) {
    // Drawing turns an opened JPEG into the bitmap of its decoded pixels, which the surface
    // already holds; from here on the picture is written as a bitmap.
    kind_ = PictureKind::Bitmap;
    jpegBytes_.clear();
    jpegBytes_.shrink_to_fit();
    surface_->SetPenColour(selected_);
    surface_->SetBrushColour(selected_);
  }
  return *surface_;
}

PictureState BoardModel::TakePicture() {
  PictureState taken{std::move(surface_), kind_, std::move(jpegBytes_), settledMode_};
  EmptyPicture();
  return taken;
}

void BoardModel::KeepForUndo(PictureState before) {
  history_.RecordReplacement(std::move(before));
  settledMode_ = mode_;
}

void BoardModel::BeginDrawnChange() {
  // Taken before drawing makes an opened JPEG a bitmap, so undo can make it a JPEG again. The
  // bytes are copied, not moved: until the drawing happens they are still the picture.
  if (!history_.DrawingOpen()) history_.BeginDrawing({nullptr, kind_, jpegBytes_, mode_});
}

void BoardModel::SaveForUndo(const Rect& area) { history_.SaveArea(DrawingSurface(), area); }

void BoardModel::EmptyPicture() {
  surface_.reset();
  kind_ = PictureKind::Empty;
  jpegBytes_.clear();
}

void BoardModel::SetSurfaceColours() {
  Surface& s = DrawingSurface();
  s.SetBrushColour(selected_);
  s.SetPenColour(selected_);
}

void BoardModel::PictureChanged(const Rect* area) {
  if (mode_ == LayoutMode::Natural && surface_) naturalView_ = PictureSize();
  if (area)
    changes_.dirty = changes_.dirty.Union(*area);
  else
    changes_.all = true;
}

}  // namespace inkra::board
