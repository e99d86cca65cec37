// The seal dialogs, the about box and the open dialog's preview at the screen resolution a parent
// test started this process with (support/ScreenDpi.h): created from a host thread that is DPI
// unaware and from one that is per-monitor aware, each window comes out at its 96-dpi layout
// scaled, fonts included, and the seal handed to the board carries the dpi's pixels, drawn
// rather than stretched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "Dpi.h"
#include "FileDialogs.h"
#include "PicturePreview.h"
#include "SealControls.h"
#include "RoundSeal.h"
#include "SealTestSupport.h"
#include "SquareSeal.h"
#include "TextConvert.h"
#include "TfrmAbout.h"
#include "UtOneSign.h"
#include "support/BoardDriver.h"
#include "support/ScreenDpi.h"
#include "uSign.h"

#include <commctrl.h>

namespace inkra::test {
namespace {

using win::TfrmOneSign;
using win::TfrmSign;

int At(int length, int dpi = RequestedDpi()) { return MulDiv(length, dpi, win::kDesignDpi); }

struct Box {
  int x, y, width, height;  // 96-dpi layout; a height of 0 is not checked (combo boxes size themselves)
};

struct ControlCase {
  int id;
  Box box;
  int fontHeight;  // pixels at 96 dpi, as -lfHeight
};

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<win::Window>(const std::wstring& handOffPath)> make;
  int clientWidth, clientHeight;
  std::vector<ControlCase> controls;
};

const std::vector<WindowCase>& Windows() {
  static const std::vector<WindowCase> cases = {
      {"round seal", [](const std::wstring& path) { return std::make_unique<TfrmSign>(nullptr, path); }, 679, 462,
       {{TfrmSign::idBtnOk, {504, 393, 75, 25}, 16},
        {TfrmSign::idTemplate, {58, 432, 190, 0}, 16},
        {TfrmSign::idInput, {336, 26, 329, 27}, 19},
        {TfrmSign::idColor, {90, 398, 216, 0}, 16},
        {TfrmSign::idSignFont, {384, 56, 120, 0}, 16}}},
      {"square seal", [](const std::wstring& path) { return std::make_unique<TfrmOneSign>(nullptr, path); }, 304,
       206,
       {{TfrmOneSign::idValue, {177, 8, 121, 24}, 16},
        {TfrmOneSign::idTemplate, {56, 178, 121, 0}, 16},
        {TfrmOneSign::idBtnOk, {222, 118, 75, 25}, 16},
        {TfrmOneSign::idColor, {176, 64, 122, 0}, 16}}},
      {"about box", [](const std::wstring&) { return std::make_unique<about::TfrmAbout>(); }, 340, 170,
       {{about::TfrmAbout::kCloseButton, {244, 130, 80, 28}, 16}}},
  };
  return cases;
}

void ExpectNear(int actual, int design, int dpi, const std::string& what) {
  EXPECT_NEAR(actual, At(design, dpi), 1) << what << " (" << design << " at 96 dpi)";
}

// The controls of the case, the arrows of every spin field and the fonts, laid out for `dpi`.
void ExpectControlsAt(int dpi, HWND window, const WindowCase& c, const std::string& where) {
  for (const ControlCase& control : c.controls) {
    const std::string what = where + ": control " + std::to_string(control.id);
    const HWND child = GetDlgItem(window, control.id);
    ASSERT_NE(child, nullptr) << what;
    const RECT r = RectIn(window, child);
    ExpectNear(r.left, control.box.x, dpi, what + " left");
    ExpectNear(r.top, control.box.y, dpi, what + " top");
    ExpectNear(r.right - r.left, control.box.width, dpi, what + " width");
    if (control.box.height) ExpectNear(r.bottom - r.top, control.box.height, dpi, what + " height");
    EXPECT_EQ(FontHeight(child), -At(control.fontHeight, dpi)) << what << " font";
  }
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (UiDriver::ClassName(child) != UPDOWN_CLASSW) continue;
    RECT r{};
    GetWindowRect(child, &r);
    ExpectNear(r.right - r.left, win::kUpDownWidth, dpi, where + ": up-down width");
  }
}

TEST(AtDpiWindows, LayoutAndFontsAreTheDesignScaled) {
  INKRA_ONLY_AT_REQUESTED_DPI();
  ScratchFolder scratch(L"dpiwindows");
  for (INT_PTR hostContext : {INT_PTR(-1), INT_PTR(-3)}) {
    for (const WindowCase& c : Windows()) {
      const std::string where = std::string(c.name) + (hostContext == -1 ? ", unaware host" : ", aware host");
      std::unique_ptr<win::Window> form;
      {
        ThreadDpiAwareness host(hostContext);
        ASSERT_TRUE(host.Taken()) << "the thread's awareness cannot be set";
        form = c.make(scratch.File(L"temp00000001.bmp"));
      }
      // Measured in physical pixels: an unaware thread would be shown rectangles scaled down.
      ThreadDpiAwareness measuring(-3);
      const HWND window = form->Handle();
      EXPECT_EQ(win::WindowDpi(window), RequestedDpi()) << where;
      RECT client{};
      GetClientRect(window, &client);
      ExpectNear(client.right, c.clientWidth, RequestedDpi(), where + ": client width");
      ExpectNear(client.bottom, c.clientHeight, RequestedDpi(), where + ": client height");
      ExpectControlsAt(RequestedDpi(), window, c, where);
    }
  }
}

