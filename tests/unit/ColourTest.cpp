#include <gtest/gtest.h>

#include <set>

#include "Colour.h"

using namespace inkra;

namespace {

struct Named {
  const char* name;
  ColourValue value;
};

// The colour names and their values, written out independently of the table in the code.
const Named kExpected[] = {
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0}, {"clScrollBar", 0x80000000}, {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002}, {"clInactiveCaption", 0x80000003}, {"clMenu", 0x80000004},
    {"clWindow", 0x80000005}, {"clWindowFrame", 0x80000006}, {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008}, {"clCaptionText", 0x80000009}, {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B}, {"clAppWorkSpace", 0x8000000C}, {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E}, {"clBtnFace", 0x8000000F}, {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011}, {"clBtnText", 0x80000012}, {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014}, {"cl3DDkShadow", 0x80000015}, {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017}, {"clInfoBk", 0x80000018}, {"clHotLight", 0x8000001A},
    {"clGradientActiveCaption", 0x8000001B}, {"clGradientInactiveCaption", 0x8000001C},
    {"clMenuHighlight", 0x8000001D}, {"clMenuBar", 0x8000001E}, {"clDefault", 0x20000000},
    {"clNone", 0x1FFFFFFF},
};

}  // namespace

TEST(ColourText, EveryNameIsWrittenAndReadBack) {
  std::set<ColourValue> values;
  for (const Named& n : kExpected) {
    EXPECT_EQ(ColourToText(n.value), n.name);
    EXPECT_EQ(ColourFromText(n.name), n.value) << n.name;
    values.insert(n.value);
  }
  EXPECT_EQ(values.size(), 52u);
}

TEST(ColourText, ReadsNamesHexadecimalAndDecimal) {
  const struct {
    const char* text;
    std::optional<ColourValue> value;
  } cases[] = {
      // A name, in any letter case, with nothing around it.
      {"CLBLUE", clBlue}, {"clblue", clBlue}, {"Cl3ddKSHADOW", 0x80000015u}, {"blue", {}}, {"clBlue ", {}},
      {"clPink", {}},
      // "$" and hexadecimal digits, up to 32 bits.
      {"$00C08040", 0x00C08040u}, {"$c08040", 0x00C08040u}, {"$FFFFFFFF", 0xFFFFFFFFu}, {"$0000000000FF", 0xFFu},
      {"$100000000", {}}, {"$", {}}, {"$12G4", {}}, {"$-1", {}},
      // A signed 32-bit decimal number.
      {"255", 0xFFu}, {"+255", 0xFFu}, {"0", 0u}, {"-1", 0xFFFFFFFFu}, {"2147483647", 0x7FFFFFFFu},
      {"-2147483648", 0x80000000u}, {"2147483648", {}}, {"-2147483649", {}}, {"99999999999999999999", {}},
      // Anything else.
      {"", {}}, {" ", {}}, {"-", {}}, {"+", {}}, {"12 ", {}}, {" 12", {}}, {"1.5", {}}, {"0x10", {}}, {"1e3", {}},
      {"12a", {}}, {"--1", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ColourFromText(c.text), c.value) << '"' << c.text << '"';
}

TEST(ColourText, UnnamedValuesAreDollarAndEightCapitalHexDigits) {
  EXPECT_EQ(ColourToText(RGB24(64, 128, 192)), "$00C08040");
  EXPECT_EQ(ColourToText(0x00000001), "$00000001");
  EXPECT_EQ(ColourToText(0xABCDEF12), "$ABCDEF12");
  EXPECT_EQ(ColourToText(0x80000019), "$80000019");  // index 25 has no name
  EXPECT_EQ(ColourToText(0xFFFFFFFF), "$FFFFFFFF");
}

TEST(ColourText, WrittenTextReadsBackToTheSameValue) {
  for (ColourValue c : {0u, 1u, 0x00C08040u, 0x7FFFFFFFu, 0x80000019u, 0x80000000u, 0xFFFFFFFFu,
                        0x1FFFFFFEu, 0x20000001u, 0x00FFFFFEu})
    EXPECT_EQ(ColourFromText(ColourToText(c)), c) << std::hex << c;
}

TEST(ColourValues, SystemColoursAreRecognised) {
  EXPECT_TRUE(IsSystemColour(clWindowText));
  EXPECT_EQ(SystemColourIndex(clWindowText), 8);
  EXPECT_FALSE(IsSystemColour(clWhite));
  EXPECT_FALSE(IsSystemColour(clDefault));
  EXPECT_FALSE(IsSystemColour(clNone));
  EXPECT_EQ(RGB24(64, 128, 192), 0x00C08040u);
}
