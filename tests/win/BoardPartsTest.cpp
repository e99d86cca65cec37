// Small parts of the board window: the dialog filters and the cursor table.
#include <gtest/gtest.h>

#include <iterator>

#include "BoardTexts.h"
#include "CursorTable.h"
#include "FileDialogs.h"
#include "MemorySettingsStore.h"
#include "WhiteBorad.h"

namespace inkra::board::win {
namespace {

TEST(BoardFileDialogs, FiltersBecomeDoubleNulTerminatedPairs) {
  const std::wstring open = FilterForDialog(kOpenFilter);
  static constexpr wchar_t kOpen[] = L"Bitmaps (*.bmp)\0*.bmp\0jpg(*.*.jpg)\0*.jpg\0";  // + the literal's NUL
  EXPECT_EQ(open, std::wstring(kOpen, std::size(kOpen)));
  const std::wstring save = FilterForDialog(kSaveFilter);
  static constexpr wchar_t kSave[] = L"bmp图片\0*.bmp\0jpg图片\0*.jpg\0";
  EXPECT_EQ(save, std::wstring(kSave, std::size(kSave)));
}

TEST(BoardCursor, MissingCursorFileRemovesNumberTwentyThree) {
  DeleteFileW(L"C:\\Inkratemp.cur");
  SetTableCursor(kBoardCursorId, CopyCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS))));
  ASSERT_NE(TableCursor(kBoardCursorId), nullptr);
  MemorySettingsStore noSettings;
  BoardOptions options;
  options.settings = {&noSettings};
  TfrmWhiteBorad board(options);
  EXPECT_EQ(TableCursor(kBoardCursorId), nullptr);
}

TEST(BoardCursor, TableReplacesAndRemoves) {
  HCURSOR a = CopyCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS)));
  HCURSOR b = CopyCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM)));
  SetTableCursor(5, a);
  EXPECT_EQ(TableCursor(5), a);
  SetTableCursor(5, b);
  EXPECT_EQ(TableCursor(5), b);
  EXPECT_EQ(TableCursor(6), nullptr);
  RemoveTableCursor(5);
  EXPECT_EQ(TableCursor(5), nullptr);
}

}  // namespace
}  // namespace inkra::board::win
