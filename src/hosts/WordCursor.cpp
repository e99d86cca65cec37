// The insertion point as Word tells it, and a picture pinned to its page.
#include "ComError.h"
#include "Dispatch.h"
#include "WordPlacement.h"

namespace inkra::addin {

using win::ComPtr;
using win::Get;
using win::Put;

PageSize PageOf(IDispatch* range) {
  ComPtr<IDispatch> sections = Get(range, L"Sections").ToDispatch();
  ComPtr<IDispatch> section = win::Call(sections.Get(), L"Item", 1).ToDispatch();
  ComPtr<IDispatch> setup = Get(section.Get(), L"PageSetup").ToDispatch();
  return {Get(setup.Get(), L"PageWidth").ToDouble(), Get(setup.Get(), L"PageHeight").ToDouble()};
}

namespace {

// Positions on the page exist only in Print Layout. Reading Layout (Word 2003 and later) sits
// over the view and is left first; a Word without it has nothing to leave.
bool InPrintLayout(IDispatch* word) {
  ComPtr<IDispatch> window = Get(word, L"ActiveWindow").ToDispatch();
  ComPtr<IDispatch> view = Get(window.Get(), L"View").ToDispatch();
  try {
    if (Get(view.Get(), L"ReadingLayout").ToBool()) Put(view.Get(), L"ReadingLayout", false);
  } catch (const win::ComError&) {
    // no Reading Layout in this Word
  }
  if (Get(view.Get(), L"Type").ToInt32() != wdPrintView) Put(view.Get(), L"Type", wdPrintView);
  return Get(view.Get(), L"Type").ToInt32() == wdPrintView;
}

}  // namespace

std::optional<CursorSpot> ReadCursor(IDispatch* word) {
  try {
    if (!InPrintLayout(word)) return std::nullopt;
    ComPtr<IDispatch> selection = Get(word, L"Selection").ToDispatch();
    // Headers, footers, text boxes and comments have no place of their own on the page body.
    if (Get(selection.Get(), L"StoryType").ToInt32() != wdMainTextStory) return std::nullopt;
    if (Get(selection.Get(), L"Type").ToInt32() == wdSelectionShape) return std::nullopt;
    CursorSpot spot;
    spot.x = Get(selection.Get(), L"Information", wdHorizontalPositionRelativeToPage).ToDouble();
    spot.y = Get(selection.Get(), L"Information", wdVerticalPositionRelativeToPage).ToDouble();
    if (spot.x < 0 || spot.y < 0) return std::nullopt;  // -1: Word cannot say
    spot.anchor = Get(selection.Get(), L"Range").ToDispatch();
    if (!spot.anchor) return std::nullopt;
    spot.page = PageOf(spot.anchor.Get());
    return spot;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

ComPtr<IDispatch> AddPicture(IDispatch* shapes, const std::wstring& file, const win::Variant& left,
                             const win::Variant& top, double width, double height, const win::Variant& anchor) {
  const win::Variant linkToFile(false), saveWithDocument(true);
  return win::Call(shapes, L"AddPicture", file, linkToFile, saveWithDocument, left, top, width, height, anchor)
      .ToDispatch();
}

void PinToPage(IDispatch* shape, Position at) {
  // Measured from the page first, so Left and Top mean the page's edges and not the anchor's.
  Put(shape, L"RelativeHorizontalPosition", wdRelativePositionPage);
  Put(shape, L"RelativeVerticalPosition", wdRelativePositionPage);
  Put(shape, L"Left", at.left);
  Put(shape, L"Top", at.top);
}

}  // namespace inkra::addin
