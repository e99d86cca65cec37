#pragma once
// TExcelAddIn: the add-in object Excel creates (coclass ExcelAddIn, ProgID "MSOAddIn.ExcelAddIn").
// The same toolbar, button and board as Word's; a confirmed board's picture goes onto the active
// worksheet (or chart sheet) with a transparent white background, 100 points from its top left
// corner.
#include "ToolbarAddIn.h"

namespace inkra::addin {

inline constexpr const wchar_t* kExcelProgId = L"MSOAddIn.ExcelAddIn";

// Excel's fixed dispatch ids of the members called without their names.
inline constexpr DISPID kDispIdAddPicture = 0x6BB;  // Shapes.AddPicture
inline constexpr DISPID kDispIdSelect = 0xEB;       // Shape.Select
inline constexpr DISPID kDispIdPictureFormat = 0x65F;
inline constexpr DISPID kDispIdFill = 0x67F;
// The system default locale, which Workbooks.Add takes as its locale argument.
inline constexpr LCID kSystemDefaultLocale = 0x800;

class TExcelAddIn : public TToolbarAddIn {
 public:
  TExcelAddIn();

 protected:
  const wchar_t* MainRibbonId() const override;
  // Onto the active worksheet or chart sheet; a workbook is added when none is open or only
  // hidden ones are. Another kind of sheet, no workbook window or protected drawing objects
  // raise PictureRefused.
  // At the cursor: the active cell when the window shows it, else the window's top left cell.
  Inserted InsertPicture(const Insertion& insertion) override;
  // Selected, transparent white, no fill; Excel's own name, wrapping and z-order are kept.
  void FormatPicture(const Inserted& inserted, bool ownAlpha) override;
};

}  // namespace inkra::addin
