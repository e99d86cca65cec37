// A board picture written in its own encoding.
#include "Picture.h"

#include <gtest/gtest.h>

#include "Bmp.h"
#include "Errors.h"

namespace inkra {
namespace {

TEST(BitmapPicture, BitmapIsWrittenAsBmp) {
  Bitmap b(3, 2, 24);
  b.Row(1)[0] = 0;
  VectorSink viaPicture, direct;
  WritePicture(Picture(b), viaPicture);
  WriteBmp(b, direct);
  EXPECT_EQ(viaPicture.data, direct.data);
  EXPECT_EQ(ReadBmp(viaPicture.data).PixelRGB(0, 1), 0x00FFFFu);  // blue cleared: yellow
}

TEST(BitmapPicture, JpegIsWrittenByteForByte) {
  JpegPicture jpeg;
  jpeg.original = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 0xFF, 0xD9};
  jpeg.decoded = Bitmap(1, 1, 24);
  VectorSink sink;
  WritePicture(Picture(jpeg), sink);
  EXPECT_EQ(sink.data, jpeg.original);
}

TEST(BitmapPicture, NoPictureIsAnError) {
  VectorSink sink;
  EXPECT_THROW(WritePicture(Picture(), sink), PictureError);
  EXPECT_TRUE(sink.data.empty());
}

}  // namespace
}  // namespace inkra
