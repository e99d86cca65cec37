#include "RoundSeal.h"

#include <cmath>
#include <numbers>

#include "ChineseText.h"
#include "Numeric.h"

namespace inkra {

RoundSealGeometry ComputeGeometry(const RoundSealParams& p) {
  RoundSealGeometry g;
  g.r = (p.width - 2) / 2;
  g.TextRadius = g.r - p.textMargin;
  g.CenterX = g.r;
  g.CenterY = (p.height - 2) / 2;
  g.imageWidth = p.width - 4;
  g.imageHeight = p.height - 4;
  return g;
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
  const int d = 2 * g.r, o = p.ringWidth;
  canvas.SetPenColour(p.colour);
  canvas.SetBrushColour(p.colour);
  canvas.Ellipse(0, 0, d, d);
  canvas.SetBrushColour(clWhite);
  canvas.Ellipse(o, o, d - o, d - o);
  canvas.Ellipse(o + 2, o + 2, d - o - 2, d - o - 2);

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
  canvas.SetFont(f);
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
  if (n < 2) return;
  const std::vector<ArcCharPlace> places = LayoutArc(g, n, p.span, p.turnFactor);
  for (int i = 0; i < n; ++i) {
    DrawArcChar(canvas, p, places[i].turn, places[i].anchor.x, places[i].anchor.y,
                Utf8CharAt(p.text, std::size_t(i)));
    DrawSubTexts(canvas, p);
  }
}

}  // namespace inkra
