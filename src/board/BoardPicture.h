#pragma once
// What the board shows, taken as one piece: the kind of picture, the surface holding its pixels,
// a JPEG's bytes as opened, and the layout mode it is shown in. The undo history keeps earlier
// pictures in this form and hands them back whole.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "BoardItems.h"
#include "InkLayer.h"
#include "ScalableArt.h"
#include "Surface.h"

namespace inkra::board {

enum class LayoutMode { Fill, Natural };

// The largest picture the board holds: 96 MiB of decoded pixels (rows padded as a DIB's), which
// is a 24-megapixel photo (6000 x 4000) at 24 or 32 bits, or 33 megapixels at 24 bits.
//
// Why this number: the board runs inside a 32-bit Word or Excel, which has 2 GB of user address
// space (more only when the host is large-address-aware on 64-bit Windows, which we do not count
// on). The host, its add-ins and its documents commonly take 0.6 to 1 GB of it, and what is left
// is broken up: free blocks of a few hundred MB are all one can count on. Every picture is one
// contiguous block (a DIB section, or a Bitmap's rows), and at its worst moment the board holds
// four of them: opening a picture holds the undo history (its budget is one such picture), the
// picture shown, the file read and the picture decoded from it; undoing the open holds the
// history, the picture shown, the one coming back and the copy going into the history. Four
// times 96 MB is 384 MB, which such a host still has; twice the limit would not fit.
// Ink adds 5 bytes a pixel once something is drawn (the layer's colour and coverage, and the
// coverage of the stroke in progress), 160 MB over the largest picture; the history then holds
// only the areas drawn on, and the PNG of such a picture is written opaque (3 bytes a pixel), so
// signing and confirming it stay within the four pictures' worth that opening and undoing take.
inline constexpr std::size_t kMaxPictureBytes = std::size_t(96) << 20;
enum class PictureKind { Empty, Bitmap, Jpeg };

struct PictureState {
  std::unique_ptr<Surface> surface;       // null when only the kind and bytes are meant
  PictureKind kind = PictureKind::Empty;
  std::vector<std::uint8_t> jpegBytes;    // the JPEG file as opened, while it is undrawn
  LayoutMode mode = LayoutMode::Fill;
  // The strokes over the picture, kept with their coverage; null while nothing was drawn.
  std::unique_ptr<ink::InkLayer> ink;
  // White paper (a new or cleared board, a seal) rather than an opened or scanned picture: what
  // the paper shows white is left transparent when the board leaves as a PNG.
  bool paper = true;
  // The picture drawn again at another scale, when its maker can (a seal); null otherwise. Shared:
  // the geometry never changes, so the history holds it by reference.
  std::shared_ptr<const ScalableArt> art;
  // What was drawn over the picture since it came, oldest first: the ink layer's content as
  // geometry, to be drawn again at another scale.
  ItemList items;
  // The ink the picture came with (a seal's colour and straight alpha, 32 bits); null for none.
  std::shared_ptr<const Bitmap> baseInk;
};

}  // namespace inkra::board
