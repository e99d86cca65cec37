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

std::unique_ptr<Surface> DecodePictureFile(SurfaceFactory& surfaces, std::string_view fileName,
                                           std::span<const std::uint8_t> bytes) {
  switch (PictureKindForName(fileName)) {
    case PictureFileKind::Bitmap: return surfaces.FromBitmap(ReadBmp(bytes));
    case PictureFileKind::Jpeg: {
      std::unique_ptr<Surface> surface;
      DecodeJpegInto(bytes, [&](int width, int height) {
        surface = surfaces.NewBlank(width, height, 24);
        const PixelRows rows = surface->Pixels();
        return JpegRows{rows.bits, rows.stride};
      });
      return surface;
    }
    case PictureFileKind::Unsupported: break;
  }
  throw UnsupportedPictureFile(UnsupportedPictureText(ExtensionOf(fileName)));
}

}  // namespace inkra::board
