#pragma once
// Which picture files the board opens: chosen by the name's extension, then checked by the
// decoder, so a ".bmp" holding something else fails with the decoder's message.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "Errors.h"
#include "Surface.h"

namespace inkra::board {

// A file refused by its extension; its message is written for the user.
class UnsupportedPictureFile : public PictureError {
 public:
  using PictureError::PictureError;
};

enum class PictureFileKind { Bitmap, Jpeg, Unsupported };

// ".bmp" gives a bitmap, ".jpg" and ".jpeg" a JPEG picture, in any letter case.
PictureFileKind PictureKindForName(std::string_view fileName);

// The extension with its dot, as the name spells it ("" when there is none).
std::string ExtensionOf(std::string_view fileName);

// The file decoded onto a new surface from `surfaces`: a bitmap at its own depth, a JPEG's
// pixels decoded straight into the surface's rows at 24 bits. Throws UnsupportedPictureFile
// naming the extension, or the decoder's PictureError.
std::unique_ptr<Surface> DecodePictureFile(SurfaceFactory& surfaces, std::string_view fileName,
                                           std::span<const std::uint8_t> bytes);

}  // namespace inkra::board
