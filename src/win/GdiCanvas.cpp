#include "GdiCanvas.h"

#include "Bmp.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>
#include <utility>

#include "Bmp.h"
#include "Errors.h"
#include "TextConvert.h"

namespace inkra::win {

namespace {

int CALLBACK NoteCharset(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<bool, BYTE>*>(param);
  if (lf->lfCharSet == GB2312_CHARSET || !found->first) *found = {true, lf->lfCharSet};
  return lf->lfCharSet == GB2312_CHARSET ? 0 : 1;  // GB2312 is the best answer: stop there
}

}  // namespace

BYTE CharsetForFace(HDC dc, const std::wstring& face) {
  // The mapper prefers the charset to the name: asking for "Arial" in GB2312 gets a Chinese face.
  // So each face is asked for in a charset it has, GB2312 first, which Chinese faces all have.
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  std::pair<bool, BYTE> found{false, GB2312_CHARSET};
  EnumFontFamiliesExW(dc, &lf, NoteCharset, reinterpret_cast<LPARAM>(&found), 0);
  return found.second;  // a face that is not installed: GB2312, so Chinese text still renders
}

void NameFace(HDC dc, const std::string& face, LOGFONTW& lf) {
  std::wstring wide = Utf8ToWide(face);
  wide.resize(std::min<std::size_t>(wide.size(), LF_FACESIZE - 1));
  std::memcpy(lf.lfFaceName, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  lf.lfCharSet = CharsetForFace(dc, wide);
}

namespace {

// A marker for "draw nothing" (clNone); no real COLORREF has these high bits.
constexpr COLORREF kNoColour = 0xFE000000;

static_assert(sizeof(PaletteEntry) == sizeof(RGBQUAD), "palette entries are copied as RGBQUADs");

bool IsValidDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

std::vector<PaletteEntry> GreyRamp(int bpp) {
  int count = 1 << bpp;
  std::vector<PaletteEntry> ramp(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto level = std::uint8_t(i * 255 / (count - 1));
    ramp[std::size_t(i)] = {level, level, level, 0};
  }
  return ramp;
}

}  // namespace

COLORREF GdiCanvas::Resolve(ColourValue c, COLORREF fallback) {
  if (IsSystemColour(c)) return GetSysColor(SystemColourIndex(c));
  if (c == clDefault || c == clNone) return fallback;
  return c & 0x00FFFFFF;
}

// White as Bitmap makes it, row padding included, so a fresh canvas gives the same bytes.
GdiCanvas::GdiCanvas(int width, int height, int bitsPerPixel, Contents contents) {
  Create(nullptr, width, height, bitsPerPixel);
  // All bits set is white at every depth: the grey ramp ends in white, 5-5-5 ignores its top bit.
  if (bits_ && contents == Contents::White) std::memset(bits_, 0xFF, Bitmap::StrideFor(width_, bpp_) * std::size_t(height_));
}

GdiCanvas::GdiCanvas(const Bitmap& bitmap) {
  Create(&bitmap, bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel());
}

GdiCanvas::~GdiCanvas() = default;

void GdiCanvas::Create(const Bitmap* source, int width, int height, int bitsPerPixel) {
  if (!IsValidDepth(bitsPerPixel)) throw PictureError("Unsupported colour depth");
  if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension)
    throw PictureError("Picture size out of range");
  width_ = width;
  height_ = height;
  bpp_ = bitsPerPixel;
  if (source) masks_ = source->Masks();
  if (bpp_ <= 8) palette_ = (source && !source->Palette().empty()) ? source->Palette() : GreyRamp(bpp_);
  if (palette_.size() > 256) palette_.resize(256);

  dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) throw PictureError("Cannot create a drawing surface");
  SetGraphicsMode(dc_.get(), GM_COMPATIBLE);  // rectangles exclude their right and bottom edges
  SetPolyFillMode(dc_.get(), ALTERNATE);
  SetROP2(dc_.get(), R2_COPYPEN);
  SetTextAlign(dc_.get(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
  if (width_ == 0 || height_ == 0) return;  // nothing to draw on; every call is clipped away

  // Header, then either the colour table or the three channel masks.
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width_;
  header->biHeight = -height_;  // top-down, as Bitmap keeps its rows
  header->biPlanes = 1;
  header->biBitCount = WORD(bpp_);
  bool bitfields = (bpp_ == 16 || bpp_ == 32) && (masks_[0] | masks_[1] | masks_[2]);
  header->biCompression = bitfields ? BI_BITFIELDS : BI_RGB;
  std::uint8_t* table = info.data() + sizeof(BITMAPINFOHEADER);
  if (bitfields) {
    std::memcpy(table, masks_.data(), sizeof masks_);
  } else if (bpp_ <= 8) {
    header->biClrUsed = DWORD(palette_.size());
    std::memcpy(table, palette_.data(), palette_.size() * sizeof(PaletteEntry));
  }
  if (!bitfields) masks_ = {};

  bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(info.data()),
                                 DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!bitmap_ || !bits_) throw PictureError("Not enough memory for a picture of this size");
  SelectObject(dc_.get(), bitmap_.get());

  if (source) {
    std::size_t size = Bitmap::StrideFor(width_, bpp_) * std::size_t(height_);
    std::memcpy(bits_, source->Pixels().data(), std::min(size, source->Pixels().size()));
  }
}

void GdiCanvas::SetPenColour(ColourValue c) { penColour_ = c; }
void GdiCanvas::SetBrushColour(ColourValue c) { brushColour_ = c; }

void GdiCanvas::SetFont(const Font& f) {
  if (f == font_) return;
  font_ = f;
  fontDirty_ = true;
}

void GdiCanvas::PrepareShapes() {
  // Resolved on every call, so a system colour follows the system's current settings.
  COLORREF pen = penColour_ == clNone ? kNoColour : Resolve(penColour_, RGB(0, 0, 0));
  if (pen != penMadeFor_) {
    UniquePen made(pen == kNoColour ? nullptr : CreatePen(PS_SOLID, 1, pen));
    SelectObject(dc_.get(), made ? HGDIOBJ(made.get()) : GetStockObject(NULL_PEN));
    pen_ = std::move(made);  // the old pen is no longer selected, so it can go
    penMadeFor_ = pen;
  }
  COLORREF brush = brushColour_ == clNone ? kNoColour : Resolve(brushColour_, RGB(255, 255, 255));
  if (brush != brushMadeFor_) {
    UniqueBrush made(brush == kNoColour ? nullptr : CreateSolidBrush(brush));
    SelectObject(dc_.get(), made ? HGDIOBJ(made.get()) : GetStockObject(NULL_BRUSH));
    brush_ = std::move(made);
    brushMadeFor_ = brush;
  }
}

void GdiCanvas::Finish() { GdiFlush(); }

void GdiCanvas::Polygon(std::span<const Point> points) {
  if (points.empty()) return;
  PrepareShapes();
  std::vector<POINT> vertices;
  vertices.reserve(points.size());
  for (const Point& p : points) vertices.push_back({p.x, p.y});
  ::Polygon(dc_.get(), vertices.data(), int(vertices.size()));
  Finish();
}

void GdiCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  PrepareShapes();
  ::Ellipse(dc_.get(), x1, y1, x2, y2);
  Finish();
}

