#include "ExcelAddIn_IMPL.h"

#include "Dispatch.h"
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

void TExcelAddIn::InsertPicture(const std::wstring& path, double width, double height) {
  ComPtr<IDispatch> excel = win::QueryDispatch(Application.Get(), office::IID_ExcelApplication, L"Excel _Application");

  ComPtr<IDispatch> workbooks = Get(excel.Get(), L"Workbooks").ToDispatch();
  if (Get(workbooks.Get(), L"Count").ToInt32() == 0)
    win::CallWithLocale(workbooks.Get(), L"Add", kSystemDefaultLocale, win::MissingArgument());

  ComPtr<IDispatch> workbook = Get(excel.Get(), L"ActiveWorkbook").ToDispatch();
  ComPtr<IDispatch> sheet = Get(workbook.Get(), L"ActiveSheet").ToDispatch();
  // A chart sheet is no _Worksheet: the insertion ends here, before anything is inserted.
  ComPtr<IDispatch> worksheet = win::QueryDispatch(sheet.Get(), office::IID_ExcelWorksheet, L"_Worksheet");
  ComPtr<IDispatch> shapes = Get(worksheet.Get(), L"Shapes").ToDispatch();

  // Excel's AddPicture takes its flags as MsoTriState and its positions and sizes as Single.
  const float pictureWidth = float(width), pictureHeight = float(height);
  ComPtr<IDispatch> shape = CallById(shapes.Get(), kDispIdAddPicture, DISPATCH_METHOD, path, msoFalse, msoTrue,
                                     float(kPictureLeft), float(kPictureTop), pictureWidth, pictureHeight)
                                .ToDispatch();
  // Excel has embedded the picture; the hand-off file has served its purpose.
  DeleteFileW(path.c_str());

  CallById(shape.Get(), kDispIdSelect, DISPATCH_METHOD, Variant());
  ComPtr<IDispatch> pictureFormat = CallById(shape.Get(), kDispIdPictureFormat, DISPATCH_PROPERTYGET).ToDispatch();
  Put(pictureFormat.Get(), L"TransparentBackground", msoTrue);
  Put(pictureFormat.Get(), L"TransparencyColor", kWhite);
  Put(CallById(shape.Get(), kDispIdFill, DISPATCH_PROPERTYGET).ToDispatch().Get(), L"Visible", msoFalse);
}

}  // namespace inkra::addin
