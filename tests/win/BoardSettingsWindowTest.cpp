// Pen settings through the real board and the real registry of the Wine prefix, with injected
// stores for the refusals.
#include <gtest/gtest.h>

#include "MemorySettingsStore.h"
#include "RegistrySettingsStore.h"
#include "support/BoardDriver.h"

namespace inkra::test {
namespace {

using board::MemorySettingsStore;
using board::win::BoardOptions;
using board::win::RegistrySettingsStore;
using board::win::TfrmWhiteBorad;

constexpr wchar_t kSaved[] = L"设置保存成功！";
constexpr wchar_t kNotSaved[] = L"设置保存失败，请检查是否有权限，察看是否有第三方的安全监测软件！";

// A key of its own for each test process, removed before and after.
class BoardSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    key = L"SOFTWARE\\InkraWirte\\BoardTest" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    machine = std::make_unique<RegistrySettingsStore>(HKEY_LOCAL_MACHINE, key);
    user = std::make_unique<RegistrySettingsStore>(HKEY_CURRENT_USER, key);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  }
  void PutString(HKEY root, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), DWORD((value.size() + 1) * 2));
  }
  void PutDword(HKEY root, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof value);
  }
  std::wstring GetString(HKEY root, const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return L"<none>";
    return buffer;
  }
  DWORD GetDword(HKEY root, const wchar_t* name) {
    DWORD value = 0xDEADBEEF, size = sizeof value;
    RegGetValueW(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
  }
  // The board over the machine store, then the user's, both under this test's key.
  BoardOptions Options() {
    BoardOptions o;
    o.settings = {machine.get(), user.get()};
    o.handOffPath = TempPath(L"handoff.wmf");
    return o;
  }
  // Saves the settings through the popup menu and answers the box.
  MessageBoxInfo SaveThroughMenu(TfrmWhiteBorad& board, std::function<void(UiDriver&)> before = {}) {
    return AnswerTo(board, [&](UiDriver& d) {
      if (before) before(d);
      ChoosePopupItem(d, board.View(), 10, 10, 2);
    });
  }
  // Answers the "保存" box that `action` brings up on the board.
  MessageBoxInfo AnswerTo(TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& action) {
    MessageBoxInfo seen;
    UiDriver ui;
    ui.Then([&](UiDriver& d) {
      WaitForBoard(d);
      action(d);
      seen = AnswerMessageBox(d, L"保存");
      d.Close(board.Handle());
    });
    board.ShowModal();
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    return seen;
  }
  // A dot (the nib alone) at (x, y) and the colour it left.
  std::uint32_t DotColour(TfrmWhiteBorad& board, int x, int y) {
    UiDriver ui;
    ui.Then([&](UiDriver& d) {
      WaitForBoard(d);
      Stroke(board.View(), {{x, y}});
      d.Close(board.Handle());
    });
    board.ShowModal();
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    return BoardPixels(board).PixelRGB(x + 1, y + 1);
  }

  std::wstring key;
  std::unique_ptr<RegistrySettingsStore> machine, user;
};

TEST_F(BoardSettings, SavedRedAndNormalAreWrittenAsNameAndIndex) {
  TfrmWhiteBorad board(Options());
  MessageBoxInfo seen = SaveThroughMenu(board);
  EXPECT_EQ(seen.caption, L"保存");
  EXPECT_EQ(seen.text, kSaved);
  EXPECT_EQ(seen.icon, MessageIcon::None);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"PenColor"), L"clRed");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, L"PenWidth"), 3u);
}

TEST_F(BoardSettings, ColourWithoutANameIsSavedInHex) {
  PutString(HKEY_LOCAL_MACHINE, L"PenColor", L"$00C08040");
  PutDword(HKEY_LOCAL_MACHINE, L"PenWidth", 0);
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(board.ColourPicker().Selected(), 0x00C08040u);
  EXPECT_EQ(board.Model().NibWidth(), 1);
  EXPECT_EQ(UiDriver::Text(board.PenList()), L"普通");
  SaveThroughMenu(board);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"PenColor"), L"$00C08040");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, L"PenWidth"), 3u);  // the list's index, not the nib
}

