#pragma once
// The controls the seal dialogs are built from: spin fields, face boxes, bevelled panels and
// the preview image, plus small helpers that create plain controls at fixed pixel positions.
// Positions and sizes are given for 96 dpi; the controls are created at them scaled to the
// parent window's dpi.
#include <windows.h>

#include <string>
#include <vector>

#include "GdiCanvas.h"
#include "Handle.h"

namespace inkra::win {

// A GB2312 font of `points` points at `dpi` (or, when points is 0, of -pixelHeight pixels at
// 96 dpi, scaled to `dpi`), kept for the process (not owned: never deleted by the dialog).
HFONT KeptDialogFont(const wchar_t* face, int points, int dpi, int pixelHeight = 0);

HWND MakeLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height, HFONT font);
HWND MakeButton(HWND parent, int id, const wchar_t* text, int x, int y, int width, int height, HFONT font);
HWND MakeGroup(HWND parent, const wchar_t* caption, int x, int y, int width, int height, HFONT font);
// A drop-down list of fixed entries (UTF-8), the first selected.
HWND MakeDropList(HWND parent, int id, const std::vector<std::string>& entries, int x, int y, int width,
                  int height, HFONT font);
HWND MakeCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int width, int height, HFONT font);
HWND MakeEdit(HWND parent, int id, const std::wstring& text, int x, int y, int width, int height, HFONT font);
std::wstring WindowText(HWND window);
// Every control under `window` moved and sized from `fromDpi` to `toDpi`, and those drawn in
// font `from` given `to`: the layout after the window moved to a monitor of another dpi.
void RescaleControls(HWND window, int fromDpi, int toDpi, HFONT from, HFONT to);

// The width of a spin field's arrows at 96 dpi.
inline constexpr int kUpDownWidth = 16;

// An integer field: a read-only edit and an up-down control. Arrow keys and clicks change it
// by 1, page keys by 10, each wheel notch by 1; typing is refused. The edit reports changes
// to the parent as EN_CHANGE with its id.
class SpinField {
 public:
  SpinField() = default;
  SpinField(const SpinField&) = delete;
  SpinField& operator=(const SpinField&) = delete;

  void Create(HWND parent, int id, int x, int y, int width, int height, int minimum, int maximum,
              int value, HFONT font);
  int Value() const;
  void SetValue(int value);  // clamped to the range
  void Step(int delta) { SetValue(Value() + delta); }
  HWND Edit() const { return edit_; }
  HWND UpDown() const { return upDown_; }
  int Id() const { return id_; }

  // The edit background of read-only spin edits stays the window colour.
  static bool IsSpinEdit(HWND control);

 private:
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
  void WidenArrows(HWND parent);
  HWND edit_ = nullptr, upDown_ = nullptr;  // children of the parent, not owned
  WNDPROC base_ = nullptr;                   // the edit's own procedure
  int id_ = 0, minimum_ = 0, maximum_ = 0, wheel_ = 0;
};

// All installed font faces, unique, sorted, without the "@" vertical faces.
std::vector<std::wstring> InstalledFaces();
// The face to use when a face box has no selection: the first installed face of the GB2312
// character set, else the face of the system's default GUI font.
std::wstring FallbackFace();

// A drop-down list of the installed faces, sorted by name.
class FaceBox {
 public:
  // `faces`: the installed faces, when the caller has them already (a dialog with several boxes
  // asks the system once).
  void Create(HWND parent, int id, int x, int y, int width, int height, const std::wstring& face,
              HFONT font, const std::vector<std::wstring>& faces = InstalledFaces());
  // The selected face; FallbackFace() when nothing is selected.
  std::wstring SelectedFace() const;
  bool HasSelection() const;
  // Selects `face`; a face not installed selects the box's default instead, never nothing.
  void Select(const std::wstring& face);
  HWND Handle() const { return combo_; }

 private:
  LRESULT Find(const std::wstring& face) const;
  HWND combo_ = nullptr;  // not owned
  int defaultIndex_ = -1;  // CB_ERR: no default face installed
};

// A panel with Delphi-style 1-pixel bevels. Outer and inner are BDR_RAISEDINNER,
// BDR_SUNKENOUTER or 0.
HWND MakePanel(HWND parent, int x, int y, int width, int height, UINT outerEdge, UINT innerEdge,
               bool white);
// The image inside a panel: paints `picture` at its top-left corner on white.
HWND MakePreviewImage(HWND parent, int x, int y, int width, int height);
void ShowPicture(HWND image, const GdiCanvas* picture);  // not owned; null shows white

}  // namespace inkra::win
