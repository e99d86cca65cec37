// What makes the board and the seal dialogs open at once without changing them: fonts kept per
// face, size and dpi, the window binding, the pen list's hint made when the pointer comes, spin
// edits known without a window property, seal pictures kept between openings, lists made at
// their field's height and the toolbar's icons drawn from kept bitmaps.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "BoardTexts.h"
#include "Dpi.h"
#include "GdiCanvas.h"
#include "KeptFonts.h"
#include "MemorySettingsStore.h"
#include "SealControls.h"
#include "TextConvert.h"
#include "WhiteBorad.h"
#include "uSign.h"

namespace inkra::test {
namespace {

using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)); }

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The windows of this thread whose class is `cls` and whose owner is `owner`.
std::vector<HWND> OwnedWindows(const wchar_t* cls, HWND owner) {
  std::vector<HWND> all, found;
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all)
    if (lstrcmpiW(ClassOf(window).c_str(), cls) == 0 && GetWindow(window, GW_OWNER) == owner) found.push_back(window);
  return found;
}

// The first child of `parent` that is an owner-drawn list: a colour box.
HWND OwnerDrawnList(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (lstrcmpiW(ClassOf(child).c_str(), L"ComboBox") == 0 && (GetWindowLongW(child, GWL_STYLE) & CBS_OWNERDRAWFIXED))
      return child;
  return nullptr;
}

