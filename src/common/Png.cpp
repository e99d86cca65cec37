// PNG writing and reading through libpng, with error handling that unwinds instead of aborting.
#include "Png.h"

#include <cstring>
#include <exception>
#include <string>

#include <png.h>
#include <zlib.h>

#include "Bitmap.h"
#include "Errors.h"

namespace inkra {
namespace {

// libpng reports a fatal error by calling the error function, which must not return. As for
// libjpeg, we jump back with __builtin_longjmp, which does not walk SEH frames (mingw-w64's
// longjmp on x64 does, and crashes with an MSVC-built host on the stack). The function holding
// the jump target owns no C++ object; everything lives in the Context its caller owns.
struct Context {
  void* jump[5] = {};
  char message[256] = {};
  ByteSink* sink = nullptr;
  std::exception_ptr sinkFailure;  // the sink's own error, thrown again once libpng is left
  std::span<const std::uint8_t> input;
  std::size_t offset = 0;
};

Context& ContextOf(png_structp png) { return *static_cast<Context*>(png_get_error_ptr(png)); }

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  Context& c = ContextOf(png);
  std::strncpy(c.message, message ? message : "PNG error", sizeof c.message - 1);
  __builtin_longjmp(c.jump, 1);
}

void OnWarning(png_structp, png_const_charp) {}  // nothing goes to stderr inside a host

void OnWrite(png_structp png, png_bytep data, png_size_t length) {
  Context& c = *static_cast<Context*>(png_get_io_ptr(png));
  try {
    c.sink->Write({data, length});
  } catch (...) {
    c.sinkFailure = std::current_exception();
    png_error(png, "write failed");
  }
}

void OnFlush(png_structp) {}

int FilterBits(PngFilter filter) {
  switch (filter) {
    case PngFilter::None: return PNG_FILTER_NONE;
    case PngFilter::Sub: return PNG_FILTER_SUB;
    case PngFilter::Up: return PNG_FILTER_UP;
    case PngFilter::Adaptive: break;
  }
  return PNG_ALL_FILTERS;
}

void OnRead(png_structp png, png_bytep data, png_size_t length) {
  Context& c = *static_cast<Context*>(png_get_io_ptr(png));
  if (c.input.size() - c.offset < length) png_error(png, "PNG file is truncated");
  std::memcpy(data, c.input.data() + c.offset, length);
  c.offset += length;
}

// Owns libpng's structures for one file, read or written.
struct Codec {
  Context context;
  png_structp png = nullptr;
  png_infop info = nullptr;
  bool reading = false;

  explicit Codec(bool read) : reading(read) {
    png = read ? png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning)
               : png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
    if (png) info = png_create_info_struct(png);
    if (!png || !info) throw PictureError("PNG: out of memory");
  }
  ~Codec() {
    if (reading) png_destroy_read_struct(&png, &info, nullptr);
    else png_destroy_write_struct(&png, &info);
  }
  Codec(const Codec&) = delete;
  Codec& operator=(const Codec&) = delete;

  [[noreturn]] void Fail() const {
    if (context.sinkFailure) std::rethrow_exception(context.sinkFailure);
    throw PictureError(std::string("PNG: ") + context.message);
  }
};

__attribute__((noinline)) bool RunWrite(Codec& codec, const PngRows& rows, const PngSettings& settings) {
  png_structp png = codec.png;
  if (__builtin_setjmp(codec.context.jump)) return false;
  png_set_write_fn(png, &codec.context, OnWrite, OnFlush);
  png_set_IHDR(png, codec.info, png_uint_32(rows.width), png_uint_32(rows.height), 8,
               rows.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, settings.compressionLevel);
  if (settings.runLength) png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, FilterBits(settings.filter));
  png_write_info(png, codec.info);
  for (int y = 0; y < rows.height; ++y) png_write_row(png, rows.bits + std::size_t(y) * rows.stride);
  png_write_end(png, codec.info);
  return true;
}

// Reads the header and sets the expansions; the caller sizes the pixels between the two steps.
__attribute__((noinline)) bool RunReadHeader(Codec& codec, PngImage& image) {
  png_structp png = codec.png;
  if (__builtin_setjmp(codec.context.jump)) return false;
  png_set_read_fn(png, &codec.context, OnRead);
  png_set_user_limits(png, kMaxDimension, kMaxDimension);
  png_read_info(png, codec.info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, codec.info);
  image.width = int(png_get_image_width(png, codec.info));
  image.height = int(png_get_image_height(png, codec.info));
  image.channels = png_get_channels(png, codec.info);
  return true;
}

__attribute__((noinline)) bool RunReadRows(Codec& codec, png_bytepp rowPointers) {
  png_structp png = codec.png;
  if (__builtin_setjmp(codec.context.jump)) return false;
  png_read_image(png, rowPointers);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

void WritePng(const PngRows& rows, ByteSink& sink, const PngSettings& settings) {
  if (rows.width <= 0 || rows.height <= 0 || (rows.channels != 3 && rows.channels != 4) ||
      settings.compressionLevel < 0 || settings.compressionLevel > 9 ||
      !WithinPictureLimits(rows.width, rows.height, rows.channels * 8) ||
      rows.stride < std::size_t(rows.width) * std::size_t(rows.channels))
    throw PictureError("PNG: the picture's shape cannot be written");
  Codec codec(false);
  codec.context.sink = &sink;
  if (!RunWrite(codec, rows, settings)) codec.Fail();
}

PngImage ReadPng(std::span<const std::uint8_t> file) {
  if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8) != 0) throw PictureError("PNG: not a PNG file");
  Codec codec(true);
  codec.context.input = file;
  PngImage image;
  if (!RunReadHeader(codec, image)) codec.Fail();
  if ((image.channels != 3 && image.channels != 4) ||
      !WithinPictureLimits(image.width, image.height, image.channels * 8))
    throw PictureError("PNG: the picture is too large or of an unsupported kind");
  const std::size_t stride = std::size_t(image.width) * std::size_t(image.channels);
  image.pixels.resize(stride * std::size_t(image.height));
  std::vector<png_bytep> rowPointers(std::size_t(image.height));
  for (int y = 0; y < image.height; ++y) rowPointers[std::size_t(y)] = image.pixels.data() + stride * std::size_t(y);
  if (!RunReadRows(codec, rowPointers.data())) codec.Fail();
  return image;
}

}  // namespace inkra
