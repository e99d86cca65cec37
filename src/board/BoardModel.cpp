#include "BoardModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <utility>

#include "BoardOutput.h"
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
  layout_.Create({panelClientWidth, panelClientHeight});
  pen_.Abandon();
  stroke_.reset();
  content_ = {};
  history_.Clear();
  Drawable();  // white paper in the selected colours
  nibWidth_ = kInitialNibWidth;
  accepted_ = false;
}

void BoardModel::ApplySettings(const LoadedPenSettings& settings) {
  if (settings.colour) {
    Surface& s = Drawable();
    s.SetPenColour(*settings.colour);
    s.SetBrushColour(*settings.colour);
    selected_ = *settings.colour;
  }
  if (settings.penWidth) nibWidth_ = ClampInt(std::int64_t(*settings.penWidth) + 1, kMaxNibWidth);
}

void BoardModel::MouseDown(MouseButton button, int x, int y, float pressure, std::uint32_t ms) {
  x = ClampInt(x, kMaxCoordinate);
  y = ClampInt(y, kMaxCoordinate);
  if (button == MouseButton::Left) {
    EndStroke(ms);
    history_.EndDrawing();  // a new press is a new stroke
    drawing_ = true;
    lastX_ = curX_ = x;
    lastY_ = curY_ = y;
    downPressure_ = pressure;
    // A pen that reports its pressure draws with it; the tip gives the others their width.
    tipping_ = tipOn_ && pressure < 0;
    if (tipping_) {
      tip_.Start(x, y, ms, dpi_);
      tipFirst_.reset();
    }
  } else if (button == MouseButton::Right) {
    stampX_ = x;
    stampY_ = y;
  }
}

void BoardModel::MouseMove(int x, int y, float pressure, std::uint32_t ms) {
  if (!drawing_) return;
  curX_ = ClampInt(x, kMaxCoordinate);
  curY_ = ClampInt(y, kMaxCoordinate);
  if (content_.surface && !Inkable()) {
    AliasedStep();
  } else if (tipping_) {
    tipped_.clear();
    tip_.Add(curX_, curY_, ms, tipped_);
    TipSamples();
  } else {
    StrokeStep({double(lastX_), double(lastY_), downPressure_}, {double(curX_), double(curY_), pressure});
  }
  lastX_ = curX_;
  lastY_ = curY_;
}

void BoardModel::StrokeStep(const ink::InkSample& first, const ink::InkSample& sample) {
  // The stroke's ink starts with its first move: a press and release without one leaves none.
  if (!pen_.Drawing()) {
    const double width = ScaleToDpi(nibWidth_, dpi_);
    pen_.Down(InkForDrawing(), first, width, InkColour());
    if (pen_.Drawing()) stroke_ = StrokeItem{{first}, width, InkColour(), {}};
  }
  const Rect changed = InkChanged(pen_.Move(sample));
  if (stroke_) {
    stroke_->samples.push_back(sample);
    stroke_->bounds = stroke_->bounds.Union(changed);
  }
}

void BoardModel::TipSamples() {
  for (const ink::InkSample& s : tipped_) {
    if (tipFirst_) StrokeStep(*tipFirst_, s);
    else tipFirst_ = s;
  }
}

void BoardModel::MouseUp(std::uint32_t ms) {
  drawing_ = false;
  EndStroke(ms);
  history_.EndDrawing();
}

void BoardModel::EndStroke(std::uint32_t ms) {
  if (tipping_) {
    // The samples the tip still holds are drawn first, tapered by a release at speed.
    tipping_ = false;
    tipped_.clear();
    tip_.Finish(ms, tipped_);
    if (Inkable()) TipSamples();
  }
  if (!pen_.Drawing()) return;
  // The curve's last piece goes on wet and is shown, and counts in the stroke's reach. Drying then
  // changes only pixels that some step of the stroke drew, each shown when it was drawn, so
  // nothing else of the stroke's box is repainted.
  const Rect last = InkChanged(pen_.Finish());
  if (stroke_) stroke_->bounds = stroke_->bounds.Union(last);
  pen_.Up();
  if (stroke_) AddItem(std::move(*stroke_));
  stroke_.reset();
}

void BoardModel::AddItem(BoardItem item) {
  // Only a change that is open drew on the picture: a stroke wholly off it drew nothing.
  if (!history_.DrawingOpen()) return;
  content_.items.push_back(std::make_shared<const BoardItem>(std::move(item)));
  history_.ItemAdded(BoundsOf(*content_.items.back()));
}

Rect BoardModel::InkChanged(const Rect& area) {
  if (!content_.ink) return {};
  const Rect inside = area.Intersect(content_.ink->Bounds());
  if (inside.Empty()) return {};  // no change: what could be redone stays
  InkGoesOn();
  PictureChanged(&inside);
  return inside;
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
  Drawable().Polygon(polygon);
  PictureChanged(&bounds);
}

