#include "PictureFile.h"

#include <algorithm>

#include "Bmp.h"
#include "BoardTexts.h"
#include "Errors.h"

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

std::variant<Bitmap, JpegPicture> DecodePictureFile(std::string_view fileName,
                                                    std::span<const std::uint8_t> bytes) {
  switch (PictureKindForName(fileName)) {
    case PictureFileKind::Bitmap: return ReadBmp(bytes);
    case PictureFileKind::Jpeg: return DecodeJpeg(bytes);
    case PictureFileKind::Unsupported: break;
  }
  throw UnsupportedPictureFile(UnsupportedPictureText(ExtensionOf(fileName)));
}

}  // namespace inkra::board
