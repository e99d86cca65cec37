#pragma once
// A stroke drawn as ink: the pointer's samples become the centre line, the nib is swept along it,
// and each step's band goes onto the layer as wet ink until the pen is lifted. Where a step's
// band meets earlier steps of the same stroke, their outlines are joined into one before
// rasterizing, so every pixel carries the exact area of the stroke inside it.
#include <array>
#include <vector>

#include "CentreLine.h"
#include "InkLayer.h"
#include "NibRun.h"

namespace inkra::ink {

// One pen serves stroke after stroke, keeping its working memory: a step runs at every pointer
// move, and the memory a step needs is then already there.
class InkPen {
 public:
  // A press: the stroke starts here on `layer` (not owned; it must outlive the stroke), with the
  // nib's chosen width (pixels, at medium pressure) and colour, and the side of its pen (NibPoint:
  // 1 on the board; the scale when the stroke is drawn again larger, the curve then flattened in
  // the same pieces). Nothing is drawn yet.
  void Down(InkLayer& layer, const InkSample& s, double nibWidth, Rgb colour, double pen = 1);
  // A move while pressed. Returns the pixels changed (the curve runs one sample behind).
  Rect Move(const InkSample& s);
  // The rest of the curve, still wet (the dry ink under it is as it was): the first half of a
  // release. Returns the pixels changed; nothing more is drawn until the next Down.
  Rect Finish();
  // The release: the rest of the curve unless Finish drew it, then the stroke dries. A press and release without a
  // move leaves no mark; moves that never left the pressed point leave the nib alone there.
  Rect Up();
  bool Drawing() const { return drawing_; }
  // Drops the stroke in progress without drawing more of it or drying it: its layer is going.
  void Abandon() { drawing_ = finished_ = false; }

 private:
  Rect Draw(const std::vector<InkSample>& piece);
  // Keeps a drawn step in the ring: the stroke round its box, and the run it lies on.
  void Keep(const Outline& stroke, const Rect& box, std::uint32_t run);

  // A step keeps the stroke as it lies round its box: its own bands joined with what earlier
  // steps had there, cut to the box and a pixel more. The next step joins its bands with these
  // cut outlines instead of with every band before it, so a step costs about the same however
  // finely the curve before it was flattened. A step along a run that nothing else reaches
  // needs no joining at all: the run's own outline is the stroke there.
  struct Step {
    Outline stroke;
    Rect box;
    std::uint32_t run = 0;  // the run the whole step lies on; 0 for none
  };
  // The earlier steps a new one is joined with, the newest first. The seams that show are where
  // a step meets the few before it; where a stroke crosses an older part of itself, the pixels
  // keep the larger of the two coverages.
  static constexpr std::size_t kMaxJoinedSteps = 8;

  InkLayer* layer_ = nullptr;
  CentreLine line_;
  bool drawing_ = false;
  bool moved_ = false;
  bool finished_ = false;  // the curve's last piece is drawn; the stroke waits to dry
  double nibWidth_ = 0;
  double pen_ = 1;
  InkSample first_;
  // This stroke's latest steps, a ring kept with its memory: steps_[(first_ + i) % size].
  std::array<Step, kMaxJoinedSteps> steps_;
  std::size_t firstStep_ = 0, stepCount_ = 0;
  std::vector<InkSample> piece_;
  std::vector<NibPoint> nibs_;
  NibRun run_;
  // Kept from one step to the next with their memory: a step runs for every pointer move.
  Outline bands_, cut_, joined_;
  ClipperLib::Clipper clipper_;
};

}  // namespace inkra::ink
