#include "ColourBox.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <utility>

#include "ComboFill.h"
#include "Dpi.h"
#include "GdiCanvas.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

constexpr ColourValue kStandard[] = {clBlack, clMaroon, clGreen, clOlive, clNavy,    clPurple,
                                     clTeal,  clGray,   clSilver, clRed,  clLime,    clYellow,
                                     clBlue,  clFuchsia, clAqua, clWhite};
// The system colours that have names, in index order.
constexpr int kSystem[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                           15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 30};

bool ChooseWithDialog(HWND owner, COLORREF& colour) {
  static COLORREF customColours[16] = {};
  for (COLORREF& c : customColours)
    if (c == 0) c = RGB(255, 255, 255);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = colour;
  cc.lpCustColors = customColours;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&cc)) return false;
  colour = cc.rgbResult;
  return true;
}

ColourBox::ChooseFunction chooser = nullptr;

}  // namespace

void ColourBox::SetChooser(ChooseFunction f) { chooser = f; }

ColourBox::~ColourBox() { Unbind(); }

void ColourBox::Unbind() {
  HWND combo = std::exchange(combo_, nullptr);
  if (!combo || !IsWindow(combo)) return;
  // Put back unless another procedure was put over ours since; ours then passes messages on
  // to the class's own procedure.
  if (From(combo)) SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_));
  SetWindowLongPtrW(combo, GWLP_USERDATA, 0);
}

ColourBox* ColourBox::From(HWND combo) {
  if (GetWindowLongPtrW(combo, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&ComboProc)) return nullptr;
  return reinterpret_cast<ColourBox*>(GetWindowLongPtrW(combo, GWLP_USERDATA));
}

LRESULT CALLBACK ColourBox::ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ColourBox*>(GetWindowLongPtrW(combo, GWLP_USERDATA));
  const WNDPROC base = self ? self->base_ : reinterpret_cast<WNDPROC>(GetClassLongPtrW(combo, GCLP_WNDPROC));
  if (self && message == WM_NCDESTROY) self->Unbind();  // destroyed before the object
  return CallWindowProcW(base, combo, message, wParam, lParam);
}

HWND ColourBox::Create(HWND parent, int id, int x, int y, int width, int height, HFONT font) {
  entries_.clear();
  entries_.push_back({Kind::Default, defaultColour_});
  for (ColourValue c : kStandard) entries_.push_back({Kind::Fixed, c});
  for (int n : kSystem) entries_.push_back({Kind::Fixed, kSystemColourBit + ColourValue(n)});
  entries_.push_back({Kind::Custom, custom_});

  auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  // Made at its place and at its field's height, so only the item heights are set afterwards;
  // the list gets its room when it drops.
  const int dpi = WindowDpi(parent);
  const auto scaled = [dpi](int length) { return ScaleToDpi(length, dpi); };
  fieldHeight_ = height;
  combo_ = CreateWindowExW(0, L"COMBOBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                               CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           scaled(x), scaled(y), scaled(width), scaled(height), parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
  if (!combo_) return nullptr;
  if (font) SendMessageW(combo_, WM_SETFONT, WPARAM(font), FALSE);
  std::vector<std::wstring> labels;
  for (int i = 0; i < Count(); ++i) labels.push_back(EntryLabel(i));
  AddComboEntries(combo_, labels);
  SendMessageW(combo_, CB_SETMINVISIBLE, 8, 0);
  SetItemHeights(scaled(height) - scaled(6));
  // Subclassed by hand, the box in the combo's user data: the common controls' subclassing looks
  // its chain up in a window property at every message, a round trip to the window server on
  // some systems.
  SetWindowLongPtrW(combo_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  base_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(combo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboProc)));
  return combo_;
}

void ColourBox::Place(int x, int y, int width, int height) {
  if (!combo_) return;
  const int dpi = WindowDpi(GetParent(combo_));
  const auto scaled = [dpi](int length) { return ScaleToDpi(length, dpi); };
  fieldHeight_ = height;
  MoveWindow(combo_, scaled(x), scaled(y), scaled(width), scaled(height), TRUE);
  SetItemHeights(scaled(height) - scaled(6));
}

