// JPEG decoding: the same pixels as libjpeg's own djpeg, conversions to RGB, and bad files
// refused with libjpeg's message while the process goes on.
#include <gtest/gtest.h>

#include "BmpTestSupport.h"
#include "Bmp.h"
#include "Errors.h"
#include "Jpeg.h"

namespace inkra {
namespace {

const char* kDjpeg = "/usr/bin/djpeg";

std::vector<std::uint8_t> MakeJpeg(const std::string& args, const std::string& name) {
  return test::MakeWithConvert(args, name, "JPEG:");
}

// djpeg's BMP of the same file, read back with our BMP reader.
Bitmap Djpeg(const std::string& name) {
  auto bmp = test::Capture(std::string(kDjpeg) + " -bmp " + test::Quote(test::ScratchDir() / name));
  return ReadBmp(bmp);
}

std::string ErrorOf(const std::vector<std::uint8_t>& file) {
  try {
    DecodeJpeg(file);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "(decoded)";
}

// Offset of the start-of-frame segment (baseline or progressive).
std::size_t FindFrame(const std::vector<std::uint8_t>& f) {
  for (std::size_t i = 2; i + 9 < f.size(); ++i)
    if (f[i] == 0xFF && (f[i + 1] == 0xC0 || f[i + 1] == 0xC2)) return i;
  ADD_FAILURE() << "no frame header";
  return 0;
}

bool HaveTools() { return test::HaveTool(test::kConvert) && test::HaveTool(kDjpeg); }

TEST(JpegDecode, SamePixelsAsDjpeg) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick or djpeg is not installed";
  struct Case { const char* name; const char* args; };
  const Case cases[] = {
      {"colour.jpg", "-seed 4 -size 33x17 plasma: -quality 90"},
      {"sub444.jpg", "-seed 4 -size 16x16 plasma: -sampling-factor 1x1"},
      {"grey.jpg", "-seed 4 -size 21x9 plasma: -colorspace Gray"},
      {"progressive.jpg", "-seed 6 -size 40x31 plasma: -interlace JPEG"},
      {"tiny.jpg", "-size 1x1 xc:orange"},
      // Large enough to be decoded in two bands at once; heights off the row groups.
      {"large420.jpg", "-seed 4 -size 110x130 plasma: -resize 1100x1300! -attenuate 0.3 +noise Gaussian"},
      {"large422.jpg", "-seed 5 -size 120x100 plasma: -resize 1200x1001! -sampling-factor 2x1"},
      {"large444.jpg", "-seed 6 -size 100x120 plasma: -resize 1000x1207! -sampling-factor 1x1"},
      {"largegrey.jpg", "-seed 7 -size 100x120 plasma: -resize 1024x1030! -colorspace Gray"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto file = MakeJpeg(c.args, c.name);
    JpegPicture picture = DecodeJpeg(file);
    EXPECT_EQ(picture.original, file);
    EXPECT_EQ(picture.warnings, 0);
    EXPECT_EQ(picture.decoded.BitsPerPixel(), 24);
    Bitmap reference = Djpeg(c.name);  // 8-bit greys for a greyscale file, else 24 bits
    ASSERT_EQ(picture.decoded.Width(), reference.Width());
    ASSERT_EQ(picture.decoded.Height(), reference.Height());
    EXPECT_EQ(test::CountRgbDifferences(reference.ToRGBA(), picture.decoded.ToRGBA(), reference.Width()), 0);
  }
}

TEST(JpegDecode, CmykComesOutAsRgb) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick is not installed";
  auto file = MakeJpeg("-seed 4 -size 24x12 plasma: -colorspace CMYK", "cmyk.jpg");
  JpegPicture picture = DecodeJpeg(file);
  auto theirs = test::ImageMagickRgba(test::ScratchDir() / "cmyk.jpg");
  EXPECT_EQ(test::CountRgbDifferences(theirs, picture.decoded.ToRGBA(), 24, 2), 0);
  // The plasma's colours survive, neither inverted nor grey: close to the RGB original on
  // average (CMYK through JPEG loses more than RGB does).
  auto rgb = DecodeJpeg(MakeJpeg("-seed 4 -size 24x12 plasma:", "cmyk-rgb.jpg")).decoded.ToRGBA();
  auto cmyk = picture.decoded.ToRGBA();
  long total = 0;
  for (std::size_t i = 0; i < rgb.size(); ++i) total += std::abs(int(rgb[i]) - int(cmyk[i]));
  EXPECT_LT(double(total) / double(rgb.size()), 6.0);
}

TEST(JpegDecode, BadFilesThrowLibjpegsMessage) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick is not installed";
  auto file = MakeJpeg("-seed 4 -size 64x64 plasma: -quality 95", "good.jpg");
  ASSERT_EQ(ErrorOf(file), "(decoded)");
  EXPECT_EQ(ErrorOf({}), "Empty input file");
  EXPECT_EQ(ErrorOf({'B', 'M', 1, 2}), "Not a JPEG file: starts with 0x42 0x4d");
  // Cut inside the header, and inside the scan.
  EXPECT_EQ(ErrorOf(std::vector<std::uint8_t>(file.begin(), file.begin() + 40)), "Premature end of JPEG file");
  EXPECT_EQ(ErrorOf(std::vector<std::uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(file.size() / 2))),
            "Premature end of JPEG file");
  // A frame header with a precision of 7 bits.
  auto bad = file;
  bad[FindFrame(bad) + 4] = 7;
  EXPECT_EQ(ErrorOf(bad), "Unsupported JPEG data precision 7");
  // A frame with zero height.
  bad = file;
  std::size_t sof = FindFrame(bad);
  bad[sof + 5] = 0, bad[sof + 6] = 0;
  EXPECT_EQ(ErrorOf(bad), "Empty JPEG image (DNL not supported)");
  // After all of these the decoder still works.
  EXPECT_EQ(ErrorOf(file), "(decoded)");
}