void GdiCanvas::SetPixel(int x, int y, ColourValue c) {
  if (c == clNone) return;
  ::SetPixelV(dc_.get(), x, y, Resolve(c, RGB(0, 0, 0)));
  Finish();
}

void GdiCanvas::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  fontDirty_ = true;
}

void GdiCanvas::PrepareFont() {
  if (!fontDirty_) return;
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(font_.sizePoints, dpi_, 72);
  lf.lfEscapement = font_.escapement;
  lf.lfOrientation = font_.escapement;
  lf.lfWeight = font_.bold ? FW_BOLD : FW_NORMAL;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  NameFace(dc_.get(), font_.face, lf);
  UniqueFont made(CreateFontIndirectW(&lf));
  if (made) {
    SelectObject(dc_.get(), made.get());
    fontHandle_ = std::move(made);  // the old font is no longer selected, so it can go
  }
  fontDirty_ = false;
}

void GdiCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  PrepareFont();
  std::wstring wide = Utf8ToWide(text);
  SetTextColor(dc_.get(), Resolve(font_.colour, GetSysColor(COLOR_WINDOWTEXT)));
  if (brushColour_ == clNone) {
    SetBkMode(dc_.get(), TRANSPARENT);
  } else if (font_.escapement % 3600 != 0) {
    FillTurnedCell(x, y, wide);
    SetBkMode(dc_.get(), TRANSPARENT);
  } else {
    SetBkMode(dc_.get(), OPAQUE);
    SetBkColor(dc_.get(), Resolve(brushColour_, RGB(255, 255, 255)));
  }
  ::TextOutW(dc_.get(), x, y, wide.c_str(), int(wide.size()));
  Finish();
}