void ColourBox::SetItemHeights(int height) {
  // Item heights follow the closed field's height, as a TColorBox's do.
  SendMessageW(combo_, CB_SETITEMHEIGHT, WPARAM(-1), height);
  SendMessageW(combo_, CB_SETITEMHEIGHT, 0, height);
}

std::wstring ColourBox::EntryLabel(int index) const {
  const Entry& e = entries_[std::size_t(index)];
  if (e.kind == Kind::Default) return L"Default";
  if (e.kind == Kind::Custom) return L"Custom";
  std::string name = ColourToText(e.value);
  if (name.rfind("cl", 0) == 0) name.erase(0, 2);
  return Utf8ToWide(name);
}

ColourValue ColourBox::Selected() const {
  int index = combo_ ? int(SendMessageW(combo_, CB_GETCURSEL, 0, 0)) : -1;
  if (index < 0 || index >= Count()) return defaultColour_;
  const Entry& e = entries_[std::size_t(index)];
  if (e.kind == Kind::Default) return defaultColour_;
  if (e.kind == Kind::Custom) return custom_;
  return e.value;
}

void ColourBox::Select(ColourValue c) {
  int found = Count() - 1;
  if (c == defaultColour_) {
    found = 0;
  } else {
    for (int i = 1; i < Count() - 1; ++i)
      if (entries_[std::size_t(i)].value == c) found = i;
  }
  if (found == Count() - 1) {
    custom_ = c;
    entries_.back().value = c;
  }
  SendMessageW(combo_, CB_SETCURSEL, WPARAM(found), 0);
  lastIndex_ = found;
}

bool ColourBox::OnSelChange() {
  int index = int(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
  if (index == Count() - 1) {
    COLORREF colour = COLORREF(custom_ & 0x00FFFFFF);
    ChooseFunction choose = chooser ? chooser : ChooseWithDialog;
    if (!choose(GetParent(combo_), colour)) {
      SendMessageW(combo_, CB_SETCURSEL, WPARAM(lastIndex_), 0);
      return false;
    }
    custom_ = ColourValue(colour);
    entries_.back().value = custom_;
    InvalidateRect(combo_, nullptr, TRUE);
  }
  lastIndex_ = index;
  return true;
}

COLORREF ColourBox::Swatch(const Entry& entry) const {
  ColourValue v = entry.kind == Kind::Default ? defaultColour_ : entry.kind == Kind::Custom ? custom_ : entry.value;
  return GdiCanvas::Resolve(v, RGB(255, 0, 0));
}

void ColourBox::Draw(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  HBRUSH back = GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  FillRect(dc, &r, back);
  int index = int(item.itemID);
  if (index < 0 || index >= Count()) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  // The swatch: a square as high as the item, framed in black.
  RECT swatch{r.left + 2, r.top + 2, r.left + 2 + (r.bottom - r.top - 4), r.bottom - 2};
  HBRUSH fill = CreateSolidBrush(Swatch(entries_[std::size_t(index)]));
  FillRect(dc, &swatch, fill);
  DeleteObject(fill);
  FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  auto font = reinterpret_cast<HFONT>(SendMessageW(combo_, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  RECT text = r;
  text.left = swatch.right + 4;
  std::wstring label = EntryLabel(index);
  DrawTextW(dc, label.c_str(), int(label.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (oldFont) SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

bool ColourBox::HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == CBN_DROPDOWN && lParam) {
    // The list drops below the field into the room the box had when it was made this tall.
    const auto combo = reinterpret_cast<HWND>(lParam);
    if (const ColourBox* box = From(combo))
      MakeRoomToDrop(combo, ScaleToDpi(box->fieldHeight_ + kListHeight, WindowDpi(GetParent(combo))));
    return false;  // the owner sees the notification too
  }
  if (message != WM_DRAWITEM) return false;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item->CtlType != ODT_COMBOBOX) return false;
  const ColourBox* box = From(item->hwndItem);
  if (!box) return false;
  box->Draw(*item);
  result = TRUE;
  return true;
}

}  // namespace inkra::win
