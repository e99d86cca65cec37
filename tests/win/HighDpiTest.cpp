// The board at 150 % and 200 % display scaling, through the built DLL in a Word or Excel double
// whose thread is DPI aware or not: the board must come out at its physical size with its text at
// its point size, and the signature must keep its physical size in the document while carrying
// the screen's pixels. at-dpi.sh runs these at 144 and 192 dpi; they skip in ordinary runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>

#include "Bmp.h"
#include "Dpi.h"
#include "ToolbarClickSupport.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"
#include "support/ScreenDpi.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;
using win::ScaleToDpi;

// How the host's thread stands to display scaling: Word and Excel 2016 and later are per-monitor
// aware; older ones are not, and Windows then scales whatever the thread creates.
enum class HostAwareness { NotAware, PerMonitor };

// What the user saw of the board, measured while it was open.
struct BoardLayout {
  int dpi = 0;
  RECT client{}, toolbar{}, penBar{}, panel{}, penList{}, colourList{}, label{};
  int labelFont = 0, toolbarFont = 0;
  SIZE button{}, icon{}, labelText{};
};

BoardLayout Measure(UiDriver& d, HWND board) {
  BoardLayout m;
  m.dpi = win::WindowDpi(board);
  GetClientRect(board, &m.client);
  HWND toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr), penBar = d.Child(board, L"InkraPenBar", nullptr);
  m.toolbar = RectIn(board, toolbar);
  m.penBar = RectIn(board, penBar);
  m.panel = RectIn(board, d.Child(board, L"InkraBoardPanel", nullptr));
  HWND label = d.Child(penBar, L"Static", nullptr);
  m.label = RectIn(penBar, label);
  m.penList = RectIn(penBar, GetDlgItem(penBar, board::win::kCbPen));
  m.colourList = RectIn(penBar, GetDlgItem(penBar, board::win::kCbColor));
  m.labelFont = FontHeight(label);
  m.toolbarFont = FontHeight(toolbar);
  const auto size = DWORD(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  m.button = {LOWORD(size), HIWORD(size)};
  int iconWidth = 0, iconHeight = 0;
  ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), &iconWidth,
                        &iconHeight);
  m.icon = {iconWidth, iconHeight};
  // The label's text in its own font, to see that it fits.
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  const std::wstring text = UiDriver::Text(label);
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &m.labelText);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return m;
}

void ExpectRect(const RECT& r, int left, int top, int width, int height, int dpi, const char* what) {
  EXPECT_EQ(r.left, ScaleToDpi(left, dpi)) << what;
  EXPECT_EQ(r.top, ScaleToDpi(top, dpi)) << what;
  EXPECT_EQ(r.right - r.left, ScaleToDpi(width, dpi)) << what;
  if (height >= 0) {
    EXPECT_EQ(r.bottom - r.top, ScaleToDpi(height, dpi)) << what;
  }
}

class AtDpiBoard : public ::testing::TestWithParam<std::tuple<HostKind, HostAwareness>> {};

