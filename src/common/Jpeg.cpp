// JPEG decoding through libjpeg, with an error manager that unwinds instead of exiting.
#include "Jpeg.h"

#include <climits>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "Errors.h"

namespace inkra {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. We jump back to
// Decode() with __builtin_longjmp: unlike mingw-w64's setjmp/longjmp on x64 it does not unwind
// through SEH frames, which crashes when an MSVC-built host such as Word is on the stack. No
// frame between the jump and its target owns a C++ object.
struct ErrorManager {
  jpeg_error_mgr pub;
  void* jump[5];
  char message[JMSG_LENGTH_MAX];
  int warnings;
};

ErrorManager& ErrorsOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  ErrorManager& err = ErrorsOf(cinfo);
  (*err.pub.format_message)(cinfo, err.message);
  __builtin_longjmp(err.jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  // Data that ends early decodes to grey rows with a warning; we refuse such a file instead.
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) ErrorExit(cinfo);
  ++ErrorsOf(cinfo).warnings;
}

void OutputMessage(j_common_ptr) {}  // nothing goes to stderr inside a host application

struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  bool created = false;
  bool tooLarge = false;
  JSAMPROW row = nullptr;  // the row being decoded; here rather than on Run's stack

  Decoder() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
  }
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

std::uint8_t Scale(unsigned a, unsigned b) { return std::uint8_t((a * b + 127) / 255); }

// Adobe writes CMYK inverted (0 = full ink); other writers store ink amounts as they are.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    bgr[0] = Scale(y, k);
    bgr[1] = Scale(m, k);
    bgr[2] = Scale(c, k);
  }
}

// The largest working memory libjpeg may take (coefficient buffers of progressive files).
constexpr long kMemoryLimit = kMaxPixelBytes < std::size_t(LONG_MAX) ? long(kMaxPixelBytes) : LONG_MAX;

// C++ work done between libjpeg calls lives in these helpers, so that Run's own frame holds
// no object whose address is taken (a sanitizer frame would not survive the jump back).
__attribute__((noinline)) void Allocate(Bitmap& out, std::vector<std::uint8_t>& cmykRow, int width, int height,
                                        bool cmyk) {
  out = Bitmap(width, height, 24);
  if (cmyk) cmykRow.resize(std::size_t(width) * 4);
}

// The libjpeg calls. Objects with destructors live in the caller, so a jump out of libjpeg
// back to the __builtin_setjmp here skips none; the caller destroys the decompressor.
// How Run decodes: at full size, or reduced for a preview.
struct Scaling {
  int fitSide = 0;                 // 0: full size
  std::uint64_t maxPixels = 0;     // of the picture itself; 0: the picture limits only
};

// The strongest reduction (a power of two up to 8) that keeps the longer side at least fitSide.
unsigned ReductionFor(JDIMENSION width, JDIMENSION height, int fitSide) {
  const JDIMENSION longer = width > height ? width : height;
  unsigned denominator = 1;
  while (denominator < 8 && longer / (denominator * 2) >= JDIMENSION(fitSide)) denominator *= 2;
  return denominator;
}

__attribute__((noinline)) bool Run(Decoder& d, std::span<const std::uint8_t> file, Bitmap& out,
                                   std::vector<std::uint8_t>& cmykRow, const Scaling& scaling) {
  if (__builtin_setjmp(d.err.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.created = true;
  jpeg_mem_src(&d.cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d.cinfo, TRUE);
  if (!WithinPictureLimits(d.cinfo.image_width, d.cinfo.image_height, 24) ||
      (scaling.maxPixels && std::uint64_t(d.cinfo.image_width) * d.cinfo.image_height > scaling.maxPixels)) {
    d.tooLarge = true;
    return false;
  }
  if (scaling.fitSide > 0) {
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = ReductionFor(d.cinfo.image_width, d.cinfo.image_height, scaling.fitSide);
  }
  const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  d.cinfo.mem->max_memory_to_use = kMemoryLimit;
  jpeg_start_decompress(&d.cinfo);
  const int width = int(d.cinfo.output_width);
  Allocate(out, cmykRow, width, int(d.cinfo.output_height), cmyk);
  while (d.cinfo.output_scanline < d.cinfo.output_height) {
    int y = int(d.cinfo.output_scanline);
    d.row = cmyk ? cmykRow.data() : out.Row(y);
    if (jpeg_read_scanlines(&d.cinfo, &d.row, 1) != 1) return false;  // cannot happen with memory input
    if (cmyk) CmykToBgr(cmykRow.data(), out.Row(y), width, d.cinfo.saw_Adobe_marker);
  }
  // The picture is complete; whatever follows its last scan does not matter, so no
  // jpeg_finish_decompress (it would refuse a file that lacks only its end marker).
  return true;
}

// Decodes into `out`; returns libjpeg's warning count and the picture's own size.
int Decode(std::span<const std::uint8_t> file, Bitmap& out, const Scaling& scaling, int* width = nullptr,
           int* height = nullptr) {
  if (file.size() > ULONG_MAX) throw PictureError("JPEG file is too large");
  std::vector<std::uint8_t> cmykRow;
  Decoder d;
  if (!Run(d, file, out, cmykRow, scaling)) {
    if (d.tooLarge) throw PictureError("JPEG width or height out of range (limit 30000 x 30000, 1 GiB)");
    if (d.err.message[0] == '\0') throw PictureError("JPEG file is truncated");
    throw PictureError(d.err.message);
  }
  if (width) *width = int(d.cinfo.image_width);
  if (height) *height = int(d.cinfo.image_height);
  return d.err.warnings;
}

}  // namespace

JpegPicture DecodeJpeg(std::span<const std::uint8_t> file) {
  JpegPicture picture;
  picture.warnings = Decode(file, picture.decoded, {});
  picture.original.assign(file.begin(), file.end());
  return picture;
}

JpegPreview DecodeJpegPreview(std::span<const std::uint8_t> file, int fitSide, std::uint64_t maxPixels) {
  JpegPreview preview;
  Decode(file, preview.reduced, {fitSide > 0 ? fitSide : 1, maxPixels}, &preview.width, &preview.height);
  return preview;
}

bool LooksLikeJpeg(std::span<const std::uint8_t> file) {
  return file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8;
}

}  // namespace inkra
