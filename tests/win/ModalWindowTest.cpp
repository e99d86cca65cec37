// Modal means modal: while the board, a seal dialog or the about box is open, every other window
// of the thread (the host's included) is disabled; closing gives activation back. Also the two
// other promises of the window base: message boxes keep the focus, and a window that fails to
// build leaves nothing behind.
#include <windows.h>
#include <commctrl.h>

#include "MemorySettingsStore.h"
#include "SealTestSupport.h"
#include "WordAddInTestSupport.h"
#include "hostdouble/HostWindow.h"
#include "support/BoardDriver.h"
#include "uSign.h"

namespace inkra::test {
namespace {

using board::win::BoardOptions;
using board::win::TfrmWhiteBorad;
using Failures = std::vector<std::string>;

int VisibleWindowsOfClass(const wchar_t* className) {
  int count = 0;
  for (HWND w : UiDriver::TopLevelWindows())
    if (UiDriver::ClassName(w) == className) ++count;
  return count;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

class ModalBoard : public addin::WordAddInTest {
 protected:
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {&noSettings};
    o.handOffPath = TempPath(L"modal-handoff.wmf");
    return o;
  }
  board::MemorySettingsStore noSettings;
};

TEST_F(ModalBoard, TheHostIsDisabledASecondClickOpensNothingAndClosingActivatesTheHost) {
  HostDouble word{HostKind::Word};
  auto addIn = NewAddIn();
  addIn->SetBoardOptions(Options());
  ASSERT_EQ(Connect(addIn, word), S_OK);
  office::HostWindow host(word, word.profile().Find(L"InkraSoft")->controls.at(0));
  bool hostEnabledMeanwhile = true;
  int boardsAfterSecondClick = 0;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND board = WaitForBoard(d);
    hostEnabledMeanwhile = IsWindowEnabled(host.Handle());
    host.PostClick();
    Eventually(d, [&] { return host.ClicksDone() == 1; }, "the second click returns");
    boardsAfterSecondClick = VisibleWindowsOfClass(L"TfrmWhiteBorad");
    d.Close(board);
  });
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(office::FireClick(word, *word.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_FALSE(hostEnabledMeanwhile);
  EXPECT_EQ(boardsAfterSecondClick, 1);
  EXPECT_EQ(addIn->clicks, 1);
  EXPECT_TRUE(IsWindowEnabled(host.Handle()));
  EXPECT_EQ(GetActiveWindow(), host.Handle());
}

TEST_F(ModalBoard, SealDialogsAndTheAboutBoxDisableTheBoardUntilTheyClose) {
  struct Case {
    int command;
    const wchar_t* dialogClass;
    bool ownedByBoard;  // kept above the board, and drawn at its dpi
  };
  const Case cases[] = {
      {board::win::kBtnReplace, L"TfrmSign", true},
      {board::win::kBtnFind, L"TfrmOneSign", true},
      {board::win::kBtnInformation, L"TfrmAbout", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(win::WideToUtf8(c.dialogClass));
    TfrmWhiteBorad board(Options());
    bool enabledWhileOpen = true, enabledAfter = false;
    HWND owner = nullptr;
    const Failures failures = DriveBoard(board, [&](UiDriver& d) {
      ClickTool(board.Toolbar(), c.command);
      HWND dialog = d.WaitForWindow(c.dialogClass, nullptr);
      enabledWhileOpen = IsWindowEnabled(board.Handle());
      owner = GetWindow(dialog, GW_OWNER);
      d.Close(dialog);
      d.WaitUntilGone(dialog);
      Eventually(d, [&] { return IsWindowEnabled(board.Handle()) != FALSE; }, "the board enabled again");
      enabledAfter = true;
    });
    EXPECT_EQ(failures, Failures{});
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(enabledAfter);
    if (c.ownedByBoard) EXPECT_EQ(owner, board.Handle());
  }
}

TEST(ModalFocus, AHintLeavesTheFocusAndCaretInTheFieldThatHadThem) {
  ScratchFolder scratch(L"modalfocus");
  win::TfrmSign form(nullptr, scratch.File(L"temp00000001.bmp"));
  HWND focusAfter = nullptr, caretAfter = nullptr, field = nullptr;
  MessageBoxInfo hint;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    HWND w = d.WaitForWindow(L"TfrmSign", L"公章制作");
    field = d.Child(w, L"Edit", nullptr, win::TfrmSign::idInput);
    d.LeftDown(field, 4, 4);
    d.LeftUp(field, 4, 4);
    Eventually(d, [&] { return FocusOf(w) == field; }, "the text field focused");
    SetTextNoWait(field, L"印");  // one character: the "提示" box
    hint = AnswerHint(d);
    Eventually([&] { return FocusOf(w) == field; });
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
    focusAfter = info.hwndFocus;
    caretAfter = info.hwndCaret;
    d.PressButton(w, L"取 消");
  });
  form.ShowModal();
  EXPECT_EQ(ui.Join(), Failures{});
  EXPECT_EQ(hint.caption, L"提示");
  EXPECT_EQ(focusAfter, field);
  EXPECT_EQ(caretAfter, field);
}

// A settings store that fails the board's construction, noting the board window alive then.
class FailingStore final : public board::SettingsStore {
 public:
  HWND boardSeen = nullptr;
  bool KeyExists() override { return OpenKey(); }
  bool OpenKey() override {
    boardSeen = FindWindowW(L"TfrmWhiteBorad", nullptr);
    throw std::runtime_error("no more GDI objects");
  }
  bool ValueExists(const std::string&) override { return false; }
  std::optional<std::string> ReadString(const std::string&) override { return std::nullopt; }
  std::optional<std::uint32_t> ReadDword(const std::string&) override { return std::nullopt; }
  bool WriteString(const std::string&, const std::string&) override { return false; }
  bool WriteDword(const std::string&, std::uint32_t) override { return false; }
  void CloseKey() override {}
};

TEST(ModalConstruction, ABoardThatFailsToBuildLeavesNoWindowBoundToIt) {
  FailingStore failing;
  BoardOptions options;
  options.settings = {&failing};
  EXPECT_THROW(TfrmWhiteBorad board(options), std::runtime_error);
  ASSERT_NE(failing.boardSeen, nullptr);
  EXPECT_FALSE(IsWindow(failing.boardSeen));
  EXPECT_EQ(win::Window::FromHandle(failing.boardSeen), nullptr);
}

}  // namespace
}  // namespace inkra::test