// Not every GDI fills the background of turned text as a turned box (Wine fills an upright box
// of the advance's horizontal part, or nothing), so the cell is filled here as a polygon: the
// advance times the font's height, turned about (x, y) by the escapement.
void GdiCanvas::FillTurnedCell(int x, int y, const std::wstring& text) {
  const SIZE size = CellOf(text);
  const double angle = font_.escapement * std::numbers::pi / 1800.0;
  const double c = std::cos(angle), s = std::sin(angle);
  // Along the text (u) and down the cell (v), then onto the screen, where y grows downward.
  auto place = [&](double u, double v) {
    return POINT{x + int(std::lround(u * c + v * s)), y + int(std::lround(-u * s + v * c))};
  };
  const double w = size.cx, h = size.cy;
  const POINT cell[] = {place(0, 0), place(w, 0), place(w, h), place(0, h)};
  PrepareShapes();
  SelectObject(dc_.get(), GetStockObject(NULL_PEN));
  ::Polygon(dc_.get(), cell, 4);
  penMadeFor_ = CLR_INVALID;  // the next shape selects a pen again
}

std::uint8_t* GdiCanvas::Bits() const {
  GdiFlush();
  return static_cast<std::uint8_t*>(bits_);
}

SIZE GdiCanvas::TextExtent(const std::string& text) {
  PrepareFont();
  return CellOf(Utf8ToWide(text));
}

SIZE GdiCanvas::CellOf(const std::wstring& text) const {
  SIZE extent{};
  TEXTMETRICW metrics{};
  GetTextExtentPoint32W(dc_.get(), text.c_str(), int(text.size()), &extent);
  GetTextMetricsW(dc_.get(), &metrics);
  return {extent.cx, metrics.tmHeight};
}

std::vector<PaletteEntry> GdiCanvas::CurrentPalette() const {
  if (bpp_ > 8) return {};
  std::vector<RGBQUAD> table(palette_.size());
  UINT read = bitmap_ ? GetDIBColorTable(dc_.get(), 0, UINT(table.size()), table.data()) : 0;
  std::vector<PaletteEntry> out(palette_.size());
  for (std::size_t i = 0; i < palette_.size(); ++i)
    out[i] = i < read ? PaletteEntry{table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, table[i].rgbReserved}
                      : palette_[i];
  return out;
}

Bitmap GdiCanvas::ToBitmap() const {
  GdiFlush();
  Bitmap out(width_, height_, bpp_);
  if (bpp_ <= 8) out.Palette() = CurrentPalette();
  out.Masks() = masks_;
  if (bits_) {
    std::size_t size = Bitmap::StrideFor(width_, bpp_) * std::size_t(height_);
    std::memcpy(out.Pixels().data(), bits_, std::min(size, out.Pixels().size()));
  }
  return out;
}

void GdiCanvas::WriteBmp(ByteSink& sink) const {
  GdiFlush();
  const std::vector<PaletteEntry> palette = CurrentPalette();
  inkra::WriteBmp(BitmapView{width_, height_, bpp_, static_cast<const std::uint8_t*>(bits_), palette, masks_}, sink);
}

}  // namespace inkra::win
