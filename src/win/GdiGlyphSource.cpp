#include "GdiGlyphSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

#include "CentreLine.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

double FromFixed(FIXED f) { return f.value + f.fract / 65536.0; }
ink::Vec2 FromPoint(const POINTFX& p) { return {FromFixed(p.x), -FromFixed(p.y)}; }  // y down

// A quadratic piece cut into chords that stay within the flatness of the curve: the curve is
// at most |p0 - 2 p1 + p2| / 4 from its chord, and that shrinks with the square of the pieces.
void AddQuadratic(std::vector<ink::Vec2>& out, ink::Vec2 p0, ink::Vec2 p1, ink::Vec2 p2) {
  const double dx = p0.x - 2 * p1.x + p2.x, dy = p0.y - 2 * p1.y + p2.y;
  const double bow = std::hypot(dx, dy) / 4;
  const int n = std::clamp(int(std::ceil(std::sqrt(bow / ink::kFlatness))), 1, 64);
  for (int i = 1; i <= n; ++i) {
    const double t = double(i) / n, s = 1 - t;
    out.push_back({s * s * p0.x + 2 * s * t * p1.x + t * t * p2.x, s * s * p0.y + 2 * s * t * p1.y + t * t * p2.y});
  }
}

void AddCubic(std::vector<ink::Vec2>& out, ink::Vec2 p0, ink::Vec2 p1, ink::Vec2 p2, ink::Vec2 p3) {
  const ink::Vec2 bezier[4] = {p0, p1, p2, p3};
  const int n = std::clamp(ink::FlattenSteps(bezier, ink::kFlatness), 1, 64);
  for (int i = 1; i <= n; ++i) {
    const double t = double(i) / n, s = 1 - t;
    const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    out.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
}

// The contours of a GGO_NATIVE buffer: TTPOLYGONHEADERs, each followed by its TTPOLYCURVEs.
std::vector<std::vector<ink::Vec2>> ReadContours(const std::vector<std::uint8_t>& buffer) {
  std::vector<std::vector<ink::Vec2>> contours;
  std::size_t at = 0;
  while (at + sizeof(TTPOLYGONHEADER) <= buffer.size()) {
    TTPOLYGONHEADER header;
    std::memcpy(&header, buffer.data() + at, sizeof header);
    if (header.cb < sizeof header || at + header.cb > buffer.size()) break;  // a malformed answer ends it
    const std::size_t end = at + header.cb;
    std::vector<ink::Vec2> contour{FromPoint(header.pfxStart)};
    std::size_t c = at + sizeof header;
    while (c + offsetof(TTPOLYCURVE, apfx) <= end) {
      WORD type = 0, count = 0;
      std::memcpy(&type, buffer.data() + c + offsetof(TTPOLYCURVE, wType), sizeof type);
      std::memcpy(&count, buffer.data() + c + offsetof(TTPOLYCURVE, cpfx), sizeof count);
      const std::size_t pointsAt = c + offsetof(TTPOLYCURVE, apfx);
      if (pointsAt + std::size_t(count) * sizeof(POINTFX) > end) break;
      std::vector<ink::Vec2> p(count);
      for (WORD i = 0; i < count; ++i) {
        POINTFX fx;
        std::memcpy(&fx, buffer.data() + pointsAt + i * sizeof(POINTFX), sizeof fx);
        p[i] = FromPoint(fx);
      }
      if (type == TT_PRIM_QSPLINE) {
        // Off-curve points with the on-curve midpoints between them implied; the last is on it.
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
          const ink::Vec2 to = i + 2 < p.size() ? ink::Vec2{(p[i].x + p[i + 1].x) / 2, (p[i].y + p[i + 1].y) / 2} : p[i + 1];
          AddQuadratic(contour, contour.back(), p[i], to);
        }
      } else if (type == TT_PRIM_CSPLINE) {
        for (std::size_t i = 0; i + 2 < p.size(); i += 3) AddCubic(contour, contour.back(), p[i], p[i + 1], p[i + 2]);
      } else {
        contour.insert(contour.end(), p.begin(), p.end());
      }
      c = pointsAt + std::size_t(count) * sizeof(POINTFX);
    }
    if (contour.size() >= 3) contours.push_back(std::move(contour));
    at = end;
  }
  return contours;
}

}  // namespace

