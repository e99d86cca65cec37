#include "SealForm.h"

#include <utility>

#include "Bmp.h"
#include "ByteSink.h"
#include "ColourBox.h"
#include "HandOffFile.h"
#include "Dpi.h"
#include "PictureAtDpi.h"
#include "SealControls.h"
#include "ShowMessage.h"
#include "TextConvert.h"

namespace inkra::win {

void SealForm::CreateForm(const wchar_t* className, const wchar_t* caption, int clientWidth,
                          int clientHeight, const wchar_t* fontFace, int fontPoints, bool centreOverOwner) {
  // No WS_CLIPCHILDREN: group boxes rely on the form painting the face colour under them.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  // Built in per-monitor coordinates whatever the host's thread is: positions and sizes given
  // from an unaware thread would be taken as 96-dpi ones and scaled again.
  DpiAwareScope aware;
  Create({className, GetSysColorBrush(COLOR_BTNFACE)}, exStyle, caption, style, 0, 0, 0, 0, owner_);
  BuildOrDestroy([&] {
    PlaceCentred(clientWidth, clientHeight, centreOverOwner ? owner_ : nullptr);
    layoutDpi_ = Dpi();
    fontFace_ = fontFace;
    fontPoints_ = fontPoints;
    font_ = MakeDialogFont(fontFace, fontPoints, layoutDpi_);
    SendMessageW(Handle(), WM_SETFONT, WPARAM(font_.get()), FALSE);
    CreateControls();
    SendGroupsToBottom(Handle());
  });
}

std::unique_ptr<GdiCanvas> SealForm::DrawAtDpi(int width, int height,
                                               const std::function<void(Canvas&)>& draw) const {
  return DrawPictureAtDpi(width, height, 24, layoutDpi_, draw);
}

int SealForm::AtLayoutDpi(int length) const { return ScaleToDpi(length, layoutDpi_); }

void SealForm::ApplyDpi(int dpi) {
  if (dpi == layoutDpi_ || dpi <= 0) return;
  UniqueFont font = MakeDialogFont(fontFace_, fontPoints_, dpi);
  RescaleControls(Handle(), layoutDpi_, dpi, font_.get(), font.get());
  SendMessageW(Handle(), WM_SETFONT, WPARAM(font.get()), FALSE);
  font_ = std::move(font);  // the old font goes once no control uses it
  layoutDpi_ = dpi;
  LayoutChanged();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void SealForm::BeforeShow() {
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void SealForm::ShowHint(const std::string& utf8Text) const {
  ShowMessage(Handle(), Utf8ToWide(utf8Text), L"提示", MB_OK | MB_ICONINFORMATION);
}

void SealForm::WriteHandOff(const GdiCanvas& picture) {
  writtenPath_ = WriteHandOffFile(handOffPath_, [&picture](ByteSink& sink) { picture.WriteBmp(sink); });
}

LRESULT SealForm::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Window::HandleMessage(message, wParam, lParam);
}

LRESULT SealForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ColourBox::HandleParentMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {  // Esc: as the close box
        CloseModal();
        return 0;
      }
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      // Labels and group boxes on the face colour; read-only spin edits stay white.
      int colour = SpinField::IsSpinEdit(reinterpret_cast<HWND>(lParam)) ? COLOR_WINDOW : COLOR_BTNFACE;
      SetBkColor(HDC(wParam), GetSysColor(colour));
      SetTextColor(HDC(wParam), GetSysColor(colour == COLOR_WINDOW ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
    }
    case WM_CLOSE:  // the close box: Accepted stays as it is (false unless written)
      CloseModal();
      return 0;
  }
  return OnOtherMessage(message, wParam, lParam);
}

}  // namespace inkra::win
