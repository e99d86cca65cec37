#include "ExcelAddIn_IMPL.h"

#include "Dispatch.h"
#include "HostTexts.h"
#include "MSOAddIn_h.h"
#include "OfficeIds.h"
#include "RibbonButton.h"

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

}  // namespace

ComPtr<IDispatch> TExcelAddIn::InsertPicture(const std::wstring& path, double width, double height) {
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

  // Excel's AddPicture takes its flags as MsoTriState and its positions and sizes as Single.
  const float pictureWidth = float(width), pictureHeight = float(height);
  try {
    return CallById(shapes.Get(), kDispIdAddPicture, DISPATCH_METHOD, path, msoFalse, msoTrue, float(kPictureLeft),
                    float(kPictureTop), pictureWidth, pictureHeight)
        .ToDispatch();
  } catch (const win::ComError&) {
    if (DrawingProtected(target.Get())) throw PictureRefused(kSheetProtected);
    throw;
  }
}

void TExcelAddIn::FormatPicture(IDispatch* shape, bool ownAlpha) {
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
