#include "BoardModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

#include "Bmp.h"
#include "BoardTexts.h"
#include "Errors.h"
#include "Numeric.h"
#include "PictureFile.h"

namespace inkra::board {
namespace {

bool InkableDepth(int bitsPerPixel) { return bitsPerPixel == 24 || bitsPerPixel == 32; }

int ClampInt(std::int64_t v, int bound) { return int(std::clamp<std::int64_t>(v, -bound, bound)); }

PixelRows RowsOf(Bitmap& b) { return {b.Pixels().data(), b.Stride(), b.Width(), b.Height(), b.BitsPerPixel()}; }

}  // namespace

void BoardModel::Create(int panelClientWidth, int panelClientHeight) {
  client_ = {panelClientWidth, panelClientHeight};
  mode_ = settledMode_ = LayoutMode::Fill;
  EmptyPicture();
  history_.Clear();
  DrawingSurface();  // white paper in the selected colours
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

void BoardModel::MouseDown(MouseButton button, int x, int y, float pressure) {
  x = ClampInt(x, kMaxCoordinate);
  y = ClampInt(y, kMaxCoordinate);
  if (button == MouseButton::Left) {
    EndStroke();
    history_.EndDrawing();  // a new press is a new stroke
    drawing_ = true;
    lastX_ = curX_ = x;
    lastY_ = curY_ = y;
    downPressure_ = pressure;
  } else if (button == MouseButton::Right) {
    stampX_ = x;
    stampY_ = y;
  }
}

void BoardModel::MouseMove(int x, int y, float pressure) {
  if (!drawing_) return;
  curX_ = ClampInt(x, kMaxCoordinate);
  curY_ = ClampInt(y, kMaxCoordinate);
  if (surface_ && !Inkable()) {
    AliasedStep();
  } else {
    // The stroke's ink starts with its first move: a press and release without one leaves none.
    if (!pen_.Drawing())
      pen_.Down(InkForDrawing(), {double(lastX_), double(lastY_), downPressure_}, ScaleToDpi(nibWidth_, dpi_),
                InkColour());
    InkChanged(pen_.Move({double(curX_), double(curY_), pressure}));
  }
  lastX_ = curX_;
  lastY_ = curY_;
}

void BoardModel::MouseUp() {
  drawing_ = false;
  EndStroke();
  history_.EndDrawing();
}

void BoardModel::EndStroke() {
  if (!pen_.Drawing()) return;
  // The curve's last piece goes on wet, so the dry ink under it is still as it was: it is kept
  // and shown. Drying then changes only pixels that some step of the stroke drew, each kept and
  // shown when it was drawn, so nothing else of the stroke's box is copied or repainted.
  InkChanged(pen_.Finish());
  pen_.Up();
}

void BoardModel::InkChanged(const Rect& area) {
  if (!ink_) return;
  const Rect inside = area.Intersect(ink_->Bounds());
  if (inside.Empty()) return;  // no change: what could be redone stays
  InkGoesOn();
  // Wet ink is not in the layer's dry pixels yet: these are still as they were before the stroke.
  history_.SaveInkArea(*ink_, inside);
  PictureChanged(&inside);
}

void BoardModel::AliasedStep() {
  const int w = ClampInt(ScaleToDpi(nibWidth_, dpi_), kMaxNibWidth);
  const Point polygon[4] = {{lastX_, lastY_}, {curX_, curY_}, {curX_ + w, curY_ + w}, {lastX_ + w, lastY_ + w}};
  Rect bounds{polygon[0].x, polygon[0].y, polygon[0].x, polygon[0].y};
  for (const Point& p : polygon) bounds = bounds.Union({p.x, p.y, p.x + 1, p.y + 1});
  const Size picture = PictureSize();
  if (bounds.Intersect({0, 0, picture.width, picture.height}).Empty()) return;
  BeginDrawnChange();
  // One more pixel each way is cheap insurance.
  bounds = {bounds.left - 1, bounds.top - 1, bounds.right + 1, bounds.bottom + 1};
  SaveForUndo(bounds);
  DrawingSurface().Polygon(polygon);
  PictureChanged(&bounds);
}

bool BoardModel::Inkable() const {
  if (!surface_) return true;  // the first stroke makes white paper at the display's depth
  return InkableDepth(const_cast<Surface&>(*surface_).Pixels().bitsPerPixel);
}

void BoardModel::InkGoesOn() {
  // Opened before an opened JPEG becomes a bitmap, so undo makes it a JPEG again.
  BeginDrawnChange();
  if (kind_ == PictureKind::Jpeg) DrawingSurface();
}

ink::InkLayer& BoardModel::InkForDrawing() {
  // An empty board becomes white paper now; an opened JPEG stays one until ink lands on it.
  if (kind_ == PictureKind::Empty) {
    BeginDrawnChange();
    DrawingSurface();
  }
  const Size size = PictureSize();
  if (!ink_ || ink_->Width() != size.width || ink_->Height() != size.height)
    ink_ = std::make_unique<ink::InkLayer>(size.width, size.height);
  return *ink_;
}

ink::Rgb BoardModel::InkColour() const {
  // The colour list offers plain RGB colours only; a system colour would draw black.
  if (IsSystemColour(selected_)) return {0, 0, 0};
  return {std::uint8_t(selected_ & 0xFF), std::uint8_t((selected_ >> 8) & 0xFF), std::uint8_t((selected_ >> 16) & 0xFF)};
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
  // The new paper first: when it cannot be made, the board keeps its picture and its history.
  Replace({NewPaper(client_), PictureKind::Bitmap, {}, LayoutMode::Fill, nullptr, true});
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
  Font font;
  font.sizePoints = 10;
  font.bold = true;
  Rect area;
  if (glyphs_ && Inkable()) {
    area = StampAsInk(s, font, text);
  } else {
    s.SetBrushColour(clWhite);
    s.SetFont(font);
    // The glyphs of a bold face may reach past the box; a margin of half its height covers them.
    const Rect cell = s.TextCell(stampX_, stampY_, text);
    const int margin = (cell.bottom - cell.top) / 2 + 1;
    area = {cell.left - margin, cell.top - margin, cell.right + margin, cell.bottom + margin};
    SaveForUndo(area);
    s.TextOut(stampX_, stampY_, text);
    // The box covers the ink under it, as it covers the picture.
    if (ink_ && !cell.Empty()) {
      history_.SaveInkArea(*ink_, cell);
      ink_->Erase({{ink::ToGrid(cell.left, cell.top), ink::ToGrid(cell.right, cell.top),
                    ink::ToGrid(cell.right, cell.bottom), ink::ToGrid(cell.left, cell.bottom)}});
    }
  }
  s.SetBrushColour(selected_);
  s.SetPenColour(selected_);
  history_.EndDrawing();
  PictureChanged(&area);
}

Rect BoardModel::StampAsInk(Surface& s, const Font& font, const std::string& text) {
  ink::InkLayer& layer = InkForDrawing();
  const ink::GlyphSource::TextShape shape = glyphs_->Shape(font, stampX_, stampY_, text);
  Rect cell{int(std::floor(shape.cell[0].x)), int(std::floor(shape.cell[0].y)), int(std::ceil(shape.cell[2].x)),
            int(std::ceil(shape.cell[2].y))};
  const Rect area = cell.Union(ink::PixelBounds(shape.glyphs)).Intersect(layer.Bounds());
  cell = cell.Intersect(layer.Bounds());
  if (area.Empty()) return {};
  SaveForUndo(area);
  history_.SaveInkArea(layer, area);
  // The box is white in the picture (it covers an opened photo as it always has) and paper in
  // the ink, so it leaves the page showing where the board leaves transparent.
  if (!cell.Empty()) {
    s.SetBrushColour(clWhite);
    s.SetPenColour(clWhite);
    const Point box[4] = {{cell.left, cell.top}, {cell.right - 1, cell.top}, {cell.right - 1, cell.bottom - 1},
                          {cell.left, cell.bottom - 1}};
    s.Polygon(box);
  }
  ink::InkCanvas canvas(layer, glyphs_, systemColours_);
  canvas.SetBrushColour(clWhite);
  canvas.SetFont(font);
  canvas.TextOut(stampX_, stampY_, text);
  return area;
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
  PictureState opened{std::move(next), PictureKind::Jpeg, {}, LayoutMode::Natural, nullptr, false};
  if (PictureKindForName(fileName) == PictureFileKind::Bitmap) {
    opened.kind = PictureKind::Bitmap;
    SetColours(*opened.surface);
  } else {
    opened.jpegBytes = std::move(bytes);
  }
  Replace(std::move(opened));
}

void BoardModel::ClearForSeal() {
  // White paper of the view's size as it stands, made before anything changes.
  std::unique_ptr<Surface> paper = NewPaper(mode_ == LayoutMode::Fill ? client_ : naturalView_);
  EnterNaturalMode();
  Replace({std::move(paper), PictureKind::Bitmap, {}, LayoutMode::Natural, nullptr, true});
}

void BoardModel::LoadSeal(std::span<const std::uint8_t> bmp) {
  const Bitmap seal = ReadBmp(bmp);
  if (seal.BitsPerPixel() != 32 || seal.HasMasks()) {
    surface_ = surfaces_.FromBitmap(seal);
    SetSurfaceColours();
    PictureChanged(nullptr);
    return;
  }
  // The seal dialogs write colour and straight alpha: white paper of the seal's size with the
  // seal as ink on it, so its anti-aliased edges reach the document as they were drawn.
  auto layer = std::make_unique<ink::InkLayer>(seal.Width(), seal.Height());
  const PixelRows dry = layer->DryPixels();
  for (int y = 0; y < seal.Height(); ++y) {
    const std::uint8_t* from = seal.Row(y);
    std::uint8_t* to = dry.Row(y);
    for (int x = 0; x < seal.Width(); ++x, from += 4, to += 4)
      if (from[3] != 0) to[0] = from[2], to[1] = from[1], to[2] = from[0], to[3] = from[3];
  }
  surface_ = NewPaper({seal.Width(), seal.Height()});
  ink_ = std::move(layer);
  SetSurfaceColours();
  PictureChanged(nullptr);
}

void BoardModel::TakeScan(std::unique_ptr<Surface> scan) {
  // Held to the limit of an opened picture, so it can be taken back like one.
  const PixelRows rows = scan->Pixels();
  if (rows.Bytes() > kMaxPictureBytes)
    throw PictureTooLarge(PictureTooLargeText(rows.width, rows.height, rows.Bytes(), kMaxPictureBytes));
  SetColours(*scan);
  Replace({std::move(scan), PictureKind::Bitmap, {}, mode_, nullptr, false});
}

bool BoardModel::Undo() { return Travel(&UndoHistory::Undo, kUndoRefused); }
bool BoardModel::Redo() { return Travel(&UndoHistory::Redo, kRedoRefused); }

bool BoardModel::Travel(UndoHistory::Moved (UndoHistory::*direction)(PictureState&), const char* refusal) {
  // The stroke in progress ends here: the next move paints no tail from where it was.
  drawing_ = false;
  EndStroke();
  if (!surface_) return false;
  // The picture goes with the mode the last change settled, not a failed Open's passing one.
  PictureState current = TakePicture();
  UndoHistory::Moved moved;
  try {
    moved = (history_.*direction)(current);
  } catch (...) {
    PutPicture(std::move(current));
    throw;
  }
  const LayoutMode mode = current.mode;
  PutPicture(std::move(current));
  if (moved.refused) throw UndoRefused(refusal);
  if (!moved.moved) return false;
  if (moved.whole) mode_ = settledMode_ = mode;
  // A picture kept from earlier comes back with no colours of its own.
  if (surface_) SetColours(*surface_);
  PictureChanged(moved.whole ? nullptr : &moved.area);
  return true;
}

void BoardModel::WritePicture(ByteSink& sink) const {
  switch (kind_) {
    case PictureKind::Jpeg: sink.Write(jpegBytes_); return;
    case PictureKind::Bitmap:
      if (!ink_) {
        surface_->WriteBmp(sink);
      } else {
        Bitmap out = surface_->ToBitmap();
        ink_->ThresholdOnto(RowsOf(out), ink_->Bounds());
        inkra::WriteBmp(out, sink);
      }
      return;
    case PictureKind::Empty: break;
  }
  throw PictureError("The board holds no picture");
}

void BoardModel::WritePng(ByteSink& sink) const {
  if (kind_ == PictureKind::Jpeg) return sink.Write(jpegBytes_);
  if (kind_ == PictureKind::Empty) throw PictureError("The board holds no picture");
  const PixelRows below = const_cast<Surface&>(*surface_).Pixels();
  const int w = below.width, h = below.height, step = below.bitsPerPixel / 8;
  if (step != 3 && step != 4) throw PictureError("A palette picture is written as a BMP");
  const int channels = paper_ ? 4 : 3;
  PngRows inkRows;
  if (paper_ && ink_) inkRows = const_cast<ink::InkLayer&>(*ink_).Rgba();
  const auto whitePaper = [&](const std::uint8_t* b) { return paper_ && b[0] == 255 && b[1] == 255 && b[2] == 255; };
  const auto blankRow = [&](int y) {
    const std::uint8_t* b = below.Row(y);
    for (int x = 0; x < w; ++x, b += step)
      if (!whitePaper(b)) return false;
    return true;
  };
  // Plain paper with ink on it, the usual signature: the ink's own rows are the picture.
  if (inkRows.bits) {
    int y = 0;
    while (y < h && blankRow(y)) ++y;
    if (y == h) return inkra::WritePng(inkRows, sink);
  }
  std::vector<std::uint8_t> rgba(std::size_t(w) * std::size_t(h) * std::size_t(channels));
  // Composed one row at a time: a page-size photo is not copied twice more on its way out.
  std::vector<std::uint8_t> shown(std::size_t(w) * std::size_t(step));
  for (int y = 0; y < h; ++y) {
    Compose({0, y, w, y + 1}, {shown.data(), shown.size(), w, 1, below.bitsPerPixel});
    const std::uint8_t* b = below.Row(y);
    const std::uint8_t* c = shown.data();
    std::uint8_t* o = rgba.data() + std::size_t(y) * std::size_t(w) * std::size_t(channels);
    for (int x = 0; x < w; ++x, b += step, c += step, o += channels) {
      if (whitePaper(b)) {
        // White paper: only the ink shows, with its own alpha.
        if (inkRows.bits) std::copy_n(inkRows.bits + std::size_t(y) * inkRows.stride + std::size_t(x) * 4, 4, o);
        else o[0] = o[1] = o[2] = 255, o[3] = 0;
        continue;
      }
      o[0] = c[2];
      o[1] = c[1];
      o[2] = c[0];
      if (channels == 4) o[3] = 255;
    }
  }
  inkra::WritePng({rgba.data(), std::size_t(w) * std::size_t(channels), w, h, channels}, sink);
}

Bitmap BoardModel::Composed() const {
  Bitmap out = surface_->ToBitmap();
  if (ink_) ink_->CompositeOnto(RowsOf(out), ink_->Bounds());
  return out;
}

void BoardModel::Compose(const Rect& area, const PixelRows& out) const {
  const PixelRows picture = const_cast<Surface&>(*surface_).Pixels();
  const std::size_t step = std::size_t(picture.bitsPerPixel) / 8;
  for (int y = area.top; y < area.bottom; ++y)
    std::copy_n(picture.Row(y) + std::size_t(area.left) * picture.bitsPerPixel / 8,
                (std::size_t(area.right - area.left) * std::size_t(picture.bitsPerPixel) + 7) / 8,
                out.Row(y - area.top));
  if (!ink_ || (step != 3 && step != 4)) return;
  // The layer composites rows addressed as the whole picture's; these are the area's alone, so
  // they are addressed from where the picture's first row would lie (only the area's are touched).
  const std::uintptr_t origin = reinterpret_cast<std::uintptr_t>(out.bits) - std::uintptr_t(area.top) * out.stride -
                                std::uintptr_t(area.left) * step;
  ink_->CompositeOnto({reinterpret_cast<std::uint8_t*>(origin), out.stride, picture.width, picture.height,
                       picture.bitsPerPixel},
                      area);
}

Picture BoardModel::Snapshot() const {
  switch (kind_) {
    case PictureKind::Jpeg: return JpegPicture{jpegBytes_, surface_->ToBitmap()};
    case PictureKind::Bitmap: return Composed();
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
    surface_ = NewPaper(ViewSize());
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
  EndStroke();
  PictureState taken{std::move(surface_), kind_, std::move(jpegBytes_), settledMode_, std::move(ink_), paper_};
  EmptyPicture();
  return taken;
}

void BoardModel::PutPicture(PictureState picture) {
  surface_ = std::move(picture.surface);
  kind_ = picture.kind;
  jpegBytes_ = std::move(picture.jpegBytes);
  ink_ = std::move(picture.ink);
  paper_ = picture.paper;
}

void BoardModel::Replace(PictureState next) {
  PictureState before = TakePicture();
  UndoHistory::Kept kept;
  try {
    kept = UndoHistory::Keep(before);
  } catch (const std::bad_alloc&) {
    PutPicture(std::move(before));
    throw ChangeRefused(kChangeRefused);
  }
  before = {};  // kept: its surface goes before anything more is held
  const LayoutMode mode = next.mode;
  PutPicture(std::move(next));
  mode_ = settledMode_ = mode;
  history_.RecordReplacement(std::move(kept));
  PictureChanged(nullptr);
}

std::unique_ptr<Surface> BoardModel::NewPaper(Size size) {
  std::unique_ptr<Surface> paper = surfaces_.NewWhite(size.width, size.height);
  // Ink shows only over 24 or 32 bits: on a 16-bit display the paper is made at 32 anyway.
  if (!InkableDepth(paper->Pixels().bitsPerPixel)) {
    paper = surfaces_.FromBitmap(Bitmap(size.width, size.height, 32));  // white
  }
  SetColours(*paper);
  return paper;
}

void BoardModel::SetColours(Surface& s) const {
  s.SetBrushColour(selected_);
  s.SetPenColour(selected_);
}

void BoardModel::BeginDrawnChange() {
  // Taken before drawing makes an opened JPEG a bitmap, so undo can make it a JPEG again. The
  // bytes are copied, not moved: until the drawing happens they are still the picture.
  if (!history_.DrawingOpen()) history_.BeginDrawing({nullptr, kind_, jpegBytes_, settledMode_, nullptr, paper_});
}

void BoardModel::SaveForUndo(const Rect& area) { history_.SaveArea(DrawingSurface(), area); }

void BoardModel::EmptyPicture() {
  pen_.Abandon();
  surface_.reset();
  ink_.reset();
  paper_ = true;
  kind_ = PictureKind::Empty;
  jpegBytes_.clear();
}

void BoardModel::SetSurfaceColours() { SetColours(DrawingSurface()); }

void BoardModel::PictureChanged(const Rect* area) {
  if (mode_ == LayoutMode::Natural && surface_) naturalView_ = PictureSize();
  if (area)
    changes_.dirty = changes_.dirty.Union(*area);
  else
    changes_.all = true;
}

}  // namespace inkra::board
