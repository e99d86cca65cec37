#include "HostWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

namespace inkra::demo {

using test::office::CommandBarState;
using test::office::ControlState;

namespace {

constexpr wchar_t kClass[] = L"InkraDemoHost";
constexpr int kStripHeight = 30;
// Hit indexes from this on are the ribbon's buttons; below it the command bars'.
constexpr int kRibbonIndex = 1000;
constexpr int kStatusHeight = 22;
constexpr int kPageWidth = 816;    // 8.5 inches at 96 dpi
constexpr int kPageHeight = 1056;  // 11 inches
constexpr int kPageGap = 14;
constexpr COLORREF kDesk = RGB(128, 128, 128);
constexpr int kMargin = 96;  // one inch
// What the document holds: an agreement awaiting a signature, so that a transparent picture
// shows the text through its white.
constexpr wchar_t kDocumentText[] =
    L"合同编号：2026-0042\r\n\r\n"
    L"甲乙双方本着平等互利的原则，经友好协商，就本项目的合作事宜达成如下协议，以资共同遵守。"
    L"本协议自双方签字之日起生效，一式两份，甲乙双方各执一份，具有同等法律效力。"
    L"双方应严格履行本协议约定的各项义务；任何一方未经对方书面同意，不得变更或解除本协议。\r\n\r\n"
    L"甲方（签字）：________________        乙方（签字）：________________\r\n\r\n"
    L"The parties have read this agreement, understand it, and sign it of their own free will. "
    L"Each signature placed above is a handwritten signature inserted as a floating picture whose "
    L"white background is transparent, so this text remains readable beneath it.";

// The worksheet: Excel's default cells, and a small table awaiting a signature.
constexpr int kCellWidth = 64, kCellHeight = 20, kRowHeadingWidth = 40;
constexpr struct {
  int row, column;
  const wchar_t* text;
} kSheetCells[] = {
    {0, 0, L"费用报销单"}, {2, 0, L"项目"}, {2, 2, L"金额（元）"}, {3, 0, L"差旅费"}, {3, 2, L"1,280.00"},
    {4, 0, L"办公用品"}, {4, 2, L"356.50"}, {5, 0, L"合计"}, {5, 2, L"1,636.50"}, {12, 0, L"审批人签字："},
};

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

}  // namespace

HostWindow::HostWindow(test::office::HostDouble& host) : host_(host), ribbon_(host) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  bodyFont_.reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体"));
  const bool excel = host_.kind() == test::office::HostKind::Excel;
  window_ = CreateWindowExW(0, kClass,
                            excel ? L"Book1 - Microsoft Excel (host double)" : L"Document1 - Microsoft Word (host double)",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1100, 860, nullptr, nullptr, Instance(),
                            this);
}

