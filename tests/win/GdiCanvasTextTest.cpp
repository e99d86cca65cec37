#include <gtest/gtest.h>

#include "GdiCanvas.h"
#include "TextConvert.h"

using namespace inkra;
using inkra::win::GdiCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  int count = 0;
};

// Where the pixels that differ from `colour` lie.
Box Differing(const GdiCanvas& canvas, COLORREF colour) {
  Box box;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (GetPixel(canvas.Dc(), x, y) != colour) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
        ++box.count;
      }
  return box;
}

int Count(const GdiCanvas& canvas, COLORREF colour) {
  int count = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) count += GetPixel(canvas.Dc(), x, y) == colour;
  return count;
}

void FillBlue(GdiCanvas& canvas) {
  canvas.SetPenColour(clBlue);
  canvas.SetBrushColour(clBlue);
  const Point all[] = {{0, 0}, {canvas.Width(), 0}, {canvas.Width(), canvas.Height()},
                       {0, canvas.Height()}};
  canvas.Polygon(all);
}

Font SongFont(int escapement = 0) {
  Font font;
  font.face = "新宋体";
  font.sizePoints = 20;  // 27 pixels at 96 dpi
  font.colour = clRed;
  font.escapement = escapement;
  return font;
}

}  // namespace

TEST(GdiCanvasText, OpaqueCellInTheBrushColourWithGlyphInTheFontColour) {
  GdiCanvas canvas(80, 60);
  FillBlue(canvas);
  canvas.SetBrushColour(clWhite);
  canvas.SetFont(SongFont());
  canvas.TextOut(10, 10, "中");

  WORD glyph = 0;
  ASSERT_EQ(GetGlyphIndicesW(canvas.Dc(), L"\x4E2D", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS), 1u);
  ASSERT_NE(glyph, 0xFFFF) << "the font has no glyph for the character";
  TEXTMETRICW metrics{};
  GetTextMetricsW(canvas.Dc(), &metrics);
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 27);  // 20 points at 96 dpi
  EXPECT_EQ(metrics.tmCharSet, GB2312_CHARSET);
  SIZE extent{};
  GetTextExtentPoint32W(canvas.Dc(), L"\x4E2D", 1, &extent);

  Box cell = Differing(canvas, kBlue);
  EXPECT_EQ(cell.left, 10);
  EXPECT_EQ(cell.top, 10);
  EXPECT_EQ(cell.bottom - cell.top + 1, metrics.tmHeight);
  EXPECT_EQ(cell.right - cell.left + 1, extent.cx);
  EXPECT_EQ(cell.count, extent.cx * metrics.tmHeight);  // a solid box: no blue inside it
  EXPECT_GT(Count(canvas, kRed), 30);
  EXPECT_GT(Count(canvas, kWhite), Count(canvas, kRed));
}

TEST(GdiCanvasText, BoldTextHasHeavierStrokes) {
  GdiCanvas plain(60, 40), bold(60, 40);
  Font font = SongFont();
  plain.SetFont(font);
  font.bold = true;
  bold.SetFont(font);
  plain.TextOut(0, 0, "中文");
  bold.TextOut(0, 0, "中文");
  EXPECT_GT(Differing(bold, kWhite).count, Differing(plain, kWhite).count);
}

TEST(GdiCanvasText, TurnedTextTurnsTheCellAboutItsCorner) {
  // Turned a quarter clockwise, the cell's top points right: it lies left of x and below y.
  GdiCanvas upright(120, 120), turned(120, 120);
  FillBlue(upright);
  FillBlue(turned);
  upright.SetBrushColour(clWhite);
  turned.SetBrushColour(clWhite);
  upright.SetFont(SongFont());
  turned.SetFont(SongFont(-900));
  upright.TextOut(60, 40, "中文");
  turned.TextOut(60, 40, "中文");

  Box a = Differing(upright, kBlue), b = Differing(turned, kBlue);
  EXPECT_EQ(a.left, 60);
  EXPECT_EQ(a.top, 40);
  EXPECT_EQ(b.right, 59);
  EXPECT_EQ(b.top, 40);
  EXPECT_EQ(b.right - b.left + 1, a.bottom - a.top + 1);  // width and height swap
  EXPECT_EQ(b.bottom - b.top + 1, a.right - a.left + 1);
  EXPECT_EQ(b.count, a.count);                            // and the cell is solid
  EXPECT_GT(Count(turned, kRed), 30);
}

