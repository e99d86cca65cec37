// How soon a window is there for the user, each beside the same window base opening an empty
// dialog with as many controls in the same run: the board, from the button's Click to its first
// complete paint, and the round seal, from "公章" to its preview painted. A window counts as
// open once it is shown and the thread's queue holds nothing more: every paint it asked for has
// run. Each is opened a few times first, as a user opens them more than once in a session.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "BoardTool.h"
#include "Figure.h"
#include "MemorySettingsStore.h"
#include "WhiteBorad.h"
#include "Window.h"
#include "uSign.h"

namespace {

using namespace inkra;
using Clock = std::chrono::steady_clock;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

BOOL CALLBACK CountOne(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int CountControls(HWND window) {
  int n = 0;
  EnumChildWindows(window, CountOne, LPARAM(&n));
  return n;
}

BOOL CALLBACK FindFont(HWND child, LPARAM font) {
  *reinterpret_cast<HFONT*>(font) = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
  return *reinterpret_cast<HFONT*>(font) == nullptr;
}

// The font the window's controls are drawn in: the anchor's controls draw their captions in it
// too, as any dialog's controls draw in the dialog's font.
HFONT ControlFont(HWND window) {
  HFONT font = nullptr;
  EnumChildWindows(window, FindFont, LPARAM(&font));
  return font;
}

// A dialog of the same window base, with `controls` buttons and nothing else, the size of the
// window it stands beside.
class EmptyDialog final : public win::Window {
 public:
  EmptyDialog(int controls, int width, int height, HFONT font) {
    Create({L"InkraBenchEmptyDialog", GetSysColorBrush(COLOR_BTNFACE)}, 0, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
           0, 0, width, height, nullptr);
    for (int i = 0; i < controls; ++i) {
      const HWND button = CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE, 8 + (i % 8) * 70,
                                          8 + (i / 8) * 30, 64, 24, Handle(), nullptr, win::ThisModule(), nullptr);
      if (font) SendMessageW(button, WM_SETFONT, WPARAM(font), FALSE);
    }
  }
  ~EmptyDialog() override { Destroy(); }
};

// Median milliseconds of `runs` openings, each made, shown, painted and then closed.
double MedianOpen(int runs, const std::function<HWND()>& open, const std::function<void()>& close) {
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    const HWND window = open();
    ShowWindow(window, SW_SHOW);
    Pump();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    close();
    Pump();
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

// The board and the empty dialog in turn, so both see the same load on the machine.
void Compare(const char* key, const char* what, int runs, const std::function<HWND()>& open,
             const std::function<void()>& close) {
  RECT r{};
  const HWND sample = open();
  GetWindowRect(sample, &r);
  const int controls = CountControls(sample);
  const HFONT font = ControlFont(sample);
  close();
  Pump();
  std::unique_ptr<EmptyDialog> empty;
  std::vector<double> ours, anchor;
  for (int round = 0; round < 5; ++round) {
    ours.push_back(MedianOpen(runs, open, close));
    anchor.push_back(MedianOpen(
        runs, [&] { return (empty = std::make_unique<EmptyDialog>(controls, r.right - r.left, r.bottom - r.top, font))->Handle(); },
        [&] { empty.reset(); }));
  }
  std::sort(ours.begin(), ours.end());
  std::sort(anchor.begin(), anchor.end());
  std::printf("%-40s %8.2f ms (an empty dialog, %d controls: %.2f ms)\n", what, ours[2], controls, anchor[2]);
  PrintFigure(key, ours[2], anchor[2]);
}

}  // namespace

int RunOpenTimings() {
  board::MemorySettingsStore noSettings;
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  std::unique_ptr<board::win::TfrmWhiteBorad> board;
  Compare("open_board", "Click to the board's first paint", 5,
          [&] { return (board = std::make_unique<board::win::TfrmWhiteBorad>(options))->Handle(); },
          [&] { board.reset(); });

  // "公章" over a board: the dialog made, its preview drawn (as its showing draws it) and shown.
  board = std::make_unique<board::win::TfrmWhiteBorad>(options);
  std::unique_ptr<win::TfrmSign> seal;
  Compare("open_seal", "\"公章\" to the round seal's preview", 5,
          [&] {
            seal = std::make_unique<win::TfrmSign>(board->Handle());
            seal->btn_InputClick();
            return seal->Handle();
          },
          [&] { seal.reset(); });
  board.reset();
  return 0;
}
