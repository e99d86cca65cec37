#pragma once
// The main window of the Word or Excel stand-in: a command-bar strip drawn from the host double's
// command bars (a click on a drawn button fires Click through the button's connection point, as
// the host does), and the active document's page, or the active worksheet's grid, with its
// floating pictures.
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

class HostWindow {
 public:
  explicit HostWindow(test::office::HostDouble& host);  // not owned; outlives the window
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

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
  // The document's text (Word) or the sheet's cells (Excel) on a white page of width x height.
  void PaintContent(HDC page, int width, int height);
  // The active document's or worksheet's shapes; null when there is none.
  const test::office::ShapesState* ActiveShapes();
  int HitButton(int x, int y);
  void Click(int index);
  std::wstring StatusText();

  test::office::HostDouble& host_;
  PageRenderer renderer_;
  std::vector<ButtonArea> buttons_;
  int hot_ = -1, pressed_ = -1;
  bool busy_ = false;  // a board is open: the button does not fire again
  win::UniqueFont font_;      // the command bars and the status bar
  win::UniqueFont bodyFont_;  // the document's text and the cells
  HWND window_ = nullptr;
};

}  // namespace inkra::demo
