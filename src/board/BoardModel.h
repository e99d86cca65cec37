#pragma once
// The handwriting board without its window: the board picture, the pointer state machine and
// the strokes, pen and colour, clear, layout modes and the view size that the add-ins read. The
// window translates its messages into these calls and repaints what changed.
//
// The board is two layers: an opaque picture (white paper, an opened file, a scan; the time
// stamp is drawn into it) and the ink over it (ink::InkLayer: colour plus coverage, the size of
// the picture). Strokes go onto the ink as the flat nib swept along a smooth centre line. What
// the view shows is the picture with the ink composited over it, which is also what leaves the
// board: as a PNG (paper transparent, ink with its alpha) or as a BMP (ink thresholded).
//
// The parts, each in its own file: the pointer, strokes and stamp (BoardModel.cpp); the changes
// that replace the picture, and undo and redo (BoardPictures.cpp); the content itself
// (PictureState); the layout mode and view size (BoardLayout); what leaves the board and what
// the view shows (BoardOutput); the history (UndoHistory).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "BoardLayout.h"
#include "BoardOutput.h"
#include "BoardPicture.h"
#include "PrintOutput.h"
#include "ByteSink.h"
#include "Colour.h"
#include "InkCanvas.h"
#include "InkLayer.h"
#include "InkPen.h"
#include "PenTip.h"
#include "PenSettings.h"
#include "Picture.h"
#include "Surface.h"
#include "UndoHistory.h"

