#pragma once
// The official round seal: a double ring, the main text on an arc with every character turned
// to face outward, a star and two sub-texts, drawn onto any Canvas.
#include <string>
#include <vector>

#include "Canvas.h"
#include "Colour.h"

namespace inkra {

// Corner: the classic ring, a circle of diameter 2 x ((width - 2) div 2) at the top-left corner,
// cut by the picture's edge. Inscribed: the ring's outer edge inscribed in the picture, whole, so
// the seal measures the picture's size on paper; an oval when width and height differ.
enum class RingFit { Corner, Inscribed };

struct RoundSealParams {
  int height = 200;       // seHight: preview panel height, 50..322
  int width = 200;        // seWith: preview panel width and ring diameter, 50..322
  int textMargin = 15;    // seWordWith: ring radius minus text radius, 0..322
  int ringWidth = 5;      // seOutWith, 0..100
  ColourValue colour = clRed;
  std::string text = "华夏文化传播有限公司";  // edt_Input
  std::string textFace = "新宋体";            // cbSignFont
  int textSize = 20;      // seWordInt, points, 8..100
  int span = 270;         // seWordGD, degrees, 200..360
  int turnFactor = 10;    // seSP: 10 radial, 0 upright, 0..360
  int starX = 80, starY = 75, starSize = 30;  // se5x, se5y, se5Int
  std::string upperText = "012345";           // eCode
  int upperX = 70, upperY = 140;              // seUpX, seUpY
  std::string upperFace = "新宋体";           // FontUp
  int upperSize = 12;                         // seUpInt
  std::string lowerText = "专用章";           // eAias
  int lowerX = 70, lowerY = 160;              // seDownX, seDownY
  std::string lowerFace = "新宋体";           // FontDown
  int lowerSize = 12;                         // seDownInt
  // Beside the classic controls: how the ring sits, the seal code and the stamp's look.
  RingFit ring = RingFit::Corner;
  std::string code;     // the seal code, digits along the bottom inside of the ring; empty: none
  bool stampLook = false;
};

// The star face: it holds the GB2312 "★", which the surface's default face may not.
constexpr const char* kStarFace = "新宋体";
// The seal code and the oval's number: digits in a Latin face.
constexpr const char* kDigitFace = "Arial";
constexpr int kSealCodePoints = 5;   // digits about 1.2 mm high
constexpr int kSealCodeSpan = 90;    // degrees along the bottom
constexpr int kNarrowPercent = 45;   // the oval's number: 18 digits in about 24 mm

struct RoundSealGeometry {
  int r = 0;           // ring radius: (width - 2) div 2
  int TextRadius = 0;  // r - text margin; negative mirrors the anchors through the centre
  int CenterX = 0;
  int CenterY = 0;
  int imageWidth = 0, imageHeight = 0;  // the preview image area: the panel less its bevels
};
RoundSealGeometry ComputeGeometry(const RoundSealParams& p);
// An inscribed ring whose picture is not square: the oval seal, with no star.
bool IsOval(const RoundSealParams& p);

struct ArcCharPlace {
  double angle = 0;     // degrees counterclockwise from the x axis, in [0, 360) once below 0
  Point anchor;
  int turn = 0;         // 0..359, clockwise degrees that make the glyph face outward
  int escapement = 0;   // -turn * turn factor, tenths of a degree
};

// Angle of character i of n (n >= 2): 235 - i * span / (n - 1), taken modulo 360 when below 0.
double ArcAngle(int i, int n, int span);
Point ArcAnchor(int centerX, int centerY, int textRadius, double angle);
int ArcTurn(double angle);
std::vector<ArcCharPlace> LayoutArc(const RoundSealGeometry& g, int n, int span, int turnFactor);

// The drawing steps; the canvas is a fresh white picture of imageWidth x imageHeight.
void DrawRingAndStar(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g);
void DrawArcChar(Canvas& canvas, const RoundSealParams& p, int turn, int x, int y,
                 const std::string& character);
void DrawSubTexts(Canvas& canvas, const RoundSealParams& p);

// The classic arc of the main text (n >= 2 characters), sub-texts over each character (a
// template's seal writes them once, after everything else).
void DrawArcText(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g, int n);
// The seal code along the bottom inside of the ring, in small upright digits; nothing when empty.
void DrawSealCode(Canvas& canvas, const RoundSealParams& p, const RoundSealGeometry& g);

// The whole preview drawing, without the text check (the caller checks first).
void DrawRoundSeal(Canvas& canvas, const RoundSealParams& p);

}  // namespace inkra
