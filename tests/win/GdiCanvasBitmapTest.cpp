#include <gtest/gtest.h>

#include "Bmp.h"
#include "Errors.h"
#include "GdiCanvas.h"

using namespace inkra;
using inkra::win::GdiCanvas;

namespace {

// A picture whose every byte, padding included, follows a pattern, with a palette of `colours`
// distinct entries at 8 bits and below.
Bitmap Patterned(int width, int height, int bpp, int colours) {
  Bitmap bitmap(width, height, bpp);
  if (bpp <= 8) {
    bitmap.Palette().resize(std::size_t(colours));
    for (int i = 0; i < colours; ++i)
      bitmap.Palette()[std::size_t(i)] = {std::uint8_t(i * 7), std::uint8_t(255 - i),
                                          std::uint8_t(i * 13 + 5), 0};
  }
  auto& pixels = bitmap.Pixels();
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    std::uint8_t value = std::uint8_t(i * 37 + 11);
    if (bpp == 8) value = std::uint8_t(value % colours);  // stay inside the palette
    pixels[i] = value;
  }
  return bitmap;
}

void ExpectSame(const Bitmap& a, const Bitmap& b) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  EXPECT_EQ(a.BitsPerPixel(), b.BitsPerPixel());
  EXPECT_EQ(a.Palette(), b.Palette());
  EXPECT_EQ(a.Masks(), b.Masks());
  EXPECT_EQ(a.Pixels(), b.Pixels());
}

COLORREF At(const GdiCanvas& canvas, int x, int y) { return GetPixel(canvas.Dc(), x, y); }

}  // namespace

// The BMP file written from the DIB section's bits is the one written from a copy of the
// picture, byte for byte, at every depth, also after drawing.
TEST(GdiCanvasBitmap, RoundTripKeepsPixelsPaletteAndMasksAndTheFileWrittenInPlace) {
  struct Case {
    int bpp, colours;
    std::array<std::uint32_t, 3> masks;
  };
  const Case cases[] = {
      {1, 2, {}},  {4, 16, {}},  {4, 9, {}},  {8, 256, {}}, {8, 37, {}},
      {16, 0, {}}, {16, 0, {0xF800, 0x07E0, 0x001F}},       {24, 0, {}},
      {32, 0, {}}, {32, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bpp << " bits, " << c.colours << " colours");
    Bitmap source = Patterned(13, 5, c.bpp, c.colours);
    source.Masks() = c.masks;
    GdiCanvas canvas(source);
    EXPECT_EQ(canvas.BitsPerPixel(), c.bpp);
    ExpectSame(canvas.ToBitmap(), source);
    VectorSink inPlace, copied, original;
    canvas.WriteBmp(inPlace);
    WriteBmp(source, original);
    EXPECT_EQ(inPlace.data, original.data);
    canvas.SetPenColour(clRed);
    canvas.Ellipse(2, 1, 11, 5);
    inPlace.data.clear();
    canvas.WriteBmp(inPlace);
    WriteBmp(canvas.ToBitmap(), copied);
    EXPECT_EQ(inPlace.data, copied.data);
    EXPECT_NE(inPlace.data, original.data);
  }
}

TEST(GdiCanvasBitmap, RowsAreTopDownAndPaletteIndexesShowTheirColours) {
  Bitmap bitmap(4, 3, 8);
  bitmap.Palette() = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}};  // white, red, green
  std::fill(bitmap.Pixels().begin(), bitmap.Pixels().end(), 0);
  bitmap.Row(0)[1] = 1;
  bitmap.Row(2)[3] = 2;
  GdiCanvas canvas(bitmap);
  EXPECT_EQ(At(canvas, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(canvas, 3, 2), RGB(0, 255, 0));
  EXPECT_EQ(At(canvas, 0, 0), RGB(255, 255, 255));
}

