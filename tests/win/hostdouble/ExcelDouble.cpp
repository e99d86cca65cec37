// Excel: Workbooks, Workbook, its sheets, a worksheet and a chart sheet.
#include "hostdouble/OfficeIids.h"
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

const HostError kDrawingProtected{HRESULT(0x800A03EC), L"AddPicture method of Shapes class failed"};

class SheetDouble : public DispatchDouble {
 public:
  SheetDouble(Context host, std::shared_ptr<SheetState> sheet)
      : DispatchDouble(host->log, sheet->chart ? L"Chart" : L"Worksheet"), host_(std::move(host)),
        sheet_(std::move(sheet)) {
    AlsoAnswer(sheet_->chart ? published::IID_Excel_Chart : published::IID_Excel_Worksheet);
    Property(L"Name", 0x6E, [this](const Args&) { return Variant(sheet_->name); });
    Property(L"Shapes", 0x561, [this](const Args&) {
      auto refusal = [sheet = sheet_]() { return sheet->protectDrawingObjects ? &kDrawingProtected : nullptr; };
      return Variant(MakeShapes(host_, std::shared_ptr<ShapesState>(sheet_, &sheet_->shapes), true, refusal).Get());
    });
    Property(L"ProtectDrawingObjects", 0x125, [this](const Args&) { return Variant(sheet_->protectDrawingObjects); });
  }

 private:
  Context host_;
  std::shared_ptr<SheetState> sheet_;
};

class WorksheetsDouble : public DispatchDouble {
 public:
  WorksheetsDouble(Context host, std::shared_ptr<WorkbookState> workbook)
      : DispatchDouble(host->log, L"Sheets"), host_(std::move(host)), workbook_(std::move(workbook)) {
    Property(L"Count", 0x76, [this](const Args&) { return Variant(int(Worksheets().size())); });
    Property(
        L"Item", 0xAA,
        [this](const Args& a) {
          auto sheets = Worksheets();
          if (a.Raw(0).vt() == VT_BSTR) {
            std::wstring name = a.String(0);
            for (auto& s : sheets)
              if (_wcsicmp(s->name.c_str(), name.c_str()) == 0) return Variant(MakeSheet(host_, s).Get());
            InvalidArgument();
          }
          int index = a.Int(0);
          if (index < 1 || index > int(sheets.size())) InvalidArgument();
          return Variant(MakeSheet(host_, sheets[size_t(index - 1)]).Get());
        },
        nullptr, 1, 1);
  }

 private:
  std::vector<std::shared_ptr<SheetState>> Worksheets() {
    std::vector<std::shared_ptr<SheetState>> found;
    for (auto& s : workbook_->sheets)
      if (!s->chart) found.push_back(s);
    return found;
  }
  Context host_;
  std::shared_ptr<WorkbookState> workbook_;
};

class WorkbookDouble : public DispatchDouble {
 public:
  WorkbookDouble(Context host, std::shared_ptr<WorkbookState> workbook)
      : DispatchDouble(host->log, L"Workbook"), host_(std::move(host)), workbook_(std::move(workbook)) {
    Property(L"Name", 0x6E, [this](const Args&) { return Variant(workbook_->name); });
    Property(L"ActiveSheet", 0x133, [this](const Args&) {
      auto& sheets = workbook_->sheets;
      if (workbook_->activeSheet < 0 || workbook_->activeSheet >= int(sheets.size())) return Nothing();
      return Variant(MakeSheet(host_, sheets[size_t(workbook_->activeSheet)]).Get());
    });
    Property(L"Worksheets", 0x1EE,
             [this](const Args&) { return Variant(Make<WorksheetsDouble>(host_, workbook_).Get()); });
  }

 private:
  Context host_;
  std::shared_ptr<WorkbookState> workbook_;
};

class WorkbooksDouble : public DispatchDouble {
 public:
  WorkbooksDouble(Context host, ComPtr<IDispatch> application)
      : DispatchDouble(host->log, L"Workbooks"), host_(std::move(host)), application_(std::move(application)) {
    Property(L"Count", 0x76, [this](const Args&) { return Variant(int(host_->excel->workbooks.size())); });
    Property(L"Application", 0x94, [this](const Args&) { return Variant(application_.Get()); });
    Property(
        L"Item", 0xAA,
        [this](const Args& a) {
          auto& books = host_->excel->workbooks;
          int index = a.Int(0);
          if (index < 1 || index > int(books.size())) InvalidArgument();
          return Variant(MakeWorkbook(host_, books[size_t(index - 1)]).Get());
        },
        nullptr, 1, 1);
    // Add(Template), optional.
    Method(L"Add", 0xB5, 0, 1, [this](const Args&) {
      host_->excel->AddWorkbook();
      return Variant(MakeWorkbook(host_, host_->excel->workbooks.back()).Get());
    });
  }

 private:
  Context host_;
  ComPtr<IDispatch> application_;
};

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
  return Make<WorkbooksDouble>(host, std::move(application));
}

ComPtr<IDispatch> MakeWorkbook(const Context& host, std::shared_ptr<WorkbookState> workbook) {
  return Make<WorkbookDouble>(host, std::move(workbook));
}

ComPtr<IDispatch> MakeSheet(const Context& host, std::shared_ptr<SheetState> sheet) {
  return Make<SheetDouble>(host, std::move(sheet));
}

}  // namespace inkra::test::office