void BoardModel::InkGoesOn() {
  // Opened before an opened JPEG becomes a bitmap, so undo makes it a JPEG again.
  BeginDrawnChange();
  if (content_.kind == PictureKind::Jpeg) Drawable();
}

ink::InkLayer& BoardModel::InkForDrawing() {
  // An empty board becomes white paper now; an opened JPEG stays one until ink lands on it.
  if (content_.kind == PictureKind::Empty) {
    BeginDrawnChange();
    Drawable();
  }
  const Size size = PictureSize();
  if (!content_.ink || content_.ink->Width() != size.width || content_.ink->Height() != size.height) {
    content_.ink = std::make_unique<ink::InkLayer>(size.width, size.height);
    content_.items.clear();  // a new layer: nothing drawn on it yet
    content_.baseInk.reset();
  }
  return *content_.ink;
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
  Surface& s = content_.kind == PictureKind::Jpeg ? *content_.surface : Drawable();
  s.SetPenColour(c);
  s.SetBrushColour(c);
}

void BoardModel::PanelResized(int clientWidth, int clientHeight) {
  layout_.PanelResized({clientWidth, clientHeight});
  changes_.all = true;
}

void BoardModel::StampTime(const std::string& text) {
  BeginDrawnChange();
  Surface& s = Drawable();
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
    if (content_.ink && !cell.Empty()) {
      const ink::Outline box{{ink::ToGrid(cell.left, cell.top), ink::ToGrid(cell.right, cell.top),
                              ink::ToGrid(cell.right, cell.bottom), ink::ToGrid(cell.left, cell.bottom)}};
      const Rect erased = content_.ink->Erase(box);
      if (!erased.Empty()) AddItem(PaintItem{{{{box, std::nullopt}}}, erased});
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
  PaintItem stamp;
  canvas.LogPaints([&stamp, &layer](std::span<const ink::InkLayer::Part> parts) {
    std::vector<PaintItem::Part>& painting = stamp.paintings.emplace_back();
    for (const ink::InkLayer::Part& part : parts) {
      painting.push_back({*part.outline, part.colour});
      stamp.bounds = stamp.bounds.Union(ink::PixelBounds(*part.outline).Intersect(layer.Bounds()));
    }
  });
  canvas.SetBrushColour(clWhite);
  canvas.SetFont(font);
  canvas.TextOut(stampX_, stampY_, text);
  AddItem(std::move(stamp));
  return area;
}

void BoardModel::WritePicture(ByteSink& sink) const { board::WritePicture(content_, sink); }
void BoardModel::WritePng(ByteSink& sink) const { board::WritePng(content_, sink); }
void BoardModel::WritePngAt(ByteSink& sink, double scale) const { board::WritePngAt(content_, scale, sink); }
double BoardModel::PrintScale() const { return board::PrintScale(PictureSize(), dpi_); }
std::unique_ptr<ink::InkLayer> BoardModel::InkAt(double scale) const { return RenderInk(content_, scale); }
Picture BoardModel::Snapshot() const { return board::Snapshot(content_); }
void BoardModel::Compose(const Rect& area, const PixelRows& out) const { board::Compose(content_, area, out); }

Size BoardModel::PictureSize() const {
  if (!content_.surface) return {};
  return {content_.surface->Width(), content_.surface->Height()};
}

BoardModel::Changes BoardModel::TakeChanges() {
  Changes out = changes_;
  changes_ = {};
  return out;
}

Surface& BoardModel::Drawable() {
  if (content_.kind == PictureKind::Empty) {
    content_.surface = NewPaper(ViewSize());
    content_.kind = PictureKind::Bitmap;
    PictureChanged(nullptr);
  } else if (content_.kind == PictureKind::Jpeg) {
    // Drawing turns an opened JPEG into the bitmap of its decoded pixels, which the surface
    // already holds; from here on the picture is written as a bitmap.
    content_.kind = PictureKind::Bitmap;
    content_.jpegBytes.clear();
    content_.jpegBytes.shrink_to_fit();
    content_.surface->SetPenColour(selected_);
    content_.surface->SetBrushColour(selected_);
  }
  return *content_.surface;
}

void BoardModel::BeginDrawnChange() {
  // Taken before drawing makes an opened JPEG a bitmap, so undo can make it a JPEG again. The
  // bytes are copied, not moved: until the drawing happens they are still the picture.
  if (!history_.DrawingOpen()) history_.BeginDrawing({nullptr, content_.kind, content_.jpegBytes, layout_.Settled(), nullptr, content_.paper, content_.art});
}

void BoardModel::SaveForUndo(const Rect& area) { history_.SaveArea(Drawable(), area); }


void BoardModel::PictureChanged(const Rect* area) {
  if (content_.surface) layout_.PictureShown(PictureSize());
  if (area)
    changes_.dirty = changes_.dirty.Union(*area);
  else
    changes_.all = true;
}

}  // namespace inkra::board
