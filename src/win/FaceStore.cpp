#include "FaceStore.h"

#include <cstring>
#include <utility>

#include "Errors.h"
#include "GdiCanvas.h"

namespace inkra::win {
namespace {

// The font engine's fixed-point arithmetic: 16.16 quotients and products rounded half away from
// zero, coordinates in 26.6.
std::int64_t DivFix(std::int64_t a, std::int64_t b) {
  const bool negative = (a < 0) != (b < 0);
  a = a < 0 ? -a : a, b = b < 0 ? -b : b;
  const std::int64_t q = ((a << 16) + b / 2) / b;
  return negative ? -q : q;
}

std::int64_t MulFix(std::int64_t a, std::int64_t b, int shift = 16) {
  const bool negative = (a < 0) != (b < 0);
  a = a < 0 ? -a : a, b = b < 0 ? -b : b;
  const std::int64_t c = (a * b + (std::int64_t(1) << (shift - 1))) >> shift;
  return negative ? -c : c;
}

std::int32_t RawOf(const FIXED& f) {
  std::int32_t raw;
  std::memcpy(&raw, &f, sizeof raw);
  return raw;
}

// A 26.6 coordinate as GetGlyphOutline hands it over: the six fraction bits repeated down the
// 16-bit fraction.
FIXED FixedOf(std::int64_t v26) {
  std::uint32_t fract = std::uint32_t(v26 & 0x3f) << 10;
  fract |= (fract >> 6) | (fract >> 12);
  const std::uint32_t raw = std::uint32_t(std::int32_t(v26 >> 6)) << 16 | (fract & 0xffff);
  FIXED f;
  std::memcpy(&f, &raw, sizeof f);
  return f;
}

// Calls `each` on every point of a GGO_NATIVE buffer; stops where the buffer is malformed.
template <typename Each>
void ForEachPoint(std::vector<std::uint8_t>& buffer, Each each) {
  std::size_t at = 0;
  while (at + sizeof(TTPOLYGONHEADER) <= buffer.size()) {
    TTPOLYGONHEADER header;
    std::memcpy(&header, buffer.data() + at, sizeof header);
    if (header.cb < sizeof header || at + header.cb > buffer.size()) return;
    const std::size_t end = at + header.cb;
    each(buffer.data() + at + offsetof(TTPOLYGONHEADER, pfxStart));
    std::size_t c = at + sizeof header;
    while (c + offsetof(TTPOLYCURVE, apfx) <= end) {
      WORD count = 0;
      std::memcpy(&count, buffer.data() + c + offsetof(TTPOLYCURVE, cpfx), sizeof count);
      const std::size_t pointsAt = c + offsetof(TTPOLYCURVE, apfx);
      if (pointsAt + std::size_t(count) * sizeof(POINTFX) > end) return;
      for (WORD i = 0; i < count; ++i) each(buffer.data() + pointsAt + i * sizeof(POINTFX));
      c = pointsAt + std::size_t(count) * sizeof(POINTFX);
    }
    at = end;
  }
}

}  // namespace

FaceStore::FaceStore() : dc_(CreateCompatibleDC(nullptr)) {
  if (!dc_) throw PictureError("Cannot create a drawing surface");
}

FaceStore::~FaceStore() {
  SelectObject(dc_.get(), GetStockObject(SYSTEM_FONT));  // the fonts go after the DC lets go of them
}

UniqueFont FaceStore::MakeFont(const Font& font, Size size) {
  LOGFONTW lf{};
  lf.lfHeight = -size.height;
  lf.lfWidth = size.width;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfOutPrecision = OUT_TT_PRECIS;  // outlines, where a face has them
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  NameFace(dc_.get(), font.face, lf);
  UniqueFont made(CreateFontIndirectW(&lf));
  if (!made) throw PictureError("Cannot create a font");
  return made;
}

FaceStore::Face& FaceStore::FaceOf(const Font& font) {
  const FaceKey key{font.face, font.bold};
  if (auto found = faces_.find(key); found != faces_.end()) return found->second;
  if (faces_.size() >= kMaxFaces) {
    SelectObject(dc_.get(), GetStockObject(SYSTEM_FONT));
    faces_.clear();
  }
  Face made;
  // The em square in design units, from the face at any size; a face without outlines keeps 0
  // and is read at each size.
  const UniqueFont probe = MakeFont(font, {100, 0});
  SelectObject(dc_.get(), probe.get());
  if (const UINT bytes = GetOutlineTextMetricsW(dc_.get(), 0, nullptr); bytes >= sizeof(OUTLINETEXTMETRICW)) {
    std::vector<std::uint8_t> otm(bytes);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(otm.data());
    if (GetOutlineTextMetricsW(dc_.get(), bytes, metrics)) made.emSquare = int(metrics->otmEMSquare);
  }
  SelectObject(dc_.get(), GetStockObject(SYSTEM_FONT));
  if (made.emSquare > 0) {
    made.em = MakeFont(font, {made.emSquare, 0});
    SelectObject(dc_.get(), made.em.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_.get(), &metrics);
    made.emAveCharWidth = metrics.tmAveCharWidth;
  }
  return faces_.emplace(key, std::move(made)).first->second;
}

FaceStore::Sized& FaceStore::SizedOf(Face& face, const Font& font, Size size) {
  if (auto found = face.sizes.find(size); found != face.sizes.end()) return found->second;
  if (face.sizes.size() >= kMaxSizes) {
    SelectObject(dc_.get(), GetStockObject(SYSTEM_FONT));
    face.sizes.clear();
  }
  Sized made;
  made.font = MakeFont(font, size);
  SelectObject(dc_.get(), made.font.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_.get(), &metrics);
  made.metrics = {metrics.tmAscent, metrics.tmHeight, metrics.tmAveCharWidth};
  return face.sizes.emplace(size, std::move(made)).first->second;
}

std::vector<std::uint8_t> FaceStore::Read(HFONT font, UINT character) {
  SelectObject(dc_.get(), font);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  const DWORD size = GetGlyphOutlineW(dc_.get(), character, GGO_NATIVE | GGO_UNHINTED, &metrics, 0, nullptr, &identity);
  if (size == GDI_ERROR || size == 0) return {};
  std::vector<std::uint8_t> buffer(size);
  if (GetGlyphOutlineW(dc_.get(), character, GGO_NATIVE | GGO_UNHINTED, &metrics, size, buffer.data(), &identity) ==
      GDI_ERROR)
    return {};
  return buffer;
}

const std::vector<std::uint8_t>& FaceStore::DesignOf(Face& face, UINT character) {
  if (auto found = face.design.find(character); found != face.design.end()) return found->second;
  if (face.design.size() >= kMaxGlyphs) face.design.clear();
  return face.design.emplace(character, Read(face.em.get(), character)).first->second;
}

std::vector<std::uint8_t> FaceStore::Scaled(const Face& face, const std::vector<std::uint8_t>& design, Size size) {
  const std::int64_t scale = DivFix(std::int64_t(size.height) << 6, face.emSquare);
  // A narrow face: x scaled by its width over the face's own average width at that height, the
  // ratio truncated to 16.16 as the engine builds its matrix.
  std::int64_t narrow = 0;
  if (size.width) {
    const auto own = face.sizes.find(Size{size.height, 0});
    const LONG average = own != face.sizes.end() ? own->second.metrics.aveCharWidth
                                                 : LONG((MulFix(face.emAveCharWidth, scale) + 32) >> 6);
    if (average > 0) narrow = std::int64_t(double(size.width) / average * 65536.0);
  }
  std::vector<std::uint8_t> scaled = design;
  ForEachPoint(scaled, [&](std::uint8_t* at) {
    POINTFX p;
    std::memcpy(&p, at, sizeof p);
    // Design units in 26.6 (whole units unless the engine thickened the face), times the scale.
    std::int64_t x = MulFix(RawOf(p.x) >> 10, scale, 22), y = MulFix(RawOf(p.y) >> 10, scale, 22);
    if (narrow) x = MulFix(x, narrow);
    p.x = FixedOf(x);
    p.y = FixedOf(y);
    std::memcpy(at, &p, sizeof p);
  });
  return scaled;
}

FaceStore::Metrics FaceStore::MetricsAt(const Font& font, Size size) {
  std::lock_guard hold(lock_);
  return SizedOf(FaceOf(font), font, size).metrics;
}

int FaceStore::AdvanceAt(const Font& font, Size size, UINT character) {
  std::lock_guard hold(lock_);
  Sized& sized = SizedOf(FaceOf(font), font, size);
  if (auto found = sized.advances.find(character); found != sized.advances.end()) return found->second;
  // The advance as TextOut moves the pen: the engine's own, hinted and whole, at this size.
  SelectObject(dc_.get(), sized.font.get());
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  int advance = 0;
  if (GetGlyphOutlineW(dc_.get(), character, GGO_METRICS, &metrics, 0, nullptr, &identity) != GDI_ERROR)
    advance = metrics.gmCellIncX;
  if (sized.advances.size() >= kMaxGlyphs) sized.advances.clear();
  sized.advances.emplace(character, advance);
  return advance;
}

std::vector<std::uint8_t> FaceStore::OutlineAt(const Font& font, Size size, UINT character, bool exact) {
  std::lock_guard hold(lock_);
  Face& face = FaceOf(font);
  if (face.emSquare <= 0) return Read(SizedOf(face, font, size).font.get(), character);
  const std::vector<std::uint8_t>& design = DesignOf(face, character);
  if (!exact || face.scaling == Scaling::Exact) return Scaled(face, design, size);
  std::vector<std::uint8_t> direct = Read(SizedOf(face, font, size).font.get(), character);
  // The first outline with points tells whether scaling gives the engine's answer for this face.
  if (face.scaling == Scaling::Unknown && !design.empty())
    face.scaling = Scaled(face, design, size) == direct ? Scaling::Exact : Scaling::Approximate;
  return direct;
}

void FaceStore::Forget() {
  std::lock_guard hold(lock_);
  SelectObject(dc_.get(), GetStockObject(SYSTEM_FONT));
  faces_.clear();
}

FaceStore& KeptFaces() {
  static FaceStore kept;
  return kept;
}

}  // namespace inkra::win
