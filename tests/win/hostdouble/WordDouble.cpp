// Word: Documents, Document, Selection.
#include <algorithm>

#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

const HostError kPictureUnreadable{HRESULT(0x800A1066), L"The program can't read this picture file."};
constexpr int wdStatisticPages = 2;
constexpr int wdGoToPage = 1;
constexpr int wdGoToAbsolute = 1;

const HostError kDocumentLocked{HRESULT(0x800A11FD),
                                L"This method or property is not available because the document is locked for editing."};

class DocumentDouble : public DispatchDouble {
 public:
  DocumentDouble(Context host, std::shared_ptr<DocumentState> document)
      : DispatchDouble(host->log, L"Document"), host_(std::move(host)), document_(std::move(document)) {
    Property(L"Name", 0, [this](const Args&) { return Variant(document_->name); });
    Property(L"Shapes", 0x1A, [this](const Args&) {
      auto refusal = [document = document_]() -> const HostError* {
        if (document->failAddPictureAt > 0 && --document->failAddPictureAt == 0) return &kPictureUnreadable;
        const int type = document->protectionType;
        return type == wdNoProtection || type == wdAllowOnlyRevisions ? nullptr : &kDocumentLocked;
      };
      return Variant(
          MakeShapes(host_, std::shared_ptr<ShapesState>(document_, &document_->shapes), false, refusal).Get());
    });
    Property(L"ProtectionType", 0x1B, [this](const Args&) { return Variant(document_->protectionType); });
    // ComputeStatistics(Statistic, IncludeFootnotesAndEndnotes): the pages for wdStatisticPages.
    Method(L"ComputeStatistics", 0x1F4 + 0x1E, 1, 2, [this](const Args& a) {
      if (a.Int(0) != wdStatisticPages) InvalidArgument();
      return Variant(document_->pages);
    });
    // GoTo(What, Which, Count, Name): the start of a page, counted from the first; past the last
    // page Word goes to the last.
    Method(L"GoTo", 0x1FD, 0, 4, [this](const Args& a) {
      if (a.IntOr(0, 0) != wdGoToPage || a.IntOr(1, 0) != wdGoToAbsolute) InvalidArgument();
      const int page = std::clamp(a.IntOr(2, 1), 1, document_->pages);
      return Variant(Make<RangeDouble>(host_, document_, long(page - 1) * 1000, page).Get());
    });
  }

 private:
  Context host_;
  std::shared_ptr<DocumentState> document_;
};

class DocumentsDouble : public DispatchDouble {
 public:
  DocumentsDouble(Context host, ComPtr<IDispatch> application)
      : DispatchDouble(host->log, L"Documents"), host_(std::move(host)), application_(std::move(application)) {
    Property(L"Count", 2, [this](const Args&) { return Variant(int(Word().documents.size())); });
    Property(L"Application", 1000, [this](const Args&) { return Variant(application_.Get()); });
    Method(L"Item", 0, 1, 1, [this](const Args& a) {
      auto& docs = Word().documents;
      if (a.Raw(0).vt() == VT_BSTR) {
        std::wstring name = a.String(0);
        for (auto& d : docs)
          if (_wcsicmp(d->name.c_str(), name.c_str()) == 0) return Variant(MakeDocument(host_, d).Get());
        InvalidArgument();
      }
      int index = a.Int(0);
      if (index < 1 || index > int(docs.size())) InvalidArgument();
      return Variant(MakeDocument(host_, docs[size_t(index - 1)]).Get());
    });
    // Add(Template, NewTemplate, DocumentType, Visible), all optional.
    Method(L"Add", 14, 0, 4, [this](const Args&) {
      auto document = std::make_shared<DocumentState>();
      document->name = L"Document" + std::to_wstring(++Word().created);
      Word().documents.push_back(document);
      Word().active = int(Word().documents.size()) - 1;
      return Variant(MakeDocument(host_, document).Get());
    });
  }

 private:
  WordState& Word() { return *host_->word; }
  Context host_;
  ComPtr<IDispatch> application_;
};

class SelectionDouble : public DispatchDouble {
 public:
  explicit SelectionDouble(Context host) : DispatchDouble(host->log, L"Selection"), host_(std::move(host)) {
    Property(
        L"Start", 0x190, [this](const Args&) { return Variant(host_->word->selectionStart); },
        [this](const Variant& v) { host_->word->selectionStart = v.ToInt32(); });
    Property(
        L"End", 0x191, [this](const Args&) { return Variant(host_->word->selectionEnd); },
        [this](const Variant& v) { host_->word->selectionEnd = v.ToInt32(); });
    Property(L"StoryType", 0x194, [this](const Args&) { return Variant(host_->word->cursor.storyType); });
    Property(L"Type", 0x4, [this](const Args&) { return Variant(host_->word->cursor.selectionType); });
    Property(L"Information", 0x193, [this](const Args& a) { return CursorInformation(host_, a.Int(0)); }, nullptr, 1,
             1);
    Property(L"Range", 0x190 + 0x10, [this](const Args&) {
      auto document = ActiveWordDocument(host_);
      if (!document) throw HostError{HRESULT(0x800A1098), L"This command is not available because no document is open."};
      return Variant(Make<RangeDouble>(host_, document, host_->word->selectionStart, host_->word->cursor.page).Get());
    });
  }

 private:
  Context host_;
};

}  // namespace

ComPtr<IDispatch> MakeDocuments(const Context& host, ComPtr<IDispatch> application) {
  return Make<DocumentsDouble>(host, std::move(application));
}

ComPtr<IDispatch> MakeDocument(const Context& host, std::shared_ptr<DocumentState> document) {
  return Make<DocumentDouble>(host, std::move(document));
}

ComPtr<IDispatch> MakeSelection(const Context& host) { return Make<SelectionDouble>(host); }

std::shared_ptr<DocumentState> ActiveWordDocument(const Context& host) {
  const WordState& word = *host->word;
  if (word.active < 0 || word.active >= int(word.documents.size())) return nullptr;
  return word.documents[size_t(word.active)];
}

}  // namespace inkra::test::office
