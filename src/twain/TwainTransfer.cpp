// Native transfers into the image list, and reading and drawing the DIBs they deliver.
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>

#include "Dib.h"
#include "TwainSession.h"

namespace inkra::twain {
namespace {

// An image's bytes with their layout. Empty when the handle cannot be read, or when its header or
// its pixel rows would run past the end of what it holds.
class ReadableDib {
 public:
  ReadableDib(Platform& platform, MemoryHandle image) {
    if (!image) return;
    bytes_ = platform.ReadImage(image);
    if (!bytes_) return;
    const std::span<const std::uint8_t> whole = bytes_->Bytes();
    layout_ = ReadDibLayout(whole);
    if (layout_ && !PixelsFit(*layout_, whole.size())) layout_.reset();
  }

  const DibLayout* Layout() const { return layout_ ? &*layout_ : nullptr; }
  const std::uint8_t* Bytes() const { return bytes_->Bytes().data(); }

 private:
  static bool PixelsFit(const DibLayout& d, std::size_t size) {
    if (d.width < 0 || d.bitCount <= 0 || d.bitCount > 32) return false;
    // Compressed rows have no fixed size; GDI itself stops at the data's end for those.
    if (d.compression != 0 && d.compression != 3) return true;
    const std::uint64_t stride = (std::uint64_t(d.width) * std::uint64_t(d.bitCount) + 31) / 32 * 4;
    const std::uint64_t rows = std::uint64_t(std::llabs(std::int64_t(d.height)));
    return d.pixelOffset + stride * rows <= size;
  }

  std::unique_ptr<ImageBytes> bytes_;
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
  platform_.FreeImage(image);
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
    if (lastResult_ == TWRC_XFERDONE && !platform_.IsImage(received)) {
      RefuseImage(received);
      return;
    }
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

// A handle that is neither kind of image fails its transfer like an image the source could not
// deliver: it is freed as it came and the rest of the batch is abandoned. The source has already
// moved to state 7 with it, so the transfer is ended before the pending ones are reset.
void Session::RefuseImage(MemoryHandle received) {
  platform_.FreeImage(received);
  lastImage_ = nullptr;
  state_ = kTransferring;
  if (CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending_))
    state_ = pending_.Count != 0 ? kTransferReady : kSourceEnabled;
  if (state_ == kTransferReady && CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending_))
    state_ = kSourceEnabled;
}

int Session::ImageWidth(MemoryHandle image) {
  ReadableDib dib(platform_, image);
  return dib.Layout() ? dib.Layout()->width : 0;
}

int Session::ImageHeight(MemoryHandle image) {
  ReadableDib dib(platform_, image);
  return dib.Layout() ? dib.Layout()->height : 0;
}

int Session::ColourTableEntries(MemoryHandle image) {
  ReadableDib dib(platform_, image);
  return dib.Layout() ? int(dib.Layout()->colourEntries) : 0;
}

bool Session::DrawToImage(MemoryHandle image, PictureControl& control) {
  ReadableDib dib(platform_, image);
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
