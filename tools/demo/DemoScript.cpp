#include "DemoScript.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>

#include "ScreenCapture.h"
#include "support/BoardDriver.h"
#include "uSign.h"

namespace inkra::demo {
namespace {

// The label of the add-in's ribbon button, by which the user finds it on the Insert tab.
constexpr const wchar_t* kRibbonLabel = L"手写签名";

using Points = std::vector<POINT>;

// A handwritten-looking name: a looped capital, a run of joined waves, a dotted letter and a
// swash underneath, in view pixels of the board at its initial size (602 x 258).
std::vector<Points> Signature() {
  constexpr double pi = 3.14159265358979;
  std::vector<Points> strokes;
  Points capital;
  for (int i = 0; i <= 80; ++i) {
    const double t = i / 80.0;
    const double a = 2.4 * pi * t;
    capital.push_back({LONG(95 + 30 * std::sin(a) - 20 * t), LONG(110 - 55 * std::cos(a) * (1 - 0.4 * t) + 40 * t)});
  }
  strokes.push_back(capital);
  Points waves;
  for (int i = 0; i <= 160; ++i) {
    const double t = i / 160.0;
    const double a = 9 * pi * t;
    waves.push_back({LONG(130 + 250 * t + 9 * std::sin(a)), LONG(135 - 24 * std::abs(std::sin(a / 2)) + 10 * t)});
  }
  strokes.push_back(waves);
  Points stem;
  for (int i = 0; i <= 30; ++i) stem.push_back({LONG(410 + i / 6), LONG(95 + 2 * i)});
  strokes.push_back(stem);
  strokes.push_back({{412, 80}, {414, 80}, {414, 82}});
  Points swash;
  for (int i = 0; i <= 90; ++i) {
    const double t = i / 90.0;
    swash.push_back({LONG(70 + 380 * t), LONG(185 - 14 * std::sin(pi * t) + 6 * t)});
  }
  strokes.push_back(swash);
  return strokes;
}

// Lets the board's thread work through what was posted to it and paint.
void Settle(HWND window) {
  Sleep(600);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);
}

void PumpFor(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
}

// The round seal dialog: the template "公章 42 mm", a company's name and seal code, the stamp's
// look, "确 定". The seal then lies on the board.
void MakeRoundSeal(test::UiDriver& d, HWND toolbar) {
  using win::TfrmSign;
  test::ClickTool(toolbar, board::win::kBtnReplace);
  HWND dialog = d.WaitForWindow(L"TfrmSign", L"公章制作");
  DWORD_PTR done = 0;
  const auto send = [&](int id, UINT message, WPARAM w, LPARAM l) {
    SendMessageTimeoutW(GetDlgItem(dialog, id), message, w, l, SMTO_NORMAL, 10000, &done);
  };
  send(TfrmSign::idTemplate, CB_SETCURSEL, 1, 0);
  SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(TfrmSign::idTemplate, CBN_SELCHANGE),
                      LPARAM(GetDlgItem(dialog, TfrmSign::idTemplate)), SMTO_NORMAL, 10000, &done);
  send(TfrmSign::idInput, WM_SETTEXT, 0, LPARAM(L"广州某某科技有限公司"));
  send(TfrmSign::idCodeNo, WM_SETTEXT, 0, LPARAM(L"4401000011111"));
  send(TfrmSign::idLook, BM_CLICK, 0, 0);
  Settle(dialog);
  d.PressButton(dialog, TfrmSign::idBtnOk);
  d.WaitUntilGone(dialog);
}

}  // namespace

int RunScriptedSession(HostWindow& word, const std::wstring& outDir, const std::wstring& shot, int placement,
                       bool seal) {
  const std::wstring boardShot = outDir + L"\\board.bmp", documentShot = outDir + L"\\" + shot + L".bmp";
  bool boardCaptured = false;
  test::UiDriver ui(30000);
  ui.Then([&](test::UiDriver& d) {
    HWND board = test::WaitForBoard(d);
    HWND toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr);
    HWND view = d.Child(board, L"InkraBoardView", nullptr);
    Settle(board);
    if (seal) {
      MakeRoundSeal(d, toolbar);
    } else {
      for (const Points& stroke : Signature()) test::Stroke(view, stroke);
      test::ChoosePopupItem(d, view, 430, 215, 1);  // "粘贴时间": the time stamp at the right press
    }
    test::ChooseListEntry(GetDlgItem(d.Child(board, L"InkraPenBar", nullptr), board::win::kCbPlace), placement);
    Settle(board);
    boardCaptured = CaptureWindow(board, boardShot);
    test::ClickTool(toolbar, board::win::kBtnOK);
    d.WaitUntilGone(board);
  });

  // The user moves to the add-in's button on the ribbon and clicks it.
  std::optional<RECT> button = word.RibbonButtonRect(kRibbonLabel);
  if (!button) {
    std::fprintf(stderr, "demo: the add-in's button is not on the ribbon\n");
    ui.Join();
    return 1;
  }
  POINT centre{(button->left + button->right) / 2, (button->top + button->bottom) / 2};
  const LPARAM at = MAKELPARAM(centre.x, centre.y);
  ClientToScreen(word.Handle(), &centre);
  bool clicked = false;
  word.onButtonDone = [&] { clicked = true; };
  PumpFor(500);
  SetCursorPos(centre.x, centre.y);  // the pointer rests on the button, so its tooltip shows
  PostMessageW(word.Handle(), WM_MOUSEMOVE, 0, at);
  PostMessageW(word.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(word.Handle(), WM_LBUTTONUP, 0, at);
  MSG msg;
  while (!clicked && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  SetCursorPos(centre.x, centre.y);
  PostMessageW(word.Handle(), WM_MOUSEMOVE, 0, at);
  PumpFor(800);
  const bool documentCaptured = CaptureWindow(word.Handle(), documentShot);

  int failures = 0;
  for (const std::string& failure : ui.Join()) {
    std::fprintf(stderr, "demo: %s\n", failure.c_str());
    ++failures;
  }
  if (!boardCaptured) std::fprintf(stderr, "demo: the board could not be captured\n");
  if (!documentCaptured) std::fprintf(stderr, "demo: the document could not be captured\n");
  return failures == 0 && boardCaptured && documentCaptured ? 0 : 1;
}

}  // namespace inkra::demo
