// Excel: Workbooks, Workbook, its sheets, a worksheet and a chart sheet.
#include "hostdouble/OfficeIids.h"
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

const HostError kDrawingProtected{HRESULT(0x800A03EC), L"AddPicture method of Shapes class failed"};

// The workbook's worksheets, chart sheets left out.
std::vector<std::shared_ptr<SheetState>> Worksheets(const WorkbookState& workbook) {
  std::vector<std::shared_ptr<SheetState>> found;
  for (auto& s : workbook.sheets)
    if (!s->chart) found.push_back(s);
  return found;
}

}  // namespace

WorkbookState& ExcelState::AddWorkbook() {
  auto workbook = std::make_shared<WorkbookState>();
  workbook->name = L"Book" + std::to_wstring(++created);
  for (int i = 1; i <= 3; ++i) {
    auto sheet = std::make_shared<SheetState>();
    sheet->name = L"Sheet" + std::to_wstring(i);
    workbook->sheets.push_back(sheet);
  }
  workbooks.push_back(workbook);
  active = int(workbooks.size()) - 1;
  return *workbook;
}

WorkbookState& ExcelState::AddHiddenWorkbook() {
  WorkbookState& personal = AddWorkbook();
  --created;  // Excel numbers only the books it makes for the user
  personal.name = L"PERSONAL.XLSB";
  personal.hidden = true;
  return personal;
}

WorkbookState* ExcelState::ActiveWorkbook() {
  if (active < 0 || active >= int(workbooks.size()) || workbooks[size_t(active)]->hidden) return nullptr;
  return workbooks[size_t(active)].get();
}

ComPtr<IDispatch> MakeWorkbooks(const Context& host, ComPtr<IDispatch> application) {
  return MakeObject(host->log, L"Workbooks", [&](ObjectDouble& o) {
    const std::shared_ptr<ExcelState> excel = host->excel;
    o.Property(L"Count", 0x76, [excel](const Args&) { return Variant(int(excel->workbooks.size())); });
    o.Property(L"Application", 0x94, [application](const Args&) { return Variant(application.Get()); });
    o.Property(L"Item", 0xAA, [host, excel](const Args& a) {
      return Variant(MakeWorkbook(host, ItemOf(a, excel->workbooks)).Get());
    }, nullptr, 1, 1);
    // Add(Template), optional.
    o.Method(L"Add", 0xB5, 0, 1, [host, excel](const Args&) {
      excel->AddWorkbook();
      return Variant(MakeWorkbook(host, excel->workbooks.back()).Get());
    });
  });
}

ComPtr<IDispatch> MakeWorkbook(const Context& host, std::shared_ptr<WorkbookState> workbook) {
  return MakeObject(host->log, L"Workbook", [&](ObjectDouble& o) {
    o.Property(L"Name", 0x6E, [workbook](const Args&) { return Variant(workbook->name); });
    o.Property(L"ActiveSheet", 0x133, [host, workbook](const Args&) {
      auto& sheets = workbook->sheets;
      if (workbook->activeSheet < 0 || workbook->activeSheet >= int(sheets.size())) return Nothing();
      return Variant(MakeSheet(host, sheets[size_t(workbook->activeSheet)]).Get());
    });
    o.Property(L"Worksheets", 0x1EE, [host, workbook](const Args&) {
      return ObjectVariant(host->log, L"Sheets", [&](ObjectDouble& sheets) {
        sheets.Property(L"Count", 0x76, [workbook](const Args&) { return Variant(int(Worksheets(*workbook).size())); });
        sheets.Property(L"Item", 0xAA, [host, workbook](const Args& a) {
          return Variant(MakeSheet(host, ItemOf(a, Worksheets(*workbook))).Get());
        }, nullptr, 1, 1);
      });
    });
  });
}

ComPtr<IDispatch> MakeSheet(const Context& host, std::shared_ptr<SheetState> sheet) {
  return MakeObject(host->log, sheet->chart ? L"Chart" : L"Worksheet", [&](ObjectDouble& o) {
    o.AlsoAnswer(sheet->chart ? published::IID_Excel_Chart : published::IID_Excel_Worksheet);
    o.Property(L"Name", 0x6E, [sheet](const Args&) { return Variant(sheet->name); });
    o.Property(L"Shapes", 0x561, [host, sheet](const Args&) {
      auto refusal = [sheet]() { return sheet->protectDrawingObjects ? &kDrawingProtected : nullptr; };
      return Variant(MakeShapes(host, std::shared_ptr<ShapesState>(sheet, &sheet->shapes), true, refusal).Get());
    });
    o.Property(L"ProtectDrawingObjects", 0x125, [sheet](const Args&) { return Variant(sheet->protectDrawingObjects); });
  });
}

}  // namespace inkra::test::office
