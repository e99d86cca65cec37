// Files that ImageMagick writes read to the pixels that ImageMagick reads from them.
#include <gtest/gtest.h>

#include "BmpTestSupport.h"
#include "Bmp.h"

namespace inkra {
namespace {

struct Case {
  const char* name;
  const char* args;    // what convert makes
  const char* prefix;  // output format
  int bpp;
  std::uint32_t compression;
};

// A plasma with a fixed seed gives enough colours for an 8-bit palette; a gradient 7 wide
// needs only a few.
const Case kCases[] = {
    {"pal1", "-size 7x5 gradient: -colors 2 -type palette", "BMP3:", 1, 0},
    {"pal4", "-size 7x5 gradient:red-blue -colors 16 -type palette", "BMP3:", 4, 0},
    {"pal8", "-seed 7 -size 37x21 plasma: -colors 200 -type palette -compress None", "BMP3:", 8, 0},
    {"rle8", "-seed 7 -size 37x21 plasma: -colors 200 -type palette -compress RLE", "BMP3:", 8, 1},
    {"rgb24", "-size 7x5 gradient:red-blue -type truecolor", "BMP3:", 24, 0},
    {"rgb24w", "-seed 3 -size 13x6 plasma: -type truecolor", "BMP3:", 24, 0},
    {"rgb565", "-seed 3 -size 9x4 plasma: -define bmp:subtype=RGB565", "BMP:", 16, 3},
    {"rgb555", "-seed 3 -size 9x4 plasma: -define bmp:subtype=RGB555", "BMP:", 16, 3},
    // 32 bits with an alpha channel (V5 header, alpha mask). A Bitmap keeps red, green and
    // blue as stored, unpremultiplied, and drops alpha; ImageMagick's RGB agrees.
    {"argb32", "-seed 5 -size 6x5 plasma: -alpha on -channel A -evaluate set 50% +channel", "BMP:", 32, 3},
    {"os2core", "-seed 7 -size 37x21 plasma: -colors 200 -type palette", "BMP2:", 8, 0},
    {"os2rgb", "-size 7x5 gradient:red-blue", "BMP2:", 24, 0},
    {"grey4", "-size 9x7 gradient: -colors 9 -type palette", "BMP3:", 4, 0},
};

TEST(BmpImageMagick, ReadsTheSamePixelsAsImageMagick) {
  if (!test::HaveTool(test::kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::string file = std::string(c.name) + ".bmp";
    auto bytes = test::MakeWithConvert(c.args, file, c.prefix);
    ASSERT_GT(bytes.size(), 30u);
    ASSERT_EQ(bytes[bytes[14] == 12 ? 24 : 28], c.bpp) << "convert made another depth; the case no longer tests it";
    if (bytes[14] != 12) {
      ASSERT_EQ(bytes[30], c.compression);
    }
    Bitmap b = ReadBmp(bytes);
    EXPECT_EQ(b.BitsPerPixel(), c.bpp);  // the file's own depth
    auto theirs = test::ImageMagickRgba(test::ScratchDir() / file);
    ASSERT_EQ(theirs.size(), std::size_t(b.Width()) * b.Height() * 4);
    EXPECT_EQ(test::CountRgbDifferences(theirs, b.ToRGBA(), b.Width()), 0);
  }
}

}  // namespace
}  // namespace inkra
