#include "WordAddIn_IMPL.h"

#include "Dispatch.h"
#include "HostTexts.h"
#include "MSOAddIn_h.h"
#include "OfficeIds.h"
#include "RibbonButton.h"
#include "TextConvert.h"
#include "WordPlacement.h"

namespace inkra::addin {

using win::ComPtr;
using win::Get;
using win::Put;
using win::Variant;

TWordAddIn::TWordAddIn() : TToolbarAddIn(CLSID_WordAddIn, kWordProgId) {}

const wchar_t* TWordAddIn::MainRibbonId() const { return kWordRibbonId; }

namespace {

// Word's wdNoProtection: anything else locks the document against new shapes.
constexpr int wdNoProtection = -1;

// Whether a document is protected, asked only once Word has refused the picture, to tell the
// user why; false when Word cannot say.
bool IsProtected(IDispatch* document) {
  try {
    return Get(document, L"ProtectionType").ToInt32() != wdNoProtection;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool TWordAddIn::OffersStraddle() const { return true; }

Inserted TWordAddIn::InsertPicture(const Insertion& insertion) {
  ComPtr<IDispatch> word = win::QueryDispatch(Application.Get(), office::IID_WordApplication, L"Word _Application");

  ComPtr<IDispatch> documents = Get(word.Get(), L"Documents").ToDispatch();
  if (Get(documents.Get(), L"Count").ToInt32() == 0)
    win::Call(documents.Get(), L"Add", win::MissingArgument(), win::MissingArgument(), win::MissingArgument(),
              win::MissingArgument());

  ComPtr<IDispatch> application = Get(documents.Get(), L"Application").ToDispatch();
  // Word answers an error when no document has a window (every open one hidden).
  ComPtr<IDispatch> document;
  try {
    document = Get(application.Get(), L"ActiveDocument").ToDispatch();
  } catch (const win::ComError&) {
    throw PictureRefused(kNoDocumentWindow);
  }
  if (!document) throw PictureRefused(kNoDocumentWindow);
  ComPtr<IDispatch> shapes = Get(document.Get(), L"Shapes").ToDispatch();
  try {
    return Place(word.Get(), document.Get(), shapes.Get(), insertion);
  } catch (const win::ComError&) {
    if (IsProtected(document.Get())) throw PictureRefused(kDocumentProtected);
    throw;
  }
}

Inserted TWordAddIn::Place(IDispatch* word, IDispatch* document, IDispatch* shapes, const Insertion& insertion) {
  const PictureBox& box = insertion.box;
  if (insertion.placement == board::Placement::Straddle) return {InsertStraddle(document, shapes, insertion), true};
  if (insertion.placement == board::Placement::Cursor) {
    if (const std::optional<CursorSpot> spot = ReadCursor(word)) {
      const Position at = AtCursor(spot->x, spot->y, spot->page.width, spot->page.height, box.width, box.height);
      ComPtr<IDispatch> shape = AddPicture(shapes, insertion.path, at.left, at.top, box.width, box.height,
                                           win::Variant(spot->anchor.Get()));
      // The picture is in; where it stands on the page is a finish Word may refuse.
      try {
        if (shape) PinToPage(shape.Get(), at);
      } catch (const std::exception&) {
      }
      return {{shape}, true};
    }
  }
  const Position at = AtPageTopLeft(box);
  Inserted inserted{{AddPicture(shapes, insertion.path, PointsArgument(at.left), PointsArgument(at.top), box.width,
                                box.height, win::MissingArgument())}};
  if (insertion.placement == board::Placement::Cursor) {
    // The user asked for the cursor and finds the picture elsewhere: Word's status bar says why.
    try {
      Put(word, L"StatusBar", win::Utf8ToWide(kCursorUnknown));
    } catch (const std::exception&) {
    }
  }
  return inserted;
}

void TWordAddIn::FormatPicture(const Inserted& inserted, bool ownAlpha) {
  for (const ComPtr<IDispatch>& shape : inserted.shapes) FormatShape(shape.Get(), !inserted.keepSelection, ownAlpha);
  if (inserted.keepSelection) return;
  ComPtr<IDispatch> word = win::QueryDispatch(Application.Get(), office::IID_WordApplication, L"Word _Application");
  ComPtr<IDispatch> selection = Get(word.Get(), L"Selection").ToDispatch();
  Put(selection.Get(), L"Start", 0);
  Put(selection.Get(), L"End", 0);
}

void TWordAddIn::FormatShape(IDispatch* shape, bool select, bool ownAlpha) {
  if (select) win::Call(shape, L"Select", 0);
  Put(shape, L"Name", kShapeName);
  ComPtr<IDispatch> pictureFormat = Get(shape, L"PictureFormat").ToDispatch();
  // A PNG's alpha already leaves the page showing around the ink: nothing to key out.
  if (!ownAlpha) {
    Put(pictureFormat.Get(), L"TransparentBackground", msoTrue);
    Put(pictureFormat.Get(), L"TransparencyColor", kWhite);
  }
  Put(Get(shape, L"Fill").ToDispatch().Get(), L"Visible", msoFalse);
  Put(Get(shape, L"WrapFormat").ToDispatch().Get(), L"Type", wdWrapNone);
  win::Call(shape, L"ZOrder", msoBringInFrontOfText);
}

}  // namespace inkra::addin
