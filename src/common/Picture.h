#pragma once
// The board picture: a drawable bitmap, or a JPEG picture as opened.
#include <variant>

#include "Bitmap.h"
#include "ByteSink.h"
#include "Jpeg.h"

namespace inkra {

using Picture = std::variant<std::monostate, Bitmap, JpegPicture>;

// The picture in its own encoding: a BMP file for a bitmap, the original bytes for a JPEG.
void WritePicture(const Picture& picture, ByteSink& sink);

}  // namespace inkra
