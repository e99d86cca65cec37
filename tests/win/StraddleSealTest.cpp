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
using Rows = std::vector<std::vector<std::uint8_t>>;

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

// The picture's rows of pixel bytes, as PNG or BMP.
Rows PixelRows(const office::ShapeState& shape) {
  Rows rows;
  if (shape.fileName.ends_with(L".png")) {
    const PngImage image = ReadPng(shape.picture);
    const auto row = [&](int y) { return image.pixels.begin() + std::ptrdiff_t(y) * image.width * image.channels; };
    for (int y = 0; y < image.height; ++y) rows.emplace_back(row(y), row(y + 1));
  } else {
    const Bitmap image = ReadBmp(shape.picture);
    const int bytes = image.Width() * image.BitsPerPixel() / 8;
    for (int y = 0; y < image.Height(); ++y) rows.emplace_back(image.Row(y), image.Row(y) + bytes);
  }
  return rows;
}

class StraddleSeal : public PlacementThroughDll {
 protected:
  // The whole picture of kWideStroke, placed at the page's top left, then the same stroke as a
  // straddle seal over `pages` pages, slice `failAt` refused (0: none); returns the whole picture.
  std::shared_ptr<office::ShapeState> SealOver(HostDouble& host, const wchar_t* version, int pages,
                                               std::vector<MessageBoxInfo>* boxes = nullptr, int failAt = 0) {
    Connect(host, version);
    host.Word().documents[0]->pages = pages;
    Sign(host, int(board::Placement::PageTopLeft), kWideStroke);
    auto whole = AddInDll::Shapes(host).items.at(0);
    addin::EmptyTheClipboard();
    host.Word().selectionStart = host.Word().selectionEnd = 77;
    host.Word().documents[0]->failAddPictureAt = failAt;
    Sign(host, int(board::Placement::Straddle), kWideStroke, boxes);
    addIn->OnDisconnection(0, nullptr);
    return whole;
  }
};

// Word 2007 and later gets PNG slices; older Word BMP slices, as it gets the whole picture.
TEST_F(StraddleSeal, OneSliceOnTheRightEdgeOfEveryPageTheSlicesMakingThePicture) {
  ASSERT_TRUE(dll.Loaded());
  for (const auto& [version, pages] : {std::pair(L"16.0", 2), std::pair(L"16.0", 7), std::pair(L"16.0", 25),
                                       std::pair(L"11.0", 3)}) {
    SCOPED_TRACE(testing::Message() << pages << " pages, Word " << version);
    HostDouble host(HostKind::Word);
    const auto whole = SealOver(host, version, pages);
    const auto& items = AddInDll::Shapes(host).items;
    ASSERT_EQ(int(items.size()), 1 + pages);
    Rows joined(whole->pixelHeight);
    float widths = 0;
    for (int i = 1; i <= pages; ++i) {
      const office::ShapeState& slice = *items[std::size_t(i)];
      EXPECT_EQ(std::tuple(slice.anchorPage, slice.relativeHorizontal, slice.relativeVertical, slice.height, slice.name,
                           slice.wrapType, slice.selectCalls, slice.transparentBackground, slice.transparencyColor),
                std::tuple(i, 1, 1, whole->height, std::wstring(L"kvt"), 3, 0, whole->transparentBackground,
                           whole->transparencyColor));
      EXPECT_NEAR(slice.left + slice.width, kPageWidth, 0.01);
      EXPECT_NEAR(slice.top + slice.height / 2, kPageHeight / 2, 0.01);
      const Rows part = PixelRows(slice);
      ASSERT_EQ(part.size(), joined.size());
      for (std::size_t y = 0; y < part.size(); ++y) joined[y].insert(joined[y].end(), part[y].begin(), part[y].end());
      widths += slice.width;
    }
    EXPECT_TRUE(joined == PixelRows(*whole));  // every pixel of the picture, once, in place
    EXPECT_NEAR(widths, whole->width, 0.01);
    EXPECT_EQ(host.Word().selectionStart, 77);  // the user's place is kept
    EXPECT_EQ(SliceFilesLeft(), 0);
  }
}

TEST_F(StraddleSeal, OnePageOrAFailedSliceLeavesNoSliceAndThePictureOnTheClipboard) {
  ASSERT_TRUE(dll.Loaded());
  const std::string refused = addin::HostRefusedText("The program can't read this picture file.");
  const struct {
    const char* name;
    int pages, failAt;  // failAt: the slice whose AddPicture fails; 0: none
    std::string reason;
  } cases[] = {
      {"one page", 1, 0, addin::kStraddleNeedsPages},
      {"the first slice refused", 7, 1, refused},
      {"the fifth slice refused", 7, 5, refused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(HostKind::Word);
    std::vector<MessageBoxInfo> boxes;
    const auto whole = SealOver(host, L"16.0", c.pages, &boxes, c.failAt);
    EXPECT_EQ(AddInDll::Shapes(host).items.size(), 1u);  // the whole picture placed before, alone
    // The clipboard's bitmap has the view's pixels (the PNG beside it is drawn larger).
    addin::ExpectKeptOnTheClipboard(boxes, c.reason, int(std::lround(whole->width / 0.75f)),
                                    int(std::lround(whole->height / 0.75f)));
    EXPECT_EQ(SliceFilesLeft(), 0);
  }
}

}  // namespace
}  // namespace inkra::test
