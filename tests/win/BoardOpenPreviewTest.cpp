// The open dialog's picture preview: decoding the selected file, fitting it into the pane, the
// size label, and the real dialog opened by the board's Open command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Bmp.h"
#include "ByteSink.h"
#include "MemorySettingsStore.h"
#include "PicturePreview.h"
#include "../unit/BoardTestJpeg.h"
#include "support/BoardDriver.h"

namespace inkra::test {
namespace {

using board::win::FitPreview;
using board::win::kNoPreviewText;
using board::win::LoadPreviewPicture;
using board::win::PreviewSizeText;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> BmpBytes(const Bitmap& b) {
  VectorSink sink;
  WriteBmp(b, sink);
  return sink.data;
}

class BoardOpenPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::path(TempPath(L"preview"));
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  fs::path folder;
};

TEST_F(BoardOpenPreview, LoadsBitmapsAndJpegsAndRefusesEverythingElse) {
  Bitmap small(7, 3, 24);
  std::uint8_t* pixel = small.Row(2) + 6 * 3;  // blue, green, red
  pixel[0] = 0x12;
  pixel[1] = 0x34;
  pixel[2] = 0x56;
  const std::vector<std::uint8_t> bmp = BmpBytes(small);
  WriteFile(folder / "small.bmp", bmp);
  // A JPEG is known by its bytes even under a bitmap's name.
  WriteFile(folder / "disguised.bmp", board::testing::MakeJpeg(16, 8, 0, 0, 255));
  WriteFile(folder / "broken.jpg", {0x42, 0x4D, 1, 2, 3});
  WriteFile(folder / "broken.bmp", {0x42, 0x4D, 1, 2, 3});
  WriteFile(folder / "empty.bmp", {});

  auto loaded = LoadPreviewPicture(folder / "small.bmp");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->width, 7);
  EXPECT_EQ(loaded->height, 3);
  EXPECT_EQ(loaded->shown.PixelRGB(6, 2), 0x123456u);

  auto jpeg = LoadPreviewPicture(folder / "disguised.bmp");
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 16);
  EXPECT_EQ(jpeg->height, 8);

  for (const char* name : {"broken.jpg", "broken.bmp", "empty.bmp", "missing.bmp"})
    EXPECT_FALSE(LoadPreviewPicture(folder / name)) << name;
  EXPECT_FALSE(LoadPreviewPicture(folder));  // a folder, as when one is selected

  // The size limit counts the file's bytes.
  EXPECT_TRUE(LoadPreviewPicture(folder / "small.bmp", bmp.size()));
  EXPECT_FALSE(LoadPreviewPicture(folder / "small.bmp", bmp.size() - 1));
}

// A JPEG whose header declares another size (the data stays the small picture's).
std::vector<std::uint8_t> WithDeclaredSize(std::vector<std::uint8_t> jpeg, int width, int height) {
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = std::uint8_t(height >> 8), jpeg[i + 6] = std::uint8_t(height);
      jpeg[i + 7] = std::uint8_t(width >> 8), jpeg[i + 8] = std::uint8_t(width);
      break;
    }
  return jpeg;
}

TEST_F(BoardOpenPreview, LargePicturesAreDecodedReducedAndHugeOnesNotAtAll) {
  VectorSink rle;  // an 8-bit run-length bitmap declaring 20000 x 20000 in a few bytes
  WriteBmp(Bitmap(4, 4, 8), rle);
  rle.data[18] = 0x20, rle.data[19] = 0x4E, rle.data[22] = 0x20, rle.data[23] = 0x4E, rle.data[30] = 1;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool shown;
    int width, height, shownWidth, shownHeight;
  };
  const Case cases[] = {
      {"small.jpg", board::testing::MakeJpeg(200, 100, 9, 9, 9), true, 200, 100, 200, 100},
      {"wide.jpg", board::testing::MakeJpeg(2048, 1024, 9, 9, 9), true, 2048, 1024, 256, 128},
      {"half.jpg", board::testing::MakeJpeg(600, 40, 9, 9, 9), true, 600, 40, 300, 20},
      {"declares-huge.jpg", WithDeclaredSize(board::testing::MakeJpeg(16, 16, 9, 9, 9), 16000, 16000), false, 0, 0, 0, 0},
      {"declares-huge.bmp", rle.data, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(folder / c.name, c.bytes);
    auto loaded = LoadPreviewPicture(folder / c.name);
    ASSERT_EQ(loaded.has_value(), c.shown);
    EXPECT_EQ(PreviewSizeText(loaded ? &*loaded : nullptr),
              c.shown ? std::to_wstring(c.width) + L" x " + std::to_wstring(c.height) : L"(无)");
    if (!loaded) continue;
    EXPECT_EQ(loaded->shown.Width(), c.shownWidth);
    EXPECT_EQ(loaded->shown.Height(), c.shownHeight);
  }
}

