#include "Win32TwainPlatform.h"

#include <algorithm>

#include "ShowMessage.h"
#include "TextConvert.h"
#include "TransferredImage.h"
#include "WholeDibCopy.h"

namespace inkra::twain::win {
namespace {

using inkra::win::Utf8ToWide;
using inkra::win::WideToUtf8;

// Folder paths are not cut at the old 128 characters: a long one still finds its manager.
template <typename Getter>
std::string Folder(Getter get) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = get(buffer, MAX_PATH + 1);
  return length == 0 || length > MAX_PATH ? std::string() : WideToUtf8(std::wstring_view(buffer, length));
}

HWND Window(WindowHandle w) { return static_cast<HWND>(w); }

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

std::string Win32TwainPlatform::WindowsDirectory() { return Folder(GetWindowsDirectoryW); }
std::string Win32TwainPlatform::SystemDirectory() { return Folder(GetSystemDirectoryW); }

bool Win32TwainPlatform::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LibraryHandle Win32TwainPlatform::LoadDll(const std::string& path) {
  return ::LoadLibraryW(Utf8ToWide(path).c_str());
}

DsmEntryProc Win32TwainPlatform::FindDsmEntry(LibraryHandle library) {
  return reinterpret_cast<DsmEntryProc>(
      reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), "DSM_Entry")));
}

void Win32TwainPlatform::FreeDll(LibraryHandle library) { ::FreeLibrary(static_cast<HMODULE>(library)); }

WindowHandle Win32TwainPlatform::CreateProxyWindow() {
  return CreateWindowExW(0, L"STATIC", L"Acquire Proxy", WS_POPUPWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
}

bool Win32TwainPlatform::IsWindow(WindowHandle window) { return window && ::IsWindow(Window(window)); }

void Win32TwainPlatform::EnableWindow(WindowHandle window, bool enable) { ::EnableWindow(Window(window), enable); }

void Win32TwainPlatform::DestroyWindow(WindowHandle window) { ::DestroyWindow(Window(window)); }

int Win32TwainPlatform::NextMessage() { return GetMessageW(&message_, nullptr, 0, 0); }

int Win32TwainPlatform::NextMessageWithin(int milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(milliseconds, 0));
  for (;;) {
    if (PeekMessageW(&message_, nullptr, 0, 0, PM_REMOVE)) return message_.message == WM_QUIT ? 0 : 1;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return kNoMessageYet;
    MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Win32TwainPlatform::TranslateAndDispatch() {
  TranslateMessage(&message_);
  DispatchMessageW(&message_);
}

void Win32TwainPlatform::RepostQuit() { PostQuitMessage(int(message_.wParam)); }

void Win32TwainPlatform::NoteApplicationWindows(WindowHandle proxy) {
  proxy_ = Window(proxy);
  applicationWindows_ = VisibleThreadWindows();
}

bool Win32TwainPlatform::SourceWindowShown() {
  for (HWND window : VisibleThreadWindows())
    if (std::find(applicationWindows_.begin(), applicationWindows_.end(), window) == applicationWindows_.end())
      return true;
  // A source may also put its dialog inside the proxy it was given as parent.
  std::vector<HWND> inProxy;
  if (proxy_ && ::IsWindow(proxy_)) EnumChildWindows(proxy_, CollectVisible, reinterpret_cast<LPARAM>(&inProxy));
  return !inProxy.empty();
}

void Win32TwainPlatform::ShowBox(const std::string& text, const std::string& caption, BoxKind kind) {
  const UINT icon = kind == BoxKind::Warning ? MB_ICONEXCLAMATION : 0;
  inkra::win::ShowMessage(nullptr, Utf8ToWide(text), Utf8ToWide(caption).c_str(), MB_OK | icon);
}

bool Win32TwainPlatform::IsImage(MemoryHandle image) { return IsTransferredImage(image); }
std::unique_ptr<ImageBytes> Win32TwainPlatform::ReadImage(MemoryHandle image) { return ReadTransferredImage(image); }
void Win32TwainPlatform::FreeImage(MemoryHandle image) { FreeTransferredImage(image); }

void* Win32TwainPlatform::Lock(MemoryHandle block) { return GlobalLock(block); }
void Win32TwainPlatform::Unlock(MemoryHandle block) { GlobalUnlock(block); }
void Win32TwainPlatform::Free(MemoryHandle block) { GlobalFree(block); }
std::size_t Win32TwainPlatform::BlockSize(MemoryHandle block) { return GlobalSize(block); }

bool Win32TwainPlatform::StretchDib(DeviceContext dc, const DibDraw& d) {
  if (CopyWholeRgbDib(static_cast<HDC>(dc), d)) return true;
  const int lines = StretchDIBits(static_cast<HDC>(dc), d.x, d.y, d.width, d.height, d.sourceX, d.sourceY, d.width,
                                  d.height, d.bits, static_cast<const BITMAPINFO*>(d.header), DIB_RGB_COLORS, SRCCOPY);
  return lines > 0;  // GDI_ERROR reads as -1
}

}  // namespace inkra::twain::win
