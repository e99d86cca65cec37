// The straddle seal through the built DLL: one slice of the picture on the right edge of each
// page, all of them or none, and the picture kept for the user when it cannot be done.
#include "PlacementTestSupport.h"

#include <filesystem>

#include "Bmp.h"
#include "HostTexts.h"
#include "Png.h"
#include "ToolbarClickSupport.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;

// A seal-wide stroke across the board.
const std::vector<POINT> kWideStroke = {{40, 100}, {300, 150}, {560, 110}};
constexpr float kPageWidth = 595.3f, kPageHeight = 841.9f;

// Files the straddle may leave beside the hand-off file in the temporary folder.
int SliceFilesLeft() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    count += entry.path().filename().wstring().starts_with(L"00000001InkraWebWhirte");
  return count;
}

class StraddleSeal : public PlacementThroughDll {
 protected:
  // The whole picture of kWideStroke, placed at the page's top left, then the same stroke as a
  // straddle seal over `pages` pages; returns the whole picture's shape.
  std::shared_ptr<office::ShapeState> SealOver(HostDouble& host, int pages, std::vector<MessageBoxInfo>* boxes) {
    Connect(host, L"16.0");
    host.Word().documents[0]->pages = pages;
    Sign(host, int(board::Placement::PageTopLeft), kWideStroke);
    auto whole = AddInDll::Shapes(host).items.at(0);
    addin::EmptyTheClipboard();
    host.Word().selectionStart = host.Word().selectionEnd = 77;
    Sign(host, int(board::Placement::Straddle), kWideStroke, boxes);
    addIn->OnDisconnection(0, nullptr);
    return whole;
  }
};

TEST_F(StraddleSeal, OneSliceOnTheRightEdgeOfEveryPageTheSlicesMakingThePicture) {
  ASSERT_TRUE(dll.Loaded());
  for (const int pages : {2, 7, 25}) {
    SCOPED_TRACE(pages);
    HostDouble host(HostKind::Word);
    const auto whole = SealOver(host, pages, nullptr);
    const auto& items = AddInDll::Shapes(host).items;
    ASSERT_EQ(int(items.size()), 1 + pages);
    const PngImage picture = ReadPng(whole->picture);
    std::vector<std::vector<std::uint8_t>> rows(std::size_t(picture.height));
    float widths = 0;  // rows: the slices' rows laid side by side
    int pixels = 0;
    for (int i = 1; i <= pages; ++i) {
      const office::ShapeState& slice = *items[std::size_t(i)];
      EXPECT_EQ(slice.anchorPage, i);
      EXPECT_EQ(slice.relativeHorizontal, 1);
      EXPECT_EQ(slice.relativeVertical, 1);
      EXPECT_NEAR(slice.left + slice.width, kPageWidth, 0.01);
      EXPECT_NEAR(slice.top + slice.height / 2, kPageHeight / 2, 0.01);
      EXPECT_EQ(slice.height, whole->height);
      EXPECT_EQ(slice.name, L"kvt");
      EXPECT_EQ(slice.wrapType, 3);
      EXPECT_EQ(slice.selectCalls, 0);
      const PngImage part = ReadPng(slice.picture);
      ASSERT_EQ(part.height, picture.height);
      ASSERT_EQ(part.channels, 4);
      for (int y = 0; y < part.height; ++y)
        rows[std::size_t(y)].insert(rows[std::size_t(y)].end(), part.pixels.begin() + std::ptrdiff_t(y) * part.width * 4,
                                    part.pixels.begin() + std::ptrdiff_t(y + 1) * part.width * 4);
      widths += slice.width;
      pixels += part.width;
    }
    EXPECT_EQ(pixels, picture.width);
    EXPECT_NEAR(widths, whole->width, 0.01);
    for (int y = 0; y < picture.height; ++y)
      ASSERT_TRUE(std::equal(rows[std::size_t(y)].begin(), rows[std::size_t(y)].end(),
                             picture.pixels.begin() + std::ptrdiff_t(y) * picture.width * 4))
          << "row " << y;
    EXPECT_EQ(host.Word().selectionStart, 77);  // the user's place is kept
    EXPECT_EQ(SliceFilesLeft(), 0);
  }
}

TEST_F(StraddleSeal, OlderWordGetsBmpSlicesWithTheirWhiteKeyedOut) {
  ASSERT_TRUE(dll.Loaded());
  HostDouble host(HostKind::Word);
  Connect(host, L"11.0");
  host.Word().documents[0]->pages = 3;
  Sign(host, int(board::Placement::Straddle), kWideStroke);
  addIn->OnDisconnection(0, nullptr);
  const auto& items = AddInDll::Shapes(host).items;
  ASSERT_EQ(items.size(), 3u);
  int pixels = 0;
  for (const auto& slice : items) {
    EXPECT_EQ(slice->transparentBackground, office::msoTrue);
    EXPECT_EQ(slice->transparencyColor, 0xFFFFFF);
    const Bitmap part = ReadBmp(slice->picture);
    EXPECT_EQ(part.Height(), 258);
    pixels += part.Width();
  }
  EXPECT_EQ(pixels, 602);  // the whole board, as the BMP path always sends it
  EXPECT_EQ(SliceFilesLeft(), 0);
}

TEST_F(StraddleSeal, OnePageOrAFailedSliceLeavesNoSliceAndThePictureOnTheClipboard) {
  ASSERT_TRUE(dll.Loaded());
  struct Case {
    const char* name;
    int pages;
    int failAt;  // the slice whose AddPicture fails; 0: none
    std::string reason;
  };
  const Case cases[] = {
      {"one page", 1, 0, addin::kStraddleNeedsPages},
      {"the first slice refused", 7, 1, addin::HostRefusedText("The program can't read this picture file.")},
      {"the fifth slice refused", 7, 5, addin::HostRefusedText("The program can't read this picture file.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(HostKind::Word);
    Connect(host, L"16.0");
    host.Word().documents[0]->pages = c.pages;
    std::vector<MessageBoxInfo> boxes;
    Sign(host, int(board::Placement::PageTopLeft), kWideStroke);
    const auto whole = AddInDll::Shapes(host).items.at(0);
    addin::EmptyTheClipboard();
    host.Word().documents[0]->failAddPictureAt = c.failAt;
    Sign(host, int(board::Placement::Straddle), kWideStroke, &boxes);
    addIn->OnDisconnection(0, nullptr);
    EXPECT_EQ(AddInDll::Shapes(host).items.size(), 1u);  // the whole picture placed before, alone
    addin::ExpectKeptOnTheClipboard(boxes, c.reason, int(whole->pixelWidth), int(whole->pixelHeight));
    EXPECT_EQ(SliceFilesLeft(), 0);
  }
}

}  // namespace
}  // namespace inkra::test