namespace inkra::board {

enum class MouseButton { Left, Right, Middle };

// Undo or redo refused because the history cannot hold the step's picture; nothing changed. The
// message is written for the user.
class UndoRefused final : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A change refused because the picture it replaces cannot be kept for undo (no memory for the
// copy); the board and its history are as they were. The message is written for the user.
class ChangeRefused final : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BoardModel {
 public:
  // Bounds that keep every sum in the stroke code far from overflow, whatever the settings
  // or the pointer report.
  static constexpr int kMaxNibWidth = 30000;
  static constexpr int kMaxCoordinate = 1 << 24;
  static constexpr int kInitialNibWidth = 3;

  explicit BoardModel(SurfaceFactory& surfaces) : surfaces_(surfaces) {}  // not owned

  // Creation with the drawing panel's client size: a white bitmap of that size, pen and fill
  // in the selected colour, a 3-pixel nib. Settings are applied afterwards.
  void Create(int panelClientWidth, int panelClientHeight);
  // The screen resolution the board is shown at. The nib is drawn dpi/96 times its width, so a
  // stroke has the same physical width at any display scaling.
  void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : 96; }
  // Where the time stamp's characters come from, and the system colours its text may be in
  // (not owned). With them the stamp's text is ink, with its coverage; without (a palette
  // picture, or no font engine) the surface draws it into the picture.
  void SetGlyphSource(ink::GlyphSource* glyphs, ink::SystemColours systemColours) {
    glyphs_ = glyphs;
    systemColours_ = std::move(systemColours);
  }
  // The colour (pen, fill, selection, in this order) and then the nib of a settings load.
  void ApplySettings(const LoadedPenSettings& settings);

  // The pointer. `pressure` is a pen's, 0 to 1 (ink::kNoPressure for the mouse: the chosen
  // width); the nib follows ink::NibWidthFor. `ms` is the time of the report, in milliseconds
  // on any clock that runs on: the pen's tip reads the hand's speed from it.
  void MouseDown(MouseButton button, int x, int y, float pressure = ink::kNoPressure, std::uint32_t ms = 0);
  void MouseMove(int x, int y, float pressure = ink::kNoPressure, std::uint32_t ms = 0);
  void MouseUp(std::uint32_t ms = 0);
  // The pen's tip (笔锋) for strokes without pressure, from the next press on; off draws the
  // nib at its chosen width throughout.
  void SetPenTip(bool on) { tipOn_ = on; }
  bool PenTipOn() const { return tipOn_; }

  void ChoosePen(int index);          // nib := index + 1
  void ChooseColour(ColourValue c);   // pen and fill
  void Clear();
  void PanelResized(int clientWidth, int clientHeight);
  // Draws `text` at the stamp point on a white box, 10-point bold: the box is white in the
  // picture and takes the ink under it away, the characters are ink.
  void StampTime(const std::string& text);
  // Open's first step: the view keeps its place and size until the picture changes.
  void EnterNaturalMode();
  // Natural mode, then the file as the new picture. Throws PictureError (decoder or refused
  // extension); the picture stays as it was then. A picture too large for the board is refused
  // from its headers before anything changes, natural mode included (PictureTooLarge).
  void OpenPicture(std::string_view fileName, std::vector<std::uint8_t> bytes);
  // A confirmed seal's first step: an empty board, natural mode, a white bitmap of the
  // view's size in the selected colours.
  void ClearForSeal();
  // The seal's BMP becomes the picture, as part of the change ClearForSeal began (one undo
  // takes the whole seal back). Throws PictureError when it does not decode, leaving the
  // picture as it was.
  // `art`, when given, draws the same seal at another scale.
  void LoadSeal(std::span<const std::uint8_t> bmp, std::shared_ptr<const ScalableArt> art = nullptr);
  // Both steps.
  void TakeSeal(std::span<const std::uint8_t> bmp, std::shared_ptr<const ScalableArt> art = nullptr) {
    ClearForSeal();
    LoadSeal(bmp, std::move(art));
  }
  // A scanned picture (drawn by the scanner module, taken over as it is) becomes the board
  // picture, a bitmap, in the selected colours, as one change that undo takes back; the layout
  // mode stays, so only natural mode gives the view its size.
  void TakeScan(std::unique_ptr<Surface> scan);
  void Accept() { accepted_ = true; }

  // Takes back the last change to the picture, or brings back the last one taken back. False
  // when there is none; UndoRefused when the history cannot hold what the step would keep, the
  // board and its history then unchanged. A stroke in progress ends first.
  bool Undo();
  bool Redo();
  const UndoHistory& History() const { return history_; }
  // What was drawn over the picture since it came, oldest first.
  const ItemList& Items() const { return content_.items; }

  // The ink over the picture; null while nothing was drawn.
  const ink::InkLayer* Ink() const { return content_.ink.get(); }
  bool Paper() const { return content_.paper; }

  // The picture in its own encoding: BMP for a bitmap (the ink thresholded onto it, so a host
  // that keys out white finds no pale fringe), the original bytes for an undrawn JPEG.
  void WritePicture(ByteSink& sink) const;
  // The picture as a PNG: on paper, the ink with its alpha over a transparent background (what
  // the paper shows white, transparent; the time stamp's box and text opaque); on an opened or
  // scanned picture, the picture with the ink composited, opaque. An undrawn JPEG is written as
  // its own bytes: check Kind() first when the file name matters.
  // PictureError for a palette or 16-bit picture (CanWritePng false): it leaves as a BMP.
  void WritePng(ByteSink& sink) const;
  bool CanWritePng() const { return board::CanWritePng(content_); }
  // The same PNG drawn again from what was drawn, at `scale` times the board's pixels (see
  // PrintOutput); at 1 it is WritePng's.
  void WritePngAt(ByteSink& sink, double scale) const;
  // The scale that puts 300 pixels in each inch of the picture as the board shows it, within
  // the picture limit, never below 1.
  double PrintScale() const;
  // The ink drawn again at `scale` from the picture's items and the ink it came with.
  std::unique_ptr<ink::InkLayer> InkAt(double scale) const;
  // What the view shows: the picture with the ink composited over it.
  Picture Snapshot() const;
  // The shown pixels of `area` (inside the picture) into `out`, rows of the area's size at the
  // picture's depth.
  void Compose(const Rect& area, const PixelRows& out) const;

  PictureKind Kind() const { return content_.kind; }
  // The picture under the ink: the bitmap's surface, or a JPEG's decoded pixels; null when
  // empty. The view shows it with Compose.
  const Surface* Shown() const { return content_.surface.get(); }
  Size PictureSize() const;
  Size ViewSize() const { return layout_.ViewSize(); }
  LayoutMode Mode() const { return layout_.Mode(); }

  int StampX() const { return stampX_; }
  int StampY() const { return stampY_; }
  bool Drawing() const { return drawing_; }
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }
  int CurX() const { return curX_; }
  int CurY() const { return curY_; }
  int NibWidth() const { return nibWidth_; }
  bool Accepted() const { return accepted_; }
  ColourValue SelectedColour() const { return selected_; }
  int PenIndex() const { return penIndex_; }

