// The peer BMP suite: good files read to ImageMagick's pixels; questionable and bad files
// either read or are refused with PictureError, never crash (the ASan build checks access).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "BmpTestSupport.h"
#include "Bmp.h"
#include "Errors.h"

namespace inkra {
namespace {

namespace fs = std::filesystem;

fs::path SuiteDir() { return fs::path(INKRA_TESTDATA) / "bmpsuite"; }

std::vector<fs::path> Files(const char* group) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(SuiteDir() / group))
    if (e.path().extension() == ".bmp") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(BmpSuite, GoodFilesReadToImageMagicksPixels) {
  if (!fs::is_directory(SuiteDir() / "g")) GTEST_SKIP() << "no bmpsuite under " << SuiteDir();
  if (!test::HaveTool(test::kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  auto files = Files("g");
  EXPECT_GE(files.size(), 20u);
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    Bitmap b;
    ASSERT_NO_THROW(b = ReadBmp(ReadFileBytes(path)));
    auto theirs = test::ImageMagickRgba(path);
    ASSERT_EQ(theirs.size(), std::size_t(b.Width()) * b.Height() * 4);
    EXPECT_EQ(test::CountRgbDifferences(theirs, b.ToRGBA(), b.Width()), 0);
  }
}

// Returns the names of the files read; every other one must have been refused cleanly.
std::vector<std::string> ReadOrRefuse(const char* group) {
  std::vector<std::string> read;
  for (const auto& path : Files(group)) {
    auto bytes = ReadFileBytes(path);
    try {
      Bitmap b = ReadBmp(bytes);
      EXPECT_FALSE(b.Empty());
      b.ToRGBA();  // touches every pixel
      read.push_back(path.filename().string());
    } catch (const PictureError& e) {
      std::string message = e.what();
      EXPECT_TRUE(message.rfind("BMP", 0) == 0 || message.rfind("Not a BMP", 0) == 0)
          << path.filename() << ": " << message;
    }
  }
  return read;
}

TEST(BmpSuite, QuestionableFilesReadOrAreRefused) {
  if (!fs::is_directory(SuiteDir() / "q")) GTEST_SKIP() << "no bmpsuite under " << SuiteDir();
  auto read = ReadOrRefuse("q");
  std::string list;
  for (const auto& n : read) list += " " + n;
  std::printf("bmpsuite q/ files read:%s\n", list.c_str());
  // Files of formats we do read: a smaller palette, an offset pixel block, OS/2 headers,
  // unusual masks.
  for (const char* expected : {"pal8offs.bmp", "pal8os2sp.bmp", "pal8os2v2.bmp", "pal8os2v2-16.bmp",
                               "rgb16-231.bmp", "rgb32-111110.bmp", "rgba32abf.bmp", "rgb32h52.bmp"})
    EXPECT_NE(std::find(read.begin(), read.end(), expected), read.end()) << expected;
  // Formats we refuse: embedded JPEG/PNG, 2 and 64 bits, Huffman, RLE24.
  for (const char* refused : {"rgb24jpeg.bmp", "rgb24png.bmp", "pal2.bmp", "rgba64.bmp", "pal1huffmsb.bmp",
                              "rgb24rle24.bmp"})
    EXPECT_EQ(std::find(read.begin(), read.end(), refused), read.end()) << refused;
}

TEST(BmpSuite, BadFilesAreRefused) {
  if (!fs::is_directory(SuiteDir() / "b")) GTEST_SKIP() << "no bmpsuite under " << SuiteDir();
  auto read = ReadOrRefuse("b");
  // Only fields that a reader has no use for are wrong in these; they read leniently.
  std::vector<std::string> lenient = {"badbitssize.bmp", "baddens1.bmp", "baddens2.bmp", "badfilesize.bmp"};
  for (const auto& n : read)
    EXPECT_NE(std::find(lenient.begin(), lenient.end(), n), lenient.end()) << n << " was read";
}

}  // namespace
}  // namespace inkra
