// The board's controls: toolbar, pen bar, drawing panel and view. They are created first and
// then given their fonts, images and places for the window's dpi, again when the dpi changes.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "BoardTexts.h"
#include "ComboFill.h"
#include "Dpi.h"
#include "KeptFonts.h"
#include "TextConvert.h"
#include "ToolbarIcons.h"
#include "WhiteBorad.h"

namespace inkra::board::win {
namespace {

using inkra::win::Utf8ToWide;

constexpr wchar_t kPanelClass[] = L"InkraBoardPanel";
constexpr wchar_t kPenBarClass[] = L"InkraPenBar";
constexpr wchar_t kViewClass[] = L"InkraBoardView";

HINSTANCE Instance() { return inkra::win::ThisModule(); }

struct ButtonSpec {
  int command;  // 0 for a separator
  const char* caption;
};

constexpr std::array<ButtonSpec, 12> kButtons = {{
    {kBtnDelete, "清除"}, {kBtnOpen, "打开"}, {kBtnSave, "保存"}, {0, nullptr},
    {kBtnScan, "扫描"}, {kBtnReplace, "公章"}, {kBtnFind, "私章"}, {0, nullptr},
    {kBtnInformation, "关于"}, {0, nullptr},
    {kBtnOK, "确定"}, {kBtnExit, "退出"},
}};

// The board's face at 96 dpi: the pen bar's 16-pixel one and the toolbar's smaller 12, so
// captions fit under 24-pixel icons in 40.
constexpr int kFontHeight = -16, kToolbarFontHeight = -12;

LOGFONTW BoardFace() { return inkra::win::FaceFont(L"新宋体", FW_NORMAL, FIXED_PITCH | FF_MODERN); }

// The toolbar at 96 dpi: buttons 60 x 40 with 24-pixel icons, separators 8 wide.
constexpr int kButtonWidth = 60, kButtonHeight = 40, kSeparatorWidth = 8;

// Pen bar children at 96 dpi, in the bar: the label, the pen list's closed field and the colour
// list.
constexpr RECT kLabelBox{8, 8, 56, 26}, kPenListBox{56, 4, 117, 26};
// After the colour list (121 to 225): the placement's label and list, room left behind them.
constexpr RECT kPlaceLabelBox{233, 8, 281, 26}, kPlaceListBox{281, 4, 393, 26};
// How tall the pen and placement lists are with their dropped list, field included.
constexpr int kHeightWithList = 200;
// The colour list's closed field (its list drops below it).
constexpr RECT kColourBox{121, 4, 225, 26};
// Then the pen tip's check box.
constexpr RECT kTipBox{401, 6, 457, 28};

}  // namespace

void TfrmWhiteBorad::CreateControls() {
  const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // The fonts first, so each control is made once with its font at its place for the dpi.
  TakeFonts();
  CreateToolbar();
  CreatePenBar();
  panel_.Create({kPanelClass, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), arrow}, 0,
                WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, Handle(),
                [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return HandlePanel(w, m, wp, lp); });
  // The view sets its own cursor (the board's, from the cursor table) and paints every pixel.
  image_.Create({kViewClass}, 0, WS_VISIBLE, 0, 0, 0, 0, DrawingPanel(),
                [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return HandleView(w, m, wp, lp); });
  SizeToolbar();
}

void TfrmWhiteBorad::TakeFonts() {
  font_ = inkra::win::KeptFontAtDpi(BoardFace(), kFontHeight, Dpi());
  toolbarFont_ = inkra::win::KeptFontAtDpi(BoardFace(), kToolbarFontHeight, Dpi());
}

HWND TfrmWhiteBorad::PenBarChild(const wchar_t* cls, const wchar_t* text, DWORD style, const RECT& box, int id) {
  const HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, Scaled(box.left), Scaled(box.top),
                                     Scaled(box.right - box.left), Scaled(box.bottom - box.top), PenBar(),
                                     reinterpret_cast<HMENU>(INT_PTR(id)), Instance(), nullptr);
  SendMessageW(child, WM_SETFONT, WPARAM(font_), FALSE);
  return child;
}

void TfrmWhiteBorad::ApplyDpi() {
  TakeFonts();
  for (HWND control : {label_, cbPen_, cbColor_.Handle(), placeLabel_, cbPlace_, chkTip_}) SendMessageW(control, WM_SETFONT, WPARAM(font_), TRUE);
  SendMessageW(toolbar_, WM_SETFONT, WPARAM(toolbarFont_), TRUE);

  const auto place = [this](HWND control, const RECT& box) {
    MoveWindow(control, Scaled(box.left), Scaled(box.top), Scaled(box.right - box.left),
               Scaled(box.bottom - box.top), TRUE);
  };
  place(label_, kLabelBox);
  place(cbPen_, kPenListBox);
  cbColor_.Place(kColourBox.left, kColourBox.top, kColourBox.right - kColourBox.left,
                 kColourBox.bottom - kColourBox.top);
  place(placeLabel_, kPlaceLabelBox);
  place(cbPlace_, kPlaceListBox);
  place(chkTip_, kTipBox);
  SizeToolbar();
}