// Moved to a monitor of twice the dpi (which Wine cannot do; the change is applied directly),
// a seal dialog lays its controls, fonts and picture out anew, and back again.
TEST(SealDpiChange, ControlsFontsAndPictureFollowTheNewDpi) {
  ScratchFolder scratch(L"dpichange");
  for (const WindowCase& c : Windows()) {
    std::unique_ptr<win::Window> window = c.make(scratch.File(L"temp00000001.bmp"));
    auto* form = dynamic_cast<win::SealForm*>(window.get());
    if (!form) continue;  // the about box lays itself out in one place for creation and change
    const int dpi = form->LayoutDpi(), twice = 2 * dpi;
    if (auto* round = dynamic_cast<TfrmSign*>(form)) round->btn_InputClick();
    if (auto* square = dynamic_cast<TfrmOneSign*>(form)) square->DrawSeal();
    auto pictureWidth = [form] { return form->Picture() ? form->Picture()->Width() : 0; };
    const int designWidth = MulDiv(pictureWidth(), win::kDesignDpi, dpi);
    form->ApplyDpi(twice);
    EXPECT_EQ(form->LayoutDpi(), twice);
    ExpectControlsAt(twice, form->Handle(), c, std::string(c.name) + " at twice the dpi");
    EXPECT_EQ(pictureWidth(), At(designWidth, twice)) << c.name;
    form->ApplyDpi(dpi);
    ExpectControlsAt(dpi, form->Handle(), c, std::string(c.name) + " back");
    EXPECT_EQ(pictureWidth(), At(designWidth, dpi)) << c.name;
  }
}

// The seal's extent and amount in a hand-off picture: the pixels at least half covered.
struct Ink {
  RECT box{INT_MAX, INT_MAX, -1, -1};
  long long pixels = 0;
};

Ink InkOf(const Bitmap& picture) {
  Ink ink;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      if (picture.Row(y)[4 * x + 3] < 128) continue;
      ++ink.pixels;
      ink.box = {std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                 std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
    }
  return ink;
}

// A seal as the dialogs draw it for the hand-off, at 96 dpi.
Bitmap At96(int side, const std::function<void(Canvas&)>& draw) {
  win::GdiGlyphSource glyphs(96);
  return win::SealBitmap(*win::DrawSealInk(glyphs, side, side, draw));
}

struct SealCase {
  const char* name;
  int side;  // of the picture at 96 dpi
  // Makes the dialog, draws its preview, presses "确 定"; returns the same seal at 96 dpi.
  std::function<Bitmap(const std::wstring& path)> confirm;
};

TEST(AtDpiSeals, HandedOffSealsCarryTheDpisPixels) {
  INKRA_ONLY_AT_REQUESTED_DPI();
  ScratchFolder scratch(L"dpiseals");
  const SealCase cases[] = {
      {"round seal", 196,
       [](const std::wstring& path) {
         TfrmSign form(nullptr, path);
         form.btn_InputClick();
         form.btnOkClick();
         return At96(196, [p = form.Params()](Canvas& c) { DrawRoundSeal(c, p); });
       }},
      {"square seal", kSquareSealSide,
       [](const std::wstring& path) {
         TfrmOneSign form(nullptr, path);
         form.DrawSeal();
         form.btnOkClick();
         return At96(kSquareSealSide, [p = form.Params()](Canvas& c) { DrawSquareSeal(c, p); });
       }},
  };
  const double scale = RequestedDpi() / 96.0;
  for (const SealCase& c : cases) {
    const std::wstring path = scratch.File(L"temp00000001.bmp");
    const Bitmap at96 = c.confirm(path);
    const Bitmap seal = ReadBack(path);
    EXPECT_EQ(std::pair(seal.Width(), seal.Height()), std::pair(At(c.side), At(c.side))) << c.name;
    const Ink ink = InkOf(seal), design = InkOf(at96);
    ASSERT_GT(design.pixels, 0) << c.name;
    for (auto [actual, expected] : {std::pair{ink.box.left, design.box.left}, {ink.box.top, design.box.top},
                                    {ink.box.right, design.box.right}, {ink.box.bottom, design.box.bottom}})
      EXPECT_NEAR(actual, At(expected), 2) << c.name << ": the ink's extent";
    // Every line and character at the scaled size: the ink grows by the square of the scale (a
    // little more for text, whose strokes a font draws relatively heavier at larger sizes).
    EXPECT_NEAR(double(ink.pixels) / double(design.pixels) / (scale * scale), 1.07, 0.22) << c.name;
    DeleteFileW(path.c_str());
  }
}

