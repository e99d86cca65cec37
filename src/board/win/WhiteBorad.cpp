#include "WhiteBorad.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "BoardTexts.h"
#include "CursorTable.h"
#include "Dpi.h"
#include "Errors.h"
#include "PictureFile.h"
#include "RegistrySettingsStore.h"
#include "ShowMessage.h"
#include "TextConvert.h"

namespace inkra::board::win {
namespace {

using inkra::win::Utf8ToWide;

constexpr wchar_t kFormClass[] = L"TfrmWhiteBorad";
// The client area that gives a 602 x 258 drawing panel client, as a 612 x 363 window has with
// the classic frame; sizing from the client keeps that whatever the frame metrics are. All
// lengths here are at 96 dpi and scaled to the window's.
constexpr int kClientWidth = 604, kClientHeight = 336;
constexpr int kToolbarHeight = 44, kPenBarHeight = 32;

// Below this the toolbar and pen bar leave no drawing area: the frame keeps at least this client.
constexpr int kMinClientWidth = 320, kMinClientHeight = 180;

// The text a user sees for an error. The picture layer's messages are for developers (and in
// English); the user gets the board's own sentence instead.
std::string UserText(const std::exception& error) {
  if (dynamic_cast<const PictureError*>(&error) && !dynamic_cast<const UnsupportedPictureFile*>(&error))
    return kPictureUnusable;
  return error.what();
}

}  // namespace

TfrmWhiteBorad::TfrmWhiteBorad(BoardOptions options) : options_(std::move(options)) {
  // Built in per-monitor coordinates whatever the calling thread is, so that placing and sizing
  // the controls is not scaled a second time by the system.
  inkra::win::DpiAwareScope aware;
  // The common controls' classes once for the process: registering them again at every opening
  // asks the window server for each class only to hear it is there.
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  CreateCentred({kFormClass, GetSysColorBrush(COLOR_BTNFACE), nullptr, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))},
                0, Utf8ToWide(BoardTitle()).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kClientWidth, kClientHeight);
  BuildOrDestroy([this] {
    CreateControls();
    const ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'Z', kKeyUndo},
                          {FVIRTKEY | FCONTROL, 'Y', kKeyRedo},
                          {FVIRTKEY | FCONTROL | FSHIFT, 'Z', kKeyRedo}};
    UseAccelerators(keys);
    FormCreate();
  });
}

TfrmWhiteBorad::~TfrmWhiteBorad() {
  Destroy();
}

void TfrmWhiteBorad::FormCreate() {
  // The view paints from the picture's own off-screen bitmap and never erases, so no extra
  // double buffer is needed to keep strokes from flickering.
  RECT client;
  GetClientRect(DrawingPanel(), &client);
  DrawAtDpi();
  model_.Create(client.right, client.bottom);
  LoadBoardCursor();
  LoadPenSettings();
  Sync();
}

int TfrmWhiteBorad::ImageWidth() const {
  RECT r;
  GetWindowRect(image_.Handle(), &r);
  return r.right - r.left;
}

int TfrmWhiteBorad::ImageHeight() const {
  RECT r;
  GetWindowRect(image_.Handle(), &r);
  return r.bottom - r.top;
}

