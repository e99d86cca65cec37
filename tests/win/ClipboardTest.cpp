// A refused signature put on the clipboard: a JPEG hand-off file comes out as a DIB that a paste
// reads at the picture's size and colours, and a file that is no picture leaves the user's
// clipboard as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "BoardTestJpeg.h"
#include "ByteSink.h"
#include "Clipboard.h"
#include "Png.h"
#include "support/ClipboardReader.h"

namespace inkra::win {
namespace {

void PutText(const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text, bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// A BMP's way there is the click tests'; an opened JPEG is handed off as its own bytes.
TEST(Clipboard, AJpegHandOffBecomesA24BitDibOfItsSizeAndColour) {
  PutText(L"before");
  ASSERT_TRUE(PutPictureOnClipboard(nullptr, board::testing::MakeJpeg(9, 4, 255, 0, 0)));
  const std::vector<std::uint8_t> dib = test::ClipboardDib();
  ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER) + 3u);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, dib.data(), sizeof header);
  EXPECT_EQ(header.biWidth, 9);
  EXPECT_EQ(header.biHeight, 4);  // bottom-up
  EXPECT_EQ(header.biBitCount, 24);
  const std::uint8_t* pixel = dib.data() + header.biSize;  // no palette at 24 bits
  EXPECT_NEAR(pixel[2], 255, 2);                          // red, as blue-green-red bytes
  EXPECT_NEAR(pixel[1], 0, 2);
  EXPECT_NEAR(pixel[0], 0, 2);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "the clipboard is replaced, not added to";
}

// A PNG hand-off (a current Office's): the DIB is the picture over white, and the file itself goes
// beside it as "PNG", its alpha kept for the programs that paste that.
TEST(Clipboard, APngHandOffGoesAsItselfAndAsADibOverWhite) {
  PutText(L"before");
  const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 128};  // red; clear; half blue
  VectorSink png;
  WritePng({rgba, 12, 3, 1, 4}, png);
  ASSERT_TRUE(PutPictureOnClipboard(nullptr, png.data));
  const std::vector<std::uint8_t> dib = test::ClipboardDib();
  ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER) + 9u);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, dib.data(), sizeof header);
  EXPECT_EQ(header.biWidth, 3);
  EXPECT_EQ(header.biBitCount, 24);
  const std::uint8_t* p = dib.data() + header.biSize;
  EXPECT_EQ((std::vector<int>(p, p + 9)), (std::vector<int>{0, 0, 255, 255, 255, 255, 255, 127, 127}));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE kept = GetClipboardData(RegisterClipboardFormatW(L"PNG"));
  ASSERT_NE(kept, nullptr);
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(kept));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + GlobalSize(kept)), png.data);
  GlobalUnlock(kept);
  CloseClipboard();
}

TEST(Clipboard, AFileThatIsNoPictureLeavesTheClipboardAsItWas) {
  PutText(L"the user's text");
  const std::vector<std::uint8_t> notAPicture = {'B', 'M', 0, 1, 2, 3};
  EXPECT_FALSE(PutPictureOnClipboard(nullptr, notAPicture));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(test::ClipboardDib().empty());
}

}  // namespace
}  // namespace inkra::win
