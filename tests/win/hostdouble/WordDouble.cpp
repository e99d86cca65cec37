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

}  // namespace

ComPtr<IDispatch> MakeDocuments(const Context& host, ComPtr<IDispatch> application) {
  return MakeObject(host->log, L"Documents", [&](ObjectDouble& o) {
    const std::shared_ptr<WordState> word = host->word;
    o.Property(L"Count", 2, [word](const Args&) { return Variant(int(word->documents.size())); });
    o.Property(L"Application", 1000, [application](const Args&) { return Variant(application.Get()); });
    o.Method(L"Item", 0, 1, 1,
             [host, word](const Args& a) { return Variant(MakeDocument(host, ItemOf(a, word->documents)).Get()); });
    // Add(Template, NewTemplate, DocumentType, Visible), all optional.
    o.Method(L"Add", 14, 0, 4, [host, word](const Args&) {
      auto document = std::make_shared<DocumentState>();
      document->name = L"Document" + std::to_wstring(++word->created);
      word->documents.push_back(document);
      word->active = int(word->documents.size()) - 1;
      return Variant(MakeDocument(host, document).Get());
    });
  });
}

ComPtr<IDispatch> MakeDocument(const Context& host, std::shared_ptr<DocumentState> document) {
  return MakeObject(host->log, L"Document", [&](ObjectDouble& o) {
    o.Property(L"Name", 0, [document](const Args&) { return Variant(document->name); });
    o.Property(L"Shapes", 0x1A, [host, document](const Args&) {
      auto refusal = [document]() -> const HostError* {
        if (document->failAddPictureAt > 0 && --document->failAddPictureAt == 0) return &kPictureUnreadable;
        const int type = document->protectionType;
        return type == wdNoProtection || type == wdAllowOnlyRevisions ? nullptr : &kDocumentLocked;
      };
      return Variant(MakeShapes(host, std::shared_ptr<ShapesState>(document, &document->shapes), false, refusal).Get());
    });
    o.Property(L"ProtectionType", 0x1B, [document](const Args&) { return Variant(document->protectionType); });
    // ComputeStatistics(Statistic, IncludeFootnotesAndEndnotes): the pages for wdStatisticPages.
    o.Method(L"ComputeStatistics", 0x1F4 + 0x1E, 1, 2, [document](const Args& a) {
      if (a.Int(0) != wdStatisticPages) InvalidArgument();
      return Variant(document->pages);
    });
    // GoTo(What, Which, Count, Name): the start of a page, counted from the first; past the last
    // page Word goes to the last.
    o.Method(L"GoTo", 0x1FD, 0, 4, [host, document](const Args& a) {
      if (a.IntOr(0, 0) != wdGoToPage || a.IntOr(1, 0) != wdGoToAbsolute) InvalidArgument();
      const int page = std::clamp(a.IntOr(2, 1), 1, document->pages);
      return Variant(Make<RangeDouble>(host, document, long(page - 1) * 1000, page).Get());
    });
  });
}

ComPtr<IDispatch> MakeSelection(const Context& host) {
  return MakeObject(host->log, L"Selection", [&](ObjectDouble& o) {
    const std::shared_ptr<WordState> word = host->word;
    o.Property(
        L"Start", 0x190, [word](const Args&) { return Variant(word->selectionStart); },
        [word](const Variant& v) { word->selectionStart = v.ToInt32(); });
    o.Property(
        L"End", 0x191, [word](const Args&) { return Variant(word->selectionEnd); },
        [word](const Variant& v) { word->selectionEnd = v.ToInt32(); });
    o.Property(L"StoryType", 0x194, [word](const Args&) { return Variant(word->cursor.storyType); });
    o.Property(L"Type", 0x4, [word](const Args&) { return Variant(word->cursor.selectionType); });
    o.Property(
        L"Information", 0x193, [host](const Args& a) { return CursorInformation(host, a.Int(0)); }, nullptr, 1, 1);
    o.Property(L"Range", 0x190 + 0x10, [host](const Args&) {
      auto document = ActiveWordDocument(host);
      if (!document)
        throw HostError{HRESULT(0x800A1098), L"This command is not available because no document is open."};
      return Variant(Make<RangeDouble>(host, document, host->word->selectionStart, host->word->cursor.page).Get());
    });
  });
}

std::shared_ptr<DocumentState> ActiveWordDocument(const Context& host) {
  const WordState& word = *host->word;
  if (word.active < 0 || word.active >= int(word.documents.size())) return nullptr;
  return word.documents[size_t(word.active)];
}

}  // namespace inkra::test::office
