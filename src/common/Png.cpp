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

namespace inkra {
namespace {

// Where libpng narrows zlib's window for a small picture and rewrites the stream's header to
// match; the writer leaves such pictures to WritePng (they are a few kilobytes).
constexpr std::size_t kSmallPicture = 16384;
// libpng's own IDAT size: the compressed stream is cut into chunks of this many bytes.
constexpr std::size_t kIdatSize = 8192;
// Rows of a run handed to zlib at once.
constexpr std::size_t kRunBytes = 1 << 16;

__attribute__((noinline)) bool RunWriteHeader(Codec& codec, int width, int height, int channels) {
  png_structp png = codec.png;
  if (__builtin_setjmp(codec.context.jump)) return false;
  png_set_write_fn(png, &codec.context, OnWrite, OnFlush);
  png_set_IHDR(png, codec.info, png_uint_32(width), png_uint_32(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, codec.info);
  return true;
}

void PutBigEndian(std::uint32_t v, std::uint8_t* to) {
  to[0] = std::uint8_t(v >> 24), to[1] = std::uint8_t(v >> 16), to[2] = std::uint8_t(v >> 8), to[3] = std::uint8_t(v);
}

// The Up filter over `n` bytes: each byte less the one above it, into `out`, and the row kept in
// `above` for the next. Eight bytes at a time: most of an inked row is paper equal to the row
// above, passed with one test, and the rest is subtracted bytewise inside the word, the top bit
// of each byte set aside so that no borrow crosses into the next.
void UpFilter(const std::uint8_t* row, std::uint8_t* above, std::uint8_t* out, std::size_t n) {
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t a, b, d = 0;
    std::memcpy(&a, row + i, 8);
    std::memcpy(&b, above + i, 8);
    if (a != b) {
      d = ((a | kHigh) - (b & ~kHigh)) ^ ((a ^ ~b) & kHigh);
      std::memcpy(above + i, &a, 8);
    }
    std::memcpy(out + i, &d, 8);
  }
  for (; i < n; ++i) {
    out[i] = std::uint8_t(row[i] - above[i]);
    above[i] = row[i];
  }
}

}  // namespace

struct PngWriter::State {
  ByteSink* sink = nullptr;
  int width = 0, height = 0, channels = 4, rows = 0;
  PngSettings settings;
  std::size_t rowBytes = 0;
  std::vector<std::uint8_t> kept;      // a small picture's rows, for WritePng at the end
  std::vector<std::uint8_t> last;      // the row before, as the Up filter needs it
  std::vector<std::uint8_t> filtered;  // the filter's byte, then the filtered row
  std::vector<std::uint8_t> run;       // the filtered form of the last row, over and over
  std::size_t runRows = 0;             // rows in `run`; 0 when it no longer fits the last row
  std::vector<std::uint8_t> out;       // the chunk being filled: length, "IDAT", data
  z_stream z{};
  bool deflating = false;

  ~State() {
    if (deflating) deflateEnd(&z);
  }
  bool Small() const { return std::size_t(height) * (rowBytes + 1) <= kSmallPicture || height == 1; }
  bool Up() const { return settings.filter == PngFilter::Up; }

  void Chunk(const char* type, std::size_t length) {
    std::uint8_t* chunk = out.data();
    PutBigEndian(std::uint32_t(length), chunk);
    std::memcpy(chunk + 4, type, 4);
    PutBigEndian(std::uint32_t(crc32(crc32(0, nullptr, 0), chunk + 4, uInt(length + 4))), chunk + 8 + length);
    sink->Write({chunk, length + 12});
  }
  // Hands `length` bytes to zlib and writes every IDAT that fills, as libpng does.
  void Compress(const std::uint8_t* data, std::size_t length, int flush) {
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(length);
    for (;;) {
      const int result = deflate(&z, flush);
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) throw PictureError("PNG: zlib failed");
      if (z.avail_out == 0) {
        Chunk("IDAT", kIdatSize);
        z.next_out = out.data() + 8;
        z.avail_out = uInt(kIdatSize);
        continue;
      }
      if (flush == Z_NO_FLUSH && z.avail_in == 0) return;
      if (result == Z_STREAM_END) {
        if (const std::size_t size = kIdatSize - z.avail_out) Chunk("IDAT", size);
        return;
      }
    }
  }
  void Count(int more) {
    if (more < 0 || rows + more > height) throw PictureError("PNG: more rows than the picture has");
    rows += more;
  }
};

