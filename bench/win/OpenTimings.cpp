// How soon a window is there for the user, each beside the same window base opening an empty
// dialog with as many controls in the same run: the board, from the button's Click to its first
// complete paint, and the round seal, from "公章" to its preview painted. A window counts as
// open once it is shown and the thread's queue holds nothing more: every paint it asked for has
// run. Each is opened a few times first, as a user opens them more than once in a session. A
// second anchor holds the same controls as the measured window (the same classes, styles and
// places, none filled): buttons alone are cheaper to make and paint than edits, spin arrows and
// combo boxes, so the first anchor also charges the window system's own cost of those to us.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
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

// A control of the measured window as the mirror makes it again: its class, styles and place.
struct ControlShape {
  std::wstring className;
  DWORD style = 0, exStyle = 0;
  RECT place{};
  int parent = -1;  // index of the control it sits in; -1: the window itself
};

bool IsSystemClass(const std::wstring& name) {
  static const wchar_t* const kSystem[] = {L"Button", L"Static", L"Edit", L"ComboBox", L"ListBox", L"ScrollBar",
                                           L"msctls_updown32", L"ToolbarWindow32", L"msctls_trackbar32",
                                           L"SysListView32", L"msctls_statusbar32", L"tooltips_class32"};
  for (const wchar_t* s : kSystem)
    if (_wcsicmp(s, name.c_str()) == 0) return true;
  return false;
}

struct ShapeWalk {
  HWND top;
  std::vector<HWND> handles;
  std::vector<ControlShape> shapes;
};

BOOL CALLBACK TakeShape(HWND child, LPARAM walk) {
  auto& w = *reinterpret_cast<ShapeWalk*>(walk);
  const HWND parent = GetParent(child);
  const auto at = std::find(w.handles.begin(), w.handles.end(), parent);
  const int parentIndex = at == w.handles.end() ? -1 : int(at - w.handles.begin());
  if (parent != w.top && parentIndex < 0) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  // What a system control makes inside itself (a combo box's edit) it makes again itself.
  if (parentIndex >= 0 && IsSystemClass(w.shapes[parentIndex].className)) return TRUE;
  ControlShape shape;
  shape.className = name;
  shape.style = DWORD(GetWindowLongW(child, GWL_STYLE));
  shape.exStyle = DWORD(GetWindowLongW(child, GWL_EXSTYLE));
  GetWindowRect(child, &shape.place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&shape.place), 2);
  shape.parent = parentIndex;
  w.handles.push_back(child);
  w.shapes.push_back(shape);
  return TRUE;
}

// The measured window's controls, parents before the controls inside them.
std::vector<ControlShape> ControlShapes(HWND window) {
  ShapeWalk walk{window, {}, {}};
  EnumChildWindows(window, TakeShape, LPARAM(&walk));
  return walk.shapes;
}

// A dialog of the same window base holding the very controls the measured window holds (the same
// system classes, styles, places and font; our own panels as plain static windows), none of them
// filled: what the window system alone costs to make, show and paint them, so what the measured
// window takes beyond it is its own work.
class MirrorDialog final : public win::Window {
 public:
  MirrorDialog(const std::vector<ControlShape>& shapes, int width, int height, HFONT font) {
    Create({L"InkraBenchMirrorDialog", GetSysColorBrush(COLOR_BTNFACE)}, 0, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
           0, 0, width, height, nullptr);
    std::vector<HWND> made;
    for (const ControlShape& s : shapes) {
      const HWND parent = s.parent < 0 ? Handle() : made[std::size_t(s.parent)];
      const bool system = IsSystemClass(s.className);
      const HWND control =
          CreateWindowExW(system ? s.exStyle : 0, system ? s.className.c_str() : L"STATIC", L"",
                          system ? s.style : (s.style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN)), s.place.left,
                          s.place.top, s.place.right - s.place.left, s.place.bottom - s.place.top, parent, nullptr,
                          win::ThisModule(), nullptr);
      if (control && font) SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
      made.push_back(control);
    }
  }
  ~MirrorDialog() override { Destroy(); }
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
  const std::vector<ControlShape> shapes = ControlShapes(sample);
  close();
  Pump();
  std::unique_ptr<EmptyDialog> empty;
  std::unique_ptr<MirrorDialog> mirror;
  std::vector<double> ours, anchor, same;
  const int width = r.right - r.left, height = r.bottom - r.top;
  for (int round = 0; round < 5; ++round) {
    ours.push_back(MedianOpen(runs, open, close));
    anchor.push_back(MedianOpen(
        runs, [&] { return (empty = std::make_unique<EmptyDialog>(controls, width, height, font))->Handle(); },
        [&] { empty.reset(); }));
    same.push_back(MedianOpen(
        runs, [&] { return (mirror = std::make_unique<MirrorDialog>(shapes, width, height, font))->Handle(); },
        [&] { mirror.reset(); }));
  }
  std::sort(ours.begin(), ours.end());
  std::sort(anchor.begin(), anchor.end());
  std::sort(same.begin(), same.end());
  std::printf("%-40s %8.2f ms (an empty dialog, %d controls: %.2f ms; the same %zu controls, empty: %.2f ms)\n", what,
              ours[2], controls, anchor[2], shapes.size(), same[2]);
  PrintFigure(key, ours[2], anchor[2]);
  PrintFigure((std::string(key) + "_same").c_str(), ours[2], same[2]);
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
