#include "RoundSeal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ChineseText.h"
#include "Numeric.h"
#include "SealPath.h"
#include <array>

namespace inkra {

RoundSealGeometry ComputeGeometry(const RoundSealParams& p) {
  RoundSealGeometry g;
  g.r = (p.width - 2) / 2;
  g.TextRadius = g.r - p.textMargin;
  g.CenterX = g.r;
  g.CenterY = (p.height - 2) / 2;
  g.imageWidth = p.width - 4;
  g.imageHeight = p.height - 4;
  if (p.ring == RingFit::Inscribed) {
    // The ring's outer edge is the picture's: its whole width and height.
    g.r = g.imageWidth / 2;
    g.TextRadius = g.r - p.textMargin;
    g.CenterX = g.imageWidth / 2;
    g.CenterY = g.imageHeight / 2;
  }
  return g;
}

bool IsOval(const RoundSealParams& p) { return p.ring == RingFit::Inscribed && p.width != p.height; }

namespace {

// The ring's outer box: the classic circle at the corner, or the picture.
std::array<int, 2> RingBox(const RoundSealParams& p, const RoundSealGeometry& g) {
  if (p.ring == RingFit::Inscribed) return {g.imageWidth, g.imageHeight};
  return {2 * g.r, 2 * g.r};
}

Ellipse2 TextPath(const RoundSealParams& p, const RoundSealGeometry& g, int inset) {
  const auto [w, h] = RingBox(p, g);
  return {w / 2.0, h / 2.0, w / 2.0 - inset, h / 2.0 - inset};
}

// The oval's main text: upright to the curve, evenly spaced along it, sub-texts over each.
void DrawOvalText(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g, int n) {
  const double em = PointsToPixels(p.textSize);
  const Ellipse2 path = TextPath(p, g, p.textMargin);
  std::vector<TurnedCell> cells = LayoutOverTop(path, n, p.span, em, em);
  Font f;
  // A name too long for the curve is set narrower, as seal makers do, rather than overlapping.
  if (const double width = FittingWidth(cells, em); width < em) {
    f.widthPercent = std::max(1, int(100 * width / em));
    cells = LayoutOverTop(path, n, p.span, em * f.widthPercent / 100, em);
  }
  f.face = p.textFace;
  f.sizePoints = p.textSize;
  f.colour = p.colour;
  for (int i = 0; i < n; ++i) {
    f.escapement = cells[i].escapement * p.turnFactor / 10;
    canvas.SetFont(f);
    canvas.TextOut(cells[i].at.x, cells[i].at.y, Utf8CharAt(p.text, std::size_t(i)));
  }
}

}  // namespace

void DrawSealCode(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g) {
  const int n = int(Utf8Length(p.code));
  if (n == 0) return;
  // Arial's digits are a little over half an em wide; its cell about 1.15 em high.
  const double em = PointsToPixels(kSealCodePoints);
  const int inset = p.ringWidth + 3;  // inside the band, the white line and the thin ring
  const std::vector<TurnedCell> cells =
      LayoutAlongBottom(TextPath(p, g, inset), n, kSealCodeSpan, 0.56 * em, 1.15 * em);
  Font f;
  f.face = kDigitFace;
  f.sizePoints = kSealCodePoints;
  f.colour = p.colour;
  for (int i = 0; i < n; ++i) {
    f.escapement = cells[i].escapement;
    canvas.SetFont(f);
    canvas.TextOut(cells[i].at.x, cells[i].at.y, Utf8CharAt(p.code, std::size_t(i)));
  }
}

double ArcAngle(int i, int n, int span) {
  double step = double(span) / double(n - 1);
  double a = 235.0 - i * step;
  // Past 0 the arc goes on at a + 360, which keeps every span evenly spaced; at 270 this is
  // the 325 + (n - 1 - i) * step of the classic layout.
  while (a < 0) a += 360.0;
  return a;
}

Point ArcAnchor(int centerX, int centerY, int textRadius, double angle) {
  const long double radians = std::numbers::pi_v<long double> * (long double)angle / 180.0L;
  return {centerX + int(RoundHalfEven(std::cos(radians) * textRadius)),
          centerY - int(RoundHalfEven(std::sin(radians) * textRadius))};
}

int ArcTurn(double angle) {
  long long t = RoundHalfEven(450.0L - (long double)angle) % 360;
  return int(t < 0 ? t + 360 : t);
}

std::vector<ArcCharPlace> LayoutArc(const RoundSealGeometry& g, int n, int span, int turnFactor) {
  std::vector<ArcCharPlace> places;
  for (int i = 0; i < n; ++i) {
    ArcCharPlace place;
    place.angle = ArcAngle(i, n, span);
    place.anchor = ArcAnchor(g.CenterX, g.CenterY, g.TextRadius, place.angle);
    place.turn = ArcTurn(place.angle);
    place.escapement = -place.turn * turnFactor;
    places.push_back(place);
  }
  return places;
}

void DrawRingAndStar(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g) {
  const auto [w, h] = RingBox(p, g);
  const int o = p.ringWidth;
  canvas.SetPenColour(p.colour);
  canvas.SetBrushColour(p.colour);
  canvas.Ellipse(0, 0, w, h);
  canvas.SetBrushColour(clWhite);
  canvas.Ellipse(o, o, w - o, h - o);
  canvas.Ellipse(o + 2, o + 2, w - o - 2, h - o - 2);
  if (IsOval(p)) return;  // the invoice seal has no star

  Font star;
  star.face = kStarFace;
  star.sizePoints = p.starSize;
  star.bold = true;
  star.colour = p.colour;
  canvas.SetFont(star);
  canvas.TextOut(p.starX, p.starY, "★");
}

void DrawArcChar(Canvas& canvas, const RoundSealParams& p, int turn, int x, int y,
                 const std::string& character) {
  Font f;
  f.face = p.textFace;
  f.sizePoints = p.textSize;
  f.bold = false;
  f.colour = p.colour;
  f.escapement = -turn * p.turnFactor;
  canvas.SetFont(f);
  canvas.TextOut(x, y, character);
}

void DrawSubTexts(Canvas& canvas, const RoundSealParams& p) {
  Font f;
  f.bold = true;
  f.colour = p.colour;
  f.face = p.upperFace;
  f.sizePoints = p.upperSize;
  // The oval's upper sub-text is the taxpayer number: narrow, so its 18 characters fit across.
  if (IsOval(p)) f.widthPercent = kNarrowPercent;
  canvas.SetFont(f);
  f.widthPercent = 100;
  if (std::string upper = TrimBlanks(p.upperText); !upper.empty())
    canvas.TextOut(p.upperX, p.upperY, upper);
  f.face = p.lowerFace;
  f.sizePoints = p.lowerSize;
  canvas.SetFont(f);
  if (std::string lower = TrimBlanks(p.lowerText); !lower.empty())
    canvas.TextOut(p.lowerX, p.lowerY, lower);
}

void DrawRoundSeal(Canvas& canvas, const RoundSealParams& p) {
  const RoundSealGeometry g = ComputeGeometry(p);
  DrawRingAndStar(canvas, p, g);
  const int n = int(Utf8Length(p.text));
  if (n >= 2 && IsOval(p)) DrawOvalText(canvas, p, g, n);
  if (n >= 2 && !IsOval(p)) DrawArcText(canvas, p, g, n);
  DrawSealCode(canvas, p, g);
  if (n >= 2 && p.ring == RingFit::Inscribed) {
    // A template's seal writes its sub-texts (the kind, the number) once, with no background,
    // so the ends of a long name that come down beside them keep their ink.
    canvas.SetBrushColour(clNone);
    DrawSubTexts(canvas, p);
  }
}

void DrawArcText(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g, int n) {
  const std::vector<ArcCharPlace> places = LayoutArc(g, n, p.span, p.turnFactor);
  for (int i = 0; i < n; ++i) {
    DrawArcChar(canvas, p, places[i].turn, places[i].anchor.x, places[i].anchor.y,
                Utf8CharAt(p.text, std::size_t(i)));
    if (p.ring == RingFit::Corner) DrawSubTexts(canvas, p);  // the classic seal: over each character
  }
}

}  // namespace inkra
