#pragma once
// TExcelAddIn: the add-in object Excel creates (coclass ExcelAddIn, ProgID "MSOAddIn.ExcelAddIn").
// The same toolbar, button and board as Word's; a confirmed board's picture goes onto the active
// worksheet with a transparent white background, 100 points from its top left corner.
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
  // A workbook is added when none is open; a chart sheet ends the insertion before anything is
  // inserted (the file stays). Raises on a host failure, leaving whatever was done so far.
  void InsertPicture(const std::wstring& path, double width, double height) override;
};

}  // namespace inkra::addin