void TfrmWhiteBorad::SizeToolbar() {
  // Icons from the strip drawn for this size, never enlarged from a smaller one.
  const ToolbarStrips strips = ToolbarStripsFor(Scaled(kToolbarImageSize));
  SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(strips.cellSize, strips.cellSize));
  SendMessageW(toolbar_, TB_SETIMAGELIST, 0, LPARAM(ToolbarImageList(strips, false)));
  SendMessageW(toolbar_, TB_SETDISABLEDIMAGELIST, 0, LPARAM(ToolbarImageList(strips, true)));
  for (int i = 0; i < int(kButtons.size()); ++i) {
    if (kButtons[std::size_t(i)].command != 0) continue;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
    info.cx = WORD(Scaled(kSeparatorWidth));
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, WPARAM(i), LPARAM(&info));
  }
  SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(kButtonWidth), Scaled(kButtonHeight)));
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
  LayOut();
}

void TfrmWhiteBorad::DpiChanged() {
  ApplyDpi();
  // The picture keeps its pixels; only the nib and new text follow the new dpi.
  DrawAtDpi();
}

void TfrmWhiteBorad::DrawAtDpi() {
  surfaces_.SetDpi(Dpi());
  model_.SetDpi(Dpi());
  model_.SetGlyphSource(&inkra::win::KeptGlyphSource(Dpi()), [](int index) { return ColourValue(GetSysColor(index)); });
}

void TfrmWhiteBorad::CreateToolbar() {
  toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                 CCS_NOPARENTALIGN | CCS_NODIVIDER,
                             0, 0, 0, 0, Handle(), nullptr, Instance(), nullptr);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar_, WM_SETFONT, WPARAM(toolbarFont_), FALSE);

  std::array<std::wstring, kButtons.size()> captions;
  std::array<TBBUTTON, kButtons.size()> buttons{};
  int image = 0;
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    TBBUTTON& b = buttons[i];
    if (kButtons[i].command == 0) {
      b.iBitmap = kSeparatorWidth;  // the separator's width, set again for the dpi
      b.fsStyle = BTNS_SEP;
      continue;
    }
    captions[i] = Utf8ToWide(kButtons[i].caption);
    // The button leaves its icon to ToolbarCustomDraw, which finds its place in the strip here.
    b.iBitmap = I_IMAGENONE;
    b.dwData = image++;
    b.idCommand = kButtons[i].command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    b.iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
  }
  SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), LPARAM(buttons.data()));
}

LRESULT TfrmWhiteBorad::ToolbarCustomDraw(const NMTBCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
      // Where the toolbar puts a button's icon: centred across the button, half the padding
      // down, a pixel further right and down while the button is pressed.
      const ToolbarStrips strips = ToolbarStripsFor(Scaled(kToolbarImageSize));
      const RECT& button = draw.nmcd.rc;
      const int pressed = (draw.nmcd.uItemState & (CDIS_SELECTED | CDIS_CHECKED)) ? 1 : 0;
      const int padding = HIWORD(SendMessageW(toolbar_, TB_GETPADDING, 0, 0));
      DrawToolbarIcon(draw.nmcd.hdc, strips, int(draw.nmcd.lItemlParam),
                      button.left + (button.right - button.left - strips.cellSize) / 2 + pressed,
                      button.top + padding / 2 + pressed, (draw.nmcd.uItemState & CDIS_DISABLED) != 0);
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

void TfrmWhiteBorad::CreatePenBar() {
  panel1_.Create({kPenBarClass, GetSysColorBrush(COLOR_BTNFACE)}, 0, WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                 Handle(), [this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return HandlePenBar(w, m, wp, lp); });
  label_ = PenBarChild(L"STATIC", Utf8ToWide(kPenLabel).c_str(), SS_LEFT, kLabelBox);
  cbPen_ = PenBarChild(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kPenListBox, kCbPen);
  std::vector<std::wstring> pens;
  for (const char* name : kPenNames) pens.push_back(Utf8ToWide(name));
  inkra::win::AddComboEntries(cbPen_, pens);
  SendMessageW(cbPen_, CB_SETCURSEL, kDefaultPenIndex, 0);
  cbColor_.Create(PenBar(), kCbColor, kColourBox.left, kColourBox.top, kColourBox.right - kColourBox.left,
                  kColourBox.bottom - kColourBox.top, font_);
  cbColor_.Select(clRed);
  placeLabel_ = PenBarChild(L"STATIC", Utf8ToWide(kPlacementLabel).c_str(), SS_LEFT, kPlaceLabelBox);
  cbPlace_ = PenBarChild(L"COMBOBOX", L"", WS_TABSTOP | CBS_DROPDOWNLIST, kPlaceListBox, kCbPlace);
  std::vector<std::wstring> places;
  for (int i = 0; i < PlacementCount(options_.straddle); ++i)
    places.push_back(Utf8ToWide(kPlacementNames[std::size_t(i)]));
  inkra::win::AddComboEntries(cbPlace_, places);
  SendMessageW(cbPlace_, CB_SETCURSEL, 0, 0);
  chkTip_ = PenBarChild(L"BUTTON", Utf8ToWide(kPenTipCaption).c_str(), WS_TABSTOP | BS_AUTOCHECKBOX, kTipBox, kChkTip);
}

void TfrmWhiteBorad::MakeRoomForList(HWND list) { inkra::win::MakeRoomToDrop(list, Scaled(kHeightWithList)); }

void TfrmWhiteBorad::AddPenHint() {
  if (penHint_) return;
  penHint_ = true;
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, Instance(), nullptr);
  static std::wstring hint = Utf8ToWide(kPenHint);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = PenBar();
  tool.uId = reinterpret_cast<UINT_PTR>(cbPen_);
  tool.lpszText = hint.data();
  SendMessageW(tips, TTM_ADDTOOLW, 0, LPARAM(&tool));
}

}  // namespace inkra::board::win
