#include "SealTemplates.h"

#include "ChineseText.h"
#include "Numeric.h"

namespace inkra {
namespace {

struct RoundTemplate {
  const char* name;
  double widthMm, heightMm;
  double borderMm, starMm;  // star 0: none (the oval)
  double textMm;            // height of the main text's characters
  const char* kind;         // written under the star; empty: nothing
};

// Public rules and common practice for organisation seals.
constexpr RoundTemplate kRound[] = {
    {"公章 42 mm", 42, 42, 1.2, 14, 6.8, ""},
    {"公章 40 mm", 40, 40, 1.2, 13, 6.8, ""},
    {"公章 38 mm", 38, 38, 1.0, 12, 6.5, ""},
    {"合同专用章 40 mm", 40, 40, 1.0, 13, 6.8, "合同专用章"},
    {"财务专用章 38 mm", 38, 38, 1.0, 12, 6.5, "财务专用章"},
    {"发票专用章 40×30 mm", 40, 30, 1.0, 0, 4.2, "发票专用章"},
};
constexpr double kSquareMm[] = {20, 18, 16};

constexpr const char* kRoundFace = "宋体";
constexpr const char* kOvalFace = "仿宋";

}  // namespace

int MmToPixels(double mm) { return int(RoundHalfEven(mm * kDesignDpi / 25.4)); }
int MmToPoints(double mm) { return int(RoundHalfEven(mm * 72 / 25.4)); }

const std::vector<std::string>& RoundTemplateNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all{"自定义"};
    for (const RoundTemplate& t : kRound) all.push_back(t.name);
    return all;
  }();
  return names;
}

const std::vector<std::string>& SquareTemplateNames() {
  static const std::vector<std::string> names{"自定义", "私章 20 mm", "私章 18 mm", "私章 16 mm"};
  return names;
}

SealSizeMm RoundTemplateSize(int index) {
  if (index < 1 || index > int(std::size(kRound))) return {};
  return {kRound[index - 1].widthMm, kRound[index - 1].heightMm};
}

SealSizeMm SquareTemplateSize(int index) {
  if (index < 1 || index > int(std::size(kSquareMm))) return {};
  return {kSquareMm[index - 1], kSquareMm[index - 1]};
}

RoundSealParams ApplyRoundTemplate(int index, const RoundSealParams& current) {
  RoundSealParams p;  // the classic defaults
  p.text = current.text;
  p.colour = current.colour;
  p.code = current.code;
  p.stampLook = current.stampLook;
  if (index < 1 || index > int(std::size(kRound))) return p;
  const RoundTemplate& t = kRound[index - 1];
  const bool oval = t.starMm == 0;

  // The picture is the ring's outer box; the panel adds its 2-pixel bevels.
  const int w = MmToPixels(t.widthMm), h = MmToPixels(t.heightMm);
  p.ring = RingFit::Inscribed;
  p.width = w + 4;
  p.height = h + 4;
  const int cx = w / 2, cy = h / 2;
  // The band is ringWidth + 1 pixels, then a white line and the thin inner ring.
  const int border = MmToPixels(t.borderMm);
  p.ringWidth = border > 0 ? border - 1 : 0;
  p.textMargin = MmToPixels(t.borderMm + (oval ? 0.5 : 0.9));
  p.textFace = oval ? kOvalFace : kRoundFace;
  p.textSize = MmToPoints(t.textMm);
  p.span = oval ? 210 : 270;
  p.turnFactor = 10;

  if (!oval) {
    p.starSize = MmToPoints(t.starMm);
    const int star = PointsToPixels(p.starSize);
    p.starX = cx - star / 2;
    p.starY = cy - star / 2;
  }

  // Upper sub-text: the oval's taxpayer number, narrow, centred on the centre; round seals
  // carry none (their registered code has its own field).
  p.upperFace = oval ? kDigitFace : kRoundFace;
  p.upperText = oval ? kTaxNumberPlaceholder : "";
  p.upperSize = oval ? MmToPoints(5.2) : p.upperSize;  // Arial's digits are 0.72 em: 3.7 mm
  const int upperEm = PointsToPixels(p.upperSize);
  const int upperWidth = 18 * upperEm * 556 / 1000 * kNarrowPercent / 100;  // digits of 0.556 em
  p.upperX = cx - upperWidth / 2;
  p.upperY = cy - upperEm * 115 / 200;  // half of Arial's cell, 1.15 em

  // Lower sub-text: the seal's kind, centred, its top below the centre.
  p.lowerText = t.kind;
  p.lowerFace = oval ? kOvalFace : kRoundFace;
  p.lowerSize = MmToPoints(oval ? 4.6 : 5.0);  // 6 mm would cover the ends of a long name
  const int lowerEm = PointsToPixels(p.lowerSize);
  p.lowerX = cx - int(Utf8Length(t.kind)) * lowerEm / 2;
  p.lowerY = cy + MmToPixels(oval ? 4.2 : 4.4);
  return p;
}

SquareSealParams ApplySquareTemplate(int index, const SquareSealParams& current) {
  SquareSealParams p;
  p.name = current.name;
  p.face = current.face;
  p.colour = current.colour;
  p.stampLook = current.stampLook;
  if (index < 1 || index > int(std::size(kSquareMm))) return p;
  p.side = MmToPixels(kSquareMm[index - 1]);
  // A frame of about a fourteenth of the side: bands of b + 2 (left, top) and b + 1 pixels.
  p.frame = std::max(0, int(RoundHalfEven(p.side / 14.0)) - 1);
  // Two cells a row inside the frame, each character a little smaller than its cell.
  const int inner = p.side - 2 * p.frame - 3, cell = inner / 2;
  const int em = cell * 92 / 100;
  p.points = em * 72 / kDesignDpi;
  const int drawn = PointsToPixels(p.points);
  p.nearCell = p.frame + 2 + (cell - drawn) / 2;
  p.farCell = p.nearCell + cell;
  return p;
}

}  // namespace inkra
