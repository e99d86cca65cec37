// JPEG decoding through libjpeg, with an error manager that unwinds instead of exiting.
#include "Jpeg.h"

#include <climits>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <optional>
#include <string>
#include <system_error>
#include <thread>

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

// A large single-scan picture is decoded in two bands at once: this thread decodes the top
// band, a second one skips it (entropy decoding only, libjpeg-turbo's jpeg_skip_scanlines)
// and decodes the rest. Entropy decoding is a third (smooth pictures) to 60 % (a scanned page
// at quality 90) of the work, and the second thread pays it for the top band as well, so the
// top band is the larger one: about even on a scanned page. Anything unusual in either band
// (a warning, an error) throws the split work away and decodes the whole picture once more
// on this thread, so messages and warning counts are the ones a single pass gives.
constexpr std::uint64_t kSplitMinPixels = std::uint64_t(1) << 20;
constexpr int kSplitTopPercent = 68;

// On one processor the bands would take turns: the split only adds the second entropy pass.
__attribute__((noinline)) bool TwoCores() {
  static const bool two = std::thread::hardware_concurrency() >= 2;
  return two;
}

// Where the decoded rows go: asked for once the size is known.
struct RowTarget {
  JpegRows rows;
  std::vector<std::uint8_t> cmykRow;  // a CMYK picture's row before its conversion
};

// C++ work done between libjpeg calls lives in these helpers, so that Run's own frame holds
// no object whose address is taken (a sanitizer frame would not survive the jump back).
__attribute__((noinline)) void Allocate(RowTarget& target, const JpegRowsFor& rowsFor, int width, int height,
                                        bool cmyk) {
  if (!target.rows.bits) target.rows = rowsFor(width, height);  // a second pass reuses them
  if (cmyk) target.cmykRow.resize(std::size_t(width) * 4);
}

struct BottomBand;
// False when no thread could be started: this thread then decodes every row.
__attribute__((noinline)) bool StartBottomBand(BottomBand& band, std::span<const std::uint8_t> file, JpegRows rows,
                                               JDIMENSION from);
__attribute__((noinline)) bool FinishBottomBand(BottomBand& band);

// Opens the file and reads its header into d; false on an error (in d.err) or a refused size.
bool Start(Decoder& d, std::span<const std::uint8_t> file, const Scaling& scaling) {
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
  return true;
}

// Decodes rows up to `end` into the target.
bool ReadRows(Decoder& d, RowTarget& target, JDIMENSION end) {
  const bool cmyk = !target.cmykRow.empty();
  while (d.cinfo.output_scanline < end) {
    std::uint8_t* out = target.rows.bits + std::size_t(d.cinfo.output_scanline) * target.rows.stride;
    d.row = cmyk ? target.cmykRow.data() : out;
    if (jpeg_read_scanlines(&d.cinfo, &d.row, 1) != 1) return false;  // cannot happen with memory input
    if (cmyk) CmykToBgr(target.cmykRow.data(), out, int(d.cinfo.output_width), d.cinfo.saw_Adobe_marker);
  }
  return true;
}

// The libjpeg calls. Objects with destructors live in the caller, so a jump out of libjpeg
// back to the __builtin_setjmp here skips none; the caller destroys the decompressor.
// With a band, a large picture's bottom rows are decoded on a second thread; false then
// also when that band did not come out clean.
__attribute__((noinline)) bool Run(Decoder& d, std::span<const std::uint8_t> file, RowTarget& target,
                                   const JpegRowsFor& rowsFor, const Scaling& scaling, BottomBand* band) {
  if (__builtin_setjmp(d.err.jump)) return false;
  if (!Start(d, file, scaling)) return false;
  const bool cmyk = d.cinfo.out_color_space == JCS_CMYK;
  Allocate(target, rowsFor, int(d.cinfo.output_width), int(d.cinfo.output_height), cmyk);
  JDIMENSION end = d.cinfo.output_height;
  if (band && !cmyk && !jpeg_has_multiple_scans(&d.cinfo) &&
      std::uint64_t(d.cinfo.output_width) * d.cinfo.output_height >= kSplitMinPixels && TwoCores()) {
    const JDIMENSION rowGroup = JDIMENSION(d.cinfo.max_v_samp_factor * d.cinfo.min_DCT_scaled_size);
    const JDIMENSION split = end * kSplitTopPercent / 100 / rowGroup * rowGroup;
    if (StartBottomBand(*band, file, target.rows, split)) end = split;
  }
  if (!ReadRows(d, target, end)) return false;
  // The picture is complete; whatever follows its last scan does not matter, so no
  // jpeg_finish_decompress (it would refuse a file that lacks only its end marker).
  return end == d.cinfo.output_height || (d.err.warnings == 0 && FinishBottomBand(*band));
}

