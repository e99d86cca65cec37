#pragma once
// What the board shows, taken as one piece: the kind of picture, the surface holding its pixels,
// a JPEG's bytes as opened, and the layout mode it is shown in. The undo history keeps earlier
// pictures in this form and hands them back whole.
#include <cstdint>
#include <memory>
#include <vector>

#include "Surface.h"

namespace inkra::board {

enum class LayoutMode { Fill, Natural };
enum class PictureKind { Empty, Bitmap, Jpeg };

struct PictureState {
  std::unique_ptr<Surface> surface;       // null when only the kind and bytes are meant
  PictureKind kind = PictureKind::Empty;
  std::vector<std::uint8_t> jpegBytes;    // the JPEG file as opened, while it is undrawn
  LayoutMode mode = LayoutMode::Fill;
};

}  // namespace inkra::board
