#pragma once
// What the two seal dialogs share: a fixed-border top-level window of their own class, the
// "提示" messages, and the hand-off write. Modality comes from the window base.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GdiCanvas.h"
#include "GdiGlyphSource.h"
#include "Handle.h"
#include "InkLayer.h"
#include "ScalableArt.h"
#include "SealMemory.h"
#include "Window.h"

namespace inkra::win {

// The seal hand-off file the board reads.
constexpr const wchar_t* kSealHandOffPath = L"c:\\temp00000001.bmp";

// A seal drawing (a width x height layout in 96-dpi units) as ink at the glyph source's dpi, and
// that ink over white as the dialogs show it.
// `finish`, when given, works on the drawn ink at the glyph source's dpi (the stamp's look).
// `glyphsOnCells`: turned characters laid on their cells in one pass (InkCanvas::LayGlyphsOnCells),
// for a seal drawn again for paper; the screen's pictures keep them cut out.
using InkFinish = std::function<void(ink::InkLayer&, int dpi)>;
std::unique_ptr<ink::InkLayer> DrawSealInk(GdiGlyphSource& glyphs, int width, int height,
                                           const std::function<void(Canvas&)>& draw,
                                           const InkFinish& finish = {}, bool glyphsOnCells = false);
std::unique_ptr<GdiCanvas> InkOverWhite(const ink::InkLayer& layer);
// The ink as the hand-off file carries it: 32 bits of blue, green, red and straight alpha, white
// where there is no ink.
Bitmap SealBitmap(const ink::InkLayer& layer);

class SealForm : public Window {
 public:
  // ShowModal (from the window base) runs the dialog until it closes; the outcome is
  // Accepted(), not a return value.

  // True only after "确 定" has written the hand-off file.
  bool Accepted() const { return accepted_; }
  // The path "确 定" wrote: the fixed path, or its stand-in in the temporary folder.
  const std::wstring& WrittenPath() const { return writtenPath_; }
  // The seal "确 定" wrote, to be drawn again at another scale for output sharper than the
  // screen; it keeps what it needs, so it outlives the dialog. Null before the file is written.
  virtual std::shared_ptr<const ScalableArt> Art() const { return art_; }

  // The picture of the last successful preview, the ink over the dialog's white (null before
  // the first), and that ink itself.
  const GdiCanvas* Picture() const { return preview_.get(); }
  const ink::InkLayer* Ink() const { return ink_.get(); }

  // The dpi the hand-off picture is drawn at: the one given, else the owner's (the board loads
  // the picture as it is, so it must come at the board's dpi, whatever monitor the dialog is
  // on), else the layout dpi.
  int HandOffDpi() const;

  // The dpi the controls, fonts and pictures are laid out for: the window's when it was created.
  int LayoutDpi() const { return layoutDpi_; }
  // Lays the form out again for `dpi`: controls moved and sized, fonts and the picture made anew.
  // The frame is left as it is (after a move to another monitor, Windows has sized it).
  void ApplyDpi(int dpi);

 protected:
  // handOffDpi 0: the owner's dpi when "确 定" is pressed.
  // memory: where "上次使用" is kept (not owned; null: nothing is kept).
  SealForm(HWND owner, std::wstring handOffPath, int handOffDpi, SealMemory* memory = nullptr)
      : owner_(owner), handOffPath_(std::move(handOffPath)), handOffDpi_(handOffDpi), memory_(memory) {}

  // The template list's entries: the templates, then "上次使用" when a seal was kept under `name`.
  std::vector<std::string> TemplateEntries(const std::vector<std::string>& templates, const char* name);
  std::optional<std::string> Remembered(const char* name) const;
  void Remember(const char* name, const std::string& text) const;
  // True while the form sets its own controls: their change notifications are not the user's.
  bool Applying() const { return applying_; }
  void SetControls(const std::function<void()>& set);

  // Creates the window (client area clientWidth x clientHeight at 96 dpi, scaled to the window's
  // dpi), its font of `fontPoints` points and its controls.
  void CreateForm(const wchar_t* className, const wchar_t* caption, int clientWidth,
                  int clientHeight, const wchar_t* fontFace, int fontPoints, bool centreOverOwner);
  HFONT FormFont() const { return font_; }
  // A 96-dpi length at the layout dpi.
  int AtLayoutDpi(int length) const;

  // The seal: a width x height picture of the 96-dpi layout that `draw` draws in 96-dpi units.
  using SealDrawing = std::function<void(Canvas&)>;
  // Draws it as ink at the layout dpi (more pixels, not a stretched bitmap) and shows it in
  // `image` over white; kept for "确 定". `key`, when given, names everything `draw` and `finish`
  // draw from (see PreviewKey): a picture drawn before under the same key, in this dialog or an
  // earlier one, is shown without drawing it again.
  void ShowSeal(HWND image, int width, int height, SealDrawing draw, InkFinish finish = {},
                const std::string& key = {});
  // The key of a seal whose parameters `text` gives in full, drawn in `colour`: a system colour
  // is named by what it is now.
  static std::string PreviewKey(const std::string& text, ColourValue colour);
  // The installed faces, read once as the form was created, for its face boxes.
  const std::vector<std::wstring>& Faces() const { return faces_; }
  bool HasSeal() const { return ink_ != nullptr; }

  virtual void CreateControls() = 0;
  virtual void FormShow() = 0;
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After ApplyDpi moved the controls and changed the form font: the form's own fonts and its
  // picture at LayoutDpi().
  virtual void LayoutChanged() {}

  // An input message: caption "提示", information icon, OK only.
  void ShowHint(const std::string& utf8Text) const;

  // Writes the seal last shown, drawn at HandOffDpi(), to the hand-off file (or its stand-in) as
  // a 32-bit BMP of colour and straight alpha; without one, a width x height picture without ink.
  // Throws FileError.
  void WriteHandOff(int width, int height);
  void SetAccepted(bool accepted) { accepted_ = accepted; }
  void CloseModal() { EndModal(); }  // the window is hidden, not destroyed

  // True once FormShow has run: earlier change notifications come from setting up the controls.
  bool Shown() const { return shown_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  void BeforeShow() final;
  void DpiChanged() final { ApplyDpi(Dpi()); }

  GdiGlyphSource& GlyphsAt(int dpi);

  HWND owner_;  // not owned; may be null
  std::wstring handOffPath_;
  int handOffDpi_ = 0;
  SealMemory* memory_ = nullptr;  // not owned; may be null
  bool applying_ = false;
  std::shared_ptr<const ink::InkLayer> ink_;  // the seal shown, at the layout dpi; may be kept for later dialogs
  std::shared_ptr<const GdiCanvas> preview_;  // ink_ over white
  SealDrawing drawing_;                    // what ink_ shows, for drawing it at another dpi
  InkFinish finish_;
  int drawnWidth_ = 0, drawnHeight_ = 0;
  std::shared_ptr<const ScalableArt> art_;  // what the hand-off file was drawn from
  std::wstring writtenPath_;
  bool accepted_ = false;
  bool shown_ = false;
  HFONT font_ = nullptr;  // kept for the process, not owned
  const wchar_t* fontFace_ = L"";  // a literal
  int fontPoints_ = 0;
  int layoutDpi_ = 96;
  std::vector<std::wstring> faces_;
};

}  // namespace inkra::win
