#include "PictureFile.h"

#include <algorithm>

#include "Bmp.h"
#include "BoardTexts.h"
#include "Errors.h"
#include "Jpeg.h"

namespace inkra::board {

std::string ExtensionOf(std::string_view fileName) {
  std::size_t slash = fileName.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(base.substr(dot));
}

PictureFileKind PictureKindForName(std::string_view fileName) {
  std::string ext = ExtensionOf(fileName);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  if (ext == ".bmp") return PictureFileKind::Bitmap;
  if (ext == ".jpg" || ext == ".jpeg") return PictureFileKind::Jpeg;
  return PictureFileKind::Unsupported;
}

namespace {

void CheckShape(const PictureShape& shape, std::size_t limit) {
  const std::uint64_t bytes = shape.DecodedBytes();
  if (bytes > limit) throw PictureTooLarge(PictureTooLargeText(shape.width, shape.height, bytes, limit));
}

}  // namespace

void CheckPictureFits(std::string_view fileName, std::span<const std::uint8_t> head, std::size_t limit) {
  switch (PictureKindForName(fileName)) {
    case PictureFileKind::Bitmap:
      try {
        CheckShape(ReadBmpShape(head), limit);
      } catch (const PictureTooLarge&) {
        throw;
      } catch (const PictureError&) {
        // Broken or cut-short headers: ReadBmp says what is wrong with them.
      }
      return;
    case PictureFileKind::Jpeg:
      if (const std::optional<PictureShape> shape = ReadJpegShape(head)) CheckShape(*shape, limit);
      return;
    case PictureFileKind::Unsupported: return;
  }
}

std::unique_ptr<Surface> DecodeJpegSurface(SurfaceFactory& surfaces, std::span<const std::uint8_t> bytes) {
  std::unique_ptr<Surface> surface;
  DecodeJpegInto(bytes, [&](int width, int height) {
    // libjpeg's own reading of the header, for a frame header our walk did not reach.
    CheckShape({width, height, 24}, kMaxPictureBytes);
    surface = surfaces.NewBlank(width, height, 24);
    const PixelRows rows = surface->Pixels();
    return JpegRows{rows.bits, rows.stride};
  });
  return surface;
}

std::unique_ptr<Surface> DecodePictureFile(SurfaceFactory& surfaces, std::string_view fileName,
                                           std::span<const std::uint8_t> bytes) {
  CheckPictureFits(fileName, bytes);
  switch (PictureKindForName(fileName)) {
    case PictureFileKind::Bitmap: return surfaces.FromBitmap(ReadBmp(bytes));
    case PictureFileKind::Jpeg: return DecodeJpegSurface(surfaces, bytes);
    case PictureFileKind::Unsupported: break;
  }
  throw UnsupportedPictureFile(UnsupportedPictureText(ExtensionOf(fileName)));
}

}  // namespace inkra::board
