// Small parts of the board window: the dialog filters and the cursor table.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <vector>

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

// A 32 x 32 monochrome cursor file: directory, one entry with its hot spot, then the image
// (header of double height, two-colour palette, XOR mask, AND mask).
std::vector<std::uint8_t> MonochromeCursorFile() {
  std::vector<std::uint8_t> f;
  auto u16 = [&](unsigned v) { f.push_back(std::uint8_t(v)); f.push_back(std::uint8_t(v >> 8)); };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF); u16(v >> 16); };
  const unsigned imageBytes = 40 + 8 + 32 * 4 + 32 * 4;
  u16(0), u16(2), u16(1);                                       // reserved, type cursor, one image
  f.push_back(32), f.push_back(32), f.push_back(0), f.push_back(0);
  u16(16), u16(16), u32(imageBytes), u32(22);                   // hot spot, size, offset
  u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
  u32(0x000000), u32(0xFFFFFF);
  for (int row = 0; row < 32; ++row) u32(row == 16 ? 0xFFFFFFFF : 0x00018000);  // a cross
  for (int row = 0; row < 32; ++row) u32(0);
  return f;
}

TEST(BoardCursor, CursorFileBecomesNumberTwentyThree) {
  const std::vector<std::uint8_t> file = MonochromeCursorFile();
  HANDLE h = CreateFileW(L"C:\\Inkratemp.cur", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, file.data(), DWORD(file.size()), &written, nullptr);
  CloseHandle(h);
  ASSERT_EQ(written, file.size());
  RemoveTableCursor(kBoardCursorId);
  MemorySettingsStore noSettings;
  BoardOptions options;
  options.settings = {&noSettings};
  {
    TfrmWhiteBorad board(options);
    HCURSOR loaded = TableCursor(kBoardCursorId);
    ASSERT_NE(loaded, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(loaded, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 16u);
    EXPECT_EQ(info.yHotspot, 16u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  DeleteFileW(L"C:\\Inkratemp.cur");
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
