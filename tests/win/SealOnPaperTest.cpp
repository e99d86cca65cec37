// A seal made from a template, taken through the built DLL into the document as a user does it:
// "公章" or "私章" on the board, the template, "确 定", then the board's "确定". The ring's outer
// edge, measured in the inserted picture and converted by the shape's own points per pixel, is
// the template's size on paper, whatever pixel density the picture carries. Runs at the screen's
// dpi: 96 here, 144 and 192 under at-dpi.sh.
#include <utility>
#include <vector>

#include "PlacementTestSupport.h"

#include "SealTestSupport.h"  // windows.h before the canvas, whose TextOut it renames

#include "Png.h"
#include "SealParamsText.h"
#include "TextConvert.h"
#include "SealTemplates.h"
#include "UtOneSign.h"
#include "support/ScreenDpi.h"
#include "uSign.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

class SealOnPaperAtDpi : public PlacementThroughDll {
 protected:
  // The seal the test accepts is kept for "上次使用": the next test run must not find it.
  void SetUp() override { ForgetSeals(); }
  void TearDown() override { ForgetSeals(); }
  static void ForgetSeals() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
      for (const char* name : {kLastRoundSealValue, kLastSquareSealValue})
        RegDeleteKeyValueW(root, kKey, win::Utf8ToWide(name).c_str());
  }
};

// The ring's outer extent in points, across and down: inked columns and rows (half coverage or
// more) times the points each pixel of the picture takes in the document.
std::pair<double, double> RingInPoints(const office::ShapeState& shape) {
  std::pair<int, int> pixels;
  int width = 0, height = 0;
  if (shape.picture.size() > 8 && shape.picture[1] == 'P') {
    const PngImage png = ReadPng(shape.picture);
    const int n = png.channels;
    width = png.width, height = png.height;
    pixels = InkExtent(width, height, [&](int x, int y) {
      const std::uint8_t* p = &png.pixels[(std::size_t(y) * width + x) * n];
      return n == 4 ? p[3] >= 128 : std::min({p[0], p[1], p[2]}) < 128;
    });
  } else {
    const Bitmap bmp = ReadBmp(shape.picture);
    width = bmp.Width(), height = bmp.Height();
    pixels = InkExtent(width, height, [&](int x, int y) {
      const std::uint32_t c = bmp.PixelRGB(x, y);
      return std::min({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}) < 128;
    });
  }
  return {pixels.first * shape.width / width, pixels.second * shape.height / height};
}

TEST_F(SealOnPaperAtDpi, TemplateSealsInsertedAtTheirSizeOnPaperOnThePngAndBmpPaths) {
  ASSERT_TRUE(dll.Loaded());
  const int dpi = RequestedDpi() ? RequestedDpi() : 96;
  // Every template of both dialogs (entry 0 is "自定义", which has no size on paper).
  std::vector<std::pair<bool, int>> seals;  // round?, template
  for (bool round : {true, false})
    for (std::size_t i = 1; i < (round ? RoundTemplateNames() : SquareTemplateNames()).size(); ++i)
      seals.emplace_back(round, int(i));
  for (const auto& [round, index] : seals)
    // A PNG-taking host gets the seal drawn at 300 pixels to the inch; an older one the screen's.
    for (const auto& [version, perPoint] : {std::pair{L"16.0", 300.0 / 72}, std::pair{L"11.0", dpi / 72.0}}) {
      const std::string name = (round ? RoundTemplateNames() : SquareTemplateNames()).at(std::size_t(index));
      SCOPED_TRACE(testing::Message() << name << ", host " << win::WideToUtf8(version) << ", " << dpi << " dpi");
      HostDouble host(HostKind::Word);
      Connect(host, version);
      beforeStroke = [&](UiDriver& d, HWND board) {
        ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), round ? board::win::kBtnReplace : board::win::kBtnFind);
        HWND dialog = round ? d.WaitForWindow(L"TfrmSign", L"公章制作") : d.WaitForWindow(L"TfrmOneSign", L"私章制作");
        ChooseTemplate(dialog, round ? int(win::TfrmSign::idTemplate) : int(win::TfrmOneSign::idTemplate), index);
        d.PressButton(dialog, round ? int(win::TfrmSign::idBtnOk) : int(win::TfrmOneSign::idBtnOk));
        d.WaitUntilGone(dialog);
      };
      Sign(host, -1, {});  // no writing over the seal
      addIn->OnDisconnection(0, nullptr);
      ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u);
      const SealSizeMm mm = round ? RoundTemplateSize(index) : SquareTemplateSize(index);
      const office::ShapeState& shape = *AddInDll::Shapes(host).items[0];
      EXPECT_GE(shape.pixelWidth / shape.width, perPoint - 1e-3);
      EXPECT_GE(shape.pixelHeight / shape.height, perPoint - 1e-3);
      const auto [across, down] = RingInPoints(shape);
      const double wantAcross = mm.width * 72 / 25.4, wantDown = mm.height * 72 / 25.4;
      EXPECT_NEAR(across, wantAcross, wantAcross / 100);
      EXPECT_NEAR(down, wantDown, wantDown / 100);
    }
}

}  // namespace
}  // namespace inkra::test
