#include "hostdouble/HostWindow.h"

namespace inkra::test::office {
namespace {

constexpr wchar_t kClass[] = L"OfficeHostDoubleWindow";
constexpr UINT kClickMessage = WM_APP + 1;

}  // namespace

HostWindow::HostWindow(HostDouble& host, std::shared_ptr<ControlState> button)
    : host_(host), button_(std::move(button)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when a second window of the process registers again
  window_ = CreateWindowExW(0, kClass, host.name().c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
}

HostWindow::~HostWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void HostWindow::PostClick() const { PostMessageW(window_, kClickMessage, 0, 0); }

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == kClickMessage) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    FireClick(self->host_, *self->button_, cancel);
    ++self->done_;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace inkra::test::office
