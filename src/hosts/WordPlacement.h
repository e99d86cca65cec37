#pragma once
// Word's side of placing the picture: the insertion point on its page, a shape pinned to its
// page, and the straddle seal's slices, one per page.
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "PicturePlacement.h"
#include "Variant.h"

namespace inkra::addin {

// Word constants.
inline constexpr int wdPrintView = 3;
inline constexpr int wdMainTextStory = 1;
inline constexpr int wdSelectionShape = 8;
inline constexpr int wdHorizontalPositionRelativeToPage = 5;
inline constexpr int wdVerticalPositionRelativeToPage = 6;
inline constexpr int wdRelativePositionPage = 1;  // for RelativeHorizontalPosition and ...Vertical...
inline constexpr int wdStatisticPages = 2;
inline constexpr int wdGoToPage = 1;
inline constexpr int wdGoToAbsolute = 1;

struct PageSize {
  double width = 0, height = 0;
};
// The page of the section that holds `range`.
PageSize PageOf(IDispatch* range);

// The insertion point on its page, with the selection's range to anchor the picture to.
struct CursorSpot {
  double x = 0, y = 0;
  PageSize page;
  win::ComPtr<IDispatch> anchor;
};
// Read in Print Layout (Reading Layout left first, another view switched to Print Layout).
// Nothing when Word cannot say: a view it will not leave, a position of -1, a selection in a
// header, footer, text box or comment, a selected shape, or any refused call.
std::optional<CursorSpot> ReadCursor(IDispatch* word);

// Shapes.AddPicture with Word's argument order; `anchor` missing for none.
win::ComPtr<IDispatch> AddPicture(IDispatch* shapes, const std::wstring& file, const win::Variant& left,
                                  const win::Variant& top, double width, double height, const win::Variant& anchor);
// The shape measured from its page's edges, at `at`.
void PinToPage(IDispatch* shape, Position at);

// One slice of the picture on the right edge of each page, all or none: a failure deletes the
// slices inserted before it and raises. Fewer than two pages raise PictureRefused. Every slice's
// file is gone when it returns.
std::vector<win::ComPtr<IDispatch>> InsertStraddle(IDispatch* document, IDispatch* shapes, const Insertion& insertion);

}  // namespace inkra::addin
