#pragma once
// The main window of the Word or Excel stand-in: a command-bar strip drawn from the host double's
// command bars (a click on a drawn button fires Click through the button's connection point, as
// the host does), the ribbon's Insert tab with the add-ins' buttons (a press calls onAction), and
// the active document's page, or the active worksheet's grid, with its floating pictures.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Handle.h"
#include "PageRenderer.h"
#include "RibbonBand.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::demo {

class HostWindow {
 public:
  explicit HostWindow(test::office::HostDouble& host);  // not owned; outlives the window
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND Handle() const { return window_; }
  // The ribbon button labelled `label`, in client coordinates of the last paint.
  std::optional<RECT> RibbonButtonRect(const std::wstring& label);
  RibbonBand& Ribbon() { return ribbon_; }
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
  // One page (Word, `number` from 1) or the sheet (number 0) at left/top, shown inside `clip`.
  void PaintSheet(HDC dc, const test::office::ShapesState& shapes, int left, int top, int width, int height,
                  const RECT& clip, int number);
  // The document's text (Word) or the sheet's cells (Excel) on a white page of width x height.
  void PaintContent(HDC page, int width, int height);
  // The active document's or worksheet's shapes; null when there is none.
  const test::office::ShapesState* ActiveShapes();
  int HitButton(int x, int y);
  void Click(int index);
  std::wstring StatusText();

  test::office::HostDouble& host_;
  PageRenderer renderer_;
  RibbonBand ribbon_;
  std::vector<ButtonArea> buttons_;
  int hot_ = -1, pressed_ = -1;
  int scroll_ = 0;
  int pageNumber_ = 0;  // the page PaintContent draws     // Word: how far the pages are scrolled up, in pixels
  bool busy_ = false;  // a board is open: the button does not fire again
  win::UniqueFont font_;      // the command bars and the status bar
  win::UniqueFont bodyFont_;  // the document's text and the cells
  HWND window_ = nullptr;
};

}  // namespace inkra::demo
