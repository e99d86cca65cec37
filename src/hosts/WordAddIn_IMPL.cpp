#include "WordAddIn_IMPL.h"

#include "Dispatch.h"
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

void TWordAddIn::InsertPicture(const std::wstring& path, double width, double height) {
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
  ComPtr<IDispatch> document = Get(application.Get(), L"ActiveDocument").ToDispatch();
  ComPtr<IDispatch> shapes = Get(document.Get(), L"Shapes").ToDispatch();
  ComPtr<IDispatch> shape = win::Call(shapes.Get(), L"AddPicture", path, linkToFile, saveWithDocument, left, top,
                                      pictureWidth, pictureHeight, anchor)
                                .ToDispatch();
  // Word has embedded the picture; the hand-off file has served its purpose.
  DeleteFileW(path.c_str());

  win::Call(shape.Get(), L"Select", 0);
  Put(shape.Get(), L"Name", kShapeName);
  ComPtr<IDispatch> pictureFormat = Get(shape.Get(), L"PictureFormat").ToDispatch();
  Put(pictureFormat.Get(), L"TransparentBackground", msoTrue);
  Put(pictureFormat.Get(), L"TransparencyColor", kWhite);
  Put(Get(shape.Get(), L"Fill").ToDispatch().Get(), L"Visible", msoFalse);
  Put(Get(shape.Get(), L"WrapFormat").ToDispatch().Get(), L"Type", wdWrapNone);
  win::Call(shape.Get(), L"ZOrder", msoBringInFrontOfText);

  ComPtr<IDispatch> selection = Get(word.Get(), L"Selection").ToDispatch();
  Put(selection.Get(), L"Start", 0);
  Put(selection.Get(), L"End", 0);
}

}  // namespace inkra::addin