// Drops `list` as a click on it does, and gives how many entries the dropped list shows.
int RowsShownDropped(HWND list) {
  SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(list, &info);
  RECT shown{};
  GetClientRect(info.hwndList, &shown);
  SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
  return shown.bottom / int(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
}

// What `toolbar` paints, on the button face.
std::vector<std::uint8_t> ToolbarPicture(HWND toolbar) {
  RECT r{};
  GetClientRect(toolbar, &r);
  win::GdiCanvas canvas(r.right, r.bottom);
  FillRect(canvas.Dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageW(toolbar, WM_PRINTCLIENT, WPARAM(canvas.Dc()), PRF_CLIENT);
  return canvas.ToBitmap().Pixels();
}

// A toolbar with the board toolbar's style, font, sizes, image lists and buttons, each button
// drawing its icon from the image list itself: what the board's toolbar looked like.
HWND ToolbarDrawingFromItsImageList(HWND board, HWND model) {
  RECT r{};
  GetClientRect(model, &r);
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, DWORD(GetWindowLongW(model, GWL_STYLE)), 0, 0,
                                 r.right, r.bottom, board, nullptr, nullptr, nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, WM_SETFONT, SendMessageW(model, WM_GETFONT, 0, 0), FALSE);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(model, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
  for (UINT list : {TB_SETIMAGELIST, TB_SETDISABLEDIMAGELIST})
    SendMessageW(toolbar, list, 0, SendMessageW(model, list == TB_SETIMAGELIST ? TB_GETIMAGELIST : TB_GETDISABLEDIMAGELIST, 0, 0));
  int image = 0;
  for (int i = 0; i < int(SendMessageW(model, TB_BUTTONCOUNT, 0, 0)); ++i) {
    TBBUTTON button{};
    SendMessageW(model, TB_GETBUTTON, WPARAM(i), LPARAM(&button));
    TBBUTTONINFOW size{};
    size.cbSize = sizeof size;
    size.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    SendMessageW(model, TB_GETBUTTONINFOW, WPARAM(i), LPARAM(&size));
    if (!(button.fsStyle & BTNS_SEP)) button.iBitmap = image++;
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, LPARAM(&button));
    SendMessageW(toolbar, TB_SETBUTTONINFOW, WPARAM(i), LPARAM(&size));
  }
  SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, SendMessageW(model, TB_GETBUTTONSIZE, 0, 0));
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

class WindowOpening : public ::testing::Test {
 protected:
  WindowOpening() { options.settings = {&noSettings}; }
  board::MemorySettingsStore noSettings;
  BoardOptions options;
};

TEST(KeptFonts, OneFontPerFaceWeightSizeAndDpi) {
  const LOGFONTW song = win::FaceFont(L"宋体");
  LOGFONTW tail = song;  // what follows the face's end is no part of the face
  tail.lfFaceName[LF_FACESIZE - 1] = L'x';
  const struct { const char* what; LOGFONTW face; int height, dpi; bool same; } cases[] = {
      {"the same description", song, -16, 96, true},
      {"other bytes after the face's end", tail, -16, 96, true},
      {"another dpi", song, -16, 192, false},
      {"another size", song, -12, 96, false},
      {"another face", win::FaceFont(L"黑体"), -16, 96, false},
      {"another weight", win::FaceFont(L"宋体", FW_BOLD), -16, 96, false},
  };
  const HFONT first = win::KeptFontAtDpi(song, -16, 96);
  for (const auto& c : cases) EXPECT_EQ(win::KeptFontAtDpi(c.face, c.height, c.dpi) == first, c.same) << c.what;
  LOGFONTW made{};
  ASSERT_EQ(GetObjectW(win::KeptFontAtDpi(song, -16, 192), sizeof made, &made), int(sizeof made));
  EXPECT_EQ(made.lfHeight, -32);
  EXPECT_STREQ(made.lfFaceName, L"宋体");
}

TEST_F(WindowOpening, OnlyOurLiveWindowsGiveTheirObject) {
  HWND form = nullptr;
  {
    TfrmWhiteBorad board(options);
    form = board.Handle();
    EXPECT_EQ(win::Window::FromHandle(form), &board);
    EXPECT_NE(win::Window::FromHandle(board.View()), nullptr);
    EXPECT_EQ(win::Window::FromHandle(board.PenList()), nullptr);  // the system's combo box
    EXPECT_EQ(win::Window::FromHandle(GetDesktopWindow()), nullptr);
  }
  EXPECT_EQ(win::Window::FromHandle(form), nullptr);
}

TEST_F(WindowOpening, ABoardOpenedAgainHasTheFirstBoardsFonts) {
  HFONT penBar = nullptr, toolbar = nullptr;
  {
    TfrmWhiteBorad first(options);
    penBar = FontOf(first.PenList());
    toolbar = FontOf(first.Toolbar());
  }
  const int kept = win::KeptFontCount();
  TfrmWhiteBorad second(options);
  EXPECT_EQ(GetObjectType(penBar), DWORD(OBJ_FONT));  // alive after the first board closed
  for (HWND control : {second.PenList(), second.ColourList(), second.PlacementList(), second.PenTipBox()})
    EXPECT_EQ(FontOf(control), penBar);
  EXPECT_EQ(FontOf(second.Toolbar()), toolbar);
  EXPECT_NE(toolbar, penBar);
  EXPECT_EQ(win::KeptFontCount(), kept);
}

TEST_F(WindowOpening, ThePenListsHintComesWithThePointer) {
  TfrmWhiteBorad board(options);
  EXPECT_TRUE(OwnedWindows(TOOLTIPS_CLASSW, board.Handle()).empty());
  for (int i = 0; i < 2; ++i)  // the pointer over the list, then moving on it
    SendMessageW(board.PenList(), WM_SETCURSOR, WPARAM(board.PenList()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  const std::vector<HWND> tips = OwnedWindows(TOOLTIPS_CLASSW, board.Handle());
  ASSERT_EQ(tips.size(), 1u);
  wchar_t text[64] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.hwnd = board.PenBar();
  tool.uId = reinterpret_cast<UINT_PTR>(board.PenList());
  tool.lpszText = text;
  SendMessageW(tips[0], TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), win::Utf8ToWide(board::kPenHint));
}

// Made at their fields' height, the lists get the room to drop when they drop: the pen and
// placement lists show every entry, the colour lists at least eight.
TEST_F(WindowOpening, ListsDropIntoTheRoomTheyHadWhenMadeWithIt) {
  TfrmWhiteBorad board(options);
  win::TfrmSign seal;
  const struct { const char* what; HWND list; int rows; } cases[] = {
      {"the pen list", board.PenList(), 7},
      {"the placement list", board.PlacementList(), 2},
      {"the board's colour list", board.ColourList(), 8},
      {"the round seal's colour list", OwnerDrawnList(seal.Handle()), 8},
  };
  for (const auto& c : cases) EXPECT_GE(RowsShownDropped(c.list), c.rows) << c.what;
}

// The board draws its toolbar's icons itself, from bitmaps it keeps: pixel for pixel where the
// toolbar would have drawn them from its image list, pressed and disabled buttons included.
TEST_F(WindowOpening, ToolbarIconsLookAsTheImageListDrewThem) {
  TfrmWhiteBorad board(options);
  HWND reference = ToolbarDrawingFromItsImageList(board.Handle(), board.Toolbar());
  const struct { const char* what; BYTE state; } cases[] = {
      {"all enabled", TBSTATE_ENABLED},
      {"打开 pressed", TBSTATE_ENABLED | TBSTATE_PRESSED},
      {"打开 disabled", 0},
  };
  for (const auto& c : cases) {
    for (HWND toolbar : {board.Toolbar(), reference})
      SendMessageW(toolbar, TB_SETSTATE, board::win::kBtnOpen, MAKELPARAM(c.state, 0));
    EXPECT_EQ(ToolbarPicture(board.Toolbar()), ToolbarPicture(reference)) << c.what;
  }
  DestroyWindow(reference);
}

TEST(SealSpinFields, OnlyTheSpinFieldsEditsAreSpinEdits) {
  win::TfrmSign dialog;
  std::vector<HWND> controls;
  EnumChildWindows(dialog.Handle(), Collect, reinterpret_cast<LPARAM>(&controls));
  int spinEdits = 0;
  for (HWND control : controls) {
    const bool readOnly =
        lstrcmpiW(ClassOf(control).c_str(), L"Edit") == 0 && (GetWindowLongW(control, GWL_STYLE) & ES_READONLY);
    spinEdits += win::SpinField::IsSpinEdit(control);
    EXPECT_EQ(win::SpinField::IsSpinEdit(control), readOnly);
  }
  EXPECT_EQ(spinEdits, 16);
}

// A system colour set for one test and given back after it.
class SystemColour {
 public:
  SystemColour(int index, COLORREF colour) : index_(index), old_(GetSysColor(index)) { Set(colour); }
  ~SystemColour() { Set(old_); }

 private:
  void Set(COLORREF colour) { SetSysColors(1, &index_, &colour); }
  int index_;
  COLORREF old_;
};

// A round seal opened a second time shows the picture kept from the first, unless something it
// was drawn from changed in between: then the second shows what is true now.
TEST(SealPreviews, ASealOpenedAgainIsDrawnAgainOnlyWhenSomethingChanged) {
  const ColourValue highlight = kSystemColourBit + COLOR_HIGHLIGHT;
  const COLORREF before = GetSysColor(COLOR_HIGHLIGHT), after = before ^ 0x00A0A0A0;
  // Each case its own text, so no case finds a picture another one kept.
  const struct { const char* what; const char* text; std::function<void(HWND first)> change; bool kept; COLORREF ring; } cases[] = {
      {"nothing", "甲公司", [](HWND) {}, true, before},
      {"the system colour of its ink", "乙公司", [&](HWND) { SetSysColors(1, std::array{COLOR_HIGHLIGHT}.data(), &after); },
       false, after},
      {"the fonts (one installed or removed)", "丙公司", [](HWND first) { SendMessageW(first, WM_FONTCHANGE, 0, 0); },
       false, before},
  };
  for (const auto& c : cases) {
    SystemColour restore(COLOR_HIGHLIGHT, before);
    win::TfrmSign first;
    RoundSealParams p = first.Params();
    p.text = c.text;
    p.colour = highlight;
    first.SetParams(p);
    const win::GdiCanvas* shown = first.Picture();
    c.change(first.Handle());
    win::TfrmSign second;
    second.SetParams(p);
    EXPECT_EQ(second.Picture() == shown, c.kept) << c.what;
    // Inside the ring's outer band on the left.
    EXPECT_EQ(GetPixel(second.Picture()->Dc(), 2, 99), c.ring) << c.what;
  }
}

}  // namespace
}  // namespace inkra::test
