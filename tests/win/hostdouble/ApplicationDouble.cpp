// The Word, Excel and Outlook Application objects, and the host that owns one.
#include "hostdouble/OfficeIids.h"
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

const std::wstring kNoDocument = L"This command is not available because no document is open.";

class ApplicationDouble : public DispatchDouble {
 public:
  explicit ApplicationDouble(Context host) : DispatchDouble(host->log, L"Application"), host_(std::move(host)) {
    switch (host_->kind) {
      case HostKind::Word: DefineWord(); break;
      case HostKind::Excel: DefineExcel(); break;
      case HostKind::Outlook: Property(L"Name", 0x3000, [this](const Args&) { return Variant(host_->name); }); break;
    }
  }

 private:
  IDispatch* Self() { return this; }
  Variant Version() const {
    if (!host_->version) throw HostError{DISP_E_MEMBERNOTFOUND, L"Unknown name."};
    return Variant(*host_->version);
  }

  void DefineWord() {
    AlsoAnswer(published::IID_Word_Application);
    Property(L"Name", 0, [this](const Args&) { return Variant(host_->name); });
    Property(L"Version", 0x18, [this](const Args&) { return Version(); });
    Property(L"CommandBars", 0x39, [this](const Args&) { return Variant(MakeCommandBars(host_).Get()); });
    Property(L"Documents", 6, [this](const Args&) { return Variant(MakeDocuments(host_, Self()).Get()); });
    Property(L"ActiveDocument", 3, [this](const Args&) {
      WordState& word = *host_->word;
      if (word.active < 0 || word.active >= int(word.documents.size()))
        throw HostError{HRESULT(0x800A1098), kNoDocument};
      return Variant(MakeDocument(host_, word.documents[size_t(word.active)]).Get());
    });
    Property(L"Selection", 5, [this](const Args&) { return Variant(MakeSelection(host_).Get()); });
    Property(L"ActiveWindow", 4, [this](const Args&) {
      if (!ActiveWordDocument(host_)) throw HostError{HRESULT(0x800A1098), kNoDocument};
      return Variant(MakeWordWindow(host_).Get());
    });
    // StatusBar: a text Word shows until its next message; reading it back is not possible in
    // Word, so the double keeps it for the tests only.
    Property(
        L"StatusBar", 0x1B, [](const Args&) -> Variant { throw HostError{DISP_E_MEMBERNOTFOUND, L"Write-only."}; },
        [this](const Variant& v) { host_->word->statusBar = v.ToString(); });
  }

  void DefineExcel() {
    AlsoAnswer(published::IID_Excel_Application);
    Property(L"Name", 0x6E, [this](const Args&) { return Variant(host_->name); });
    Property(L"Version", 0x188, [this](const Args&) { return Version(); });
    Property(L"CommandBars", 0x59F, [this](const Args&) { return Variant(MakeCommandBars(host_).Get()); });
    Property(L"Workbooks", 0x23C, [this](const Args&) { return Variant(MakeWorkbooks(host_, Self()).Get()); });
    // Nothing when no workbook is open, as Excel answers.
    // Nothing too when only hidden workbooks are open.
    Property(L"ActiveWorkbook", 0x134, [this](const Args&) {
      ExcelState& excel = *host_->excel;
      if (!excel.ActiveWorkbook()) return Nothing();
      return Variant(MakeWorkbook(host_, excel.workbooks[size_t(excel.active)]).Get());
    });
    Property(L"ActiveSheet", 0x133, [this](const Args&) {
      ExcelState& excel = *host_->excel;
      if (!excel.ActiveWorkbook()) return Nothing();
      WorkbookState& book = *excel.workbooks[size_t(excel.active)];
      if (book.activeSheet < 0 || book.activeSheet >= int(book.sheets.size())) return Nothing();
      return Variant(MakeSheet(host_, book.sheets[size_t(book.activeSheet)]).Get());
    });
    Property(L"ActiveWindow", 0x2F7, [this](const Args&) {
      if (!host_->excel->ActiveWorkbook()) return Nothing();
      return Variant(MakeExcelWindow(host_).Get());
    });
    // Nothing on a chart sheet, as Excel answers.
    Property(L"ActiveCell", 0x131, [this](const Args&) {
      ExcelState& excel = *host_->excel;
      WorkbookState* book = excel.ActiveWorkbook();
      if (!book || book->sheets.at(size_t(book->activeSheet))->chart) return Nothing();
      return Variant(MakeCell(host_, excel.window.activeRow, excel.window.activeColumn).Get());
    });
  }

  Context host_;
};

const wchar_t* DefaultName(HostKind kind) {
  switch (kind) {
    case HostKind::Word: return L"Microsoft Word";
    case HostKind::Excel: return L"Microsoft Excel";
    case HostKind::Outlook: return L"Outlook";
  }
  return L"";
}

}  // namespace

ComPtr<IDispatch> MakeApplication(const Context& host) { return Make<ApplicationDouble>(host); }

HostDouble::HostDouble(HostKind kind, std::shared_ptr<Profile> profile)
    : context_(std::make_shared<HostContext>(HostContext{kind, DefaultName(kind), std::make_shared<CallLog>(),
                                                         profile ? profile : NewProfile(kind),
                                                         std::make_shared<WordState>(),
                                                         std::make_shared<ExcelState>()})),
      application_(MakeApplication(context_)) {}

HostDouble::~HostDouble() = default;

HostKind HostDouble::kind() const { return context_->kind; }
void HostDouble::SetName(std::wstring name) { context_->name = std::move(name); }
void HostDouble::SetVersion(std::optional<std::wstring> version) { context_->version = std::move(version); }
const std::wstring& HostDouble::name() const { return context_->name; }
CallLog& HostDouble::log() { return *context_->log; }
Profile& HostDouble::profile() { return *context_->profile; }
std::shared_ptr<Profile> HostDouble::sharedProfile() const { return context_->profile; }
WordState& HostDouble::Word() { return *context_->word; }
ExcelState& HostDouble::Excel() { return *context_->excel; }

}  // namespace inkra::test::office
