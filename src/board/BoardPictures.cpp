// The changes that put a new picture on the board (clear, open, a seal, a scan) and undo and
// redo. Each replacement keeps the old picture for the history before the new one takes its
// place, so a failure anywhere leaves the board and its history as they were.
#include <new>
#include <utility>

#include "BoardModel.h"
#include "BoardTexts.h"
#include "Bmp.h"
#include "Errors.h"
#include "PictureFile.h"

namespace inkra::board {

void BoardModel::Clear() {
  // The new paper first: when it cannot be made, the board keeps its picture and its history.
  Replace({NewPaper(layout_.Client()), PictureKind::Bitmap, {}, LayoutMode::Fill, nullptr, true, nullptr});
}

void BoardModel::EnterNaturalMode() {
  layout_.EnterNatural();
  changes_.all = true;
}

void BoardModel::OpenPicture(std::string_view fileName, std::vector<std::uint8_t> bytes) {
  CheckPictureFits(fileName, bytes);
  EnterNaturalMode();
  // The new surface is made before the old picture is let go, so a failure keeps the board.
  std::unique_ptr<Surface> next;
  if (PictureKindForName(fileName) == PictureFileKind::Bitmap) {
    // The file's bytes go before the surface is made, so a large picture is never held three
    // times over.
    const Bitmap pixels = ReadBmp(bytes);
    std::vector<std::uint8_t>().swap(bytes);
    next = surfaces_.FromBitmap(pixels);
  } else {
    next = DecodePictureFile(surfaces_, fileName, bytes);
  }
  PictureState opened{std::move(next), PictureKind::Jpeg, {}, LayoutMode::Natural, nullptr, false, nullptr};
  if (PictureKindForName(fileName) == PictureFileKind::Bitmap) {
    opened.kind = PictureKind::Bitmap;
    SetColours(*opened.surface);
  } else {
    opened.jpegBytes = std::move(bytes);
  }
  Replace(std::move(opened));
}

void BoardModel::ClearForSeal() {
  // White paper of the view's size as it stands, made before anything changes; natural mode
  // comes with it, so a failure leaves the mode too.
  Replace({NewPaper(layout_.ViewSize()), PictureKind::Bitmap, {}, LayoutMode::Natural, nullptr, true, nullptr});
}

void BoardModel::LoadSeal(std::span<const std::uint8_t> bmp, std::shared_ptr<const ScalableArt> art) {
  const Bitmap seal = ReadBmp(bmp);
  if (seal.BitsPerPixel() != 32 || seal.HasMasks()) {
    content_.surface = surfaces_.FromBitmap(seal);
    SetColours(*content_.surface);
    PictureChanged(nullptr);
    return;
  }
  // The seal dialogs write colour and straight alpha: white paper of the seal's size with the
  // seal as ink on it, so its anti-aliased edges reach the document as they were drawn.
  auto layer = std::make_unique<ink::InkLayer>(seal.Width(), seal.Height());
  const PixelRows dry = layer->DryPixels();
  for (int y = 0; y < seal.Height(); ++y) {
    const std::uint8_t* from = seal.Row(y);
    std::uint8_t* to = dry.Row(y);
    for (int x = 0; x < seal.Width(); ++x, from += 4, to += 4)
      if (from[3] != 0) to[0] = from[2], to[1] = from[1], to[2] = from[0], to[3] = from[3];
  }
  auto base = std::make_shared<const Bitmap>(seal);
  content_.surface = NewPaper({seal.Width(), seal.Height()});
  content_.ink = std::move(layer);
  content_.art = std::move(art);
  content_.baseInk = std::move(base);
  content_.items.clear();
  PictureChanged(nullptr);
}

void BoardModel::TakeScan(std::unique_ptr<Surface> scan) {
  // Held to the limit of an opened picture, so it can be taken back like one.
  const PixelRows rows = scan->Pixels();
  if (rows.Bytes() > kMaxPictureBytes)
    throw PictureTooLarge(PictureTooLargeText(rows.width, rows.height, rows.Bytes(), kMaxPictureBytes));
  SetColours(*scan);
  Replace({std::move(scan), PictureKind::Bitmap, {}, layout_.Mode(), nullptr, false, nullptr});
}

bool BoardModel::Undo() { return Travel(&UndoHistory::Undo, kUndoRefused); }

bool BoardModel::Redo() { return Travel(&UndoHistory::Redo, kRedoRefused); }

bool BoardModel::Travel(UndoHistory::Moved (UndoHistory::*direction)(PictureState&), const char* refusal) {
  // The stroke in progress ends here: the next move paints no tail from where it was.
  drawing_ = false;
  EndStroke();
  if (!content_.surface) return false;
  // The picture goes with the mode the last change settled, not a failed Open's passing one.
  PictureState current = TakePicture();
  UndoHistory::Moved moved;
  try {
    moved = (history_.*direction)(current);
  } catch (...) {
    PutPicture(std::move(current));
    throw;
  }
  const LayoutMode mode = current.mode;
  PutPicture(std::move(current));
  if (moved.refused) throw UndoRefused(refusal);
  if (!moved.moved) return false;
  if (moved.whole) layout_.Settle(mode);
  // A picture kept from earlier comes back with no colours of its own.
  if (content_.surface) SetColours(*content_.surface);
  PictureChanged(moved.whole ? nullptr : &moved.area);
  return true;
}

PictureState BoardModel::TakePicture() {
  EndStroke();
  pen_.Abandon();
  PictureState taken = std::exchange(content_, {});
  taken.mode = layout_.Settled();
  return taken;
}

void BoardModel::PutPicture(PictureState picture) { content_ = std::move(picture); }

void BoardModel::Replace(PictureState next) {
  PictureState before = TakePicture();
  UndoHistory::Kept kept;
  try {
    kept = UndoHistory::Keep(before);
  } catch (const std::bad_alloc&) {
    PutPicture(std::move(before));
    throw ChangeRefused(kChangeRefused);
  }
  before = {};  // kept: its surface goes before anything more is held
  const LayoutMode mode = next.mode;
  PutPicture(std::move(next));
  layout_.Settle(mode);
  history_.RecordReplacement(std::move(kept));
  PictureChanged(nullptr);
}

std::unique_ptr<Surface> BoardModel::NewPaper(Size size) {
  std::unique_ptr<Surface> paper = surfaces_.NewWhite(size.width, size.height);
  // Ink shows only over 24 or 32 bits: on a 16-bit display the paper is made at 32 anyway.
  if (!InkableDepth(paper->Pixels().bitsPerPixel)) {
    paper = surfaces_.FromBitmap(Bitmap(size.width, size.height, 32));  // white
  }
  SetColours(*paper);
  return paper;
}

void BoardModel::SetColours(Surface& s) const {
  s.SetBrushColour(selected_);
  s.SetPenColour(selected_);
}

}  // namespace inkra::board
