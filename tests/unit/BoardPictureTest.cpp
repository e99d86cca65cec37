// What the board writes (hand-off and Save) and how an opened JPEG becomes drawable.
#include <gtest/gtest.h>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"
#include "Errors.h"
#include "Jpeg.h"
#include "PictureFile.h"

namespace inkra::board {
namespace {

using testing::BmpHeadersOf;
using testing::JpegClaiming;
using testing::MakeJpeg;
using testing::RecordingSurfaces;

class BoardPicture : public ::testing::Test {
 protected:
  void SetUp() override { board.Create(602, 258); }
  std::vector<std::uint8_t> Written() {
    VectorSink sink;
    board.WritePicture(sink);
    return sink.data;
  }
  RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

TEST_F(BoardPicture, FreshBoardWritesAWhiteBitmapOfTheClientArea) {
  auto bytes = Written();
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  Bitmap back = ReadBmp(bytes);
  EXPECT_EQ(back.Width(), 602);
  EXPECT_EQ(back.Height(), 258);
  EXPECT_EQ(back.PixelRGB(0, 0), clWhite);
  EXPECT_EQ(back.PixelRGB(601, 257), clWhite);
}

TEST_F(BoardPicture, OpenedJpegIsWrittenBackByteForByte) {
  auto jpeg = MakeJpeg(40, 30, 10, 200, 30);
  board.OpenPicture("photo.JPEG", jpeg);
  EXPECT_EQ(board.Kind(), PictureKind::Jpeg);
  EXPECT_EQ(board.ViewSize(), (Size{40, 30}));
  EXPECT_EQ(Written(), jpeg);
  // Moving the pointer or pressing buttons without drawing changes nothing.
  board.MouseDown(MouseButton::Right, 3, 3);
  board.MouseMove(9, 9);
  board.ChoosePen(1);
  EXPECT_EQ(Written(), jpeg);
}

TEST_F(BoardPicture, FirstStrokeTurnsAJpegIntoABitmapOfItsPixels) {
  auto jpeg = MakeJpeg(16, 8, 0, 0, 255);
  board.OpenPicture("b.jpg", jpeg);
  board.MouseDown(MouseButton::Left, 2, 2);
  board.MouseMove(4, 2);
  board.MouseUp();
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(board.Ink()->At(3, 3).colour, (ink::Rgb{255, 0, 0}));
  Bitmap back = ReadBmp(Written());
  EXPECT_EQ(back.Width(), 16);
  EXPECT_EQ(back.Height(), 8);
  // The decoded blue survives (JPEG is lossy: allow a little).
  std::uint32_t px = back.PixelRGB(8, 4);
  EXPECT_LT(px & 0xFF, 16u);
  EXPECT_GT((px >> 16) & 0xFF, 240u);
}

TEST_F(BoardPicture, AColourOrPenChangeKeepsAJpegButAStampTurnsItIntoABitmap) {
  auto jpeg = MakeJpeg(8, 8, 255, 255, 255);
  board.OpenPicture("c.jpg", jpeg);
  board.ChooseColour(clNavy);
  board.ChoosePen(3);
  EXPECT_EQ(board.Kind(), PictureKind::Jpeg);
  EXPECT_EQ(Written(), jpeg);
  EXPECT_EQ(surfaces.Last().Recorder().BrushColour(), clNavy);
  board.StampTime("2024-01-02 03:04");
  EXPECT_EQ(board.Kind(), PictureKind::Bitmap);
  EXPECT_NE(Written(), jpeg);
}

TEST_F(BoardPicture, TimeStampIsBoldTenPointOnWhiteAtTheStampPoint) {
  board.ChooseColour(clBlue);
  board.MouseDown(MouseButton::Right, 15, 25);
  auto& rec = surfaces.Last().Recorder();
  rec.Clear();
  board.StampTime("2006-05-01 14:07");
  auto texts = rec.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x1, 15);
  EXPECT_EQ(texts[0].y1, 25);
  EXPECT_EQ(texts[0].text, "2006-05-01 14:07");
  EXPECT_EQ(texts[0].brush, clWhite);
  EXPECT_EQ(texts[0].font.sizePoints, 10);
  EXPECT_TRUE(texts[0].font.bold);
  EXPECT_EQ(texts[0].font.face, Font{}.face);
  EXPECT_EQ(texts[0].font.colour, Font{}.colour);
  EXPECT_EQ(rec.BrushColour(), clBlue);  // the fill goes back to the selected colour
}

TEST(PictureFileNames, ExtensionChoosesTheDecoder) {
  EXPECT_EQ(PictureKindForName("a.bmp"), PictureFileKind::Bitmap);
  EXPECT_EQ(PictureKindForName("C:\\dir.jpg\\A.BMP"), PictureFileKind::Bitmap);
  EXPECT_EQ(PictureKindForName("a.JPG"), PictureFileKind::Jpeg);
  EXPECT_EQ(PictureKindForName("a.jpeg"), PictureFileKind::Jpeg);
  EXPECT_EQ(PictureKindForName("a.bmp.wmf"), PictureFileKind::Unsupported);
  EXPECT_EQ(PictureKindForName("a.ico"), PictureFileKind::Unsupported);
  EXPECT_EQ(PictureKindForName("C:\\dir.bmp\\noext"), PictureFileKind::Unsupported);
  EXPECT_EQ(ExtensionOf("x/y.Emf"), ".Emf");
  EXPECT_EQ(ExtensionOf("x.d/y"), "");
}

TEST(PictureFileNames, RefusalNamesTheExtension) {
  RecordingSurfaces surfaces;
  try {
    DecodePictureFile(surfaces, "logo.wmf", std::vector<std::uint8_t>{1, 2, 3});
    FAIL() << "a metafile was accepted";
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()).find(".wmf"), std::string::npos);
  }
}

