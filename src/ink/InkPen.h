#pragma once
// A stroke drawn as ink: the pointer's samples become the centre line, the nib is swept along it,
// and each step's band goes onto the layer as wet ink until the pen is lifted. Where a step's
// band meets earlier steps of the same stroke, their outlines are joined into one before
// rasterizing, so every pixel carries the exact area of the stroke inside it.
#include <vector>

#include "CentreLine.h"
#include "InkLayer.h"

namespace inkra::ink {

class InkPen {
 public:
  explicit InkPen(InkLayer& layer) : layer_(layer) {}  // not owned

  // A press: the stroke starts here, with the nib's chosen width (pixels, at medium pressure)
  // and colour. Nothing is drawn yet.
  void Down(const InkSample& s, double nibWidth, Rgb colour);
  // A move while pressed. Returns the pixels changed (the curve runs one sample behind).
  Rect Move(const InkSample& s);
  // The release: the rest of the curve, then the stroke dries. A press and release without a
  // move leaves no mark; moves that never left the pressed point leave the nib alone there.
  Rect Up();
  bool Drawing() const { return drawing_; }

 private:
  Rect Draw(const std::vector<InkSample>& piece);

  struct Step {
    Outline bands;
    std::vector<Rect> bandBoxes;
    Rect box;
  };
  // The most bands of earlier steps joined with a new one, the newest first. The seams that show
  // are where a step meets the one before, a few bands back; where a stroke crosses an older part
  // of itself, the pixels keep the larger of the two coverages. A scribble over one spot thus
  // costs a step about what a fresh line does (64 bands made a retraced circle three times slower).
  static constexpr std::size_t kMaxJoinedBands = 16;

  InkLayer& layer_;
  CentreLine line_;
  bool drawing_ = false;
  bool moved_ = false;
  double nibWidth_ = 0;
  InkSample first_;
  std::vector<Step> steps_;  // this stroke's steps so far
  std::vector<InkSample> piece_;
  std::vector<NibPoint> nibs_;
};

}  // namespace inkra::ink
