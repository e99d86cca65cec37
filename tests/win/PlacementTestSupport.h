#pragma once
// A signature placed through the built DLL, as Office loads it: the add-in connected to a host
// double, a stroke on the real board, a choice on its placement list, "确定".
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AddInTestSupport.h"
#include "Placement.h"
#include "WhiteBorad.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"

namespace inkra::test {

// The stroke of the tests: slanted across the middle of the board.
inline const std::vector<POINT> kSlantedStroke = {{60, 200}, {160, 120}, {260, 40}};

class PlacementThroughDll : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kKey = L"SOFTWARE\\InkraWirte\\WriteBoard";
  // The board's choices are kept in the machine's registry: those named here go again before
  // and after each test.
  std::vector<const wchar_t*> choices = {L"Placement"};
  void SetUp() override { ForgetChoices(); }
  void TearDown() override { ForgetChoices(); }
  void ForgetChoices() const {
    for (const wchar_t* name : choices)
      for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteKeyValueW(root, kKey, name);
  }
  // A kept choice, wherever the board keeps it; none when it is nowhere.
  static std::optional<DWORD> KeptChoice(const wchar_t* name = L"Placement") {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      DWORD value = 0, size = sizeof value;
      if (RegGetValueW(root, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS) return value;
    }
    return std::nullopt;
  }

  void Connect(office::HostDouble& host, const wchar_t* version) {
    host.SetVersion(std::wstring(version));
    addIn = dll.Connect(host);
  }
  // One click: `stroke` drawn, entry `placement` chosen on the list (-1: the list as it opens),
  // "确定". The list's entries and the one it opened with are kept in `entries` and `opened`.
  // With `boxes`, message boxes are read and answered.
  void Sign(office::HostDouble& host, int placement, const std::vector<POINT>& stroke = kSlantedStroke,
            std::vector<MessageBoxInfo>* boxes = nullptr) {
    UiDriver ui;
    ui.Then([&](UiDriver& d) {
      HWND board = WaitForBoard(d);
      HWND list = GetDlgItem(d.Child(board, L"InkraPenBar", nullptr), board::win::kCbPlace);
      entries = int(SendMessageW(list, CB_GETCOUNT, 0, 0));
      opened = int(SendMessageW(list, CB_GETCURSEL, 0, 0));
      if (beforeStroke) beforeStroke(d, board);
      Stroke(d.Child(board, L"InkraBoardView", nullptr), stroke);
      if (placement >= 0) ChooseListEntry(list, placement);
      ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
    });
    if (boxes) addin::WatchForMessageBoxes(ui, *boxes);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(office::FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  }

  Apartment apartment;
  AddInDll dll;
  win::ComPtr<IDTExtensibility2> addIn;
  int entries = 0, opened = -1;
  std::function<void(UiDriver&, HWND board)> beforeStroke;  // run on each board Sign opens
};

}  // namespace inkra::test
