#pragma once
// The GDI canvas: a DIB section in a memory DC. Its bits are laid out exactly as Bitmap's rows
// (top-down, padded to 4 bytes), so pictures pass in and out by copying bytes.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "ByteSink.h"
#include "Canvas.h"
#include "Handle.h"

namespace inkra::win {

// The charset to ask for `face` in so that the font mapper keeps that face: GB2312 for the faces
// that have it (Chinese text then renders), else a charset of the face's own (Latin faces).
BYTE CharsetForFace(HDC dc, const std::wstring& face);
// Names `face` (UTF-8) in `lf`, cut to the length a LOGFONT holds, with CharsetForFace's charset.
void NameFace(HDC dc, const std::string& face, LOGFONTW& lf);

class GdiCanvas final : public Canvas {
 public:
  enum class Contents { White, Unset };
  // A white surface; 32 bits is the display depth the board works at. Unset leaves the pixels as
  // the system gives them, for a caller that overwrites them all at once.
  GdiCanvas(int width, int height, int bitsPerPixel = 32, Contents contents = Contents::White);
  // The picture at its own depth, palette and masks included.
  explicit GdiCanvas(const Bitmap& bitmap);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int BitsPerPixel() const { return bpp_; }
  // The resolution text is sized for: a font of n points is MulDiv(n, dpi, 72) pixels high.
  // 96 unless the picture is drawn for a screen of another dpi.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }

  void SetPenColour(ColourValue c) override;
  void SetBrushColour(ColourValue c) override;
  void SetFont(const Font& f) override;
  void Polygon(std::span<const Point> points) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, ColourValue c) override;
  void TextOut(int x, int y, const std::string& text) override;

  // The picture as it stands now, at the canvas's depth.
  Bitmap ToBitmap() const;
  // The DIB section's rows, laid out as Bitmap's, with GDI's pending drawing done; null for an
  // empty canvas. Owned by the canvas.
  std::uint8_t* Bits() const;
  // The box TextOut fills for `text` in the current font: advance width and cell height.
  SIZE TextExtent(const std::string& text);
  // The same picture as a BMP file, written from the DIB section's bits where they lie.
  void WriteBmp(ByteSink& sink) const;

  // For blitting to a window; the canvas keeps ownership. Its pen, brush and font stay selected.
  HDC Dc() const { return dc_.get(); }
  HBITMAP BitmapHandle() const { return bitmap_.get(); }

  // The colour GDI draws for a colour value: system colours as the system gives them now.
  // clDefault and clNone have no colour of their own; `fallback` stands in for them.
  static COLORREF Resolve(ColourValue c, COLORREF fallback);

 private:
  std::vector<PaletteEntry> CurrentPalette() const;  // the DIB's colour table; empty above 8 bits
  void Create(const Bitmap* source, int width, int height, int bitsPerPixel);
  void PrepareShapes();  // pen and brush for the colours in force
  void PrepareFont();    // the font in force selected
  SIZE CellOf(const std::wstring& text) const;  // advance and height in the selected font
  void Finish();         // the DIB bits catch up with GDI
  void FillTurnedCell(int x, int y, const std::wstring& text);

  int width_ = 0, height_ = 0, bpp_ = 0;
  int dpi_ = 96;
  std::vector<PaletteEntry> palette_;
  std::array<std::uint32_t, 3> masks_{};
  void* bits_ = nullptr;  // owned by bitmap_
  ColourValue penColour_ = clBlack, brushColour_ = clWhite;
  Font font_;
  bool fontDirty_ = true;
  // The DC comes last so it is deleted first, releasing the objects selected into it.
  UniqueBitmap bitmap_;
  UniquePen pen_;
  UniqueBrush brush_;
  UniqueFont fontHandle_;
  // What the selected pen and brush were made for: a colour, kNoColour, or CLR_INVALID (none yet).
  COLORREF penMadeFor_ = CLR_INVALID, brushMadeFor_ = CLR_INVALID;
  UniqueMemoryDc dc_;
};

}  // namespace inkra::win
