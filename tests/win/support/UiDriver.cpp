#include "support/UiDriver.h"

#include <chrono>
#include <exception>
#include <iterator>
#include <stdexcept>

namespace inkra::test {

namespace {

constexpr DWORD kPollMs = 10;
constexpr int kRescuesBeforeQuit = 40;  // two seconds of closing windows
constexpr UINT kSendTimeoutMs = 5000;

struct StepFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string Describe(const wchar_t* className, const wchar_t* caption) {
  return "window class '" + Narrow(className ? className : L"*") + "' caption '" +
         Narrow(caption ? caption : L"*") + "'";
}

// "&Save" and "Save" are the same button text; "&&" is a literal ampersand.
std::wstring WithoutMnemonics(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    else if (text[i] == L'&') continue;
    out += text[i];
  }
  return out;
}

bool Matches(HWND window, const wchar_t* className, const wchar_t* text, int id) {
  if (className && _wcsicmp(UiDriver::ClassName(window).c_str(), className) != 0) return false;
  if (id != -1 && GetDlgCtrlID(window) != id) return false;
  if (text && WithoutMnemonics(UiDriver::Text(window)) != WithoutMnemonics(text)) return false;
  return true;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectVisibleOfThisProcess(HWND window, LPARAM list) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window)) Collect(window, list);
  return TRUE;
}

BOOL CALLBACK PostCloseIfVisible(HWND window, LPARAM) {
  if (IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&found));
  return found;
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result))
    return 0;
  return LRESULT(result);
}

MessageIcon IconOf(HICON icon) {
  if (!icon) return MessageIcon::None;
  if (icon == LoadIconW(nullptr, IDI_INFORMATION)) return MessageIcon::Information;
  if (icon == LoadIconW(nullptr, IDI_WARNING)) return MessageIcon::Warning;
  if (icon == LoadIconW(nullptr, IDI_ERROR)) return MessageIcon::Error;
  if (icon == LoadIconW(nullptr, IDI_QUESTION)) return MessageIcon::Question;
  return MessageIcon::None;
}

// A call handed to the test thread's message-only window; an exception comes back with it.
struct CrossThreadCall {
  const std::function<void()>* work;
  std::exception_ptr thrown;
};

LRESULT CALLBACK RunHandedCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
  auto* call = reinterpret_cast<CrossThreadCall*>(lParam);
  try {
    (*call->work)();
  } catch (...) {
    call->thrown = std::current_exception();
  }
  return 1;
}

HWND CreateCallWindow() {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RunHandedCall;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"InkraTestThreadCalls";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(cls), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

UiDriver::UiDriver(DWORD timeoutMs)
    : timeoutMs_(timeoutMs),
      testThreadId_(GetCurrentThreadId()),
      testThreadWindow_(CreateCallWindow()),
      thread_([this] { Run(); }) {}

UiDriver::~UiDriver() {
  Join();
  DestroyWindow(testThreadWindow_);
}

void UiDriver::Then(Step step) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failed_) return;
    steps_.push_back(std::move(step));
  }
  wake_.notify_all();
}

std::vector<std::string> UiDriver::Join() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return failures_;
}

void UiDriver::Run() {
  int rescues = 0;
  for (;;) {
    Step step;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (failed_) {
        // Rescue: keep closing the test thread's windows until the test joins. A loop that
        // ignores every close (a hang under test) is ended by the thread's quit message.
        if (wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stopping_; })) return;
        lock.unlock();
        CloseTestThreadWindows();
        if (++rescues == kRescuesBeforeQuit) PostThreadMessageW(testThreadId_, WM_QUIT, 0, 0);
        continue;
      }
      wake_.wait(lock, [this] { return stopping_ || !steps_.empty(); });
      if (steps_.empty()) return;
      step = std::move(steps_.front());
      steps_.pop_front();
    }
    std::string failure;
    try {
      step(*this);
    } catch (const std::exception& e) {
      failure = e.what();
    } catch (...) {
      failure = "a step threw a non-standard exception";
    }
    if (!failure.empty()) {
      std::lock_guard<std::mutex> lock(mutex_);
      failures_.push_back(failure);
      failed_ = true;
      steps_.clear();
    }
  }
}

void UiDriver::CloseTestThreadWindows() {
  EnumThreadWindows(testThreadId_, PostCloseIfVisible, 0);
}

void UiDriver::Fail(const std::string& message) { throw StepFailed(message); }