TEST(JpegDecode, OversizeHeaderIsRefusedBeforeDecoding) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick is not installed";
  auto file = MakeJpeg("-size 8x8 xc:white", "small.jpg");
  std::size_t sof = FindFrame(file);
  auto sized = [&](unsigned w, unsigned h) {
    auto f = file;
    f[sof + 5] = std::uint8_t(h >> 8), f[sof + 6] = std::uint8_t(h);
    f[sof + 7] = std::uint8_t(w >> 8), f[sof + 8] = std::uint8_t(w);
    return ErrorOf(f);
  };
  const std::string range = "JPEG width or height out of range (limit 30000 x 30000, 1 GiB)";
  EXPECT_EQ(sized(30001, 8), range);
  EXPECT_EQ(sized(8, 65000), range);
  EXPECT_EQ(sized(20000, 20000), range);  // 1.2 GB at 24 bits
  EXPECT_NE(sized(16, 16), range);  // within the limits
}

TEST(JpegDecode, CorruptScanDataIsCountedAsWarnings) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick is not installed";
  auto file = MakeJpeg("-seed 4 -size 64x64 plasma: -quality 95", "warn.jpg");
  // A restart marker where none is expected makes libjpeg warn and resynchronise.
  std::size_t sos = 0;
  for (std::size_t i = 2; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDA) sos = i;
  ASSERT_GT(sos, 0u);
  std::size_t at = sos + 200;
  file.insert(file.begin() + std::ptrdiff_t(at), {0xFF, 0xD3});
  JpegPicture picture = DecodeJpeg(file);
  EXPECT_GT(picture.warnings, 0);
  EXPECT_EQ(picture.decoded.Width(), 64);
}

// A large picture decoded in two bands at once gives the one-pass outcome whichever band the
// damage lies in: the same message, or the warnings counted.
TEST(JpegDecode, DamageInEitherBandOfALargePicture) {
  if (!HaveTools()) GTEST_SKIP() << "ImageMagick is not installed";
  auto file = MakeJpeg("-seed 4 -size 110x130 plasma: -resize 1100x1300! -quality 95", "bands.jpg");
  for (double at : {0.3, 0.9}) {
    SCOPED_TRACE(at);
    const auto cut = std::ptrdiff_t(double(file.size()) * at);
    EXPECT_EQ(ErrorOf(std::vector<std::uint8_t>(file.begin(), file.begin() + cut)), "Premature end of JPEG file");
    auto damaged = file;
    damaged.insert(damaged.begin() + cut, {0xFF, 0xD3});
    JpegPicture picture = DecodeJpeg(damaged);
    EXPECT_GT(picture.warnings, 0);
    EXPECT_EQ(picture.decoded.Height(), 1300);
  }
}

TEST(JpegDecode, LooksLikeJpeg) {
  EXPECT_TRUE(LooksLikeJpeg(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0}));
  EXPECT_FALSE(LooksLikeJpeg(std::vector<std::uint8_t>{0xFF}));
  EXPECT_FALSE(LooksLikeJpeg(std::vector<std::uint8_t>{'B', 'M', 0, 0}));
}

}  // namespace
}  // namespace inkra
