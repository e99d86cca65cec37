#include "SealControls.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <set>

#include "ComboFill.h"
#include "Dpi.h"
#include "KeptFonts.h"
#include "TextConvert.h"
#include "Window.h"

namespace inkra::win {
namespace {

constexpr const wchar_t* kPanelClass = L"InkraSealPanel";
constexpr const wchar_t* kImageClass = L"InkraSealImage";
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// The rectangle is laid out for 96 dpi and scaled to the parent's dpi.
HWND MakeChild(DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
               int width, int height, HWND parent, int id, HFONT font) {
  const int dpi = WindowDpi(parent);
  HWND w = CreateWindowExW(exStyle, cls, text, style, ScaleToDpi(x, dpi), ScaleToDpi(y, dpi),
                           ScaleToDpi(width, dpi), ScaleToDpi(height, dpi), parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), ThisModule(), nullptr);
  if (w && font) SendMessageW(w, WM_SETFONT, WPARAM(font), FALSE);
  return w;
}

// Panel: GWLP_USERDATA holds outer edge | inner edge << 16, and kWhitePanel for the white ones
// (read without a round trip to the window server, which a window property would cost).
constexpr UINT kWhitePanel = 0x100;  // above every BDR_ bit
constexpr UINT kEdgeBits = 0xFF;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto data = UINT(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(window, &r);
      const bool white = (data & kWhitePanel) != 0;
      FillRect(HDC(wParam), &r, white ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                                      : GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      if (UINT outer = data & kEdgeBits) DrawEdge(dc, &r, outer, BF_RECT | BF_ADJUST);
      if (UINT inner = (data >> 16) & kEdgeBits) DrawEdge(dc, &r, inner, BF_RECT | BF_ADJUST);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // painted whole in WM_PAINT, so resizing does not flicker
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      auto* picture = reinterpret_cast<const GdiCanvas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      int w = 0, h = 0;
      if (picture) {
        w = std::min<int>(picture->Width(), r.right);
        h = std::min<int>(picture->Height(), r.bottom);
        BitBlt(dc, 0, 0, w, h, picture->Dc(), 0, 0, SRCCOPY);
      }
      auto* white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      RECT right{w, 0, r.right, r.bottom}, below{0, h, w, r.bottom};
      FillRect(dc, &right, white);
      FillRect(dc, &below, white);
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The panels and the image keep their state in the window itself, so they need no object.
void RegisterClasses() {
  RegisterWindowClass({kPanelClass}, PanelProc);
  RegisterWindowClass({kImageClass}, ImageProc);
}

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
  if (lf->lfFaceName[0] != L'@') reinterpret_cast<std::set<std::wstring>*>(param)->insert(lf->lfFaceName);
  return 1;
}

// How far a key steps a spin field: the arrows by one, the page keys by ten; 0 for other keys.
int KeyStep(WPARAM key) {
  switch (key) {
    case VK_UP: return 1;
    case VK_DOWN: return -1;
    case VK_PRIOR: return 10;
    case VK_NEXT: return -10;
  }
  return 0;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::set<std::wstring> FacesOf(BYTE charset) {
  std::set<std::wstring> faces;
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = charset;
  EnumFontFamiliesExW(dc, &lf, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, dc);
  return faces;
}

}  // namespace

HFONT KeptDialogFont(const wchar_t* face, int points, int dpi, int pixelHeight) {
  LOGFONTW lf = FaceFont(face);
  lf.lfHeight = points > 0 ? -PointsToPixels(points, dpi) : -ScaleToDpi(pixelHeight, dpi);
  return KeptFont(lf);
}

HWND MakeLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height, HFONT font) {
  return MakeChild(0, L"STATIC", text, kChildStyle | SS_LEFT | SS_NOPREFIX, x, y, width, height,
                   parent, -1, font);
}

HWND MakeButton(HWND parent, int id, const wchar_t* text, int x, int y, int width, int height, HFONT font) {
  return MakeChild(0, L"BUTTON", text, kChildStyle | WS_TABSTOP | BS_PUSHBUTTON, x, y, width,
                   height, parent, id, font);
}

HWND MakeGroup(HWND parent, const wchar_t* caption, int x, int y, int width, int height, HFONT font) {
  return MakeChild(0, L"BUTTON", caption, kChildStyle | BS_GROUPBOX, x, y, width, height, parent,
                   -1, font);
}

HWND MakeEdit(HWND parent, int id, const std::wstring& text, int x, int y, int width, int height, HFONT font) {
  return MakeChild(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                   kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, x, y, width, height,
                   parent, id, font);
}

HWND MakeDropList(HWND parent, int id, const std::vector<std::string>& entries, int x, int y, int width,
                  int height, HFONT font) {
  HWND combo = MakeChild(0, L"COMBOBOX", L"", kChildStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, x, y,
                         width, height + 200, parent, id, font);
  std::vector<std::wstring> wide;
  for (const std::string& entry : entries) wide.push_back(Utf8ToWide(entry));
  AddComboEntries(combo, wide);
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  return combo;
}

HWND MakeCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int width, int height, HFONT font) {
  return MakeChild(0, L"BUTTON", text, kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX, x, y, width, height, parent,
                   id, font);
}

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(std::size_t(length) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

void RescaleControls(HWND window, int fromDpi, int toDpi, HFONT from, HFONT to) {
  std::vector<HWND> controls;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&controls));
  auto scaled = [&](LONG length) { return MulDiv(length, toDpi, fromDpi); };
  for (HWND control : controls) {
    RECT r{};
    GetWindowRect(control, &r);
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    // A combo box's height is its list's too, which its window rectangle leaves out.
    if (lstrcmpiW(cls, L"ComboBox") == 0) {
      RECT dropped{};
      if (SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped))) r.bottom = dropped.bottom;
    }
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, scaled(r.left), scaled(r.top), scaled(r.right) - scaled(r.left),
                 scaled(r.bottom) - scaled(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    if (reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)) == from)
      SendMessageW(control, WM_SETFONT, WPARAM(to), TRUE);
  }
}

