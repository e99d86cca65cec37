// The colour box on its own: its entries, what no selection and "Default" stand for, and the
// custom colour kept when the colour dialog is cancelled.
#include <gtest/gtest.h>

#include "ColourBox.h"
#include "GdiCanvas.h"

namespace inkra::test {
namespace {

class ColourBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_NE(box_.Create(parent_, 7, 0, 0, 150, 24, nullptr), nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    win::ColourBox::SetChooser(nullptr);
  }
  void Choose(int index) {
    SendMessageW(box_.Handle(), CB_SETCURSEL, WPARAM(index), 0);
    changed_ = box_.OnSelChange();
  }
  HWND parent_ = nullptr;
  win::ColourBox box_{clRed};
  bool changed_ = false;
};

TEST_F(ColourBoxTest, ListsDefaultStandardSystemAndCustom) {
  ASSERT_EQ(box_.Count(), 1 + 16 + 30 + 1);
  EXPECT_EQ(box_.EntryLabel(0), L"Default");
  EXPECT_EQ(box_.EntryLabel(1), L"Black");
  EXPECT_EQ(box_.EntryValue(1), clBlack);
  EXPECT_EQ(box_.EntryLabel(10), L"Red");
  EXPECT_EQ(box_.EntryLabel(16), L"White");
  EXPECT_EQ(box_.EntryLabel(17), L"ScrollBar");
  EXPECT_EQ(box_.EntryValue(17), kSystemColourBit + 0);
  EXPECT_EQ(box_.EntryLabel(47), L"Custom");
  EXPECT_EQ(SendMessageW(box_.Handle(), CB_GETCOUNT, 0, 0), 48);
}

TEST_F(ColourBoxTest, NoSelectionAndDefaultStandForTheDefaultColour) {
  SendMessageW(box_.Handle(), CB_SETCURSEL, WPARAM(-1), 0);
  EXPECT_EQ(box_.Selected(), clRed);
  Choose(0);
  EXPECT_EQ(box_.Selected(), clRed);
  Choose(13);  // Blue
  EXPECT_EQ(box_.Selected(), clBlue);
  box_.Select(clBtnFace);
  EXPECT_EQ(box_.Selected(), clBtnFace);  // a system colour stays a system colour value
  EXPECT_EQ(win::GdiCanvas::Resolve(box_.Selected(), 0), GetSysColor(COLOR_BTNFACE));
}

bool Olive(HWND, COLORREF& c) {
  c = RGB(1, 2, 3);
  return true;
}
bool Cancel(HWND, COLORREF&) { return false; }

TEST_F(ColourBoxTest, CustomAsksTheDialogAndCancelGoesBack) {
  Choose(5);  // Navy
  win::ColourBox::SetChooser(Olive);
  Choose(47);
  EXPECT_TRUE(changed_);
  EXPECT_EQ(box_.Selected(), RGB24(1, 2, 3));
  Choose(5);
  win::ColourBox::SetChooser(Cancel);
  Choose(47);
  EXPECT_FALSE(changed_);
  EXPECT_EQ(SendMessageW(box_.Handle(), CB_GETCURSEL, 0, 0), 5);
  EXPECT_EQ(box_.Selected(), clNavy);
  box_.Select(RGB24(9, 9, 9));  // not in the list: becomes the custom entry
  EXPECT_EQ(SendMessageW(box_.Handle(), CB_GETCURSEL, 0, 0), 47);
  EXPECT_EQ(box_.Selected(), RGB24(9, 9, 9));
}

// The parent's drawing reaches the box only while both live; it goes with whichever dies first.
TEST_F(ColourBoxTest, TheComboIsLetGoWhenTheBoxOrItsComboIsDestroyed) {
  const auto drawnByABox = [](HWND combo) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.hwndItem = combo;
    item.itemID = UINT(-1);
    item.hDC = GetDC(combo);
    LRESULT result = 0;
    const bool drawn = win::ColourBox::HandleParentMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result);
    ReleaseDC(combo, item.hDC);
    return drawn;
  };
  HWND combo = nullptr;
  {
    win::ColourBox box;
    combo = box.Create(parent_, 8, 0, 30, 150, 24, nullptr);
    ASSERT_TRUE(drawnByABox(combo));
  }
  EXPECT_FALSE(drawnByABox(combo));
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 48);  // the combo itself still answers
  win::ColourBox second;
  HWND secondCombo = second.Create(parent_, 9, 0, 60, 150, 24, nullptr);
  DestroyWindow(secondCombo);
  EXPECT_EQ(second.Handle(), nullptr);  // unbound at WM_NCDESTROY
}

}  // namespace
}  // namespace inkra::test
