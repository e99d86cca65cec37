#pragma once
// A board on recording surfaces, looked at as undo must bring it back: what it would write, its
// kind, layout mode and view size.
#include <gtest/gtest.h>

#include <vector>

#include "BoardFakes.h"
#include "BoardModel.h"
#include "Bmp.h"

namespace inkra::board {

// A picture with a different colour in every pixel, so a misplaced byte shows.
inline Bitmap Pattern(int w, int h, int bpp) {
  Bitmap b(w, h, bpp);
  for (std::size_t i = 0; i < b.Pixels().size(); ++i) b.Pixels()[i] = std::uint8_t(i * 7 + 3);
  return b;
}

inline std::vector<std::uint8_t> BmpFile(const Bitmap& b) {
  VectorSink sink;
  WriteBmp(b, sink);
  return sink.data;
}

// Everything of the board that undo must bring back.
struct Seen {
  std::vector<std::uint8_t> written;
  PictureKind kind;
  LayoutMode mode;
  Size view;
  friend bool operator==(const Seen&, const Seen&) = default;
};

class BoardUndo : public ::testing::Test {
 protected:
  void SetUp() override { board.Create(602, 258); }
  Seen Look() const {
    VectorSink sink;
    board.WritePicture(sink);
    return {sink.data, board.Kind(), board.Mode(), board.ViewSize()};
  }
  void Stroke(int x0, int y0, int x1, int y1) {
    board.MouseDown(MouseButton::Left, x0, y0);
    board.MouseMove((x0 + x1) / 2, y0);
    board.MouseMove(x1, y1);
    board.MouseUp();
  }
  // Undo, or redo when `redo`.
  bool Travel(bool redo) { return redo ? board.Redo() : board.Undo(); }
  struct Way {
    const char* name;
    bool redo;
  };
  static constexpr Way kWays[] = {{"undo", false}, {"redo", true}};
  testing::RecordingSurfaces surfaces;
  BoardModel board{surfaces};
};

}  // namespace inkra::board