// --- SpinField -------------------------------------------------------------------------------

void SpinField::Create(HWND parent, int id, int x, int y, int width, int height, int minimum,
                       int maximum, int value, HFONT font) {
  id_ = id;
  minimum_ = minimum;
  maximum_ = maximum;
  value = std::clamp(value, minimum, maximum);
  edit_ = MakeChild(WS_EX_CLIENTEDGE, L"EDIT", std::to_wstring(value).c_str(),
                    kChildStyle | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, x, y, width, height,
                    parent, id, font);
  // Without UDS_ARROWKEYS: the up-down would subclass the edit through the common controls'
  // window property for the arrow keys alone, a look-up at every message the edit gets; the
  // edit's own procedure below steps the field instead.
  upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                            kChildStyle | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS,
                            0, 0, 0, 0, parent, nullptr, ThisModule(), nullptr);
  SendMessageW(upDown_, UDM_SETBUDDY, WPARAM(edit_), 0);
  WidenArrows(parent);
  SendMessageW(upDown_, UDM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
  SendMessageW(upDown_, UDM_SETPOS32, 0, LPARAM(value));
  // One step per notch however long the button is held: the control's default accelerates.
  UDACCEL step{0, 1};
  SendMessageW(upDown_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
  // Subclassed by hand, the field in the edit's user data: the common controls' subclassing looks
  // its chain up in a window property at every message, a round trip to the window server on
  // some systems, and a dialog of sixteen fields pays it on every paint.
  SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  base_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
}

void SpinField::WidenArrows(HWND parent) {
  // The up-down control may take a fixed width whatever the dpi; at a higher dpi the arrows are
  // widened to the scaled width, taken from the edit's right as the control itself does.
  RECT arrows{}, edit{};
  GetWindowRect(upDown_, &arrows);
  GetWindowRect(edit_, &edit);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&arrows), 2);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&edit), 2);
  const int grow = ScaleToDpi(kUpDownWidth, WindowDpi(parent)) - (arrows.right - arrows.left);
  if (grow <= 0) return;
  SetWindowPos(edit_, nullptr, 0, 0, edit.right - edit.left - grow, edit.bottom - edit.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(upDown_, nullptr, arrows.left - grow, arrows.top, arrows.right - arrows.left + grow,
               arrows.bottom - arrows.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int SpinField::Value() const {
  BOOL failed = FALSE;
  int v = int(SendMessageW(upDown_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return std::clamp(v, minimum_, maximum_);
}

void SpinField::SetValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  SendMessageW(upDown_, UDM_SETPOS32, 0, LPARAM(value));
  std::wstring text = std::to_wstring(value);
  if (WindowText(edit_) != text) SetWindowTextW(edit_, text.c_str());
}

bool SpinField::IsSpinEdit(HWND control) {
  return GetWindowLongPtrW(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&EditProc);
}

LRESULT CALLBACK SpinField::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SpinField*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const WNDPROC base = self->base_;
  switch (message) {
    case WM_KEYDOWN:
      if (const int step = KeyStep(wParam)) {
        self->Step(step);
        return 0;
      }
      break;
    case WM_MOUSEWHEEL: {
      self->wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
      int notches = self->wheel_ / WHEEL_DELTA;
      self->wheel_ -= notches * WHEEL_DELTA;
      if (notches) self->Step(notches);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return CallWindowProcW(base, window, message, wParam, lParam);
}

// --- Faces -----------------------------------------------------------------------------------

std::vector<std::wstring> InstalledFaces() {
  std::set<std::wstring> faces = FacesOf(DEFAULT_CHARSET);
  return {faces.begin(), faces.end()};
}

std::wstring FallbackFace() {
  std::set<std::wstring> chinese = FacesOf(GB2312_CHARSET);
  if (!chinese.empty()) return *chinese.begin();
  LOGFONTW lf{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  return lf.lfFaceName;
}

void FaceBox::Create(HWND parent, int id, int x, int y, int width, int height,
                     const std::wstring& face, HFONT font, const std::vector<std::wstring>& faces) {
  combo_ = MakeChild(0, L"COMBOBOX", L"",
                     kChildStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, x, y,
                     width, height + 240, parent, id, font);
  AddComboEntries(combo_, faces);
  LRESULT found = Find(face);
  // A default face that is not installed: the box shows the face that stands in for it.
  if (found == CB_ERR) found = Find(FallbackFace());
  SendMessageW(combo_, CB_SETCURSEL, found == CB_ERR ? WPARAM(-1) : WPARAM(found), 0);
  defaultIndex_ = int(found);
}

LRESULT FaceBox::Find(const std::wstring& face) const {
  return SendMessageW(combo_, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(face.c_str()));
}

void FaceBox::Select(const std::wstring& face) {
  LRESULT found = Find(face);
  if (found == CB_ERR) found = defaultIndex_;  // not installed here: the box's own default
  SendMessageW(combo_, CB_SETCURSEL, found == CB_ERR ? WPARAM(-1) : WPARAM(found), 0);
}

bool FaceBox::HasSelection() const { return SendMessageW(combo_, CB_GETCURSEL, 0, 0) != CB_ERR; }

std::wstring FaceBox::SelectedFace() const {
  LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return FallbackFace();
  LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, WPARAM(index), 0);
  std::wstring face(std::size_t(std::max<LRESULT>(length, 0)) + 1, L'\0');
  SendMessageW(combo_, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(face.data()));
  face.resize(wcslen(face.c_str()));
  return face.empty() ? FallbackFace() : face;
}

// --- Panels and the image --------------------------------------------------------------------

HWND MakePanel(HWND parent, int x, int y, int width, int height, UINT outerEdge, UINT innerEdge,
               bool white) {
  RegisterClasses();
  HWND panel = MakeChild(WS_EX_CONTROLPARENT, kPanelClass, L"", kChildStyle | WS_CLIPCHILDREN, x, y,
                         width, height, parent, -1, nullptr);
  // Set before any message can ask the panel to paint, so it needs no invalidation.
  SetWindowLongPtrW(panel, GWLP_USERDATA, LONG_PTR(outerEdge | (innerEdge << 16) | (white ? kWhitePanel : 0)));
  return panel;
}

HWND MakePreviewImage(HWND parent, int x, int y, int width, int height) {
  RegisterClasses();
  return MakeChild(0, kImageClass, L"", kChildStyle, x, y, width, height, parent, -1, nullptr);
}

void ShowPicture(HWND image, const GdiCanvas* picture) {
  SetWindowLongPtrW(image, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
  InvalidateRect(image, nullptr, FALSE);
}

}  // namespace inkra::win
