// Outlines made by scaling a face's design units are, point for point, what the font engine
// answers at the size itself, for the faces and sizes the seals draw; a bold the engine makes by
// thickening a normal face cannot be scaled so, and the screen still gets the engine's answer.
#include <gtest/gtest.h>

#include "FaceStore.h"
#include "GdiCanvas.h"
#include "TextConvert.h"

using namespace inkra;

namespace {

// GetGlyphOutlineW's own answer at the size, from a font made here.
std::vector<std::uint8_t> EngineOutline(const Font& font, win::FaceStore::Size size, wchar_t character) {
  const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  LOGFONTW lf{};
  lf.lfHeight = -size.height;
  lf.lfWidth = size.width;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  const std::wstring face = win::Utf8ToWide(font.face);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  lf.lfCharSet = win::CharsetForFace(dc.get(), face);
  const win::UniqueFont made(CreateFontIndirectW(&lf));
  SelectObject(dc.get(), made.get());
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  const DWORD bytes = GetGlyphOutlineW(dc.get(), character, GGO_NATIVE | GGO_UNHINTED, &metrics, 0, nullptr, &identity);
  std::vector<std::uint8_t> outline(bytes == GDI_ERROR ? 0 : bytes);
  if (!outline.empty())
    GetGlyphOutlineW(dc.get(), character, GGO_NATIVE | GGO_UNHINTED, &metrics, bytes, outline.data(), &identity);
  SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
  return outline;
}

struct Case {
  const char* name;
  const char* face;
  int height;        // pixels: the seals' point sizes at 96, 144 and 192 dpi, and printed at 300
  int widthPercent;  // of the face's average width, for the oval's narrow number
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ScaledOutline : public testing::TestWithParam<Case> {};

TEST_P(ScaledOutline, IsTheEnginesOwnAtThatSize) {
  const Case& c = GetParam();
  Font font;
  font.face = c.face;
  win::FaceStore store;  // nothing read at the size before: only the design units to scale
  win::FaceStore::Size size{c.height, 0};
  if (c.widthPercent != 100)
    size.width = ::MulDiv(win::FaceStore().MetricsAt(font, size).aveCharWidth, c.widthPercent, 100);
  for (wchar_t character : std::wstring(L"公章司专用一乙庚★0123456789")) {
    const std::vector<std::uint8_t> engine = EngineOutline(font, size, character);
    ASSERT_FALSE(engine.empty()) << "no outline for U+" << std::hex << unsigned(character);
    EXPECT_TRUE(store.OutlineAt(font, size, character, false) == engine) << "U+" << std::hex << unsigned(character);
  }
}

INSTANTIATE_TEST_SUITE_P(
    SealFaces, ScaledOutline,
    testing::Values(Case{"Song16", "宋体", 16, 100}, Case{"Song21", "宋体", 21, 100}, Case{"Song27", "宋体", 27, 100},
                    Case{"Song40", "宋体", 40, 100}, Case{"Song53At192", "宋体", 53, 100},
                    Case{"NewSong40At144", "新宋体", 40, 100}, Case{"Hei64", "黑体", 64, 100},
                    Case{"Arial7", "Arial", 7, 100}, Case{"Arial13At192", "Arial", 13, 100},
                    Case{"ArialNarrow21", "Arial", 21, 45}, Case{"ArialNarrow42At192", "Arial", 42, 45},
                    Case{"SongNarrow27", "宋体", 27, 60}, Case{"Song84At300", "宋体", 84, 100},
                    Case{"Arial22At300", "Arial", 22, 100}, Case{"ArialNarrow66At300", "Arial", 66, 45}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(FaceStore, ScreenOutlinesOfAThickenedBoldAreTheEnginesOwn) {
  Font font;
  font.face = "宋体";  // no bold of its own here: the engine thickens the normal weight
  font.bold = true;
  win::FaceStore store;
  for (int height : {16, 27, 40})
    for (wchar_t character : std::wstring(L"专用章★")) {
      const std::vector<std::uint8_t> engine = EngineOutline(font, {height, 0}, character);
      EXPECT_TRUE(store.OutlineAt(font, {height, 0}, character, true) == engine) << height << " U+" << std::hex
                                                                                  << unsigned(character);
    }
}

}  // namespace
