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
  EXPECT_EQ(loaded->Width(), 7);
  EXPECT_EQ(loaded->Height(), 3);
  EXPECT_EQ(loaded->PixelRGB(6, 2), 0x123456u);

  auto jpeg = LoadPreviewPicture(folder / "disguised.bmp");
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->Width(), 16);
  EXPECT_EQ(jpeg->Height(), 8);

  for (const char* name : {"broken.jpg", "broken.bmp", "empty.bmp", "missing.bmp"})
    EXPECT_FALSE(LoadPreviewPicture(folder / name)) << name;
  EXPECT_FALSE(LoadPreviewPicture(folder));  // a folder, as when one is selected

  // The size limit counts the file's bytes.
  EXPECT_TRUE(LoadPreviewPicture(folder / "small.bmp", bmp.size()));
  EXPECT_FALSE(LoadPreviewPicture(folder / "small.bmp", bmp.size() - 1));
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
  Bitmap b(602, 258, 24);
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