TEST_P(AtDpiBoard, TheBoardHasItsPhysicalSizeAndTheSignatureItsPhysicalSizeInTheDocument) {
  INKRA_ONLY_AT_REQUESTED_DPI();
  const int dpi = RequestedDpi();
  Apartment apartment;
  AddInDll dll;
  ASSERT_TRUE(dll.Loaded());
  HostDouble host(std::get<0>(GetParam()));
  win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
  ASSERT_TRUE(addIn);

  BoardLayout seen;
  UiDriver ui(15000);
  ui.Then([&seen](UiDriver& d) {
    HWND board = WaitForBoard(d);
    seen = Measure(d, board);
    // A straight stroke across the middle with the default nib, then "确定".
    Stroke(d.Child(board, L"InkraBoardView", nullptr), {{ScaleToDpi(100, seen.dpi), ScaleToDpi(120, seen.dpi)},
                                                        {ScaleToDpi(500, seen.dpi), ScaleToDpi(120, seen.dpi)}});
    ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
  });
  {
    // Windows 10's DPI_AWARENESS_CONTEXT values: unaware -1, per-monitor -3.
    ThreadDpiAwareness awareness(std::get<1>(GetParam()) == HostAwareness::NotAware ? -1 : -3);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
  }
  ASSERT_EQ(ui.Join(), std::vector<std::string>{});

  // Laid out for the screen's dpi whatever the host's awareness: per-monitor aware, not stretched.
  EXPECT_EQ(seen.dpi, dpi);
  EXPECT_EQ(seen.client.right, ScaleToDpi(604, dpi));
  EXPECT_EQ(seen.client.bottom, ScaleToDpi(336, dpi));
  ExpectRect(seen.toolbar, 0, 0, 604, 44, dpi, "toolbar");
  ExpectRect(seen.penBar, 0, 44, 604, 32, dpi, "pen bar");
  ExpectRect(seen.panel, 0, 76, 604, 260, dpi, "drawing panel");
  ExpectRect(seen.label, 8, 8, 48, 18, dpi, "pen label");
  ExpectRect(seen.penList, 56, 4, 61, -1, dpi, "pen list");
  ExpectRect(seen.colourList, 121, 4, 104, -1, dpi, "colour list");
  EXPECT_EQ(seen.labelFont, ScaleToDpi(-16, dpi));
  EXPECT_EQ(seen.toolbarFont, ScaleToDpi(-12, dpi));
  // Icons drawn for the size, buttons that hold icon and caption, inside the toolbar.
  EXPECT_EQ(seen.icon.cx, ScaleToDpi(24, dpi));
  EXPECT_GE(seen.button.cx, ScaleToDpi(60, dpi));
  EXPECT_GE(seen.button.cy, ScaleToDpi(40, dpi));
  EXPECT_LE(seen.button.cy, ScaleToDpi(44, dpi));
  EXPECT_LE(seen.labelText.cx, seen.label.right - seen.label.left);
  EXPECT_LE(seen.labelText.cy, seen.label.bottom - seen.label.top);

  // The picture carries the screen's pixels in the points it has at 96 dpi: 602 x 258 pixels are
  // 451.5 x 193.5 points. At 150 % the panel's border rounds to 2 pixels, so a pixel less.
  ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u);
  const office::ShapeState& shape = *AddInDll::Shapes(host).items[0];
  const Bitmap picture = ReadBmp(shape.picture);
  const int slack = dpi % 96 == 0 ? 0 : 1;
  EXPECT_NEAR(picture.Width(), 602 * dpi / 96.0, slack);
  EXPECT_NEAR(picture.Height(), 258 * dpi / 96.0, slack);
  EXPECT_EQ(shape.pixelWidth, unsigned(picture.Width()));
  EXPECT_FLOAT_EQ(shape.width, float(picture.Width() * 72.0 / dpi));
  EXPECT_FLOAT_EQ(shape.height, float(picture.Height() * 72.0 / dpi));
  EXPECT_NEAR(shape.width, 451.5f, slack);
  EXPECT_NEAR(shape.height, 193.5f, slack);
  // The default 4-pixel nib is as wide on paper as at 96 dpi: dpi/96 times the pixels.
  int red = 0;
  const int column = ScaleToDpi(300, dpi);
  for (int y = 0; y < picture.Height(); ++y) red += picture.PixelRGB(column, y) == 0x0000FF;  // 0x00BBGGRR
  EXPECT_NEAR(red, ScaleToDpi(4, dpi), 1);
  EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Hosts, AtDpiBoard,
                         ::testing::Combine(::testing::Values(HostKind::Word, HostKind::Excel),
                                            ::testing::Values(HostAwareness::NotAware, HostAwareness::PerMonitor)));

}  // namespace
}  // namespace inkra::test