TEST(PictureFileNames, JpegNamedBmpGivesTheBmpDecodersError) {
  auto jpeg = MakeJpeg(4, 4, 1, 2, 3);
  RecordingSurfaces surfaces;
  EXPECT_THROW(DecodePictureFile(surfaces, "photo.bmp", jpeg), PictureError);
  EXPECT_THROW(DecodePictureFile(surfaces, "photo.jpg", std::vector<std::uint8_t>{'B', 'M', 0, 0}), PictureError);
}

// The board holds pictures up to kMaxPictureBytes of decoded pixels; larger ones are refused from
// their headers, before anything is decoded (a decoder reaching these files would fail on their
// missing pixels with its own message instead).
TEST(PictureFileSize, PicturesPastTheLimitAreRefusedFromTheirHeaders) {
  // 6144 x 5461 at 24 bits is the largest 6144-wide picture within 96 MiB; one row more is not.
  const struct {
    const char* name;
    std::vector<std::uint8_t> head;
    bool refused;
  } cases[] = {
      {"huge.jpg", JpegClaiming(20000, 20000), true},
      {"huge.bmp", BmpHeadersOf(20000, 20000, 24), true},
      {"huge-rle.bmp", BmpHeadersOf(20000, 20000, 8, 1), true},  // small file, 400 MB of pixels
      {"top-down.bmp", BmpHeadersOf(20000, -20000, 8), true},
      {"limit.jpg", JpegClaiming(6144, 5461), false},
      {"past-limit.jpg", JpegClaiming(6144, 5462), true},
      {"limit.bmp", BmpHeadersOf(6144, 5461, 24), false},
      {"one-bit.bmp", BmpHeadersOf(20000, 20000, 1), false},  // 50 MB at its own depth
      {"broken.bmp", {'B', 'M', 1}, false},                    // the decoder's to report
      {"photo.png", JpegClaiming(20000, 20000), false},        // refused by its extension instead
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.refused) {
      EXPECT_THROW(CheckPictureFits(c.name, c.head), PictureTooLarge);
    } else {
      EXPECT_NO_THROW(CheckPictureFits(c.name, c.head));
    }
  }
}

TEST(PictureFileSize, TheJpegFrameHeaderIsFoundPastOtherSegments) {
  std::vector<std::uint8_t> jpeg = JpegClaiming(7000, 5000);
  // An APP1 segment of 60 KB and fill bytes before the rest, as a camera's Exif block sits.
  std::vector<std::uint8_t> app{0xFF, 0xE1, 0xEA, 0x62};
  app.resize(0xEA62 + 2, 0x20);
  app.insert(app.end(), {0xFF, 0xFF});
  jpeg.insert(jpeg.begin() + 2, app.begin(), app.end());
  const std::optional<PictureShape> shape = ReadJpegShape(jpeg);
  ASSERT_TRUE(shape);
  EXPECT_EQ(shape->width, 7000);
  EXPECT_EQ(shape->height, 5000);
  EXPECT_EQ(shape->DecodedBytes(), 7000u * 3 * 5000);
  EXPECT_FALSE(ReadJpegShape(std::span(jpeg).first(1000)));  // cut short before the frame header
  EXPECT_FALSE(ReadJpegShape(BmpHeadersOf(8, 8, 24)));
}

}  // namespace
}  // namespace inkra::board
