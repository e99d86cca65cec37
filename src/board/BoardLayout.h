#pragma once
// Where the board's view lies and how large it is: the layout mode (fill: the view covers the
// drawing panel's client area; natural: the view takes the picture's size) and the sizes each
// mode gives. The add-ins read the view's size to size the inserted picture.
#include "BoardPicture.h"

namespace inkra::board {

struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

class BoardLayout {
 public:
  // Creation and a clear: fill mode over the panel's client area.
  void Create(Size client) {
    client_ = client;
    mode_ = settled_ = LayoutMode::Fill;
  }
  void PanelResized(Size client) {
    client_ = client;
    // The panel's outer size, its 1-pixel border included.
    if (mode_ == LayoutMode::Natural) naturalView_ = {client.width + 2, client.height + 2};
  }
  // Open's first step and a seal's: the view keeps its place and size until the picture changes.
  void EnterNatural() {
    if (mode_ == LayoutMode::Fill) naturalView_ = client_;
    mode_ = LayoutMode::Natural;
  }
  // A change to the picture settles the mode it leaves; a failed Open's passing switch to
  // natural mode is no change of its own, and undo records the settled mode.
  void Settle(LayoutMode mode) { mode_ = settled_ = mode; }
  // A picture of this size is shown: natural mode gives the view its size.
  void PictureShown(Size picture) {
    if (mode_ == LayoutMode::Natural) naturalView_ = picture;
  }

  LayoutMode Mode() const { return mode_; }
  LayoutMode Settled() const { return settled_; }
  Size Client() const { return client_; }
  Size ViewSize() const { return mode_ == LayoutMode::Fill ? client_ : naturalView_; }

 private:
  LayoutMode mode_ = LayoutMode::Fill;
  LayoutMode settled_ = LayoutMode::Fill;  // as the last change to the picture left it
  Size client_;       // the drawing panel's client area
  Size naturalView_;  // the view's size in natural mode
};

}  // namespace inkra::board