TEST_F(BoardSettings, CapitalNameLoadsBlue) {
  PutString(HKEY_LOCAL_MACHINE, L"PenColor", L"CLBLUE");
  PutDword(HKEY_LOCAL_MACHINE, L"PenWidth", 9);
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(board.Model().NibWidth(), 10);
  EXPECT_EQ(DotColour(board, 30, 30), 0xFF0000u);
  EXPECT_EQ(BoardPixels(board).PixelRGB(40, 40), 0xFF0000u);  // a 10-pixel nib
}

TEST_F(BoardSettings, BareWordStopsTheLoadBeforeTheWidth) {
  PutString(HKEY_LOCAL_MACHINE, L"PenColor", L"blue");
  PutDword(HKEY_LOCAL_MACHINE, L"PenWidth", 6);
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(board.Model().NibWidth(), 3);
  EXPECT_EQ(DotColour(board, 30, 30), 0x0000FFu);
}

TEST_F(BoardSettings, NegativeWidthPaintsOnePixelLines) {
  PutDword(HKEY_LOCAL_MACHINE, L"PenWidth", 0xFFFFFFFF);
  TfrmWhiteBorad board(Options());
  EXPECT_EQ(board.Model().NibWidth(), 0);
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    Stroke(board.View(), {{30, 30}, {50, 30}});
    d.Close(board.Handle());
  });
  board.ShowModal();
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  Bitmap b = BoardPixels(board);
  EXPECT_EQ(CountInRow(b, 30, 30, 50, 0x0000FFu), 20);
  EXPECT_EQ(b.PixelRGB(40, 29), 0xFFFFFFu);
  EXPECT_EQ(b.PixelRGB(40, 31), 0xFFFFFFu);
}

TEST_F(BoardSettings, RefusedMachineKeyFallsBackToTheUser) {
  MemorySettingsStore refused;
  refused.refuseOpen = true;
  PutString(HKEY_CURRENT_USER, L"PenColor", L"clGreen");
  BoardOptions o = Options();
  o.settings = {&refused, user.get()};
  TfrmWhiteBorad board(o);
  EXPECT_EQ(board.ColourPicker().Selected(), clGreen);
  MessageBoxInfo seen = SaveThroughMenu(board, [&](UiDriver&) { ChooseListEntry(board.PenList(), 5); });
  EXPECT_EQ(seen.text, kSaved);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"PenWidth"), 5u);
  EXPECT_EQ(GetString(HKEY_CURRENT_USER, L"PenColor"), L"clGreen");
}

// Neither store takes the settings: saving them through the menu, and choosing a placement (which
// this board still uses), each tell the user so.
TEST_F(BoardSettings, BothRefusedTheUserIsToldAndAPlacementStaysForThisBoard) {
  MemorySettingsStore machineRefused, userRefused;
  machineRefused.refuseOpen = true;
  userRefused.refuseWrite = true;
  BoardOptions o = Options();
  o.settings = {&machineRefused, &userRefused};
  for (const bool placement : {false, true}) {
    SCOPED_TRACE(placement ? "placement chosen" : "saved through the menu");
    TfrmWhiteBorad board(o);
    const MessageBoxInfo seen = placement ? AnswerTo(board, [&](UiDriver&) { ChooseListEntry(board.PlacementList(), 1); })
                                          : SaveThroughMenu(board);
    ASSERT_EQ(seen.buttons.size(), 1u);
    EXPECT_EQ(std::tuple(seen.caption, seen.text, seen.buttons[0].id), std::tuple(L"保存", kNotSaved, IDOK));
    EXPECT_EQ(board.Placement(), placement ? board::Placement::Cursor : board::Placement::PageTopLeft);
  }
}

TEST_F(BoardSettings, DefaultStoresAreTheFixedKey) {
  const wchar_t* fixed = L"SOFTWARE\\InkraWirte\\WriteBoard";
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, fixed);
  DWORD width = 1;
  const std::wstring colour = L"clNavy";
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, fixed, L"PenColor", REG_SZ, colour.c_str(), DWORD((colour.size() + 1) * 2));
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, fixed, L"PenWidth", REG_DWORD, &width, sizeof width);
  BoardOptions o;
  o.handOffPath = TempPath(L"handoff.wmf");
  {
    TfrmWhiteBorad board(o);
    EXPECT_EQ(board.ColourPicker().Selected(), clNavy);
    EXPECT_EQ(board.Model().NibWidth(), 2);
  }
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, fixed);
}

}  // namespace
}  // namespace inkra::test
