// A picture Word or Excel refuses, each host answering as its object model does: the user is told
// once, the signature is kept on the clipboard, no hand-off file stays behind and no shape is
// touched.
#include "ExcelAddIn_IMPL.h"
#include "WordAddIn_IMPL.h"

#include "ToolbarClickSupport.h"

namespace inkra::addin {
namespace {

using test::office::HostDouble;
using test::office::HostKind;

struct Refusal {
  const char* name;
  HostKind kind;
  std::function<void(HostDouble&)> arrange;  // one document, or one workbook on its second sheet
  std::string reason;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

const wchar_t kUnreadable[] = L"The program can't read this picture file.";
const wchar_t kAddPictureFailed[] = L"AddPicture method of Shapes class failed";
const Refusal kRefusals[] = {
    {"WordAddPictureFails", HostKind::Word,
     [](HostDouble& h) { h.log().FailCall(L"Shapes", L"AddPicture", HRESULT(0x800A1066), kUnreadable); },
     HostRefusedText(win::WideToUtf8(kUnreadable))},
    {"WordHasNoDocumentWindow", HostKind::Word,
     [](HostDouble& h) { h.log().FailCall(L"Application", L"ActiveDocument", HRESULT(0x800A1098), L"No document."); },
     kNoDocumentWindow},
    {"WordDocumentProtectedForReading", HostKind::Word,
     [](HostDouble& h) { h.Word().documents[0]->protectionType = test::office::wdAllowOnlyReading; },
     kDocumentProtected},
    {"ExcelSheetProtected", HostKind::Excel,
     [](HostDouble& h) { h.Excel().workbooks[0]->sheets[1]->protectDrawingObjects = true; }, kSheetProtected},
    {"ExcelAddPictureFails", HostKind::Excel,
     [](HostDouble& h) { h.log().FailCall(L"Shapes", L"AddPicture", HRESULT(0x800A03EC), kAddPictureFailed); },
     HostRefusedText(win::WideToUtf8(kAddPictureFailed))},
    {"ExcelCannotMakeTheNewWorkbook", HostKind::Excel,
     [](HostDouble& h) {
       h.Excel().workbooks.front()->hidden = true;
       h.log().FailCall(L"Workbooks", L"Add", HRESULT(0x800A03EC), L"Excel is busy.");
     },
     HostRefusedText("Excel is busy.")},
};

class RefusedPicture : public HostClick, public testing::WithParamInterface<Refusal> {
 protected:
  RefusedPicture()
      : HostClick(GetParam().kind, GetParam().kind == HostKind::Word ? static_cast<TToolbarAddIn*>(new TWordAddIn)
                                                                     : new TExcelAddIn) {}
};

TEST_P(RefusedPicture, IsToldOnceKeptOnTheClipboardAndLeavesNoFile) {
  GetParam().kind == HostKind::Word ? OpenDocument() : OpenWorkbook();
  GetParam().arrange(host);
  EmptyTheClipboard();
  std::vector<test::MessageBoxInfo> boxes;
  Click(&ConfirmPicture, 1500, &boxes);
  ExpectKeptOnTheClipboard(boxes, GetParam().reason, 400, 300);
  for (const auto& document : host.Word().documents) EXPECT_TRUE(document->shapes.items.empty());
  for (const auto& book : host.Excel().workbooks)
    for (const auto& sheet : book->sheets) EXPECT_TRUE(sheet->shapes.items.empty());
  EXPECT_FALSE(FileExists(handOff));
  EXPECT_TRUE(host.log().CallsTo(L"Shape", L"*").empty());
  EXPECT_TRUE(host.log().CallsTo(L"Application", L"Selection").empty());
}

INSTANTIATE_TEST_SUITE_P(BothHosts, RefusedPicture, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace inkra::addin
