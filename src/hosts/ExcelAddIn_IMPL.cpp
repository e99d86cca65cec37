#include "ExcelAddIn_IMPL.h"

#include "Dispatch.h"
#include "HostTexts.h"
#include "MSOAddIn_h.h"
#include "OfficeIds.h"
#include "RibbonButton.h"

#include <optional>
#include <vector>

namespace inkra::addin {

using win::CallById;
using win::ComPtr;
using win::Get;
using win::Put;
using win::Variant;

TExcelAddIn::TExcelAddIn() : TToolbarAddIn(CLSID_ExcelAddIn, kExcelProgId) {}

const wchar_t* TExcelAddIn::MainRibbonId() const { return kExcelRibbonId; }

namespace {

// The sheet as one that holds shapes: a worksheet, or a chart sheet (whose Shapes take a picture
// as a worksheet's do, so the signature lands where the user is looking). Null for any other.
ComPtr<IDispatch> PictureSheet(IDispatch* sheet) {
  for (const IID* iid : {&office::IID_ExcelWorksheet, &office::IID_ExcelChart}) {
    try {
      return win::QueryDispatch(sheet, *iid, L"sheet");
    } catch (const win::ComError&) {
      // not this kind of sheet
    }
  }
  return nullptr;
}

// Whether the sheet's drawing objects are protected, asked only once Excel has refused the
// picture, to tell the user why; false when Excel cannot say.
bool DrawingProtected(IDispatch* sheet) {
  try {
    return Get(sheet, L"ProtectDrawingObjects").ToBool();
  } catch (const std::exception&) {
    return false;
  }
}

bool IsWorksheet(IDispatch* sheet) {
  try {
    return win::QueryDispatch(sheet, office::IID_ExcelWorksheet, L"worksheet") != nullptr;
  } catch (const win::ComError&) {
    return false;
  }
}

// A range's top left corner, in points from the sheet's.
Position Corner(IDispatch* range) { return {Get(range, L"Left").ToDouble(), Get(range, L"Top").ToDouble()}; }

bool Holds(IDispatch* range, int row, int column) {
  const int top = Get(range, L"Row").ToInt32(), left = Get(range, L"Column").ToInt32();
  const int rows = Get(Get(range, L"Rows").ToDispatch().Get(), L"Count").ToInt32();
  const int columns = Get(Get(range, L"Columns").ToDispatch().Get(), L"Count").ToInt32();
  return row >= top && row < top + rows && column >= left && column < left + columns;
}

// The active cell when the window shows it (in any pane), else the top left cell that the
// window shows (the scrolling pane's, the last, when panes are frozen or split); nothing when
// Excel cannot say.
std::optional<Position> CellInView(IDispatch* excel) {
  try {
    ComPtr<IDispatch> window = Get(excel, L"ActiveWindow").ToDispatch();
    ComPtr<IDispatch> panes = Get(window.Get(), L"Panes").ToDispatch();
    std::vector<ComPtr<IDispatch>> shown;
    const int count = Get(panes.Get(), L"Count").ToInt32();
    for (int i = 1; i <= count; ++i)
      shown.push_back(Get(Get(panes.Get(), L"Item", i).ToDispatch().Get(), L"VisibleRange").ToDispatch());
    if (shown.empty()) shown.push_back(Get(window.Get(), L"VisibleRange").ToDispatch());
    ComPtr<IDispatch> cell = Get(excel, L"ActiveCell").ToDispatch();
    const int row = Get(cell.Get(), L"Row").ToInt32(), column = Get(cell.Get(), L"Column").ToInt32();
    for (const ComPtr<IDispatch>& range : shown)
      if (Holds(range.Get(), row, column)) return Corner(cell.Get());
    return Corner(shown.back().Get());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

Inserted TExcelAddIn::InsertPicture(const Insertion& insertion) {
  ComPtr<IDispatch> excel = win::QueryDispatch(Application.Get(), office::IID_ExcelApplication, L"Excel _Application");

  ComPtr<IDispatch> workbooks = Get(excel.Get(), L"Workbooks").ToDispatch();
  ComPtr<IDispatch> workbook;
  if (Get(workbooks.Get(), L"Count").ToInt32() != 0) workbook = Get(excel.Get(), L"ActiveWorkbook").ToDispatch();
  // None open, or only hidden ones (PERSONAL.XLSB, add-in workbooks: counted, never active): the
  // picture goes into a new workbook.
  if (!workbook) {
    win::CallWithLocale(workbooks.Get(), L"Add", kSystemDefaultLocale, win::MissingArgument());
    workbook = Get(excel.Get(), L"ActiveWorkbook").ToDispatch();
  }
  if (!workbook) throw PictureRefused(kNoWorkbookWindow);
  ComPtr<IDispatch> sheet = Get(workbook.Get(), L"ActiveSheet").ToDispatch();
  if (!sheet) throw PictureRefused(kNoWorkbookWindow);
  ComPtr<IDispatch> target = PictureSheet(sheet.Get());
  if (!target) throw PictureRefused(kSheetTakesNoPicture);
  ComPtr<IDispatch> shapes = Get(target.Get(), L"Shapes").ToDispatch();

  const PictureBox& box = insertion.box;
  Position at = AtPageTopLeft(box);
  // A chart sheet has no cells: the picture goes where it always went.
  if (insertion.placement == board::Placement::Cursor && IsWorksheet(sheet.Get()))
    if (const std::optional<Position> cell = CellInView(excel.Get())) at = {cell->left, cell->top};
  // Excel's AddPicture takes its flags as MsoTriState and its positions and sizes as Single.
  try {
    return {{CallById(shapes.Get(), kDispIdAddPicture, DISPATCH_METHOD, insertion.path, msoFalse, msoTrue,
                      float(at.left), float(at.top), float(box.width), float(box.height))
                 .ToDispatch()}};
  } catch (const win::ComError&) {
    if (DrawingProtected(target.Get())) throw PictureRefused(kSheetProtected);
    throw;
  }
}

void TExcelAddIn::FormatPicture(const Inserted& inserted, bool ownAlpha) {
  IDispatch* shape = inserted.shapes.front().Get();
  CallById(shape, kDispIdSelect, DISPATCH_METHOD, Variant());
  ComPtr<IDispatch> pictureFormat = CallById(shape, kDispIdPictureFormat, DISPATCH_PROPERTYGET).ToDispatch();
  // A PNG's alpha already leaves the page showing around the ink: nothing to key out.
  if (!ownAlpha) {
    Put(pictureFormat.Get(), L"TransparentBackground", msoTrue);
    Put(pictureFormat.Get(), L"TransparencyColor", kWhite);
  }
  Put(CallById(shape, kDispIdFill, DISPATCH_PROPERTYGET).ToDispatch().Get(), L"Visible", msoFalse);
}

}  // namespace inkra::addin
