#pragma once
// Where the confirmed picture goes: one decision from the board's placement choice and what the
// host can tell of the user's place. Every answer the host cannot give falls back to the picture
// 100 points from the top left corner.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "ComPtr.h"
#include "Placement.h"
#include "Variant.h"

namespace inkra::addin {

// Where the hand-off file's pixels lie within the picture as the board showed it, in points:
// the whole picture, or the box of its ink.
struct PictureBox {
  double left = 0, top = 0, width = 0, height = 0;
  bool cut = false;  // the file holds the ink's box only
  // The box's width in the view's pixels, when the file holds more pixels than the view showed
  // (drawn larger for paper); 0 when the file's pixels are the view's.
  int viewPixels = 0;
};

// What the add-in asks the host to place.
struct Insertion {
  std::wstring path;
  PictureBox box;
  board::Placement placement = board::Placement::PageTopLeft;
};

// What the host placed, and how it leaves the user's place.
struct Inserted {
  std::vector<win::ComPtr<IDispatch>> shapes;
  // The user's selection stays where it was (the picture went where the user is, or over the
  // pages); otherwise it is treated as it always was.
  bool keepSelection = false;
};

struct Position {
  double left = 0, top = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

// The first of the picture's corners, 100 points from the page's, moved by the box's offset so
// the ink lands where the whole picture would have put it.
Position AtPageTopLeft(const PictureBox& box);
// The box's left edge at the cursor (x, y on a page of pageWidth x pageHeight points), its
// middle on the cursor's line, kept inside the page.
Position AtCursor(double x, double y, double pageWidth, double pageHeight, double width, double height);
// A slice on the page's right edge, its middle at the page's middle.
Position AtRightEdge(double pageWidth, double pageHeight, double width, double height);

// The narrowest slice of a straddle seal a person can still find on a page's edge, in points
// (4 mm).
inline constexpr double kNarrowestSlice = 4.0 * 72.0 / 25.4;

// Left or Top as Office is given it: the whole 100 as today's integer, any other as a double.
win::Variant PointsArgument(double points);

}  // namespace inkra::addin
