#include "SealForm.h"

#include <exception>
#include <stdexcept>
#include <utility>

#include "Bmp.h"
#include "ByteSink.h"
#include "ColourBox.h"
#include "HandOffFile.h"
#include "SealControls.h"
#include "TextConvert.h"

namespace inkra::win {

SealForm::~SealForm() { DestroyForm(); }

void SealForm::DestroyForm() {
  if (!window_) return;
  // The handlers belong to the derived form, which may be gone already: from here on the
  // window gets default processing only.
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  HWND window = std::exchange(window_, nullptr);
  DestroyWindow(window);
}

void SealForm::CreateForm(const wchar_t* className, const wchar_t* caption, int clientWidth,
                          int clientHeight, UniqueFont font, bool centreOverOwner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(SealModule(), className, &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = SealModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  font_ = std::move(font);

  // No WS_CLIPCHILDREN: group boxes rely on the form painting the face colour under them.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT area;
  if (centreOverOwner && owner_) {
    GetWindowRect(owner_, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  window_ = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, owner_,
                            nullptr, SealModule(), this);
  if (!window_) throw std::runtime_error("Cannot create the seal dialog");
  SendMessageW(window_, WM_SETFONT, WPARAM(font_.get()), FALSE);
  CreateControls();
  SendGroupsToBottom(window_);
}

void SealForm::ShowModal() {
  if (!window_) return;
  if (owner_) EnableWindow(owner_, FALSE);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  modal_ = true;
  MSG msg;
  while (modal_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // the outer loop must see the quit too
      break;
    }
    if (got < 0) break;
    if (IsDialogMessageW(window_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  modal_ = false;
  // The owner comes back before the dialog goes, so activation returns to it.
  if (owner_) EnableWindow(owner_, TRUE);
  ShowWindow(window_, SW_HIDE);
}

void SealForm::CloseModal() {
  modal_ = false;
  PostMessageW(window_, WM_NULL, 0, 0);  // wakes the loop if the close came from a sent message
}

void SealForm::ShowHint(const std::string& utf8Text) const {
  MessageBoxW(window_, Utf8ToWide(utf8Text).c_str(), L"提示", MB_OK | MB_ICONINFORMATION);
}

void SealForm::ShowError(const std::string& utf8Text) const {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(SealModule(), module, MAX_PATH);
  std::wstring title = module;
  if (auto slash = title.find_last_of(L"\\/"); slash != std::wstring::npos) title.erase(0, slash + 1);
  if (auto dot = title.find_last_of(L'.'); dot != std::wstring::npos) title.erase(dot);
  MessageBoxW(window_, Utf8ToWide(utf8Text).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void SealForm::WriteHandOff(const GdiCanvas& picture) {
  writtenPath_ = WriteHandOffFile(handOffPath_, [&picture](ByteSink& sink) { picture.WriteBmp(sink); });
}

LRESULT SealForm::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT SealForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ColourBox::HandleParentMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {  // Esc: as the close box
        CloseModal();
        return 0;
      }
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      // Labels and group boxes on the face colour; read-only spin edits stay white.
      int colour = SpinField::IsSpinEdit(reinterpret_cast<HWND>(lParam)) ? COLOR_WINDOW : COLOR_BTNFACE;
      SetBkColor(HDC(wParam), GetSysColor(colour));
      SetTextColor(HDC(wParam), GetSysColor(colour == COLOR_WINDOW ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
    }
    case WM_CLOSE:  // the close box: Accepted stays as it is (false unless written)
      CloseModal();
      return 0;
  }
  return OnOtherMessage(message, wParam, lParam);
}

LRESULT CALLBACK SealForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<SealForm*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<SealForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // Exceptions end here: a failing handler shows its message and the dialog goes on.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    self->ShowError(e.what());
  } catch (...) {
    self->ShowError("Unexpected error");
  }
  return 0;
}

}  // namespace inkra::win