TEST(GdiCanvasBitmap, LowDepthsAndMasksAreReadAsTheyAreLaidOut) {
  Bitmap mono(10, 2, 1);
  mono.Palette() = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  std::fill(mono.Pixels().begin(), mono.Pixels().end(), 0xFF);
  mono.Row(1)[0] = 0xBF;  // pixel 1 of row 1 is black: the most significant bit comes first
  GdiCanvas monoCanvas(mono);
  EXPECT_EQ(At(monoCanvas, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(At(monoCanvas, 0, 1), RGB(255, 255, 255));
  EXPECT_EQ(At(monoCanvas, 1, 0), RGB(255, 255, 255));

  Bitmap nibbles(3, 1, 4);
  nibbles.Palette() = {{0, 0, 0, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}};
  nibbles.Row(0)[0] = 0x12;  // pixel 0 = index 1 (red), pixel 1 = index 2 (blue)
  nibbles.Row(0)[1] = 0x00;
  GdiCanvas nibbleCanvas(nibbles);
  EXPECT_EQ(At(nibbleCanvas, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(nibbleCanvas, 1, 0), RGB(0, 0, 255));
  EXPECT_EQ(At(nibbleCanvas, 2, 0), RGB(0, 0, 0));

  Bitmap rgb565(2, 1, 16);
  rgb565.Masks() = {0xF800, 0x07E0, 0x001F};
  rgb565.Row(0)[0] = 0x00; rgb565.Row(0)[1] = 0xF8;  // red
  rgb565.Row(0)[2] = 0xE0; rgb565.Row(0)[3] = 0x07;  // green
  GdiCanvas canvas565(rgb565);
  EXPECT_EQ(At(canvas565, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(canvas565, 1, 0), RGB(0, 255, 0));

  Bitmap swapped(1, 1, 32);
  swapped.Masks() = {0x000000FF, 0x0000FF00, 0x00FF0000};
  std::uint8_t* p = swapped.Row(0);
  p[0] = 0xFF; p[1] = 0x00; p[2] = 0x00; p[3] = 0x00;  // red in the low byte under these masks
  GdiCanvas canvasSwapped(swapped);
  EXPECT_EQ(At(canvasSwapped, 0, 0), RGB(255, 0, 0));
}

TEST(GdiCanvasBitmap, DrawingOnAPalettePictureUsesTheNearestEntry) {
  Bitmap bitmap(8, 8, 8);
  bitmap.Palette() = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  std::fill(bitmap.Pixels().begin(), bitmap.Pixels().end(), 0);
  GdiCanvas canvas(bitmap);
  canvas.SetPenColour(RGB24(0, 255, 0));
  canvas.SetBrushColour(RGB24(200, 10, 0));  // nearest: red
  const Point square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
  canvas.Polygon(square);
  Bitmap out = canvas.ToBitmap();
  EXPECT_EQ(out.Palette(), bitmap.Palette());
  EXPECT_EQ(out.Row(1)[1], 2);  // outline: green
  EXPECT_EQ(out.Row(6)[6], 2);
  EXPECT_EQ(out.Row(3)[3], 1);  // inside: red
  EXPECT_EQ(out.Row(0)[0], 0);  // untouched: white
  EXPECT_EQ(out.Row(7)[7], 0);
}

TEST(GdiCanvasBitmap, DrawnPixelsReachTheBitmap) {
  GdiCanvas canvas(5, 4, 24);
  canvas.SetPixel(2, 1, RGB24(1, 2, 3));
  Bitmap out = canvas.ToBitmap();
  EXPECT_EQ(out.BitsPerPixel(), 24);
  const std::uint8_t* row = out.Row(1);
  EXPECT_EQ(row[6], 3);  // blue, green, red
  EXPECT_EQ(row[7], 2);
  EXPECT_EQ(row[8], 1);
  EXPECT_EQ(out.Row(0)[6], 255);
  EXPECT_EQ(out.PixelRGB(2, 1), RGB24(1, 2, 3));
}

TEST(GdiCanvasBitmap, WhiteCanvasComesBackWhite) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    GdiCanvas canvas(9, 3, bpp);
    Bitmap out = canvas.ToBitmap();
    EXPECT_EQ(out.Width(), 9);
    EXPECT_EQ(out.Height(), 3);
    EXPECT_EQ(out.BitsPerPixel(), bpp);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(out.PixelRGB(x, y), clWhite);
        EXPECT_EQ(GetPixel(canvas.Dc(), x, y), RGB(255, 255, 255));
      }
  }
}

TEST(GdiCanvasBitmap, EmptyCanvasDrawsNothingAndGivesAnEmptyPicture) {
  GdiCanvas canvas(0, 5);
  canvas.SetPenColour(clRed);
  const Point square[] = {{0, 0}, {4, 0}, {4, 4}};
  canvas.Polygon(square);
  canvas.TextOut(0, 0, "中");
  EXPECT_TRUE(canvas.ToBitmap().Empty());
  VectorSink file;
  EXPECT_THROW(canvas.WriteBmp(file), PictureError);
}

TEST(GdiCanvasBitmap, UnsupportedDepthIsRefused) {
  EXPECT_ANY_THROW(GdiCanvas(4, 4, 7));
  EXPECT_ANY_THROW(GdiCanvas(-1, 4, 32));
}
