#include "SealForm.h"

#include <utility>

#include "Bmp.h"
#include "ByteSink.h"
#include "ColourBox.h"
#include "HandOffFile.h"
#include "Dpi.h"
#include "InkCanvas.h"
#include "KeptPreviews.h"
#include "ScaledCanvas.h"
#include "SealArt.h"
#include "SealControls.h"
#include "SealTemplates.h"
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
    font_ = KeptDialogFont(fontFace, fontPoints, layoutDpi_);
    // Read once for every face box of the form; a font installed or removed since the last
    // dialog makes the kept pictures and outlines go.
    faces_ = InstalledFaces();
    NoteInstalledFaces(faces_);
    SendMessageW(Handle(), WM_SETFONT, WPARAM(font_), FALSE);
    CreateControls();
  });
}

int SealForm::HandOffDpi() const {
  if (handOffDpi_ > 0) return handOffDpi_;
  return owner_ ? WindowDpi(owner_) : layoutDpi_;
}

std::unique_ptr<ink::InkLayer> DrawSealInk(GdiGlyphSource& glyphs, int width, int height,
                                           const std::function<void(Canvas&)>& draw,
                                           const InkFinish& finish, bool glyphsOnCells) {
  const int dpi = glyphs.Dpi();
  auto layer = std::make_unique<ink::InkLayer>(ScaleToDpi(width, dpi), ScaleToDpi(height, dpi));
  ink::InkCanvas canvas(*layer, &glyphs, [](int index) { return ColourValue(GetSysColor(index)); });
  canvas.LayGlyphsOnCells(glyphsOnCells);
  ScaledCanvas scaled(canvas, dpi);
  draw(scaled);
  if (finish) finish(*layer, dpi);
  return layer;
}

std::unique_ptr<GdiCanvas> InkOverWhite(const ink::InkLayer& layer) {
  auto picture = std::make_unique<GdiCanvas>(layer.Width(), layer.Height(), 24);
  const PixelRows rows{picture->Bits(), Bitmap::StrideFor(picture->Width(), 24), picture->Width(), picture->Height(), 24};
  layer.CompositeOnto(rows, layer.Bounds());
  return picture;
}

Bitmap SealBitmap(const ink::InkLayer& layer) {
  // A reader that takes the fourth byte as padding still sees the seal on white, as it did in
  // the 24-bit file; one that reads it as alpha gets the coverage.
  Bitmap bitmap(layer.Width(), layer.Height(), 32);
  if (!layer.Wet()) {
    // Dry ink, as a seal always is: its rows with red and blue swapped, straight from the layer.
    const ConstPixelRows dry = layer.DryPixels();
    for (int y = 0; y < layer.Height(); ++y) {
      const std::uint8_t* from = dry.Row(y);
      std::uint8_t* to = bitmap.Row(y);
      for (int x = 0; x < layer.Width(); ++x, from += 4, to += 4)
        to[0] = from[2], to[1] = from[1], to[2] = from[0], to[3] = from[3];
    }
    return bitmap;
  }
  for (int y = 0; y < layer.Height(); ++y) {
    std::uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < layer.Width(); ++x) {
      const ink::InkPixel p = layer.At(x, y);
      row[4 * x] = p.colour.b;
      row[4 * x + 1] = p.colour.g;
      row[4 * x + 2] = p.colour.r;
      row[4 * x + 3] = p.coverage;
    }
  }
  return bitmap;
}

GdiGlyphSource& SealForm::GlyphsAt(int dpi) { return KeptGlyphSource(dpi); }

std::string SealForm::PreviewKey(const std::string& text, ColourValue colour) {
  return text + "|" + std::to_string(GdiCanvas::Resolve(colour, 0));
}

void SealForm::ShowSeal(HWND image, int width, int height, SealDrawing draw, InkFinish finish,
                        const std::string& key) {
  const std::string kept =
      key.empty() ? std::string() : key + "|" + std::to_string(width) + "x" + std::to_string(height) + "@" +
                                        std::to_string(layoutDpi_);
  KeptPreview shown = kept.empty() ? KeptPreview{} : FindKeptPreview(kept);
  if (!shown.ink) {
    std::shared_ptr<const ink::InkLayer> layer = DrawSealInk(GlyphsAt(layoutDpi_), width, height, draw, finish);
    shown = {layer, InkOverWhite(*layer)};
    if (!kept.empty()) KeepPreview(kept, shown);
  }
  ShowPicture(image, shown.picture.get());
  preview_ = std::move(shown.picture);
  ink_ = std::move(shown.ink);
  drawing_ = std::move(draw);
  finish_ = std::move(finish);
  drawnWidth_ = width;
  drawnHeight_ = height;
}

std::vector<std::string> SealForm::TemplateEntries(const std::vector<std::string>& templates, const char* name) {
  std::vector<std::string> entries = templates;
  if (Remembered(name)) entries.push_back(kLastUsedEntry);
  return entries;
}

std::optional<std::string> SealForm::Remembered(const char* name) const {
  return memory_ ? memory_->Load(name) : std::nullopt;
}

void SealForm::Remember(const char* name, const std::string& text) const {
  if (memory_) memory_->Save(name, text);
}

void SealForm::SetControls(const std::function<void()>& set) {
  applying_ = true;
  try {
    set();
  } catch (...) {
    applying_ = false;
    throw;
  }
  applying_ = false;
}

int SealForm::AtLayoutDpi(int length) const { return ScaleToDpi(length, layoutDpi_); }

void SealForm::ApplyDpi(int dpi) {
  if (dpi == layoutDpi_ || dpi <= 0) return;
  const HFONT font = KeptDialogFont(fontFace_, fontPoints_, dpi);
  RescaleControls(Handle(), layoutDpi_, dpi, font_, font);
  SendMessageW(Handle(), WM_SETFONT, WPARAM(font), FALSE);
  font_ = font;
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

void SealForm::WriteHandOff(int width, int height) {
  const int dpi = HandOffDpi();
  std::unique_ptr<ink::InkLayer> drawn;
  if (!ink_) {
    drawn = DrawSealInk(GlyphsAt(dpi), width, height, [](Canvas&) {});
  } else if (dpi != layoutDpi_) {
    drawn = DrawSealInk(GlyphsAt(dpi), drawnWidth_, drawnHeight_, drawing_, finish_);
  }
  const Bitmap bitmap = SealBitmap(drawn ? *drawn : *ink_);
  writtenPath_ = WriteHandOffFile(handOffPath_, [&bitmap](ByteSink& sink) { inkra::WriteBmp(bitmap, sink); });
  if (ink_) {
    art_ = std::make_shared<SealArt>(drawnWidth_, drawnHeight_, drawing_, finish_, dpi);
  } else {
    art_ = std::make_shared<SealArt>(width, height, SealArt::Drawing{}, SealArt::Finish{}, dpi);
  }
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
    case WM_FONTCHANGE:  // a face may now be another font: what was drawn with the old one goes
      ForgetKeptDrawings();
      break;
  }
  return OnOtherMessage(message, wParam, lParam);
}

}  // namespace inkra::win
