#pragma once
// TWordAddIn: the add-in object Word creates (coclass WordAddIn, ProgID "MSOAddIn.WordAddIn").
// Its button opens the handwriting board; a confirmed board's picture is inserted into the active
// document as a floating picture with a transparent white background, 100 points from the top
// left corner, in front of the text.
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
  // Into the active document (one is added when none is open). No document window or a
  // protected document raise PictureRefused.
  win::ComPtr<IDispatch> InsertPicture(const std::wstring& path, double width, double height) override;
  // In front of the text, named "kvt", transparent white; the selection collapses to the start.
  void FormatPicture(IDispatch* shape, bool ownAlpha) override;
};

}  // namespace inkra::addin