GdiGlyphSource::GdiGlyphSource(int dpi, int sizingDpi)
    : dpi_(dpi > 0 ? dpi : 96), sizingDpi_(sizingDpi > 0 ? sizingDpi : dpi_) {}

GdiGlyphSource::Face& GdiGlyphSource::FaceFor(const Font& font) {
  const FaceKey key{font.face, font.sizePoints, font.bold, font.widthPercent};
  if (auto found = faces_.find(key); found != faces_.end()) return found->second;
  if (faces_.size() >= kMaxFaces) faces_.clear();
  FaceStore& store = KeptFaces();
  Face made;
  made.sizing.height = ::MulDiv(font.sizePoints, sizingDpi_, 72);
  if (font.widthPercent != 100 && font.widthPercent > 0) {
    // A narrow face: the same face with its average width scaled.
    made.sizing.width =
        std::max<LONG>(1, ::MulDiv(store.MetricsAt(font, made.sizing).aveCharWidth, font.widthPercent, 100));
  }
  const FaceStore::Metrics metrics = store.MetricsAt(font, made.sizing);
  made.ascent = metrics.ascent;
  made.height = metrics.height;
  made.outline = made.sizing;
  if (sizingDpi_ != dpi_) {
    // The cell and the advances as at the sizing dpi, scaled; the outlines at the scaled size,
    // so the characters are sharp and sit where the smaller picture has them.
    made.scale = double(dpi_) / sizingDpi_;
    made.ascent *= made.scale;
    made.height *= made.scale;
    made.outline.height = ::MulDiv(made.sizing.height, dpi_, sizingDpi_);
    if (made.sizing.width) made.outline.width = std::max<LONG>(1, std::lround(made.sizing.width * made.scale));
  }
  return faces_.emplace(key, std::move(made)).first->second;
}

const GdiGlyphSource::Glyph& GdiGlyphSource::GlyphOf(const Font& font, Face& face, UINT character) {
  if (auto found = face.glyphs.find(character); found != face.glyphs.end()) return found->second;
  FaceStore& store = KeptFaces();
  Glyph glyph;
  glyph.advance = store.AdvanceAt(font, face.sizing, character) * face.scale;
  // At the sizing dpi itself the outline is the one the screen has always shown, to the bit.
  glyph.contours = ReadContours(store.OutlineAt(font, face.outline, character, sizingDpi_ == dpi_));
  return face.glyphs.emplace(character, std::move(glyph)).first->second;
}

ink::GlyphSource::TextShape GdiGlyphSource::Shape(const Font& font, int x, int y, const std::string& text) {
  Face& face = FaceFor(font);
  const double angle = font.escapement * std::numbers::pi / 1800.0;
  const double c = std::cos(angle), s = std::sin(angle);
  // Along the text (u) and down the cell (v), turned onto the page, where y grows downward.
  auto place = [&](double u, double v) { return ink::Vec2{x + u * c + v * s, y - u * s + v * c}; };
  TextShape shape;
  double pen = 0;
  for (wchar_t character : Utf8ToWide(text)) {
    const Glyph& glyph = GlyphOf(font, face, character);
    for (const auto& contour : glyph.contours) {
      ink::OutlinePath path;
      path.reserve(contour.size());
      for (const ink::Vec2& p : contour) {
        const ink::Vec2 at = place(pen + p.x, face.ascent + p.y);
        path.push_back(ink::ToGrid(at.x, at.y));
      }
      shape.glyphs.push_back(std::move(path));
    }
    pen += glyph.advance;
  }
  shape.cell = {place(0, 0), place(pen, 0), place(pen, face.height), place(0, face.height)};
  return shape;
}

namespace {

std::map<int, std::unique_ptr<GdiGlyphSource>>& KeptSources() {
  static std::map<int, std::unique_ptr<GdiGlyphSource>> kept;
  return kept;
}

}  // namespace

GdiGlyphSource& KeptGlyphSource(int dpi) {
  std::unique_ptr<GdiGlyphSource>& source = KeptSources()[dpi > 0 ? dpi : 96];
  if (!source) source = std::make_unique<GdiGlyphSource>(dpi);
  return *source;
}

void ForgetKeptGlyphs() {
  for (auto& [dpi, source] : KeptSources()) source->Forget();
  KeptFaces().Forget();
}

}  // namespace inkra::win