LRESULT TfrmWhiteBorad::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (inkra::win::ColourBox::HandleParentMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMHDR*>(lParam);
      if (note->hwndFrom == toolbar_ && note->code == UINT(NM_CUSTOMDRAW))
        return ToolbarCustomDraw(*reinterpret_cast<const NMTBCUSTOMDRAW*>(lParam));
      break;
    }
    case WM_CLOSE:
      if (!acquiring_) break;
      EndScan();
      return 0;
    case WM_KEYDOWN:
      if (!acquiring_ || wParam != VK_ESCAPE) break;
      EndScan();
      return 0;
    case WM_GETMINMAXINFO: {
      const SIZE frame = inkra::win::FrameSize(Scaled(kMinClientWidth), Scaled(kMinClientHeight),
                                               DWORD(GetWindowLongW(Handle(), GWL_STYLE)), 0, Dpi());
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {frame.cx, frame.cy};
      return 0;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TfrmWhiteBorad::OnCommand(int id, int code) {
  switch (id) {
      case kBtnDelete:
      case kMenuN1: BtnDeleteClick(); break;
      case kBtnOpen: BtnOpenClick(); break;
      case kBtnSave: BtnSaveClick(); break;
      case kBtnScan: BtnScanClick(); break;
      case kBtnReplace: BtnReplaceClick(); break;
      case kBtnFind: BtnFindClick(); break;
      case kBtnInformation: BtnInformationClick(); break;
      case kBtnOK: BtnOKClick(); break;
      case kBtnExit: BtnExitClick(); break;
      case kMenuN2: N2Click(); break;
      case kMenuN4: N4Click(); break;
      case kKeyUndo: KeyUndoPress(); break;
      case kKeyRedo: KeyRedoPress(); break;
      case IDCANCEL:  // Esc
        if (acquiring_) EndScan();
        break;
      case kCbPen:
        if (code == CBN_SELCHANGE) cbPenChange();
        if (code == CBN_DROPDOWN) MakeRoomForList(cbPen_);
        break;
      case kCbColor:
        if (code == CBN_SELCHANGE) cbColorChange();
        break;
      case kCbPlace:
        if (code == CBN_SELCHANGE) cbPlaceChange();
        if (code == CBN_DROPDOWN) MakeRoomForList(cbPlace_);
        break;
      case kChkTip:
        if (code == BN_CLICKED) chkTipClick();
        break;
      default: break;
  }
}

void TfrmWhiteBorad::LayOut() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int w = client.right, h = client.bottom;
  const int toolbarHeight = Scaled(kToolbarHeight), penBarHeight = Scaled(kPenBarHeight);
  if (toolbar_) MoveWindow(toolbar_, 0, 0, w, toolbarHeight, TRUE);
  if (PenBar()) MoveWindow(PenBar(), 0, toolbarHeight, w, penBarHeight, TRUE);
  if (DrawingPanel())
    MoveWindow(DrawingPanel(), 0, toolbarHeight + penBarHeight, w, std::max(0, h - toolbarHeight - penBarHeight),
               TRUE);
}

void TfrmWhiteBorad::Sync() {
  if (!View()) return;
  const Size view = model_.ViewSize();
  if (ImageWidth() != view.width || ImageHeight() != view.height)
    SetWindowPos(View(), nullptr, 0, 0, view.width, view.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  const BoardModel::Changes changes = model_.TakeChanges();
  if (changes.all) {
    InvalidateRect(View(), nullptr, FALSE);
  } else if (!changes.dirty.Empty()) {
    RECT r{changes.dirty.left, changes.dirty.top, changes.dirty.right, changes.dirty.bottom};
    InvalidateRect(View(), &r, FALSE);
  }
  UpdateWindow(View());
}

void TfrmWhiteBorad::ShowError(const std::exception& error) {
  // A command that failed halfway may have changed the picture: the screen shows what is true.
  Sync();
  Message(UserText(error), BoardTitle());
}

void TfrmWhiteBorad::Message(const std::string& text, const std::string& caption) {
  inkra::win::ShowMessage(Handle(), Utf8ToWide(text), Utf8ToWide(caption).c_str(), MB_OK);
}

std::vector<SettingsStore*> TfrmWhiteBorad::SettingsStores() {
  if (!options_.settings.empty()) return options_.settings;
  if (!machineStore_) machineStore_ = std::make_unique<RegistrySettingsStore>(HKEY_LOCAL_MACHINE);
  if (!userStore_) userStore_ = std::make_unique<RegistrySettingsStore>(HKEY_CURRENT_USER);
  return {machineStore_.get(), userStore_.get()};
}

}  // namespace inkra::board::win
