// Word's pages as the placement reads them: the active window's view, ranges with their page
// and section, the section's page setup.
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

// Word's WdInformation members the double answers.
constexpr int wdActiveEndPageNumber = 3;
constexpr int wdNumberOfPagesInDocument = 4;
constexpr int wdHorizontalPositionRelativeToPage = 5;
constexpr int wdVerticalPositionRelativeToPage = 6;

// One section spans the whole document; its PageSetup answers Singles, in points.
Variant Sections(const Context& host, const std::shared_ptr<DocumentState>& document) {
  return ObjectVariant(host->log, L"Sections", [&](ObjectDouble& sections) {
    sections.Property(L"Count", 2, [](const Args&) { return Variant(1); });
    sections.Method(L"Item", 0, 1, 1, [host, document](const Args& a) {
      if (a.Int(0) != 1) InvalidArgument();
      return ObjectVariant(host->log, L"Section", [&](ObjectDouble& section) {
        section.Property(L"PageSetup", 0x44D, [host, document](const Args&) {
          return ObjectVariant(host->log, L"PageSetup", [&](ObjectDouble& setup) {
            setup.Property(L"PageWidth", 0x7B, [document](const Args&) { return Variant(document->pageWidth); });
            setup.Property(L"PageHeight", 0x7C, [document](const Args&) { return Variant(document->pageHeight); });
          });
        });
      });
    });
  });
}

}  // namespace

RangeDouble::RangeDouble(Context host, std::shared_ptr<DocumentState> document, long start, int page)
    : DispatchDouble(host->log, L"Range"), start(start), page(page), host_(std::move(host)),
      document_(std::move(document)) {
  Property(L"Start", 3, [this](const Args&) { return Variant(this->start); });
  Property(L"End", 4, [this](const Args&) { return Variant(this->start); });
  Property(L"Information", 0x139, [this](const Args& a) {
    if (a.Int(0) == wdActiveEndPageNumber) return Variant(this->page);
    if (a.Int(0) == wdNumberOfPagesInDocument) return Variant(document_->pages);
    InvalidArgument();
  }, nullptr, 1, 1);
  Property(L"Sections", 0x33, [this](const Args&) { return Sections(host_, document_); });
}

ComPtr<IDispatch> MakeWordWindow(const Context& host) {
  return MakeObject(host->log, L"Window", [&](ObjectDouble& window) {
    window.Property(L"View", 0x5, [host](const Args&) {
      return ObjectVariant(host->log, L"View", [&](ObjectDouble& view) {
        const std::shared_ptr<WordState> word = host->word;
        view.Property(
            L"Type", 0, [word](const Args&) { return Variant(word->readingLayout ? 7 : word->viewType); },
            [word](const Variant& v) {
              // Word refuses to change the view while Reading Layout is on, and in the locked case.
              if (word->viewLocked || word->readingLayout)
                throw HostError{HRESULT(0x800A1066), L"This command is not available."};
              word->viewType = v.ToInt32();
            });
        view.Property(
            L"ReadingLayout", 0x1A, [word](const Args&) { return Variant(word->readingLayout); },
            [word](const Variant& v) { word->readingLayout = v.ToBool(); });
      });
    });
  });
}

Variant CursorInformation(const Context& host, int what) {
  const WordState& word = *host->word;
  const WordCursorState& cursor = word.cursor;
  switch (what) {
    case wdActiveEndPageNumber: return Variant(cursor.page);
    case wdHorizontalPositionRelativeToPage:
    case wdVerticalPositionRelativeToPage: {
      // Positions on the page exist in Print Layout only; elsewhere, and where Word cannot tell,
      // it answers -1.
      const bool known = word.viewType == wdPrintView && !word.readingLayout && !cursor.positionUnknown;
      if (!known) return Variant(-1.0f);
      return Variant(what == wdHorizontalPositionRelativeToPage ? cursor.x : cursor.y);
    }
    default: InvalidArgument();
  }
}

}  // namespace inkra::test::office
