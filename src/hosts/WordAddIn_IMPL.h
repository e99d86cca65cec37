#pragma once
// TWordAddIn: the add-in object Word creates (coclass WordAddIn, ProgID "MSOAddIn.WordAddIn").
// Its button opens the handwriting board; a confirmed board's picture is inserted into the active
// document as a floating picture with a transparent white background, in front of the text: 100
// points from the top left corner, at the cursor, or in slices over the pages' edges.
#include "ToolbarAddIn.h"

namespace inkra::addin {

inline constexpr const wchar_t* kWordProgId = L"MSOAddIn.WordAddIn";
inline constexpr const wchar_t* kShapeName = L"kvt";

// Word constants.
inline constexpr int wdWrapNone = 3;
inline constexpr int msoBringInFrontOfText = 4;

class TWordAddIn : public TToolbarAddIn {
 public:
  TWordAddIn();

 protected:
  const wchar_t* MainRibbonId() const override;
  bool OffersStraddle() const override;
  // Into the active document (one is added when none is open), at the chosen place. No document
  // window or a protected document raise PictureRefused.
  Inserted InsertPicture(const Insertion& insertion) override;
  // In front of the text, named "kvt", transparent white; unless the selection is kept, each
  // shape is selected and then the selection collapses to the start.
  void FormatPicture(const Inserted& inserted, bool ownAlpha) override;

 private:
  Inserted Place(IDispatch* word, IDispatch* document, IDispatch* shapes, const Insertion& insertion);
  void FormatShape(IDispatch* shape, bool select, bool ownAlpha);
};

}  // namespace inkra::addin
