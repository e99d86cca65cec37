// The UI driver against the platform's own modal windows: message boxes, a file dialog, and a
// plain window that records the input it receives.
#include "support/UiDriver.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkra::test {
namespace {

using Failures = std::vector<std::string>;

TEST(UiDriver, ReadsAndAnswersAMessageBox) {
  UiDriver ui;
  MessageBoxInfo seen;
  ui.Then([&](UiDriver& d) {
    HWND box = d.WaitForWindow(kDialogClass, L"标题");
    seen = d.ReadMessageBox(box);
    d.PressButton(box, IDOK);
  });
  int result = MessageBoxW(nullptr, L"第一行\n第二行", L"标题", MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(seen.caption, L"标题");
  EXPECT_EQ(seen.text, L"第一行\n第二行");
  EXPECT_EQ(seen.icon, MessageIcon::Information);
  ASSERT_EQ(seen.buttons.size(), 1u);
  EXPECT_EQ(seen.buttons[0].id, IDOK);
}

TEST(UiDriver, TellsTheFourIconsAndNoIconApart) {
  const std::pair<UINT, MessageIcon> cases[] = {
      {MB_ICONINFORMATION, MessageIcon::Information}, {MB_ICONWARNING, MessageIcon::Warning},
      {MB_ICONERROR, MessageIcon::Error},             {MB_ICONQUESTION, MessageIcon::Question},
      {0, MessageIcon::None}};
  for (auto [flag, expected] : cases) {
    UiDriver ui;
    MessageIcon icon = MessageIcon::None;
    ui.Then([&](UiDriver& d) {
      HWND box = d.WaitForWindow(kDialogClass, L"icon");
      icon = d.ReadMessageBox(box).icon;
      d.PressButton(box, IDOK);
    });
    MessageBoxW(nullptr, L"text", L"icon", MB_OK | flag);
    EXPECT_EQ(ui.Join(), Failures{});
    EXPECT_EQ(icon, expected) << "flag " << flag;
  }
}

TEST(UiDriver, PressesAButtonByItsText) {
  UiDriver ui;
  std::vector<DialogButton> buttons;
  ui.Then([&](UiDriver& d) {
    HWND box = d.WaitForWindow(kDialogClass, L"choose");
    buttons = d.ReadMessageBox(box).buttons;
    for (const DialogButton& b : buttons)
      if (b.id == IDNO) d.PressButton(box, b.text.c_str());
  });
  int result = MessageBoxW(nullptr, L"?", L"choose", MB_YESNO);
  EXPECT_EQ(ui.Join(), Failures{});
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].id, IDYES);
  EXPECT_EQ(buttons[1].id, IDNO);
  EXPECT_EQ(result, IDNO);
}

TEST(UiDriver, WaitsForASecondBoxAfterTheFirst) {
  UiDriver ui;
  std::vector<std::wstring> texts;
  ui.Then([&](UiDriver& d) {
    HWND first = d.WaitForWindow(kDialogClass, L"seq");
    texts.push_back(d.ReadMessageBox(first).text);
    d.PressButton(first, IDOK);
    d.WaitUntilGone(first);
  });
  ui.Then([&](UiDriver& d) {
    HWND second = d.WaitForWindow(kDialogClass, L"seq");
    texts.push_back(d.ReadMessageBox(second).text);
    d.PressButton(second, IDOK);
  });
  MessageBoxW(nullptr, L"one", L"seq", MB_OK);
  MessageBoxW(nullptr, L"two", L"seq", MB_OK);
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"one", L"two"}));
}

TEST(UiDriver, RecordsATimedOutStepAndClosesTheModalWindow) {
  UiDriver ui(300);
  bool laterStepRan = false;
  ui.Then([](UiDriver& d) { d.WaitForWindow(kDialogClass, L"a caption nobody shows"); });
  ui.Then([&](UiDriver&) { laterStepRan = true; });
  MessageBoxW(nullptr, L"left open", L"stuck", MB_OK);  // returns because the driver closes it
  Failures failures = ui.Join();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("timed out"), std::string::npos) << failures[0];
  EXPECT_NE(failures[0].find("a caption nobody shows"), std::string::npos) << failures[0];
  EXPECT_FALSE(laterStepRan);
}

TEST(UiDriver, FillsAFileDialog) {
  UiDriver ui;
  ui.Then([](UiDriver& d) { d.FillFileDialog(d.WaitForWindow(kDialogClass, L"pick"), L"C:\\some\\file.bmp"); });
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = L"pick";
  ofn.Flags = OFN_EXPLORER;
  EXPECT_TRUE(GetSaveFileNameW(&ofn));
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_STREQ(file, L"C:\\some\\file.bmp");
}

// A window that logs what reaches it, run in its own modal loop until it is destroyed.
struct Recorded {
  UINT message;
  WPARAM wParam;
  int x, y;
};
std::vector<Recorded>* gLog = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MOUSEMOVE: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
      gLog->push_back({message, wParam, short(LOWORD(lParam)), short(HIWORD(lParam))});
      return 0;
    case WM_COMMAND:  // button clicks only, not the edit box's change notifications
      if (HIWORD(wParam) == BN_CLICKED) gLog->push_back({message, wParam, 0, 0});
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(UiDriver, PostsPointerMessagesClicksAndSetsText) {
  std::vector<Recorded> log;
  gLog = &log;
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"UiDriverRecorder";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"UiDriverRecorder", L"recorder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window, HMENU(7), wc.hInstance, nullptr);
  CreateWindowW(L"BUTTON", L"&Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 30, 100, 20, window, HMENU(8),
                wc.hInstance, nullptr);
  std::wstring editText;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(L"UiDriverRecorder", L"recorder");
    d.LeftDown(w, 10, 20);
    d.MouseMove(w, 11, 22);
    d.MouseMove(w, -3, 400, false);
    d.LeftUp(w, 12, 24);
    d.RightDown(w, 5, 6);
    d.RightUp(w, 7, 8);
    HWND edit = d.Child(w, L"Edit", nullptr, 7);
    d.SetText(edit, L"文字");
    editText = UiDriver::Text(edit);
    d.PressButton(w, L"Go");
    d.Close(w);
  });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  EXPECT_EQ(ui.Join(), Failures{});
  gLog = nullptr;
  EXPECT_EQ(editText, L"文字");
  ASSERT_EQ(log.size(), 7u);
  const Recorded expected[] = {{WM_LBUTTONDOWN, MK_LBUTTON, 10, 20}, {WM_MOUSEMOVE, MK_LBUTTON, 11, 22},
                               {WM_MOUSEMOVE, 0, -3, 400},           {WM_LBUTTONUP, 0, 12, 24},
                               {WM_RBUTTONDOWN, MK_RBUTTON, 5, 6},   {WM_RBUTTONUP, 0, 7, 8},
                               {WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0, 0}};
  for (size_t i = 0; i < log.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(log[i].message, expected[i].message);
    EXPECT_EQ(log[i].wParam, expected[i].wParam);
    EXPECT_EQ(log[i].x, expected[i].x);
    EXPECT_EQ(log[i].y, expected[i].y);
  }
}

TEST(UiDriver, FailsWhenAControlIsMissing) {
  UiDriver ui;
  ui.Then([](UiDriver& d) {
    HWND box = d.WaitForWindow(kDialogClass, L"missing");
    d.Child(box, L"Edit", L"nothing like this", -1);
  });
  MessageBoxW(nullptr, L"x", L"missing", MB_OK);
  Failures failures = ui.Join();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("nothing like this"), std::string::npos) << failures[0];
}

}  // namespace
}  // namespace inkra::test
