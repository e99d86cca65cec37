#include "WhiteBorad.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "BoardTexts.h"
#include "CursorTable.h"
#include "ModalLoop.h"
#include "RegistrySettingsStore.h"
#include "TextConvert.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace inkra::board::win {
namespace {

using inkra::win::Utf8ToWide;

constexpr wchar_t kFormClass[] = L"TfrmWhiteBorad";
// The client area that gives a 602 x 258 drawing panel client, as a 612 x 363 window has with
// the classic frame; sizing from the client keeps that whatever the frame metrics are.
constexpr int kClientWidth = 604, kClientHeight = 336;

HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
  done = true;
}

}  // namespace

TfrmWhiteBorad::TfrmWhiteBorad(BoardOptions options) : options_(std::move(options)) {
  RegisterFormClass();
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  window_ = CreateWindowExW(0, kFormClass, Utf8ToWide(BoardTitle()).c_str(), style, x, y, w, h, nullptr, nullptr,
                            Instance(), nullptr);
  if (!window_) throw std::runtime_error("Cannot create the board window");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  CreateControls();
  LayOut();
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'Z', kKeyUndo},
                  {FVIRTKEY | FCONTROL, 'Y', kKeyRedo},
                  {FVIRTKEY | FCONTROL | FSHIFT, 'Z', kKeyRedo}};
  accelerators_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
  FormCreate();
}

TfrmWhiteBorad::~TfrmWhiteBorad() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    DestroyWindow(window_);
  }
  if (images_) ImageList_Destroy(images_);
  if (disabledImages_) ImageList_Destroy(disabledImages_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void TfrmWhiteBorad::FormCreate() {
  // The view paints from the picture's own off-screen bitmap and never erases, so no extra
  // double buffer is needed to keep strokes from flickering.
  RECT client;
  GetClientRect(panel_, &client);
  model_.Create(client.right, client.bottom);
  LoadBoardCursor();
  LoadPenSettings();
  Sync();
}

void TfrmWhiteBorad::ShowModal() {
  closed_ = false;
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  RunModalLoop(window_, closed_, accelerators_);
  ShowWindow(window_, SW_HIDE);
}

int TfrmWhiteBorad::ImageWidth() const {
  RECT r;
  GetWindowRect(image_, &r);
  return r.right - r.left;
}

int TfrmWhiteBorad::ImageHeight() const {
  RECT r;
  GetWindowRect(image_, &r);
  return r.bottom - r.top;
}

LRESULT CALLBACK TfrmWhiteBorad::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TfrmWhiteBorad*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    self->ShowError(e);
    return 0;
  }
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
    case WM_CLOSE:
      closed_ = true;
      ShowWindow(window_, SW_HIDE);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void TfrmWhiteBorad::OnCommand(int id, int code) {
  try {
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
      case kCbPen:
        if (code == CBN_SELCHANGE) cbPenChange();
        break;
      case kCbColor:
        if (code == CBN_SELCHANGE) cbColorChange();
        break;
      default: break;
    }
  } catch (const std::exception& e) {
    Sync();
    ShowError(e);
  }
}

void TfrmWhiteBorad::LayOut() {
  RECT client;
  GetClientRect(window_, &client);
  const int w = client.right, h = client.bottom;
  constexpr int kToolbarHeight = 44, kPenBarHeight = 32;
  if (toolbar_) MoveWindow(toolbar_, 0, 0, w, kToolbarHeight, TRUE);
  if (panel1_) MoveWindow(panel1_, 0, kToolbarHeight, w, kPenBarHeight, TRUE);
  if (panel_) MoveWindow(panel_, 0, kToolbarHeight + kPenBarHeight, w, std::max(0, h - kToolbarHeight - kPenBarHeight), TRUE);
}

void TfrmWhiteBorad::Sync() {
  if (!image_) return;
  const Size view = model_.ViewSize();
  if (ImageWidth() != view.width || ImageHeight() != view.height)
    SetWindowPos(image_, nullptr, 0, 0, view.width, view.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  const BoardModel::Changes changes = model_.TakeChanges();
  if (changes.all) {
    InvalidateRect(image_, nullptr, FALSE);
  } else if (!changes.dirty.Empty()) {
    RECT r{changes.dirty.left, changes.dirty.top, changes.dirty.right, changes.dirty.bottom};
    InvalidateRect(image_, &r, FALSE);
  }
  UpdateWindow(image_);
}

void TfrmWhiteBorad::ShowError(const std::exception& e) { Message(e.what(), BoardTitle()); }

void TfrmWhiteBorad::Message(const std::string& text, const std::string& caption) {
  MessageBoxW(window_, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), MB_OK);
}

std::vector<SettingsStore*> TfrmWhiteBorad::SettingsStores() {
  if (!options_.settings.empty()) return options_.settings;
  if (!machineStore_) machineStore_ = std::make_unique<RegistrySettingsStore>(HKEY_LOCAL_MACHINE);
  if (!userStore_) userStore_ = std::make_unique<RegistrySettingsStore>(HKEY_CURRENT_USER);
  return {machineStore_.get(), userStore_.get()};
}

}  // namespace inkra::board::win
