#pragma once
// A colour picker combo box: "Default" (standing for a colour the owner chooses), the sixteen
// standard colours, the system colours drawn as their current RGB value, and "Custom", which
// opens the colour dialog. Owner-drawn: the parent forwards WM_DRAWITEM through
// HandleParentMessage and reports CBN_SELCHANGE through OnSelChange.
#include <windows.h>

#include <vector>

#include "Colour.h"

namespace inkra::win {

class ColourBox {
 public:
  // `defaultColour` is what "Default" and an empty selection stand for.
  explicit ColourBox(ColourValue defaultColour = clRed) : defaultColour_(defaultColour) {}
  ~ColourBox();  // a combo box that outlives the object no longer points to it
  ColourBox(const ColourBox&) = delete;
  ColourBox& operator=(const ColourBox&) = delete;

  // Creates the combo box; `height` is the height of its closed field, list included below it.
  // Places and sizes are at 96 dpi, scaled to the parent's dpi.
  HWND Create(HWND parent, int id, int x, int y, int width, int height, HFONT font);
  // Moves the box and sizes its field (96-dpi lengths, scaled to the parent's dpi); again after
  // the dpi changed.
  void Place(int x, int y, int width, int height);
  HWND Handle() const { return combo_; }

  // The colour to draw with: the selected entry's value (system colours stay system colour
  // values), the default colour for "Default" and for no selection.
  ColourValue Selected() const;
  // Selects the entry holding `c` ("Default" for the default colour, "Custom" for any other).
  void Select(ColourValue c);

  // Call on CBN_SELCHANGE. "Custom" opens the colour dialog; cancelling it goes back to the
  // entry selected before. Returns true when the colour in force has changed.
  bool OnSelChange();

  // Handles WM_DRAWITEM for any ColourBox among the parent's children, and gives its list the
  // room to drop on CBN_DROPDOWN (still false, so the owner sees it); false for other messages.
  static bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The entries in list order, for tests and for the owner.
  int Count() const { return int(entries_.size()); }
  ColourValue EntryValue(int index) const { return entries_[std::size_t(index)].value; }
  // The entry's label as shown ("Default", "Red", "BtnFace", "Custom").
  std::wstring EntryLabel(int index) const;

  // Lets a test stand in for the user of the colour dialog, for every colour box of the
  // process; null restores the dialog.
  using ChooseFunction = bool (*)(HWND owner, COLORREF& colour);
  static void SetChooser(ChooseFunction chooser);

 private:
  enum class Kind { Default, Fixed, Custom };
  struct Entry {
    Kind kind;
    ColourValue value;
  };
  void Draw(const DRAWITEMSTRUCT& item) const;
  void SetItemHeights(int height);  // the closed field's and the list's, in pixels
  void Unbind();
  static LRESULT CALLBACK ComboProc(HWND, UINT, WPARAM, LPARAM);
  // The box bound to `combo`; null for any other combo box, and once the box has let it go.
  static ColourBox* From(HWND combo);
  COLORREF Swatch(const Entry& entry) const;

  static constexpr int kListHeight = 200;  // the dropped list's room below the field, at 96 dpi

  ColourValue defaultColour_;
  int fieldHeight_ = 0;  // the closed field's height at 96 dpi
  ColourValue custom_ = clBlack;
  int lastIndex_ = -1;
  HWND combo_ = nullptr;  // not owned: a child of the parent window
  WNDPROC base_ = nullptr;  // the combo's own procedure
  std::vector<Entry> entries_;
};

}  // namespace inkra::win