// The hand-off picture follows the dpi the board gives, not the dialog's: on a 96-dpi screen, a
// board at 144 or 192 dpi gets a seal of its own dpi's pixels, while the preview stays at 96.
TEST(SealHandOffDpi, ThePictureIsDrawnAtTheBoardsDpiWhateverTheDialogsIs) {
  ScratchFolder scratch(L"sealboarddpi");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  struct Case {
    const char* name;
    int side;
    std::function<std::pair<int, Bitmap>(int boardDpi)> confirm;  // preview width, 96-dpi seal
  };
  const Case cases[] = {
      {"round seal", 196,
       [&](int boardDpi) {
         TfrmSign form(nullptr, path, boardDpi);
         form.btn_InputClick();
         form.btnOkClick();
         return std::pair(form.Picture()->Width(), At96(196, [p = form.Params()](Canvas& c) { DrawRoundSeal(c, p); }));
       }},
      {"square seal", kSquareSealSide,
       [&](int boardDpi) {
         TfrmOneSign form(nullptr, path, boardDpi);
         form.DrawSeal();
         form.btnOkClick();
         return std::pair(form.Picture()->Width(), At96(kSquareSealSide, [p = form.Params()](Canvas& c) { DrawSquareSeal(c, p); }));
       }},
  };
  for (const Case& c : cases)
    for (int boardDpi : {144, 192}) {
      SCOPED_TRACE(std::string(c.name) + " for a board at " + std::to_string(boardDpi));
      const auto [previewWidth, at96] = c.confirm(boardDpi);
      const Bitmap seal = ReadBack(path);
      const int dialogDpi = win::WindowDpi(nullptr);
      EXPECT_EQ(previewWidth, win::ScaleToDpi(c.side, dialogDpi));
      ASSERT_EQ(std::pair(seal.Width(), seal.Height()), std::pair(win::ScaleToDpi(c.side, boardDpi), win::ScaleToDpi(c.side, boardDpi)));
      const Ink ink = InkOf(seal), design = InkOf(at96);
      const double scale = boardDpi / 96.0;
      EXPECT_NEAR(ink.box.right, design.box.right * scale, 3);
      EXPECT_NEAR(ink.box.bottom, design.box.bottom * scale, 3);
      EXPECT_NEAR(double(ink.pixels) / double(design.pixels) / (scale * scale), 1.0, 0.15);
      DeleteFileW(path.c_str());
    }
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != FALSE;
}

TEST(AtDpiOpenPreview, PaneSitsWholeBesideTheListWithItsTextUncut) {
  INKRA_ONLY_AT_REQUESTED_DPI();
  ScratchFolder scratch(L"dpipreview");
  VectorSink bmp;
  WriteBmp(Bitmap(100, 60, 24), bmp);
  WriteFileBytes(std::filesystem::path(scratch.File(L"good.bmp")), bmp.data);
  const std::wstring folder = scratch.File(L"");
  std::vector<std::string> problems;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND dialog = d.WaitForWindow(kDialogClass, nullptr);
    HWND label = d.Child(dialog, L"Static", nullptr, board::win::kPreviewSizeId);
    HWND image = d.Child(dialog, L"Static", nullptr, board::win::kPreviewImageId);
    SelectListEntry(d, EnterFolder(d, dialog, folder.substr(0, folder.size() - 1), 1), L"good");
    Eventually(d, [&] { return UiDriver::Text(label) == L"100 x 60"; }, "the preview");
    ThreadDpiAwareness measuring(-3);
    auto problem = [&](const std::string& what) { problems.push_back(what); };
    if (win::WindowDpi(dialog) != RequestedDpi()) problem("dialog at " + std::to_string(win::WindowDpi(dialog)));
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT picture = RectIn(dialog, image), size = RectIn(dialog, label);
    // The pane grows with the dpi: 165 pixels wide at 96. Its width is in dialog units, which
    // follow the dialog font's character width, and that grows a little less than the dpi.
    if (picture.right - picture.left < At(140)) problem("picture pane too narrow");
    if (size.top < picture.bottom) problem("size text over the picture");
    if (std::abs(FontHeight(label)) > size.bottom - size.top) problem("size text cut");
    // Nothing of the dialog cut off at its edge or lying over the pane.
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      // The child dialog holding the pane spans the dialog; its own controls are checked above.
      if (!IsWindowVisible(child) || UiDriver::ClassName(child) == kDialogClass) continue;
      // The size grip sits on the corner by design, a pixel over it at any dpi.
      if (UiDriver::ClassName(child) == L"ScrollBar" && (GetWindowLongW(child, GWL_STYLE) & SBS_SIZEGRIP)) continue;
      const RECT r = RectIn(dialog, child);
      const std::string name = win::WideToUtf8(UiDriver::ClassName(child)) + " " + std::to_string(GetDlgCtrlID(child));
      if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) problem(name + " cut off");
      if (Overlap(r, picture) || Overlap(r, size)) problem(name + " over the preview");
    }
    d.PressButton(dialog, IDCANCEL);
    d.WaitUntilGone(dialog);
  });
  {
    ThreadDpiAwareness host(-1);
    EXPECT_FALSE(board::win::CommonFileDialogs().OpenPicture(nullptr));
  }
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  EXPECT_EQ(problems, std::vector<std::string>{});
}

}  // namespace
}  // namespace inkra::test
