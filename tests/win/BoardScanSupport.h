#pragma once
// What the tests of the board's "扫描" share: the board with a fixture of its own, the scan's
// message boxes, one scan driven from the driver's thread.
#include <gtest/gtest.h>

#include <optional>

#include "AddInTestSupport.h"
#include "MemorySettingsStore.h"
#include "TextConvert.h"
#include "TwainTestSupport.h"
#include "TwainTypes.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"
#include "support/ScreenDpi.h"

namespace inkra::test {

using board::win::TfrmWhiteBorad;
using twain::test::Box;
using twain::test::Manager;
using twain::test::ManagerPlacement;
using twain::test::PagesScript;

inline Box ScanMessage(const char* text) { return {L"扫描", win::Utf8ToWide(text), MessageIcon::None}; }

class BoardScan : public ::testing::Test {
 protected:
  board::win::BoardOptions Options() {
    board::win::BoardOptions o;
    o.settings = {&noSettings};
    o.handOffPath = TempPath(L"handoff.wmf");
    return o;
  }
  // Shows the board, runs `before`, presses "扫描", runs `after`, answers every box, then closes
  // the board.
  std::vector<Box> Scan(TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& before = {},
                        const std::function<void(UiDriver&)>& after = {}) {
    std::vector<MessageBoxInfo> seen;
    UiDriver ui(4000);
    ui.Then([&](UiDriver& d) {
      WaitForBoard(d);
      if (before) before(d);
      ClickTool(board.Toolbar(), board::win::kBtnScan);
      if (after) after(d);
    });
    addin::WatchForMessageBoxes(ui, seen);
    ui.Then([&](UiDriver& d) { d.Close(board.Handle()); });
    board.ShowModal();
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    return twain::test::ToBoxes(seen);
  }
  board::MemorySettingsStore noSettings;
};

// A visible message box of this process, or null.
inline HWND OpenBox() {
  for (HWND w : UiDriver::TopLevelWindows())
    if (UiDriver::ClassName(w) == kDialogClass) return w;
  return nullptr;
}

// Inside a driver step: presses "扫描", runs `during` while the scan runs, then answers every
// message box until the scan has ended (the toolbar is enabled again) and returns them. A scan
// that never ends fails the step after four seconds.
inline std::vector<Box> ScanOnce(UiDriver& d, TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& during = {}) {
  ClickTool(board.Toolbar(), board::win::kBtnScan);
  Eventually(d, [&] { return !IsWindowEnabled(board.Toolbar()); }, "the scan started");
  if (during) during(d);
  std::vector<MessageBoxInfo> seen;
  for (int i = 0; i < 400; ++i) {
    if (HWND box = OpenBox()) {
      seen.push_back(d.ReadMessageBox(box));
      d.PressButton(box, IDOK);
      d.WaitUntilGone(box);
      continue;
    }
    if (IsWindowEnabled(board.Toolbar())) return twain::test::ToBoxes(seen);
    Sleep(10);
  }
  d.Fail("the scan never ended");
}

inline void WaitForTheSource(UiDriver& d, ManagerPlacement& placed) {
  Eventually(d, [&] { return placed.Report().enables == 1; }, "the source enabled");
}

// Through the built DLL in Word, the host's thread in the DPI awareness `hostAwareness` (0: as it
// is): the add-in's button opens the board, "扫描" is pressed, `during` runs while the scan does;
// once the scan has ended "确定" inserts the board into `inserted`. Returns whether the host's
// thread took the awareness.
inline bool ScanInWord(int timeoutMs, const std::function<void(UiDriver&, HWND board)>& during,
                       std::vector<std::shared_ptr<office::ShapeState>>& inserted, INT_PTR hostAwareness = 0) {
  Apartment apartment;
  AddInDll dll;
  office::HostDouble host(office::HostKind::Word);
  EXPECT_TRUE(dll.Loaded());
  if (!dll.Loaded()) return false;
  win::ComPtr<IDTExtensibility2> addIn = dll.Connect(host);
  EXPECT_TRUE(addIn);
  if (!addIn) return false;
  UiDriver ui(timeoutMs);
  ui.Then([&](UiDriver& d) {
    HWND board = WaitForBoard(d), toolbar = d.Child(board, TOOLBARCLASSNAMEW, nullptr);
    ClickTool(toolbar, board::win::kBtnScan);
    during(d, board);
    Eventually(d, [&] { return IsWindowEnabled(toolbar) != FALSE; }, "the scan ended");
    ClickTool(toolbar, board::win::kBtnOK);
  });
  bool taken = false;
  {
    std::optional<ThreadDpiAwareness> awareness;
    if (hostAwareness) taken = awareness.emplace(hostAwareness).Taken();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
  }
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  inserted = AddInDll::Shapes(host).items;
  EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
  return taken;
}

}  // namespace inkra::test
