// The pen bar, the drawing panel and the view `image`: painting, pointer, popup menu.
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "BoardTexts.h"
#include "CursorTable.h"
#include "TextConvert.h"
#include "WhiteBorad.h"

namespace inkra::board::win {
namespace {

using inkra::win::Utf8ToWide;

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

}  // namespace

LRESULT TfrmWhiteBorad::HandlePenBar(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // The lists report to the form, as if they were its own children.
      return SendMessageW(Handle(), message, wParam, lParam);
    case WM_SETCURSOR:
      // The pointer over the bar or one of its lists (which ask the bar first).
      AddPenHint();
      return DefWindowProcW(bar, message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(bar, &ps);
      RECT r;
      GetClientRect(bar, &r);
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      EndPaint(bar, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(bar, message, wParam, lParam);
  }
}

LRESULT TfrmWhiteBorad::HandlePanel(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      // A border outside the client area, so the view is clipped inside it: 1 pixel at 96 dpi,
      // scaled with the rest, so the picture has exactly twice the pixels at 200 %.
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      InflateRect(r, -Scaled(1), -Scaled(1));
      return 0;
    }
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(panel);
      RECT r;
      GetWindowRect(panel, &r);
      OffsetRect(&r, -r.left, -r.top);
      for (int line = Scaled(1); line > 0; --line, InflateRect(&r, -1, -1)) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      ReleaseDC(panel, dc);
      return 0;
    }
    case WM_SIZE:
      if (View()) PanelResize();
      return 0;
    default:
      return DefWindowProcW(panel, message, wParam, lParam);
  }
}

LRESULT TfrmWhiteBorad::HandleView(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      PaintView();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        HCURSOR cursor = TableCursor(kBoardCursorId);
        SetCursor(cursor ? cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetCapture(View());  // moves and the release reach the view even outside it
      imageMouseDown(ButtonOf(message), x, y);
      return 0;
    case WM_MOUSEMOVE:
      imageMouseMove(x, y);
      return 0;
    case kWmPointerDown:
    case kWmPointerUpdate:
    case kWmPointerUp:
      if (HandlePen(message, wParam, lParam)) return 0;
      break;
    case WM_CAPTURECHANGED:
      // Another window took the pointer (Alt+Tab, a popup): the stroke ends here, or the next
      // hover would go on drawing it.
      if (model_.Drawing()) imageMouseUp(MouseButton::Left, x, y);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == View()) ReleaseCapture();
      imageMouseUp(ButtonOf(message), x, y);
      break;  // the right button's release goes on to WM_CONTEXTMENU
    case WM_CONTEXTMENU: {
      int sx = x, sy = y;
      if (sx == -1 && sy == -1) {  // from the keyboard: at the view's corner
        POINT p{0, 0};
        ClientToScreen(View(), &p);
        sx = p.x;
        sy = p.y;
      }
      ShowPopupMenu(sx, sy);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(view, message, wParam, lParam);
}

bool TfrmWhiteBorad::HandlePen(UINT message, WPARAM wParam, LPARAM lParam) {
  PointerSource& pointers = options_.pointers ? *options_.pointers : SystemPointers();
  const std::optional<PenReading> reading = pointers.Read(LOWORD(wParam));
  if (!reading || !reading->pen) return false;
  // Pointer messages carry screen coordinates.
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(View(), &p);
  if (message == kWmPointerDown) {
    imageMouseDown(MouseButton::Left, p.x, p.y, reading->pressure);
  } else if (message == kWmPointerUpdate) {
    imageMouseMove(p.x, p.y, reading->pressure);
  } else {
    imageMouseUp(MouseButton::Left, p.x, p.y);
  }
  return true;
}

void TfrmWhiteBorad::PaintView() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(View(), &ps);
  const RECT& area = ps.rcPaint;
  const auto* shown = static_cast<const GdiSurface*>(model_.Shown());
  const int pw = shown ? shown->Width() : 0, ph = shown ? shown->Height() : 0;
  // The picture at its own size from the view's corner; white wherever it does not reach.
  const RECT picture{0, 0, pw, ph};
  RECT inside;
  if (shown && IntersectRect(&inside, &area, &picture)) {
    const int w = inside.right - inside.left, h = inside.bottom - inside.top;
    if (model_.Ink()) {
      // The ink composited over the picture, in a bitmap of the painted area only. A stroke
      // repaints a small area at every step: the bitmap for those is kept, not made each time.
      const int bits = shown->Pixels().bitsPerPixel;
      std::optional<inkra::win::GdiCanvas> large;
      inkra::win::GdiCanvas* composed;
      if (w <= kKeptComposeSide && h <= kKeptComposeSide) {
        if (!stepCompose_ || stepComposeBits_ != bits) {
          stepCompose_ = std::make_unique<inkra::win::GdiCanvas>(kKeptComposeSide, kKeptComposeSide, bits,
                                                                 inkra::win::GdiCanvas::Contents::Unset);
          stepComposeBits_ = bits;
        }
        composed = stepCompose_.get();
      } else {
        composed = &large.emplace(w, h, bits, inkra::win::GdiCanvas::Contents::Unset);
      }
      model_.Compose({inside.left, inside.top, inside.right, inside.bottom},
                     {composed->Bits(), Bitmap::StrideFor(composed->Width(), bits), w, h, bits});
      BitBlt(dc, inside.left, inside.top, w, h, composed->Dc(), 0, 0, SRCCOPY);
    } else {
      BitBlt(dc, inside.left, inside.top, w, h, shown->Dc(), inside.left, inside.top, SRCCOPY);
    }
  }
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  const RECT right{std::max(area.left, LONG(pw)), area.top, area.right, area.bottom};
  const RECT below{area.left, std::max(area.top, LONG(ph)), std::min(area.right, LONG(pw)), area.bottom};
  if (right.left < right.right && right.top < right.bottom) FillRect(dc, &right, white);
  if (below.left < below.right && below.top < below.bottom) FillRect(dc, &below, white);
  if (waitingHint_) PaintWaitingHint(dc);
  EndPaint(View(), &ps);
}