PngWriter::PngWriter(int width, int height, int channels, ByteSink& sink, const PngSettings& settings)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4) || settings.compressionLevel < 0 ||
      settings.compressionLevel > 9 || !WithinPictureLimits(width, height, channels * 8) ||
      (settings.filter != PngFilter::Up && settings.filter != PngFilter::None))
    throw PictureError("PNG: the picture's shape cannot be written");
  s.sink = &sink, s.width = width, s.height = height, s.channels = channels, s.settings = settings;
  s.rowBytes = std::size_t(width) * std::size_t(channels);
  s.last.assign(s.rowBytes, 0);
  s.filtered.assign(s.rowBytes + 1, 0);
  if (s.Small()) return;
  {
    Codec codec(false);
    codec.context.sink = &sink;
    if (!RunWriteHeader(codec, width, height, channels)) codec.Fail();
  }
  // libpng's choices for a picture of this size: the whole window, its memory level, and the
  // filtered strategy unless another is asked for.
  const int strategy = settings.runLength ? Z_RLE : s.Up() ? Z_FILTERED : Z_DEFAULT_STRATEGY;
  if (deflateInit2(&s.z, settings.compressionLevel, Z_DEFLATED, 15, 8, strategy) != Z_OK)
    throw PictureError("PNG: out of memory");
  s.deflating = true;
  s.out.resize(kIdatSize + 12);
  s.z.next_out = s.out.data() + 8;
  s.z.avail_out = uInt(kIdatSize);
}

PngWriter::~PngWriter() = default;

void PngWriter::Row(const std::uint8_t* row) {
  State& s = *state_;
  s.Count(1);
  if (!s.Up()) s.runRows = 0;  // under Up a repeated row is zeros whatever the row was
  if (s.Small()) {
    s.kept.insert(s.kept.end(), row, row + s.rowBytes);
    std::memcpy(s.last.data(), row, s.rowBytes);
    return;
  }
  std::uint8_t* f = s.filtered.data();
  std::uint8_t* last = s.last.data();
  const std::size_t n = s.rowBytes;
  f[0] = s.Up() ? 2 : 0;
  if (s.Up()) {
    UpFilter(row, last, f + 1, n);
  } else {
    std::memcpy(f + 1, row, n);
    std::memcpy(last, row, n);
  }
  s.Compress(f, s.rowBytes + 1, Z_NO_FLUSH);
}

void PngWriter::Repeat(int count) {
  State& s = *state_;
  s.Count(count);
  if (s.Small()) {
    for (int i = 0; i < count; ++i) s.kept.insert(s.kept.end(), s.last.begin(), s.last.end());
    return;
  }
  const std::size_t line = s.rowBytes + 1;
  if (s.runRows == 0) {
    // The filtered form of a row equal to the one before: under Up its byte and zeros.
    std::uint8_t* f = s.filtered.data();
    f[0] = s.Up() ? 2 : 0;
    if (s.Up()) std::memset(f + 1, 0, s.rowBytes);
    else std::memcpy(f + 1, s.last.data(), s.rowBytes);
    s.runRows = std::max<std::size_t>(1, kRunBytes / line);
    s.run.resize(s.runRows * line);
    for (std::size_t i = 0; i < s.runRows; ++i) std::memcpy(s.run.data() + i * line, f, line);
  }
  for (std::size_t left = std::size_t(count); left > 0;) {
    const std::size_t n = std::min(left, s.runRows);
    s.Compress(s.run.data(), n * line, Z_NO_FLUSH);
    left -= n;
  }
}

void PngWriter::Finish() {
  State& s = *state_;
  if (s.rows != s.height) throw PictureError("PNG: fewer rows than the picture has");
  if (s.Small()) return WritePng({s.kept.data(), s.rowBytes, s.width, s.height, s.channels}, *s.sink, s.settings);
  s.Compress(nullptr, 0, Z_FINISH);
  s.Chunk("IEND", 0);
}

}  // namespace inkra
