#include "RibbonButton.h"

#include <olectl.h>

#include <cstring>

#include "Bmp.h"
#include "ComError.h"
#include "Handle.h"
#include "RibbonImages.h"
#include "ToolbarAddIn.h"

namespace inkra::addin {

std::wstring RibbonButtonMarkup() {
  // The same name, caption and tag as the toolbar's, so a user finds the same button in both.
  return std::wstring(L"<customUI xmlns=\"") + kCustomUiNamespace +
         L"\">"
         L"<ribbon><tabs><tab idMso=\"TabInsert\">"
         L"<group id=\"InkraSoft\" label=\"" + kToolbarName + L"\">"
         L"<button id=\"InkraSignature\" size=\"large\" label=\"" + kButtonCaption + L"\" screentip=\"" +
         kButtonCaption + L"\" tag=\"" + kButtonTag + L"\" getImage=\"" + kRibbonButtonImage.name +
         L"\" onAction=\"" + kRibbonButtonClick.name +
         L"\"/>"
         L"</group></tab></tabs></ribbon></customUI>";
}

win::ComPtr<IPictureDisp> RibbonButtonPicture() {
  // A 32-bit bitmap with its alpha channel is what the ribbon draws with soft edges.
  const Bitmap image = ReadBmp(kRibbonButtonBmp);
  if (image.BitsPerPixel() != 32) win::ThrowFailure(E_UNEXPECTED, L"ribbon image depth");
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) win::ThrowFailure(HRESULT_FROM_WIN32(GetLastError()), L"CreateDIBSection");
  for (int y = 0; y < image.Height(); ++y)
    std::memcpy(static_cast<std::uint8_t*>(bits) + std::size_t(y) * image.Stride(), image.Row(y), image.Stride());
  PICTDESC picture{};
  picture.cbSizeofstruct = sizeof picture;
  picture.picType = PICTYPE_BITMAP;
  picture.bmp.hbitmap = bitmap.get();
  win::ComPtr<IPictureDisp> result;
  win::ThrowIfFailed(OleCreatePictureIndirect(&picture, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(result.GetAddressOf())),
                     L"OleCreatePictureIndirect");
  (void)bitmap.release();  // the picture owns it now
  return result;
}

}  // namespace inkra::addin
