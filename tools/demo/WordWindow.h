#pragma once
// The Word stand-in's main window: a command-bar strip drawn from the host double's command bars
// (a click on a drawn button fires Click through the button's connection point, as Word does),
// and the active document's page with its floating pictures.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Handle.h"
#include "PageRenderer.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::demo {

class WordWindow {
 public:
  explicit WordWindow(test::office::HostDouble& word);  // not owned; outlives the window
  ~WordWindow();
  WordWindow(const WordWindow&) = delete;
  WordWindow& operator=(const WordWindow&) = delete;

  HWND Handle() const { return window_; }
  // The drawn button whose tag is `tag`, in client coordinates.
  std::optional<RECT> ButtonRect(const std::wstring& tag);
  // Called after each handled click on a drawn button (the board has closed by then).
  std::function<void()> onButtonDone;

 private:
  struct ButtonArea {
    RECT rect;
    std::shared_ptr<test::office::ControlState> control;
  };
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Lays out the visible top-docked bars; returns the buttons' areas.
  std::vector<ButtonArea> LayOutBars(HDC dc, bool draw);
  void Paint(HDC dc);
  void PaintPage(HDC dc, const RECT& area);
  int HitButton(int x, int y);
  void Click(int index);
  std::wstring StatusText();

  test::office::HostDouble& word_;
  PageRenderer renderer_;
  std::vector<ButtonArea> buttons_;
  int hot_ = -1, pressed_ = -1;
  bool busy_ = false;  // a board is open: the button does not fire again
  win::UniqueFont font_;      // the command bars and the status bar
  win::UniqueFont bodyFont_;  // the document's text
  HWND window_ = nullptr;
};

}  // namespace inkra::demo
