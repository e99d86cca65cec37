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

namespace {

// The frame of a client area of the 96-dpi layout at `dpi`, centred on `area`.
RECT CentredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi, const RECT& area) {
  const SIZE frame = FrameSize(ScaleToDpi(clientWidth, dpi), ScaleToDpi(clientHeight, dpi), style, exStyle, dpi);
  const LONG x = area.left + (area.right - area.left - frame.cx) / 2;
  const LONG y = area.top + (area.bottom - area.top - frame.cy) / 2;
  return {x, y, x + frame.cx, y + frame.cy};
}

RECT WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

}  // namespace

void Window::PlaceCentred(int clientWidth, int clientHeight, HWND over) {
  const auto style = DWORD(GetWindowLongW(window_, GWL_STYLE)), exStyle = DWORD(GetWindowLongW(window_, GWL_EXSTYLE));
  RECT area{};
  if (!over || !GetWindowRect(over, &area)) area = WorkArea(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY));
  const RECT frame = CentredFrame(clientWidth, clientHeight, style, exStyle, Dpi(), area);
  SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::CreateCentred(const WindowClass& cls, DWORD exStyle, const wchar_t* text, DWORD style, int clientWidth,
                           int clientHeight) {
  // The window lands on the primary monitor, as one made at no size in its corner does, and takes
  // that monitor's dpi; the dpi a new window gets there is known before it exists.
  DpiAwareScope aware;
  const int dpi = WindowDpi(nullptr);
  const RECT frame = CentredFrame(clientWidth, clientHeight, style, exStyle, dpi,
                                  WorkArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)));
  Create(cls, exStyle, text, style, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
         nullptr);
  // The primary monitor's scaling changed since the user signed in: the window has another dpi
  // than the system's, and is sized again for its own.
  if (Dpi() != dpi) BuildOrDestroy([&] { PlaceCentred(clientWidth, clientHeight); });
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
