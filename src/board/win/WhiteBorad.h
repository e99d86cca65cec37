#pragma once
// The handwriting board window. The add-ins create one without an owner, ShowModal() it, read
// Accepted(), the view's size and HandOffPath(), then destroy it.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "BoardModel.h"
#include "ColourBox.h"
#include "FileDialogs.h"
#include "GdiGlyphSource.h"
#include "GdiSurface.h"
#include "Handle.h"
#include "PenPointer.h"
#include "Placement.h"
#include "SealForm.h"
#include "SettingsStore.h"
#include "Window.h"

namespace inkra::board::win {

// Command identifiers: toolbar buttons, popup items, the two lists.
enum BoardCommand : int {
  kBtnDelete = 101, kBtnOpen, kBtnSave, kBtnScan, kBtnReplace, kBtnFind, kBtnInformation, kBtnOK, kBtnExit,
  kMenuN1 = 201, kMenuN2, kMenuN4,
  kCbPen = 301, kCbColor, kCbPlace, kChkTip,
  kKeyUndo = 401, kKeyRedo,  // Ctrl+Z; Ctrl+Y and Ctrl+Shift+Z
};

// What a test may put in place of the machine's own: settings stores, dialogs, hand-off path.
struct BoardOptions {
  std::vector<SettingsStore*> settings;  // not owned; empty = HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER
  FileDialogs* dialogs = nullptr;        // not owned; null = the common dialogs
  std::wstring handOffPath;              // empty = the fixed path
  std::wstring sealHandOffPath;          // empty = the seal dialogs' fixed path
  // The host places a PNG with alpha (Office 2007 and later): "确定" writes one, to the
  // temporary folder under the hand-off file's name with ".png". Otherwise, and for a picture
  // that leaves in its own encoding (an undrawn JPEG, a palette bitmap), the hand-off file.
  bool png = false;
  PointerSource* pointers = nullptr;     // not owned; null = the system's pointer input
  // The host has pages (Word): the placement list offers the straddle seal too.
  bool straddle = false;
};

// Where "确定" writes a PNG for a hand-off path: its file name with ".png", in the temporary
// folder.
std::wstring PngHandOffPath(const std::wstring& handOffPath);

class TfrmWhiteBorad final : public inkra::win::Window {
 public:
  explicit TfrmWhiteBorad(BoardOptions options = {});
  ~TfrmWhiteBorad() override;

  // ShowModal (from the window base) shows the board and runs its modal loop until it closes.

  bool Accepted() const { return model_.Accepted(); }
  // The view `image`, whose size the add-ins insert the picture at.
  int ImageWidth() const;
  int ImageHeight() const;
  // Where the last confirmation wrote the hand-off file (the fixed path or its stand-in).
  const std::wstring& HandOffPath() const { return handOffWritten_; }
  // The same PNG at the view's own pixels when the hand-off file was drawn larger for paper;
  // empty when the file is at the view's pixels (or is no PNG). The add-ins find the ink's box
  // on it, and put it on the clipboard beside the larger one.
  const std::vector<std::uint8_t>& ScreenPng() const { return screenPng_; }
  // Where the user wants the picture placed; kept between boards.
  board::Placement Placement() const { return placement_; }

  HWND Toolbar() const { return toolbar_; }
  HWND PenList() const { return cbPen_; }
  HWND ColourList() const { return cbColor_.Handle(); }
  HWND PlacementList() const { return cbPlace_; }
  HWND PenTipBox() const { return chkTip_; }
  HWND PenBar() const { return panel1_.Handle(); }
  HWND DrawingPanel() const { return panel_.Handle(); }
  HWND View() const { return image_.Handle(); }
  const BoardModel& Model() const { return model_; }
  inkra::win::ColourBox& ColourPicker() { return cbColor_; }

  // Event handlers, named after their control and event.
  void FormCreate();
  // `pressure`: a pen's, 0 to 1 (negative for the mouse: the chosen width).
  void imageMouseDown(MouseButton button, int x, int y, float pressure = ink::kNoPressure);
  void imageMouseMove(int x, int y, float pressure = ink::kNoPressure);
  void imageMouseUp(MouseButton button, int x, int y);
  void cbPenChange();
  void cbColorChange();
  void cbPlaceChange();
  void chkTipClick();
  void BtnDeleteClick();
  void PanelResize();
  void N2Click();
  void N4Click();
  void BtnOpenClick();
  void BtnSaveClick();
  void BtnOKClick();
  void BtnExitClick();
  void BtnInformationClick();
  void BtnReplaceClick();
  void BtnFindClick();
  void BtnScanClick();
  void KeyUndoPress();
  void KeyRedoPress();
  // The close box or Esc while a scan runs: ends the scan, not the board.
  void EndScan();
  // Says in the drawing area that the board waits for the scanner, or stops saying it.
  void ShowWaitingHint(bool shown);

