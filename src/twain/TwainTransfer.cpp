// Native transfers into the image list, and reading and drawing the DIBs they deliver.
#include <cstdlib>
#include <optional>
#include <span>

#include "Dib.h"
#include "TwainSession.h"

namespace inkra::twain {
namespace {

// A locked image with its layout, unlocked when it goes. Empty when the block cannot be locked,
// or when its header or its pixel rows would run past the end of the block.
class LockedDib {
 public:
  LockedDib(Platform& platform, MemoryHandle block) : platform_(platform), block_(block) {
    if (!block) return;
    bytes_ = static_cast<const std::uint8_t*>(platform.Lock(block));
    if (!bytes_) return;
    const std::span<const std::uint8_t> whole(bytes_, platform.BlockSize(block));
    layout_ = ReadDibLayout(whole);
    if (layout_ && !PixelsFit(*layout_, whole.size())) layout_.reset();
  }
  ~LockedDib() {
    if (bytes_) platform_.Unlock(block_);
  }
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  const DibLayout* Layout() const { return layout_ ? &*layout_ : nullptr; }
  const std::uint8_t* Bytes() const { return bytes_; }

 private:
  static bool PixelsFit(const DibLayout& d, std::size_t size) {
    if (d.width < 0 || d.bitCount <= 0 || d.bitCount > 32) return false;
    // Compressed rows have no fixed size; GDI itself stops at the data's end for those.
    if (d.compression != 0 && d.compression != 3) return true;
    const std::uint64_t stride = (std::uint64_t(d.width) * std::uint64_t(d.bitCount) + 31) / 32 * 4;
    const std::uint64_t rows = std::uint64_t(std::llabs(std::int64_t(d.height)));
    return d.pixelOffset + stride * rows <= size;
  }

  Platform& platform_;
  MemoryHandle block_;
  const std::uint8_t* bytes_ = nullptr;
  std::optional<DibLayout> layout_;
};

}  // namespace

void Session::ClearImageList() {
  images_.fill(nullptr);
  imageCount_ = 0;
}

MemoryHandle Session::ImageAt(int index) const {
  return index >= 0 && index < imageCount_ ? images_[index] : nullptr;
}

void Session::FreeImage(MemoryHandle image) {
  if (!image) return;
  // The list forgets a freed block, so nobody reads or frees it a second time through it.
  for (int i = 0; i < imageCount_; ++i)
    if (images_[i] == image) images_[i] = nullptr;
  if (lastImage_ == image) lastImage_ = nullptr;
  platform_.Free(image);
}

void Session::RunTransferLoop() {
  do {
    Assert(state_ == kTransferReady);
    // The list is full: the rest of the batch is abandoned rather than written past its end,
    // and the acquisition ends with the images it holds.
    if (imageCount_ == kImageSlots) {
      if (CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending_)) state_ = kSourceEnabled;
      lastImage_ = images_[kImageSlots - 1];
      return;
    }
    // Pointer-sized: a 64-bit source writes a whole handle here.
    TwHandle received = nullptr;
    CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &received);
    if (lastResult_ != TWRC_XFERDONE) lastImage_ = nullptr;
    if (lastResult_ == TWRC_XFERDONE) {
      lastImage_ = received;
      state_ = kTransferring;
      images_[imageCount_++] = received;
    } else if (lastResult_ == TWRC_CANCEL) {
      state_ = kTransferring;
    } else {
      // A source that refuses the reset stays in state 6: the event loop ends on that, and the
      // teardown takes it from there.
      state_ = kTransferReady;
      if (CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending_)) state_ = kSourceEnabled;
      return;
    }
    Assert(state_ == kTransferReady || state_ == kTransferring);
    // A source that refuses to end the transfer stays in state 7, which ends this loop too.
    if (state_ == kTransferring && CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending_))
      state_ = pending_.Count != 0 ? kTransferReady : kSourceEnabled;
  } while (state_ == kTransferReady);
}

int Session::ImageWidth(MemoryHandle image) {
  LockedDib dib(platform_, image);
  return dib.Layout() ? dib.Layout()->width : 0;
}

int Session::ImageHeight(MemoryHandle image) {
  LockedDib dib(platform_, image);
  return dib.Layout() ? dib.Layout()->height : 0;
}

int Session::ColourTableEntries(MemoryHandle image) {
  LockedDib dib(platform_, image);
  return dib.Layout() ? int(dib.Layout()->colourEntries) : 0;
}

bool Session::DrawToImage(MemoryHandle image, PictureControl& control) {
  LockedDib dib(platform_, image);
  const DibLayout* layout = dib.Layout();
  if (!layout) return false;
  // A top-down DIB states a negative height; the picture takes its size in rows either way.
  const int width = layout->width, height = std::abs(layout->height);
  const int savedWidth = control.Width(), savedHeight = control.Height();
  control.SetSize(width, height);
  DeviceContext dc = control.Canvas();
  const bool drawn =
      dc && platform_.StretchDib(dc, {0, 0, width, height, 0, 0, dib.Bytes() + layout->pixelOffset, dib.Bytes()});
  control.SetSize(savedWidth, savedHeight);
  return drawn;
}

}  // namespace inkra::twain
