#pragma once
// What the two seal dialogs share: a fixed-border top-level window of their own class, the
// "提示" messages, and the hand-off write. Modality comes from the window base.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "GdiCanvas.h"
#include "Handle.h"
#include "Window.h"

namespace inkra::win {

// The seal hand-off file the board reads.
constexpr const wchar_t* kSealHandOffPath = L"c:\\temp00000001.bmp";

class SealForm : public Window {
 public:
  // ShowModal (from the window base) runs the dialog until it closes; the outcome is
  // Accepted(), not a return value.

  // True only after "确 定" has written the hand-off file.
  bool Accepted() const { return accepted_; }
  // The path "确 定" wrote: the fixed path, or its stand-in in the temporary folder.
  const std::wstring& WrittenPath() const { return writtenPath_; }

  // The picture of the last successful preview (null before the first).
  virtual const GdiCanvas* Picture() const = 0;

  // The dpi the controls, fonts and pictures are laid out for: the window's when it was created.
  int LayoutDpi() const { return layoutDpi_; }
  // Lays the form out again for `dpi`: controls moved and sized, fonts and the picture made anew.
  // The frame is left as it is (after a move to another monitor, Windows has sized it).
  void ApplyDpi(int dpi);

 protected:
  SealForm(HWND owner, std::wstring handOffPath) : owner_(owner), handOffPath_(std::move(handOffPath)) {}

  // Creates the window (client area clientWidth x clientHeight at 96 dpi, scaled to the window's
  // dpi), its font of `fontPoints` points and its controls.
  void CreateForm(const wchar_t* className, const wchar_t* caption, int clientWidth,
                  int clientHeight, const wchar_t* fontFace, int fontPoints, bool centreOverOwner);
  HFONT FormFont() const { return font_.get(); }
  // A 96-dpi length at the layout dpi.
  int AtLayoutDpi(int length) const;

  // A width x height picture of the 96-dpi layout, drawn by `draw` in 96-dpi units at the
  // layout dpi: more pixels, not a stretched bitmap.
  std::unique_ptr<GdiCanvas> DrawAtDpi(int width, int height, const std::function<void(Canvas&)>& draw) const;

  virtual void CreateControls() = 0;
  virtual void FormShow() = 0;
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // After ApplyDpi moved the controls and changed the form font: the form's own fonts and its
  // picture at LayoutDpi().
  virtual void LayoutChanged() {}

  // An input message: caption "提示", information icon, OK only.
  void ShowHint(const std::string& utf8Text) const;

  // Writes the picture as a 24-bit BMP to the hand-off file (or its stand-in). Throws FileError.
  void WriteHandOff(const GdiCanvas& picture);
  void SetAccepted(bool accepted) { accepted_ = accepted; }
  void CloseModal() { EndModal(); }  // the window is hidden, not destroyed

  // True once FormShow has run: earlier change notifications come from setting up the controls.
  bool Shown() const { return shown_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  void BeforeShow() final;
  void DpiChanged() final { ApplyDpi(Dpi()); }

  HWND owner_;  // not owned; may be null
  std::wstring handOffPath_;
  std::wstring writtenPath_;
  bool accepted_ = false;
  bool shown_ = false;
  UniqueFont font_;
  const wchar_t* fontFace_ = L"";  // a literal
  int fontPoints_ = 0;
  int layoutDpi_ = 96;
};

}  // namespace inkra::win
