// Window::ShowModal: modal over every window of the thread, as a dialog box is over its owner.
#include <vector>

#include "Window.h"

namespace inkra::win {
namespace {

struct Disabling {
  HWND modal;
  std::vector<HWND> windows;
};

bool OwnedBy(HWND window, HWND owner) {
  for (HWND w = GetWindow(window, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
    if (w == owner) return true;
  return false;
}

// Hidden windows take no input, and some must keep working while hidden (the thread's IME
// window serves the text fields of the modal window itself), so only visible ones are disabled.
BOOL CALLBACK CollectEnabled(HWND window, LPARAM param) {
  auto* d = reinterpret_cast<Disabling*>(param);
  if (window != d->modal && IsWindowVisible(window) && IsWindowEnabled(window) && !OwnedBy(window, d->modal))
    d->windows.push_back(window);
  return TRUE;
}

// The windows disabled for the span of a modal loop, enabled again when it ends however it ends.
class ThreadDisabled {
 public:
  explicit ThreadDisabled(HWND modal) : d_{modal, {}} {
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&d_));
    for (HWND w : d_.windows) EnableWindow(w, FALSE);
  }
  ~ThreadDisabled() {
    for (HWND w : d_.windows)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  ThreadDisabled(const ThreadDisabled&) = delete;
  ThreadDisabled& operator=(const ThreadDisabled&) = delete;

 private:
  Disabling d_;
};

}  // namespace

void Window::ShowModal() {
  if (!window_ || modal_) return;
  const HWND previous = GetActiveWindow();
  {
    ThreadDisabled others(window_);
    modal_ = true;
    struct Leave {
      bool& flag;
      ~Leave() { flag = false; }
    } leave{modal_};
    BeforeShow();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    UpdateWindow(window_);
    MSG msg;
    while (modal_ && window_) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));  // the outer loop must see the quit too
        break;
      }
      if (got < 0) break;
      if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &msg)) continue;
      if (IsDialogMessageW(window_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // The others are enabled before this one hides, so activation can go back where it was.
  if (window_) ShowWindow(window_, SW_HIDE);
  if (previous && previous != window_ && IsWindow(previous) && IsWindowEnabled(previous)) {
    SetForegroundWindow(previous);
    SetActiveWindow(previous);
  }
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));  // the outer loop must see the quit too
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace inkra::win
