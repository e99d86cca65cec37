// Apart from the other board steps, which drive the window from outside: this one reads the
// board object itself, so only programs that link the board use it.
#include "BoardDriver.h"

namespace inkra::test {

Bitmap BoardPixels(const board::win::TfrmWhiteBorad& board) {
  Picture p = board.Model().Snapshot();
  if (auto* b = std::get_if<Bitmap>(&p)) return *b;
  if (auto* j = std::get_if<JpegPicture>(&p)) return j->decoded;
  return {};
}

}  // namespace inkra::test
