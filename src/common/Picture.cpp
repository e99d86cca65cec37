#include "Picture.h"

#include "Bmp.h"
#include "Errors.h"

namespace inkra {

void WritePicture(const Picture& picture, ByteSink& sink) {
  if (const auto* bitmap = std::get_if<Bitmap>(&picture)) {
    WriteBmp(*bitmap, sink);
  } else if (const auto* jpeg = std::get_if<JpegPicture>(&picture)) {
    sink.Write(jpeg->original);  // byte for byte as it was opened
  } else {
    throw PictureError("There is no picture to write");
  }
}

}  // namespace inkra