TEST(BoardOpenPreviewParts, FitShrinksLargePicturesKeepingTheirShapeAndCentresThem) {
  auto fit = [](int w, int h, RECT box) {
    RECT r = FitPreview(w, h, box);
    return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
  };
  // Wide: the width limits; 200 x 100 becomes 100 x 50, centred vertically.
  EXPECT_EQ(fit(200, 100, {10, 10, 110, 110}), (std::vector<LONG>{10, 35, 110, 85}));
  // Tall: the height limits; 50 x 300 becomes 16 x 100 (rounded down), centred horizontally.
  EXPECT_EQ(fit(50, 300, {0, 0, 100, 100}), (std::vector<LONG>{42, 0, 58, 100}));
  // Small pictures keep their size.
  EXPECT_EQ(fit(20, 10, {0, 0, 100, 100}), (std::vector<LONG>{40, 45, 60, 55}));
  EXPECT_EQ(fit(100, 100, {5, 5, 105, 105}), (std::vector<LONG>{5, 5, 105, 105}));
  // Too wide by one pixel in one direction only.
  EXPECT_EQ(fit(101, 10, {0, 0, 100, 100}), (std::vector<LONG>{0, 45, 100, 54}));
  // A line of a picture never vanishes.
  EXPECT_EQ(fit(1000, 1, {0, 0, 100, 100}), (std::vector<LONG>{0, 49, 100, 50}));
}

TEST(BoardOpenPreviewParts, SizeTextNamesWidthByHeight) {
  board::win::PreviewPicture b{602, 258, Bitmap(1, 1, 24)};
  EXPECT_EQ(PreviewSizeText(&b), L"602 x 258");
  EXPECT_EQ(PreviewSizeText(nullptr), L"(无)");
  EXPECT_EQ(std::wstring(kNoPreviewText), L"(无)");
}

TEST_F(BoardOpenPreview, OpenDialogShowsTheSelectedPicturesSizeAndCancelKeepsTheBoard) {
  WriteFile(folder / "good.bmp", BmpBytes(Bitmap(100, 60, 24)));
  WriteFile(folder / "bad.bmp", {0x42, 0x4D, 0xFF, 0xFF});

  board::MemorySettingsStore noSettings;
  board::win::BoardOptions options;
  options.settings = {&noSettings};
  options.handOffPath = (folder / "handoff.wmf").wstring();
  board::win::TfrmWhiteBorad board(options);
  std::wstring before, good, bad;
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    ClickTool(board.Toolbar(), board::win::kBtnOpen);
    HWND dialog = d.WaitForWindow(kDialogClass, nullptr);
    HWND label = d.Child(dialog, L"Static", nullptr, board::win::kPreviewSizeId);
    d.Child(dialog, L"Static", nullptr, board::win::kPreviewImageId);
    before = UiDriver::Text(label);
    HWND list = EnterFolder(d, dialog, folder.wstring(), 2);
    SelectListEntry(d, list, L"good");
    Eventually(d, [&] { return UiDriver::Text(label) != before; }, "a preview");
    good = UiDriver::Text(label);
    SelectListEntry(d, list, L"bad");
    Eventually(d, [&] { return UiDriver::Text(label) != good; }, "a cleared preview");
    bad = UiDriver::Text(label);
    d.PressButton(dialog, IDCANCEL);
    d.WaitUntilGone(dialog);
    d.Close(board.Handle());
  });
  board.ShowModal();
  EXPECT_EQ(ui.Join(), std::vector<std::string>{});
  EXPECT_EQ(before, L"(无)");
  EXPECT_EQ(good, L"100 x 60");
  EXPECT_EQ(bad, L"(无)");
  EXPECT_EQ(board.ImageWidth(), 602);  // cancelled: the board keeps its blank picture
  EXPECT_EQ(board.ImageHeight(), 258);
}

}  // namespace
}  // namespace inkra::test
