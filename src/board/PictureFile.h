#pragma once
// Which picture files the board opens: chosen by the name's extension, then checked by the
// decoder, so a ".bmp" holding something else fails with the decoder's message.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "BoardPicture.h"
#include "Errors.h"
#include "Surface.h"

namespace inkra::board {

// A file refused by its extension; its message is written for the user.
class UnsupportedPictureFile : public PictureError {
 public:
  using PictureError::PictureError;
};

// A picture whose decoded pixels would exceed what the board holds (kMaxPictureBytes), refused
// from its headers before anything is decoded. Its message, written for the user, gives the
// picture's size and the limit.
class PictureTooLarge final : public UnsupportedPictureFile {
 public:
  using UnsupportedPictureFile::UnsupportedPictureFile;
};

enum class PictureFileKind { Bitmap, Jpeg, Unsupported };

// ".bmp" gives a bitmap, ".jpg" and ".jpeg" a JPEG picture, in any letter case.
PictureFileKind PictureKindForName(std::string_view fileName);

// The extension with its dot, as the name spells it ("" when there is none).
std::string ExtensionOf(std::string_view fileName);

// Refuses with PictureTooLarge a file whose headers, found in `head` (the file's first bytes;
// 64 KiB hold them in all but odd JPEGs), say it decodes to more than `limit` bytes. Says
// nothing when the headers are not there or are broken: the decoder reports those.
inline constexpr std::size_t kPictureHeadBytes = std::size_t(64) << 10;
void CheckPictureFits(std::string_view fileName, std::span<const std::uint8_t> head,
                      std::size_t limit = kMaxPictureBytes);

// A JPEG decoded straight into the rows of a new 24-bit surface from `surfaces`.
std::unique_ptr<Surface> DecodeJpegSurface(SurfaceFactory& surfaces, std::span<const std::uint8_t> bytes);

// The file decoded onto a new surface from `surfaces`: a bitmap at its own depth, a JPEG's
// pixels decoded straight into the surface's rows at 24 bits. Throws UnsupportedPictureFile
// naming the extension, PictureTooLarge for a picture past kMaxPictureBytes, or the decoder's
// PictureError.
std::unique_ptr<Surface> DecodePictureFile(SurfaceFactory& surfaces, std::string_view fileName,
                                           std::span<const std::uint8_t> bytes);

}  // namespace inkra::board
