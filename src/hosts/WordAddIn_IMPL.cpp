#include "WordAddIn_IMPL.h"

#include "Dispatch.h"
#include "HostTexts.h"
#include "MSOAddIn_h.h"
#include "OfficeIds.h"
#include "RibbonButton.h"

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

ComPtr<IDispatch> TWordAddIn::InsertPicture(const std::wstring& path, double width, double height) {
  ComPtr<IDispatch> word = win::QueryDispatch(Application.Get(), office::IID_WordApplication, L"Word _Application");

  ComPtr<IDispatch> documents = Get(word.Get(), L"Documents").ToDispatch();
  if (Get(documents.Get(), L"Count").ToInt32() == 0)
    win::Call(documents.Get(), L"Add", win::MissingArgument(), win::MissingArgument(), win::MissingArgument(),
              win::MissingArgument());

  const Variant linkToFile(false), saveWithDocument(true);
  const Variant left(kPictureLeft), top(kPictureTop);
  const Variant pictureWidth(width), pictureHeight(height);
  const Variant anchor = win::MissingArgument();

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
    return win::Call(shapes.Get(), L"AddPicture", path, linkToFile, saveWithDocument, left, top, pictureWidth,
                     pictureHeight, anchor)
        .ToDispatch();
  } catch (const win::ComError&) {
    if (IsProtected(document.Get())) throw PictureRefused(kDocumentProtected);
    throw;
  }
}

void TWordAddIn::FormatPicture(IDispatch* shape, bool ownAlpha) {
  win::Call(shape, L"Select", 0);
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

  ComPtr<IDispatch> word = win::QueryDispatch(Application.Get(), office::IID_WordApplication, L"Word _Application");
  ComPtr<IDispatch> selection = Get(word.Get(), L"Selection").ToDispatch();
  Put(selection.Get(), L"Start", 0);
  Put(selection.Get(), L"End", 0);
}

}  // namespace inkra::addin
