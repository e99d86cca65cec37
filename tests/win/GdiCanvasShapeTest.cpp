#include <gtest/gtest.h>

#include "GdiCanvas.h"

using namespace inkra;
using inkra::win::GdiCanvas;

namespace {

COLORREF At(const GdiCanvas& canvas, int x, int y) { return GetPixel(canvas.Dc(), x, y); }

constexpr COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

int CountNot(const GdiCanvas& canvas, COLORREF colour) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) count += At(canvas, x, y) != colour;
  return count;
}

}  // namespace

TEST(GdiCanvas, StartsWhite) {
  GdiCanvas canvas(7, 5);
  EXPECT_EQ(canvas.Width(), 7);
  EXPECT_EQ(canvas.Height(), 5);
  EXPECT_EQ(canvas.BitsPerPixel(), 32);
  EXPECT_EQ(CountNot(canvas, kWhite), 0);
  GdiCanvas deep24(3, 3, 24);
  EXPECT_EQ(CountNot(deep24, kWhite), 0);
}

TEST(GdiCanvas, PolygonIsFilledWithTheBrushAndOutlinedWithThePen) {
  GdiCanvas canvas(16, 16);
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clBlue);
  const Point square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
  canvas.Polygon(square);
  for (int i = 2; i <= 12; ++i) {
    EXPECT_EQ(At(canvas, i, 2), kRed) << i;
    EXPECT_EQ(At(canvas, i, 12), kRed) << i;
    EXPECT_EQ(At(canvas, 2, i), kRed) << i;
    EXPECT_EQ(At(canvas, 12, i), kRed) << i;
  }
  for (int y = 3; y <= 11; ++y)
    for (int x = 3; x <= 11; ++x) EXPECT_EQ(At(canvas, x, y), kBlue) << x << ',' << y;
  EXPECT_EQ(CountNot(canvas, kWhite), 11 * 11);
}

TEST(GdiCanvas, CollinearNibPolygonIsAOnePixelDiagonal) {
  // A 3-pixel nib that did not move: the vertices (5,5) (5,5) (8,8) (8,8).
  GdiCanvas canvas(12, 12);
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clRed);
  const Point nib[] = {{5, 5}, {5, 5}, {8, 8}, {8, 8}};
  canvas.Polygon(nib);
  for (int i = 5; i <= 8; ++i) EXPECT_EQ(At(canvas, i, i), kRed) << i;
  EXPECT_EQ(CountNot(canvas, kWhite), 4);
}

TEST(GdiCanvas, EllipseExcludesRightAndBottomEdges) {
  GdiCanvas canvas(12, 12);
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clBlue);
  canvas.Ellipse(0, 0, 10, 10);
  bool column0 = false, column9 = false, row0 = false, row9 = false;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(At(canvas, 10, i), kWhite) << i;
    EXPECT_EQ(At(canvas, i, 10), kWhite) << i;
    column0 |= At(canvas, 0, i) == kRed;
    column9 |= At(canvas, 9, i) == kRed;
    row0 |= At(canvas, i, 0) == kRed;
    row9 |= At(canvas, i, 9) == kRed;
  }
  EXPECT_TRUE(column0 && column9 && row0 && row9);
  EXPECT_EQ(At(canvas, 5, 5), kBlue);
  EXPECT_EQ(At(canvas, 0, 0), kWhite);  // corners stay outside the ellipse
  EXPECT_EQ(At(canvas, 9, 9), kWhite);
}

TEST(GdiCanvas, SetPixelSetsOnePixel) {
  GdiCanvas canvas(6, 6);
  canvas.SetPixel(3, 4, RGB24(10, 200, 30));
  EXPECT_EQ(At(canvas, 3, 4), RGB(10, 200, 30));
  EXPECT_EQ(CountNot(canvas, kWhite), 1);
  canvas.SetPixel(1, 1, clNone);  // nothing to draw
  canvas.SetPixel(-1, 2, clRed);  // outside: clipped
  canvas.SetPixel(6, 2, clRed);
  EXPECT_EQ(CountNot(canvas, kWhite), 1);
}

TEST(GdiCanvas, SystemColoursAreDrawnInTheSystemsColour) {
  GdiCanvas canvas(4, 4);
  canvas.SetPixel(0, 0, clBtnFace);
  canvas.SetPenColour(clWindowText);
  canvas.SetBrushColour(clWindowText);
  const Point dot[] = {{2, 2}, {3, 2}, {3, 3}, {2, 3}};
  canvas.Polygon(dot);
  EXPECT_EQ(At(canvas, 0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(canvas, 2, 2), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_NE(GetSysColor(COLOR_BTNFACE), COLORREF(COLOR_BTNFACE));  // not the raw index
}

TEST(GdiCanvas, ClNoneDrawsNothingAndClDefaultFallsBack) {
  GdiCanvas canvas(10, 10);
  canvas.SetPenColour(clNone);
  canvas.SetBrushColour(clNone);
  canvas.Ellipse(0, 0, 10, 10);
  EXPECT_EQ(CountNot(canvas, kWhite), 0);
  canvas.SetPenColour(clDefault);  // black
  canvas.Ellipse(0, 0, 10, 10);
  EXPECT_EQ(At(canvas, 5, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(canvas, 5, 5), kWhite);  // a hollow brush leaves the inside alone
}

TEST(GdiCanvas, PartsOutsideThePictureAreClipped) {
  GdiCanvas canvas(8, 8);
  canvas.SetPenColour(clRed);
  canvas.SetBrushColour(clRed);
  const Point big[] = {{-20, -20}, {4, -20}, {4, 30}, {-20, 30}};
  canvas.Polygon(big);
  EXPECT_EQ(At(canvas, 0, 0), kRed);
  EXPECT_EQ(At(canvas, 4, 7), kRed);
  EXPECT_EQ(At(canvas, 5, 7), kWhite);
  EXPECT_EQ(CountNot(canvas, kWhite), 5 * 8);
}