// The bottom band's own decompressor, run on its own thread.
__attribute__((noinline)) bool RunBottom(Decoder& d, std::span<const std::uint8_t> file, RowTarget& target,
                                         JDIMENSION from) {
  if (__builtin_setjmp(d.err.jump)) return false;
  if (!Start(d, file, {})) return false;
  jpeg_skip_scanlines(&d.cinfo, from);
  return ReadRows(d, target, d.cinfo.output_height) && d.err.warnings == 0;
}

struct BottomBand {
  std::thread thread;
  bool started = false, clean = false;
  void Join() {
    if (thread.joinable()) thread.join();
  }
  ~BottomBand() { Join(); }
};

bool StartBottomBand(BottomBand& band, std::span<const std::uint8_t> file, JpegRows rows, JDIMENSION from) {
  try {
    band.thread = std::thread([&band, file, rows, from] {
      Decoder d;
      RowTarget target{rows, {}};
      band.clean = RunBottom(d, file, target, from);
    });
  } catch (const std::system_error&) {
    return false;
  }
  band.started = true;
  return true;
}

bool FinishBottomBand(BottomBand& band) {
  band.Join();
  return band.clean;
}

[[noreturn]] void Throw(const Decoder& d) {
  if (d.tooLarge) throw PictureError("JPEG width or height out of range (limit 30000 x 30000, 1 GiB)");
  if (d.err.message[0] == '\0') throw PictureError("JPEG file is truncated");
  throw PictureError(d.err.message);
}

// Decodes into the rows rowsFor gives (asked for once); returns libjpeg's warning count and
// the picture's own size.
int Decode(std::span<const std::uint8_t> file, const JpegRowsFor& rowsFor, const Scaling& scaling,
           int* width = nullptr, int* height = nullptr) {
  if (file.size() > ULONG_MAX) throw PictureError("JPEG file is too large");
  RowTarget target;
  Decoder first;
  BottomBand band;
  std::optional<Decoder> second;
  const Decoder* done = &first;
  if (!Run(first, file, target, rowsFor, scaling, scaling.fitSide == 0 ? &band : nullptr)) {
    if (!band.started) Throw(first);
    band.Join();
    // The split went wrong somewhere: once more in one pass, into the same rows, for the
    // single pass's outcome.
    second.emplace();
    if (!Run(*second, file, target, rowsFor, scaling, nullptr)) Throw(*second);
    done = &*second;
  }
  if (width) *width = int(done->cinfo.image_width);
  if (height) *height = int(done->cinfo.image_height);
  return done->err.warnings;
}

}  // namespace

int DecodeJpegInto(std::span<const std::uint8_t> file, const JpegRowsFor& rowsFor) {
  return Decode(file, rowsFor, {});
}

JpegPicture DecodeJpeg(std::span<const std::uint8_t> file) {
  JpegPicture picture;
  picture.warnings = DecodeJpegInto(file, [&](int width, int height) {
    picture.decoded = Bitmap(width, height, 24);
    return JpegRows{picture.decoded.Row(0), picture.decoded.Stride()};
  });
  picture.original.assign(file.begin(), file.end());
  return picture;
}

JpegPreview DecodeJpegPreview(std::span<const std::uint8_t> file, int fitSide, std::uint64_t maxPixels) {
  JpegPreview preview;
  Decode(
      file,
      [&](int width, int height) {
        preview.reduced = Bitmap(width, height, 24);
        return JpegRows{preview.reduced.Row(0), preview.reduced.Stride()};
      },
      {fitSide > 0 ? fitSide : 1, maxPixels}, &preview.width, &preview.height);
  return preview;
}

bool LooksLikeJpeg(std::span<const std::uint8_t> file) {
  return file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8;
}

std::optional<PictureShape> ReadJpegShape(std::span<const std::uint8_t> head) {
  if (!LooksLikeJpeg(head)) return std::nullopt;
  const auto be16 = [&](std::size_t at) { return unsigned(head[at]) << 8 | head[at + 1]; };
  std::size_t at = 2;
  while (at + 4 <= head.size()) {
    if (head[at] != 0xFF) return std::nullopt;
    const std::uint8_t marker = head[at + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // image end or scan before any frame
    const std::size_t length = be16(at + 2);
    if (length < 2) return std::nullopt;
    // Frame headers: C0 to CF, except DHT (C4), JPG (C8) and DAC (CC).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (at + 9 > head.size()) return std::nullopt;
      return PictureShape{be16(at + 7), be16(at + 5), 24};
    }
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace inkra