// In the middle of the part of the view the panel shows, in the colours of a tooltip, so it reads
// over any picture; wrapped when the panel is narrow.
void TfrmWhiteBorad::PaintWaitingHint(HDC dc) {
  RECT shown;
  GetClientRect(DrawingPanel(), &shown);
  MapWindowPoints(DrawingPanel(), View(), reinterpret_cast<POINT*>(&shown), 2);
  RECT view;
  GetClientRect(View(), &view);
  if (!IntersectRect(&shown, &shown, &view)) return;
  InflateRect(&shown, -Scaled(8), -Scaled(8));
  const std::wstring text = Utf8ToWide(kScanWaitingHint);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  RECT box = shown;
  DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int w = box.right - box.left, h = box.bottom - box.top;
  box.left = shown.left + std::max(0, int(shown.right - shown.left - w) / 2);
  box.top = shown.top + std::max(0, int(shown.bottom - shown.top - h) / 2);
  box.right = box.left + w;
  box.bottom = box.top + h;
  RECT frame = box;
  InflateRect(&frame, Scaled(6), Scaled(4));
  FillRect(dc, &frame, GetSysColorBrush(COLOR_INFOBK));
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_INFOTEXT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CENTER | DT_WORDBREAK);
  SelectObject(dc, oldFont);
}

void TfrmWhiteBorad::ShowPopupMenu(int screenX, int screenY) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kMenuN1, Utf8ToWide(kMenuDelete).c_str());
  AppendMenuW(menu, MF_STRING, kMenuN2, Utf8ToWide(kMenuTimeStamp).c_str());
  AppendMenuW(menu, MF_STRING, kMenuN4, Utf8ToWide(kMenuSaveSettings).c_str());
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screenX, screenY,
                              0, View(), nullptr);
  DestroyMenu(menu);
  if (chosen) OnCommand(chosen, 0);
}

}  // namespace inkra::board::win