  void LoadPenSettings();
  void SavePenSettings();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandlePanel(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePenBar(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleView(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
  // A pen's pointer message drawn with its pressure; false for any other pointer, which the
  // system then turns into mouse messages.
  bool HandlePen(UINT message, WPARAM wParam, LPARAM lParam);

  void TakeSealFrom(inkra::win::SealForm& dialog);
  void CreateControls();
  void CreateToolbar();
  void CreatePenBar();
  // Draws each button's icon after the toolbar drew the button (NM_CUSTOMDRAW).
  LRESULT ToolbarCustomDraw(const NMTBCUSTOMDRAW& draw);
  // The pen list's hint, made when the pointer first comes over the pen bar: a tooltip window
  // and the watch on the list's messages it brings would only slow the board's opening.
  void AddPenHint();
  // Gives the pen or placement list its room to drop, as it is about to (CBN_DROPDOWN).
  void MakeRoomForList(HWND list);
  // Fonts, toolbar images and control places for the window's dpi, again after it changed.
  void ApplyDpi();
  void TakeFonts();    // the board's fonts for the window's dpi
  void SizeToolbar();  // the toolbar's images and button sizes for the window's dpi
  // A pen bar control made at `box` (96 dpi) scaled to the window's dpi, in the board's font.
  HWND PenBarChild(const wchar_t* cls, const wchar_t* text, DWORD style, const RECT& box, int id = 0);
  void DrawAtDpi();  // the nib, new surfaces and the stamp's text follow the board's dpi
  void DpiChanged() override;
  void LayOut();
  void OnCommand(int id, int code);
  void PaintView();
  void PaintWaitingHint(HDC dc);
  void ShowPopupMenu(int screenX, int screenY);
  // Brings the view's size and the screen up to date with the model.
  void Sync();
  // The general error handler: the error's text in a box captioned with the board's title.
  // Picture-layer errors are shown in the board's own words, never the decoder's.
  void ShowError(const std::exception& error) override;
  void Message(const std::string& text, const std::string& caption);
  std::vector<SettingsStore*> SettingsStores();

  BoardOptions options_;
  CommonFileDialogs commonDialogs_;
  GdiSurfaceFactory surfaces_;
  static constexpr int kKeptComposeSide = 256;
  std::unique_ptr<inkra::win::GdiCanvas> stepCompose_;  // where a stroke step's repaint is composed
  int stepComposeBits_ = 0;
  BoardModel model_{surfaces_};
  std::wstring handOffWritten_;
  std::vector<std::uint8_t> screenPng_;
  bool scanning_ = false;  // the scanner's event loop dispatches our messages: no second scan from it
  bool acquiring_ = false;   // the scanner's selection or acquisition runs: the close box and Esc end it
  bool scanEnded_ = false;   // the user ended the scan that runs
  bool waitingHint_ = false;  // the scanner's acquisition waits for the source

  HWND toolbar_ = nullptr;  // children of the form and of the panels: destroyed with it
  HWND label_ = nullptr;
  HWND cbPen_ = nullptr;
  HWND placeLabel_ = nullptr;
  HWND cbPlace_ = nullptr;
  HWND chkTip_ = nullptr;
  board::Placement placement_ = board::Placement::PageTopLeft;
  bool penHint_ = false;
  inkra::win::ChildWindow panel1_;  // the pen bar
  inkra::win::ColourBox cbColor_{clRed};
  inkra::win::ChildWindow panel_;  // the drawing panel
  inkra::win::ChildWindow image_;  // the view
  HFONT font_ = nullptr;         // kept for the process (not owned), as every board shows the same
  HFONT toolbarFont_ = nullptr;  // smaller, so captions fit under the icons; kept too
  std::unique_ptr<SettingsStore> machineStore_, userStore_;
};

}  // namespace inkra::board::win
