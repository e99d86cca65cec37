#pragma once
// What leaves the board and what its view shows, made from the board's content (the picture and
// the ink over it) without changing it.
#include "BoardPicture.h"
#include "ByteSink.h"
#include "Picture.h"

namespace inkra::board {

// Ink is laid over 24 or 32 bits per pixel only.
inline bool InkableDepth(int bitsPerPixel) { return bitsPerPixel == 24 || bitsPerPixel == 32; }

// The picture in its own encoding: BMP for a bitmap (the ink thresholded onto it, so a host that
// keys out white finds no pale fringe), the original bytes for an undrawn JPEG. PictureError for
// an empty board.
void WritePicture(const PictureState& content, ByteSink& sink);
// The picture as a PNG: on paper, the ink with its alpha over a transparent background (what the
// paper shows white, transparent; the time stamp's box and text opaque); on an opened or scanned
// picture, the picture with the ink composited, opaque. An undrawn JPEG is written as its own
// bytes. PictureError for a palette or 16-bit picture (CanWritePng false): it leaves as a BMP.
void WritePng(const PictureState& content, ByteSink& sink);
bool CanWritePng(const PictureState& content);
// What the view shows: the picture with the ink composited over it.
Picture Snapshot(const PictureState& content);
// The shown pixels of `area` (inside the picture) into `out`, rows of the area's size at the
// picture's depth.
void Compose(const PictureState& content, const Rect& area, const PixelRows& out);

}  // namespace inkra::board