  // The picture area painted since the last call, in view pixels; `all` when the whole view
  // must be repainted.
  struct Changes {
    Rect dirty;
    bool all = false;
  };
  Changes TakeChanges();
  // Whether anything painted waits for the view.
  bool ChangesPending() const { return changes_.all || !changes_.dirty.Empty(); }

 private:
  // The surface strokes and stamps draw on: an empty board becomes white paper of the view's
  // size, an opened JPEG the bitmap of its decoded pixels. Not a getter: it changes the picture.
  Surface& Drawable();
  void PictureChanged(const Rect* area);
  // Leaves the board empty. The mode taken is the one of the last change: a failed Open's switch
  // to natural mode is no change of its own.
  PictureState TakePicture();
  void PutPicture(PictureState picture);  // surface, kind, bytes, ink and paper; not the mode
  // `next` in place of the picture, as one change undo takes back; its mode is settled. The old
  // picture is kept before it goes, so a failure (ChangeRefused) leaves the board as it was.
  void Replace(PictureState next);
  // White paper in the selected colours, always at a depth ink shows on.
  std::unique_ptr<Surface> NewPaper(Size size);
  void SetColours(Surface& s) const;
  // Opens a drawn change unless one is open, then keeps `area` as it is before drawing there.
  void BeginDrawnChange();
  void SaveForUndo(const Rect& area);
  // Strokes: the ink layer (made at the picture's size when there is none), the end of a stroke,
  // and the repaint of ink that changed.
  ink::InkLayer& InkForDrawing();
  void InkGoesOn();  // ink is about to change: the drawn change opens, a JPEG becomes a bitmap
  // The picture takes ink: 24 or 32 bits per pixel, or no picture yet (paper is made so).
  bool Inkable() const {
    return !content_.surface || InkableDepth(static_cast<const Surface&>(*content_.surface).Pixels().bitsPerPixel);
  }
  void EndStroke(std::uint32_t ms = 0);
  // One step of the stroke from its press sample `first` to `sample`.
  void StrokeStep(const ink::InkSample& first, const ink::InkSample& sample);
  void TipSamples();  // the samples the tip settled, as strokes steps
  void AddItem(BoardItem item);  // drawn by the open change
  // Ink changed in `area`: the change opens and the view repaints. Returns the part on the layer.
  Rect InkChanged(const Rect& area);
  void AliasedStep();  // a palette picture keeps its palette: the step drawn as a plain polygon
  ink::Rgb InkColour() const;
  Rect StampAsInk(Surface& s, const Font& font, const std::string& text);
  bool Travel(UndoHistory::Moved (UndoHistory::*direction)(PictureState&), const char* refusal);

  SurfaceFactory& surfaces_;
  // The picture under the ink and the ink over it; its mode is the layout's, kept there.
  PictureState content_;
  ink::InkPen pen_;  // drawing once the stroke in progress has moved
  float downPressure_ = ink::kNoPressure;
  bool tipOn_ = false;
  bool tipping_ = false;             // this stroke goes through the tip
  ink::PenTip tip_;
  std::vector<ink::InkSample> tipped_;
  std::optional<ink::InkSample> tipFirst_;  // the press, as the tip settled it
  std::optional<StrokeItem> stroke_;  // the stroke in progress as its pen is fed

  BoardLayout layout_;

  int stampX_ = 0, stampY_ = 0;
  bool drawing_ = false;
  int lastX_ = 0, lastY_ = 0, curX_ = 0, curY_ = 0;
  int nibWidth_ = kInitialNibWidth;
  int dpi_ = 96;
  ink::GlyphSource* glyphs_ = nullptr;
  ink::SystemColours systemColours_;
  bool accepted_ = false;
  ColourValue selected_ = clRed;
  int penIndex_ = 3;

  Changes changes_;
  UndoHistory history_{surfaces_};
};

}  // namespace inkra::board
