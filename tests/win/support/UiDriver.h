#pragma once
// Drives modal windows from a second thread, as a user would, while the test thread sits in the
// modal loop (a board, a dialog, a message box).
//
//   UiDriver ui;
//   MessageBoxInfo seen;
//   ui.Then([&](UiDriver& d) {
//     HWND box = d.WaitForWindow(L"#32770", L"保存");
//     seen = d.ReadMessageBox(box);
//     d.PressButton(box, IDOK);
//   });
//   RunTheModalThing();          // returns once the driver has pressed OK
//   EXPECT_EQ(ui.Join(), std::vector<std::string>{});   // no step failed
//
// Steps run in order on the driver thread, as soon as they are queued. A step that cannot do its
// work (a window that never appears, a control that is missing) fails: the failure is recorded,
// the remaining steps are dropped, and from then on the driver closes every window of the test
// thread until Join, so a failed test never hangs in its modal loop.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace inkra::test {

enum class MessageIcon { None, Information, Warning, Error, Question };

struct DialogButton {
  int id;
  std::wstring text;  // as shown, '&' mnemonics included
};

struct MessageBoxInfo {
  std::wstring caption;
  std::wstring text;
  MessageIcon icon = MessageIcon::None;
  std::vector<DialogButton> buttons;  // visible buttons in tab order
};

// The class name of dialog boxes, message boxes included.
inline constexpr const wchar_t* kDialogClass = L"#32770";

class UiDriver {
 public:
  using Step = std::function<void(UiDriver&)>;

  // Waiting steps give up after timeoutMs. The thread that constructs the driver is the test
  // thread whose windows are closed after a failure.
  explicit UiDriver(DWORD timeoutMs = 10000);
  ~UiDriver();  // joins
  UiDriver(const UiDriver&) = delete;
  UiDriver& operator=(const UiDriver&) = delete;

  // Queues a step (from the test thread, or from a step).
  void Then(Step step);
  // Waits until every queued step has run (or a step failed and the rest were dropped) and stops
  // the thread. Returns the failures, empty when every step did its work. Idempotent.
  std::vector<std::string> Join();

  // --- For use inside steps -------------------------------------------------------------------
  // Fails the current step: throws; the driver records the message.
  [[noreturn]] void Fail(const std::string& message);

  // A visible top-level window of this process whose class and caption match exactly (either may
  // be null to match any). Fails the step on timeout.
  HWND WaitForWindow(const wchar_t* className, const wchar_t* caption);
  // Like WaitForWindow, but only windows different from `other` (to wait for a second box).
  HWND WaitForWindowOtherThan(HWND other, const wchar_t* className, const wchar_t* caption);
  // Waits until the window is destroyed or hidden. Fails the step on timeout.
  void WaitUntilGone(HWND window);

  // A descendant control matching class (exact, case-insensitive), text (exact, '&' ignored) and
  // id (-1 = any); null arguments match anything. Fails the step when there is none.
  HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, int id = -1);

  // Reads caption, text (static control 0xFFFF), icon and buttons of a message box.
  MessageBoxInfo ReadMessageBox(HWND box);

  // Presses a dialog button as a click would: WM_COMMAND/BN_CLICKED posted to the dialog.
  void PressButton(HWND dialog, int id);
  // The visible button whose text ('&' ignored) equals `text`.
  void PressButton(HWND dialog, const wchar_t* text);
  // BM_CLICK on a control (toggles check boxes and radio buttons too).
  void Click(HWND control);
  // WM_SETTEXT on a control (an edit box, a combo box's edit).
  void SetText(HWND control, const std::wstring& text);
  // Types the path into a common file dialog's file-name box and presses its OK button.
  void FillFileDialog(HWND dialog, const std::wstring& path);

  // Pointer messages posted to a window at client coordinates.
  void LeftDown(HWND window, int x, int y);
  void MouseMove(HWND window, int x, int y, bool leftHeld = true);
  void LeftUp(HWND window, int x, int y);
  void RightDown(HWND window, int x, int y);
  void RightUp(HWND window, int x, int y);
  // WM_CLOSE, posted.
  void Close(HWND window);
  // A chord typed on the keyboard (SendInput): each key down in order, then up in reverse. It
  // reaches the focus of the foreground window with the modifier state real, which posted key
  // messages do not give (accelerators read that state).
  void PressKeys(std::initializer_list<WORD> keys);
  // Runs `work` on the test thread between two of its messages, where no window of it is half
  // way through a step: what it reads there is consistent. Fails the step when the test thread
  // takes no message in time.
  void OnTestThread(const std::function<void()>& work);

  // --- Usable from any thread -----------------------------------------------------------------
  static std::wstring Text(HWND window);
  static std::wstring ClassName(HWND window);
  // Every visible top-level window of this process.
  static std::vector<HWND> TopLevelWindows();

 private:
  void Run();
  void CloseTestThreadWindows();
  HWND Wait(const std::function<HWND()>& probe, const std::string& what);

  DWORD timeoutMs_;
  DWORD testThreadId_;
  HWND testThreadWindow_ = nullptr;  // message-only, receives OnTestThread's work
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Step> steps_;
  bool busy_ = false;      // a step is running
  bool stopping_ = false;  // Join has been called
  bool failed_ = false;
  std::vector<std::string> failures_;
  std::thread thread_;
};

}  // namespace inkra::test