HostWindow::~HostWindow() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      Paint(dc);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything
    case WM_SIZE:
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE: {
      const int hot = HitButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (hot != hot_) {
        hot_ = hot;
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      pressed_ = HitButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (pressed_ >= 0) {
        SetCapture(window_);
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = pressed_;
      pressed_ = -1;
      if (pressed < 0) return 0;
      ReleaseCapture();
      InvalidateRect(window_, nullptr, FALSE);
      if (HitButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == pressed) Click(pressed);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      // Word's pages scroll by the wheel, 60 pixels a notch, down to the last page's top.
      const auto& word = host_.Word();
      const int pages = word.active < 0 ? 1 : std::max(word.documents.at(size_t(word.active))->pages, 1);
      scroll_ = std::clamp(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) * 60 / WHEEL_DELTA, 0,
                           (pages - 1) * (kPageHeight + kPageGap));
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

std::vector<HostWindow::ButtonArea> HostWindow::LayOutBars(HDC dc, bool draw) {
  std::vector<ButtonArea> areas;
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  int x = 4;
  for (const auto& bar : host_.profile().bars) {
    if (!bar->visible || bar->position != test::office::msoBarTop) continue;
    const int start = x;
    x += 8;  // the grip
    if (bar->controls.empty()) {
      // A built-in bar: the stand-in shows its name where the host shows its icons.
      SIZE size{};
      GetTextExtentPoint32W(dc, bar->name.c_str(), int(bar->name.size()), &size);
      if (draw) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, x, (kStripHeight - size.cy) / 2, bar->name.c_str(), int(bar->name.size()));
      }
      x += size.cx + 6;
    }
    for (const auto& control : bar->controls) {
      if (!control->visible) continue;
      const std::wstring& text = control->caption.empty() ? control->tag : control->caption;
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
      RECT r{x, 4, x + size.cx + 14, kStripHeight - 4};
      const int index = int(areas.size());
      areas.push_back({r, control});
      if (draw) {
        if (index == pressed_ || index == hot_) DrawEdge(dc, &r, index == pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      }
      x = r.right + 2;
    }
    if (draw) {
      RECT grip{start + 2, 5, start + 5, kStripHeight - 5};
      DrawEdge(dc, &grip, BDR_RAISEDINNER, BF_RECT);
      RECT group{start, 2, x + 2, kStripHeight - 2};
      DrawEdge(dc, &group, BDR_RAISEDINNER, BF_RECT);
    }
    x += 8;
  }
  SelectObject(dc, oldFont);
  return areas;
}

void HostWindow::Paint(HDC screen) {
  RECT client;
  GetClientRect(window_, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Off-screen, so the page does not flicker as it is redrawn.
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(dc, canvas);

  RECT strip{0, 0, w, kStripHeight};
  FillSolid(dc, strip, GetSysColor(COLOR_BTNFACE));
  buttons_ = LayOutBars(dc, true);
  RECT line{0, kStripHeight - 1, w, kStripHeight};
  FillSolid(dc, line, GetSysColor(COLOR_BTNSHADOW));

  const int ribbonHeight = ribbon_.Empty() ? 0 : RibbonBand::kHeight;
  if (ribbonHeight)
    ribbon_.Paint(dc, kStripHeight, w, font_.get(), hot_ >= kRibbonIndex ? hot_ - kRibbonIndex : -1,
                  pressed_ >= kRibbonIndex ? pressed_ - kRibbonIndex : -1);
  RECT desk{0, kStripHeight + ribbonHeight, w, h - kStatusHeight};
  PaintPage(dc, desk);

  RECT status{0, h - kStatusHeight, w, h};
  FillSolid(dc, status, GetSysColor(COLOR_BTNFACE));
  DrawEdge(dc, &status, BDR_RAISEDINNER, BF_TOP);
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  std::wstring text = StatusText();
  RECT textArea{status.left + 8, status.top, status.right - 8, status.bottom};
  DrawTextW(dc, text.c_str(), int(text.size()), &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);

  BitBlt(screen, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

const test::office::ShapesState* HostWindow::ActiveShapes() {
  if (host_.kind() == test::office::HostKind::Excel) {
    auto& excel = host_.Excel();
    if (excel.active < 0 || excel.active >= int(excel.workbooks.size())) return nullptr;
    auto& book = *excel.workbooks[size_t(excel.active)];
    if (book.activeSheet < 0 || book.activeSheet >= int(book.sheets.size())) return nullptr;
    return &book.sheets[size_t(book.activeSheet)]->shapes;
  }
  auto& word = host_.Word();
  if (word.active < 0 || word.active >= int(word.documents.size())) return nullptr;
  return &word.documents[size_t(word.active)]->shapes;
}

void HostWindow::PaintContent(HDC page, int width, int height) {
  HGDIOBJ oldFont = SelectObject(page, bodyFont_.get());
  SetBkMode(page, TRANSPARENT);
  if (host_.kind() == test::office::HostKind::Word) {
    SetTextColor(page, RGB(40, 40, 40));
    RECT text{kMargin, kMargin, width - kMargin, height};
    if (pageNumber_ <= 1) {
      DrawTextW(page, kDocumentText, -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    } else {
      // After the page break: the agreement's annex.
      const std::wstring annex = L"附件 " + std::to_wstring(pageNumber_ - 1) + L"：项目明细（第 " +
                                 std::to_wstring(pageNumber_) + L" 页）";
      DrawTextW(page, annex.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
  } else {
    // Row and column headings, grid lines, and a few filled cells (Excel's default cell size).
    RECT headings{0, 0, width, kCellHeight};
    FillSolid(page, headings, GetSysColor(COLOR_BTNFACE));
    RECT rowHeadings{0, 0, kRowHeadingWidth, height};
    FillSolid(page, rowHeadings, GetSysColor(COLOR_BTNFACE));
    SetTextColor(page, RGB(40, 40, 40));
    for (int column = 0; kRowHeadingWidth + column * kCellWidth < width; ++column) {
      const int x = kRowHeadingWidth + column * kCellWidth;
      RECT line{x, 0, x + 1, height};
      FillSolid(page, line, RGB(208, 215, 229));
      const wchar_t name[2] = {wchar_t(L'A' + column % 26), 0};
      RECT cell{x, 0, x + kCellWidth, kCellHeight};
      DrawTextW(page, name, 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    for (int row = 0; (row + 1) * kCellHeight < height; ++row) {
      const int y = (row + 1) * kCellHeight;
      RECT line{0, y, width, y + 1};
      FillSolid(page, line, RGB(208, 215, 229));
      const std::wstring number = std::to_wstring(row + 1);
      RECT cell{0, y, kRowHeadingWidth, y + kCellHeight};
      DrawTextW(page, number.c_str(), int(number.size()), &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    for (size_t i = 0; i < std::size(kSheetCells); ++i) {
      const int x = kRowHeadingWidth + kSheetCells[i].column * kCellWidth;
      const int y = (kSheetCells[i].row + 1) * kCellHeight;
      RECT cell{x + 3, y, x + 3 * kCellWidth, y + kCellHeight};
      DrawTextW(page, kSheetCells[i].text, -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  SelectObject(page, oldFont);
}

void HostWindow::PaintPage(HDC dc, const RECT& area) {
  FillSolid(dc, area, kDesk);
  const test::office::ShapesState* shapes = ActiveShapes();
  if (!shapes) return;
  const bool excel = host_.kind() == test::office::HostKind::Excel;
  // A sheet fills the window; a page stands in the middle of the desk.
  const int width = excel ? int(area.right - area.left) : kPageWidth;
  const int left = excel ? int(area.left) : std::max(int(area.left) + kPageGap, int(area.left + area.right - kPageWidth) / 2);
  const int top = excel ? int(area.top) : int(area.top) + kPageGap;
  if (!excel) {
    // Word: the pages one under the other, with the desk between them; the wheel scrolls.
    const auto document = host_.Word().documents.at(size_t(host_.Word().active));
    for (int number = 1; number <= std::max(document->pages, 1); ++number) {
      const int pageTop = top + (number - 1) * (kPageHeight + kPageGap) - scroll_;
      const int shown = std::min(int(area.bottom), pageTop + kPageHeight) - std::max(int(area.top), pageTop);
      if (shown <= 0) continue;
      pageNumber_ = number;
      PaintSheet(dc, *shapes, left, pageTop, width, kPageHeight, area, number);
    }
    return;
  }
  const int height = area.bottom - top;  // the sheet runs on below the window
  if (height <= 0 || width <= 0) return;
  PaintSheet(dc, *shapes, left, top, width, height, area, 0);
}

void HostWindow::PaintSheet(HDC dc, const test::office::ShapesState& shapes, int left, int top, int width, int height,
                            const RECT& clip, int number) {
  // The content first, then the floating pictures over it.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::UniqueBitmap page(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!page) return;
  HDC pageDc = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(pageDc, page.get());
  RECT all{0, 0, width, height};
  FillSolid(pageDc, all, RGB(255, 255, 255));
  PaintContent(pageDc, width, height);
  GdiFlush();
  renderer_.Render(shapes, static_cast<std::uint32_t*>(bits), width, height, number);
  const int from = std::max(top, int(clip.top)), to = std::min(top + height, int(clip.bottom));
  BitBlt(dc, left, from, width, to - from, pageDc, 0, from - top, SRCCOPY);
  SelectObject(pageDc, oldBitmap);
  DeleteDC(pageDc);
}

int HostWindow::HitButton(int x, int y) {
  const POINT p{x, y};
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (PtInRect(&buttons_[i].rect, p)) return int(i);
  const int onRibbon = ribbon_.HitButton(x, y);
  return onRibbon < 0 ? -1 : kRibbonIndex + onRibbon;
}

void HostWindow::Click(int index) {
  if (busy_ || index < 0 || (index >= int(buttons_.size()) && index < kRibbonIndex)) return;
  busy_ = true;
  if (index >= kRibbonIndex) {
    ribbon_.Press(index - kRibbonIndex);
  } else {
    auto control = buttons_[size_t(index)].control;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    test::office::FireClick(host_, *control, cancel);
  }
  busy_ = false;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  if (onButtonDone) onButtonDone();
}

std::optional<RECT> HostWindow::RibbonButtonRect(const std::wstring& label) {
  for (int i = 0;; ++i) {
    const RECT* rect = ribbon_.ButtonRect(i);
    if (!rect) return std::nullopt;
    if (ribbon_.Label(i) == label) return *rect;
  }
}

std::wstring HostWindow::StatusText() {
  const test::office::ShapesState* shapes = ActiveShapes();
  std::wstring text = L"No document";
  // Word's own status text, as the add-in set it, stands first.
  if (host_.kind() == test::office::HostKind::Word && !host_.Word().statusBar.empty())
    return host_.Word().statusBar;
  if (shapes) {
    text = L"pictures: " + std::to_wstring(shapes->items.size());
    for (const auto& shape : shapes->items) {
      wchar_t line[160];
      swprintf(line, 160, L"    \"%ls\" %.1f x %.1f pt at %.0f/%.0f", shape->name.c_str(), shape->width,
               shape->height, shape->left, shape->top);
      text += line;
    }
  }
  if (hot_ >= 0 && hot_ < int(buttons_.size())) text += L"    |    " + buttons_[size_t(hot_)].control->tooltipText;
  if (hot_ >= kRibbonIndex) text += L"    |    " + ribbon_.ScreenTip(hot_ - kRibbonIndex);
  return text;
}

}  // namespace inkra::demo
