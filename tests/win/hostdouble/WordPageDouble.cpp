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

class PageSetupDouble : public DispatchDouble {
 public:
  PageSetupDouble(const Context& host, std::shared_ptr<DocumentState> document)
      : DispatchDouble(host->log, L"PageSetup"), document_(std::move(document)) {
    // Single, in points.
    Property(L"PageWidth", 0x7B, [this](const Args&) { return Variant(document_->pageWidth); });
    Property(L"PageHeight", 0x7C, [this](const Args&) { return Variant(document_->pageHeight); });
  }

 private:
  std::shared_ptr<DocumentState> document_;
};

class SectionDouble : public DispatchDouble {
 public:
  SectionDouble(Context host, std::shared_ptr<DocumentState> document)
      : DispatchDouble(host->log, L"Section"), host_(std::move(host)), document_(std::move(document)) {
    Property(L"PageSetup", 0x44D,
             [this](const Args&) { return Variant(Make<PageSetupDouble>(host_, document_).Get()); });
  }

 private:
  Context host_;
  std::shared_ptr<DocumentState> document_;
};

// One section spans the whole document.
class SectionsDouble : public DispatchDouble {
 public:
  SectionsDouble(Context host, std::shared_ptr<DocumentState> document)
      : DispatchDouble(host->log, L"Sections"), host_(std::move(host)), document_(std::move(document)) {
    Property(L"Count", 2, [](const Args&) { return Variant(1); });
    Method(L"Item", 0, 1, 1, [this](const Args& a) {
      if (a.Int(0) != 1) InvalidArgument();
      return Variant(Make<SectionDouble>(host_, document_).Get());
    });
  }

 private:
  Context host_;
  std::shared_ptr<DocumentState> document_;
};

class ViewDouble : public DispatchDouble {
 public:
  explicit ViewDouble(Context host) : DispatchDouble(host->log, L"View"), host_(std::move(host)) {
    Property(
        L"Type", 0, [this](const Args&) { return Variant(Word().readingLayout ? 7 : Word().viewType); },
        [this](const Variant& v) {
          // Word refuses to change the view while Reading Layout is on, and in the locked case.
          if (Word().viewLocked || Word().readingLayout)
            throw HostError{HRESULT(0x800A1066), L"This command is not available."};
          Word().viewType = v.ToInt32();
        });
    Property(
        L"ReadingLayout", 0x1A, [this](const Args&) { return Variant(Word().readingLayout); },
        [this](const Variant& v) { Word().readingLayout = v.ToBool(); });
  }

 private:
  WordState& Word() { return *host_->word; }
  Context host_;
};

class WindowDouble : public DispatchDouble {
 public:
  explicit WindowDouble(Context host) : DispatchDouble(host->log, L"Window"), host_(std::move(host)) {
    Property(L"View", 0x5, [this](const Args&) { return Variant(Make<ViewDouble>(host_).Get()); });
  }

 private:
  Context host_;
};

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
  Property(L"Sections", 0x33, [this](const Args&) { return Variant(Make<SectionsDouble>(host_, document_).Get()); });
}

ComPtr<IDispatch> MakeWordWindow(const Context& host) { return Make<WindowDouble>(host); }

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