TEST(GdiCanvasText, SizeZeroLeavesTheHeightToTheFontMapper) {
  GdiCanvas canvas(80, 60);
  Font font = SongFont();
  font.sizePoints = 0;
  canvas.SetFont(font);
  canvas.TextOut(0, 0, "★");
  TEXTMETRICW metrics{};
  GetTextMetricsW(canvas.Dc(), &metrics);
  EXPECT_GT(metrics.tmHeight, 0);
  EXPECT_GT(Differing(canvas, kWhite).count, 0);
}

TEST(GdiCanvasText, DefaultFontColourIsTheWindowTextColour) {
  GdiCanvas canvas(120, 40);
  Font font;  // MS Sans Serif, 8 points, window-text colour
  font.sizePoints = 10;
  font.bold = true;
  canvas.SetFont(font);
  canvas.TextOut(2, 2, "2006-05-01 14:07");
  EXPECT_GT(Count(canvas, GetSysColor(COLOR_WINDOWTEXT)), 10);
  Box box = Differing(canvas, kWhite);
  EXPECT_EQ(box.left >= 2 && box.top >= 2, true);
}

namespace {

int CALLBACK FirstFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM found) {
  if (lf->lfFaceName[0] == L'@') return 1;
  *reinterpret_cast<std::wstring*>(found) = lf->lfFaceName;
  return 0;
}

int CALLBACK AllFaces(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM all) {
  if (lf->lfFaceName[0] != L'@') reinterpret_cast<std::vector<std::wstring>*>(all)->push_back(lf->lfFaceName);
  return 1;
}

// An installed face of `charset` whose families lack `without` (0: any face of the charset).
std::wstring InstalledFace(BYTE charset, BYTE without) {
  HDC dc = GetDC(nullptr);
  std::vector<std::wstring> faces;
  LOGFONTW lf{};
  lf.lfCharSet = charset;
  EnumFontFamiliesExW(dc, &lf, AllFaces, reinterpret_cast<LPARAM>(&faces), 0);
  std::wstring chosen;
  for (const std::wstring& face : faces) {
    std::wstring other;
    LOGFONTW probe{};
    probe.lfCharSet = without;
    face.copy(probe.lfFaceName, LF_FACESIZE - 1);
    if (without) EnumFontFamiliesExW(dc, &probe, FirstFace, reinterpret_cast<LPARAM>(&other), 0);
    if (other.empty()) {
      chosen = face;
      break;
    }
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

}  // namespace

// The font mapper weighs the charset above the name: a Latin face asked for in GB2312 would come
// out as some Chinese face. Every chosen face is drawn in itself.
TEST(GdiCanvasText, TextIsDrawnInTheChosenFaceLatinAndChineseAlike) {
  const std::wstring latin = InstalledFace(ANSI_CHARSET, GB2312_CHARSET);
  const std::wstring chinese = InstalledFace(GB2312_CHARSET, 0);
  ASSERT_FALSE(latin.empty());
  ASSERT_FALSE(chinese.empty());
  for (const std::wstring& face : {latin, chinese}) {
    GdiCanvas canvas(80, 40);
    Font font = SongFont();
    font.face = inkra::win::WideToUtf8(face);
    canvas.SetFont(font);
    canvas.TextOut(2, 2, "Ab");
    wchar_t used[LF_FACESIZE] = {};
    GetTextFaceW(canvas.Dc(), LF_FACESIZE, used);
    EXPECT_EQ(std::wstring(used), face);
  }
}
