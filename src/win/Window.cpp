#include "Window.h"

#include <optional>
#include <stdexcept>
#include <utility>

#include "Dpi.h"
#include "ShowMessage.h"
#include "TextConvert.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace inkra::win {
namespace {

// Where a window of ours keeps its object: the class's own extra bytes, not GWLP_USERDATA, so
// that a window keeps its user data for itself. Not a window property either: every message
// reads the binding, and a property is a round trip to the window server on some systems, which
// made every message, and so every window's opening, several times slower.
constexpr int kBindingSlot = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

void Bind(HWND window, Window* self) { SetWindowLongPtrW(window, kBindingSlot, reinterpret_cast<LONG_PTR>(self)); }

// Classes this module registered. Windows keeps a DLL's classes after the DLL is freed, and a
// host that loads it again would then create windows whose procedure points into unmapped
// memory, so they are unregistered when the module unloads. Plain storage: it is read from
// DllMain after the C++ runtime may have torn down its objects.
constexpr int kMaxClasses = 32;
const wchar_t* gRegistered[kMaxClasses];
int gRegisteredCount = 0;

std::wstring ModuleTitle() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  std::wstring title = path;
  if (auto slash = title.find_last_of(L"\\/"); slash != std::wstring::npos) title.erase(0, slash + 1);
  if (auto dot = title.find_last_of(L'.'); dot != std::wstring::npos) title.erase(dot);
  return title;
}

}  // namespace

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

void RegisterWindowClass(const WindowClass& cls, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(ThisModule(), cls.name, &wc)) return;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = kExtraBytes;
  wc.hInstance = ThisModule();
  wc.hCursor = cls.cursor ? cls.cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = cls.background;
  wc.hIcon = cls.icon;
  wc.lpszClassName = cls.name;
  if (RegisterClassExW(&wc)) {
    if (gRegisteredCount < kMaxClasses) gRegistered[gRegisteredCount++] = cls.name;
  } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("Cannot register window class " + WideToUtf8(cls.name));
  }
}

void UnregisterWindowClasses() {
  while (gRegisteredCount > 0) UnregisterClassW(gRegistered[--gRegisteredCount], ThisModule());
}

Window::~Window() {
  Destroy();
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

Window* Window::FromHandle(HWND window) {
  // Only a window of this process whose class runs our procedure holds an object in that slot.
  if (!window || GetClassLongPtrW(window, GCLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(window, kBindingSlot));
}

void Window::Create(const WindowClass& cls, DWORD exStyle, const wchar_t* text, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id) {
  RegisterWindowClass(cls, &Procedure);
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(INT_PTR(id)) : nullptr;
  // A top-level window of ours is per-monitor aware whatever the host is, so it is laid out in
  // the screen's real pixels and never stretched by the system. Its children follow it.
  std::optional<DpiAwareScope> aware;
  if (!(style & WS_CHILD)) aware.emplace();
  CreateWindowExW(exStyle, cls.name, text, style, x, y, width, height, parent, menu, ThisModule(), this);
  if (!window_) throw std::runtime_error("Cannot create window " + WideToUtf8(cls.name));
}

void Window::Destroy() {
  HWND window = std::exchange(window_, nullptr);
  if (!window) return;
  Bind(window, nullptr);  // from here on the window gets default processing only
  DestroyWindow(window);
}

int Window::Dpi() const { return WindowDpi(window_); }

int Window::Scaled(int length) const { return ScaleToDpi(length, Dpi()); }

void Window::PlaceCentred(int clientWidth, int clientHeight, HWND over) {
  const int dpi = Dpi();
  const auto style = DWORD(GetWindowLongW(window_, GWL_STYLE)), exStyle = DWORD(GetWindowLongW(window_, GWL_EXSTYLE));
  const SIZE frame = FrameSize(ScaleToDpi(clientWidth, dpi), ScaleToDpi(clientHeight, dpi), style, exStyle, dpi);
  RECT area{};
  if (!over || !GetWindowRect(over, &area)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const int x = area.left + (area.right - area.left - frame.cx) / 2;
  const int y = area.top + (area.bottom - area.top - frame.cy) / 2;
  SetWindowPos(window_, nullptr, x, y, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::EndModal() {
  modal_ = false;
  if (window_) PostMessageW(window_, WM_NULL, 0, 0);  // wakes the loop when the end came from a sent message
}

void Window::UseAccelerators(std::span<const ACCEL> keys) {
  HACCEL table = CreateAcceleratorTableW(const_cast<ACCEL*>(keys.data()), int(keys.size()));
  if (!table) throw std::runtime_error("Cannot create the keyboard shortcuts");
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  accelerators_ = table;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    EndModal();
    return 0;
  }
  if (message == WM_DPICHANGED) {
    const RECT& proposed = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
                 proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    DpiChanged();
    return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Window::ShowError(const std::exception& error) {
  ShowMessage(window_, Utf8ToWide(error.what()), ModuleTitle().c_str(), MB_OK | MB_ICONERROR);
}

void Window::ReportError(const std::exception& error) noexcept {
  try {
    // The error belongs to the top-level window it happened under; shown there, once.
    Window* top = FromHandle(GetAncestor(window_, GA_ROOT));
    (top ? top : this)->ShowError(error);
  } catch (...) {
    // Nothing may leave a window procedure, not even a failure to show the error.
  }
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      Bind(window, self);
      self->window_ = window;
    }
  }
  // Only our classes run this procedure, so the slot is there.
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, kBindingSlot));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    Bind(window, nullptr);
    self->window_ = nullptr;
    self->modal_ = false;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    self->ReportError(e);
  } catch (...) {
    self->ReportError(std::runtime_error("未知错误"));
  }
  return 0;
}

void ChildWindow::Create(const WindowClass& cls, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                         HWND parent, Handler handler, int id) {
  handler_ = std::move(handler);
  Window::Create(cls, exStyle, L"", style | WS_CHILD, x, y, width, height, parent, id);
}

LRESULT ChildWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return handler_ ? handler_(Handle(), message, wParam, lParam) : DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace inkra::win
