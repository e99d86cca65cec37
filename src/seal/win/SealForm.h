#pragma once
// What the two seal dialogs share: a fixed-border top-level window of their own class, a
// modal loop that disables the owner, the "提示" messages, and the hand-off write.
#include <windows.h>

#include <string>

#include "GdiCanvas.h"
#include "Handle.h"

namespace inkra::win {

// The seal hand-off file the board reads.
constexpr const wchar_t* kSealHandOffPath = L"c:\\temp00000001.bmp";

class SealForm {
 public:
  virtual ~SealForm();
  SealForm(const SealForm&) = delete;
  SealForm& operator=(const SealForm&) = delete;

  // Shows the dialog and runs its modal loop until it closes; the owner (if any) is disabled
  // meanwhile. The outcome is Accepted(), not the return value.
  void ShowModal();

  // True only after "确 定" has written the hand-off file.
  bool Accepted() const { return accepted_; }
  // The path "确 定" wrote: the fixed path, or its stand-in in the temporary folder.
  const std::wstring& WrittenPath() const { return writtenPath_; }
  HWND Handle() const { return window_; }

 protected:
  SealForm(HWND owner, std::wstring handOffPath) : owner_(owner), handOffPath_(std::move(handOffPath)) {}

  // Creates the window (client area clientWidth x clientHeight) and its controls.
  void CreateForm(const wchar_t* className, const wchar_t* caption, int clientWidth,
                  int clientHeight, UniqueFont font, bool centreOverOwner);
  HFONT FormFont() const { return font_.get(); }
  // Derived forms call this first in their destructors, so no handler runs on a half-gone form.
  void DestroyForm();

  virtual void CreateControls() = 0;
  virtual void FormShow() = 0;
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // An input message: caption "提示", information icon, OK only.
  void ShowHint(const std::string& utf8Text) const;
  // An error from a lower layer, shown as the application's error handler does.
  void ShowError(const std::string& utf8Text) const;

  // Writes the picture as a 24-bit BMP to the hand-off file (or its stand-in). Throws FileError.
  void WriteHandOff(const GdiCanvas& picture);
  void SetAccepted(bool accepted) { accepted_ = accepted; }
  void CloseModal();  // ends the modal loop; the window is hidden, not destroyed

  // True once FormShow has run: earlier change notifications come from setting up the controls.
  bool Shown() const { return shown_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND owner_;  // not owned; may be null
  std::wstring handOffPath_;
  std::wstring writtenPath_;
  bool accepted_ = false;
  bool shown_ = false;
  bool modal_ = false;
  HWND window_ = nullptr;  // owned: destroyed with the form
  UniqueFont font_;
};

}  // namespace inkra::win
