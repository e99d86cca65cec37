#pragma once
// The one base under every window of the product: the board, the seal dialogs, the about box
// and their child windows that need a procedure of their own.
//
// - Classes are registered on the DLL's own module, never the host's.
// - The object is bound to its window at creation (WM_NCCREATE) and unbound before the window
//   is destroyed, so no message ever reaches an object that is gone, even when a constructor
//   fails halfway.
// - Each message has one exception boundary: an error is shown once, in the message box of the
//   top-level window it happened under, and never leaves a window procedure into the host.
// - ShowModal makes the window modal over the whole thread, the host's windows included.
#include <windows.h>

#include <exception>
#include <functional>
#include <span>
#include <string>

namespace inkra::win {

// The module that holds this code: the DLL, or a test program.
HINSTANCE ThisModule();

struct WindowClass {
  const wchar_t* name;
  HBRUSH background = nullptr;  // null: the window paints its whole client area itself
  HCURSOR cursor = nullptr;     // null: the arrow
  HICON icon = nullptr;
};

// Registers a class on this module once; later calls with the same name do nothing.
void RegisterWindowClass(const WindowClass& cls, WNDPROC procedure);
// Unregisters every class this module registered; called when the DLL is freed. Class names
// must be string literals: they are kept by pointer.
void UnregisterWindowClasses();
// Runs what is in the thread's queue now, then returns (a WM_QUIT is put back for the outer loop).
void ProcessPendingMessages();

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return window_; }
  // The object bound to `window`, or null for a window that is not one of ours.
  static Window* FromHandle(HWND window);

  // Shows the window as a modal dialog of the thread: every other visible, enabled top-level
  // window of the thread (the host's included) is disabled, the modal loop runs until EndModal or until
  // the window is gone, then exactly those windows are enabled again, the window is hidden and
  // activation goes back to the window that had it.
  void ShowModal();
  bool InModal() const { return modal_; }

  // The dpi the window is drawn at (its monitor's), and a 96-dpi layout length at that dpi.
  int Dpi() const;
  int Scaled(int length) const;

 protected:
  Window() = default;

  // Creates the window with this object bound to it; throws when it cannot be created.
  void Create(const WindowClass& cls, DWORD exStyle, const wchar_t* text, DWORD style, int x, int y,
              int width, int height, HWND parent, int id = 0);
  // Unbinds and destroys the window; the most derived destructor calls this first, so no handler
  // runs on a half-destroyed object.
  void Destroy();
  // Runs the rest of a construction after Create: when it fails, the window is unbound and
  // destroyed before the failure unwinds through the members its handlers use.
  template <typename Build>
  void BuildOrDestroy(Build&& build) {
    try {
      build();
    } catch (...) {
      Destroy();
      throw;
    }
  }
  // Sizes a top-level window so that its client area is clientWidth x clientHeight pixels of
  // the 96-dpi layout at the window's own dpi, and centres it over `over`, or on the work area of
  // its monitor when `over` is null.
  void PlaceCentred(int clientWidth, int clientHeight, HWND over = nullptr);
  // Creates a top-level window without an owner already sized and centred on the primary
  // monitor's work area, as Create at no size followed by PlaceCentred would leave it, without
  // the second pass of moving and sizing it.
  void CreateCentred(const WindowClass& cls, DWORD exStyle, const wchar_t* text, DWORD style, int clientWidth,
                     int clientHeight);
  // Ends the modal loop (the window is hidden, not destroyed).
  void EndModal();
  // Keys that ShowModal's loop turns into this window's WM_COMMANDs whichever control has the
  // focus (the board's undo and redo chords). The table lives as long as the object.
  void UseAccelerators(std::span<const ACCEL> keys);

  // The window's messages. The default ends the modal loop on WM_CLOSE and hands everything
  // else to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs after the window moved to a monitor of another dpi and took the size Windows proposed
  // for it there: fonts and layout follow the new dpi.
  virtual void DpiChanged() {}
  // Runs in ShowModal just before the window is shown.
  virtual void BeforeShow() {}
  // Shows an error that reached the message boundary under this top-level window. The default is
  // the application's error box: the module's name as caption, an error icon.
  virtual void ShowError(const std::exception& error);

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  void ReportError(const std::exception& error) noexcept;

  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  bool modal_ = false;
};

// A child window whose messages go to a handler of the window that owns it (a panel, a view).
class ChildWindow final : public Window {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
  ChildWindow() = default;
  ~ChildWindow() override { Destroy(); }

  void Create(const WindowClass& cls, DWORD exStyle, DWORD style, int x, int y, int width, int height,
              HWND parent, Handler handler, int id = 0);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  Handler handler_;
};

}  // namespace inkra::win