HWND UiDriver::Wait(const std::function<HWND()>& probe, const std::string& what) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs_;
  for (;;) {
    if (HWND found = probe()) return found;
    if (GetTickCount64() >= deadline) Fail("timed out waiting for " + what);
    Sleep(kPollMs);
  }
}

std::vector<HWND> UiDriver::TopLevelWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectVisibleOfThisProcess, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND UiDriver::WaitForWindow(const wchar_t* className, const wchar_t* caption) {
  return WaitForWindowOtherThan(nullptr, className, caption);
}

HWND UiDriver::WaitForWindowOtherThan(HWND other, const wchar_t* className, const wchar_t* caption) {
  return Wait(
      [&]() -> HWND {
        for (HWND window : TopLevelWindows()) {
          if (window == other) continue;
          if (className && _wcsicmp(ClassName(window).c_str(), className) != 0) continue;
          if (caption && Text(window) != caption) continue;
          return window;
        }
        return nullptr;
      },
      Describe(className, caption));
}

void UiDriver::WaitUntilGone(HWND window) {
  Wait([&]() -> HWND { return IsWindow(window) && IsWindowVisible(window) ? nullptr : HWND(1); },
       "a window to close");
}

HWND UiDriver::Child(HWND parent, const wchar_t* className, const wchar_t* text, int id) {
  for (HWND child : Descendants(parent))
    if (Matches(child, className, text, id)) return child;
  Fail("no control " + Describe(className, text) + " id " + std::to_string(id));
}

std::wstring UiDriver::Text(HWND window) {
  LRESULT length = SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(size_t(length) + 1, L'\0');
  LRESULT copied = SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(copied));
  return text;
}

std::wstring UiDriver::ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

MessageBoxInfo UiDriver::ReadMessageBox(HWND box) {
  MessageBoxInfo info;
  info.caption = Text(box);
  if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = Text(text);
  else Fail("the window has no message text control");
  for (HWND child : Descendants(box)) {
    if (!IsWindowVisible(child)) continue;
    std::wstring cls = ClassName(child);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(cls.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
      HICON icon = reinterpret_cast<HICON>(SendWithTimeout(child, STM_GETICON, 0, 0));
      info.icon = IconOf(icon);
      if (icon && info.icon == MessageIcon::None) Fail("the message box shows an icon of its own");
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
      info.buttons.push_back({GetDlgCtrlID(child), Text(child)});
    }
  }
  return info;
}

void UiDriver::PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) Fail("no button with id " + std::to_string(id));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void UiDriver::PressButton(HWND dialog, const wchar_t* text) {
  for (HWND child : Descendants(dialog))
    if (IsWindowVisible(child) && Matches(child, L"Button", text, -1)) {
      PressButton(GetParent(child), GetDlgCtrlID(child));
      return;
    }
  Fail("no button '" + Narrow(text) + "'");
}

void UiDriver::Click(HWND control) { PostMessageW(control, BM_CLICK, 0, 0); }

void UiDriver::SetText(HWND control, const std::wstring& text) {
  SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void UiDriver::FillFileDialog(HWND dialog, const std::wstring& path) {
  // Explorer-style dialogs name the file in combo box cmb13 (0x47C), older ones in edit edt1 (0x480).
  HWND box = GetDlgItem(dialog, 0x47C);
  if (!box || !IsWindowVisible(box)) box = GetDlgItem(dialog, 0x480);
  if (!box) Fail("the file dialog has no file-name box");
  SetText(box, path);
  PressButton(dialog, IDOK);
}

void UiDriver::LeftDown(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void UiDriver::MouseMove(HWND window, int x, int y, bool leftHeld) {
  PostMessageW(window, WM_MOUSEMOVE, leftHeld ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

void UiDriver::LeftUp(HWND window, int x, int y) { PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

void UiDriver::RightDown(HWND window, int x, int y) {
  PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
}

void UiDriver::RightUp(HWND window, int x, int y) { PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(x, y)); }

void UiDriver::Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void UiDriver::PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  if (SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) Fail("keys not sent");
}

void UiDriver::OnTestThread(const std::function<void()>& work) {
  CrossThreadCall call{&work, nullptr};
  DWORD_PTR done = 0;
  if (!SendMessageTimeoutW(testThreadWindow_, WM_APP, 0, reinterpret_cast<LPARAM>(&call), SMTO_NORMAL, timeoutMs_,
                           &done) ||
      !done)
    Fail("the test thread took no message");
  if (call.thrown) std::rethrow_exception(call.thrown);
}

}  // namespace inkra::test
