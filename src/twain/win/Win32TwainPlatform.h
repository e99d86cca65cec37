#pragma once
// The scanner session's platform on Windows: kernel32 libraries and global memory, user32
// windows, the thread's message queue and message boxes, gdi32 drawing.
#include <windows.h>

#include <vector>

#include "TwainPlatform.h"

namespace inkra::twain::win {

class Win32TwainPlatform final : public Platform {
 public:
  bool SixtyFourBit() const override { return sizeof(void*) == 8; }
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  bool FileExists(const std::string& path) override;
  LibraryHandle LoadDll(const std::string& path) override;
  DsmEntryProc FindDsmEntry(LibraryHandle library) override;
  void FreeDll(LibraryHandle library) override;

  WindowHandle CreateProxyWindow() override;
  bool IsWindow(WindowHandle window) override;
  void EnableWindow(WindowHandle window, bool enable) override;
  void DestroyWindow(WindowHandle window) override;

  int NextMessage() override;
  int NextMessageWithin(int milliseconds) override;
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
  void* CurrentMessage() override { return &message_; }
  void TranslateAndDispatch() override;
  void RepostQuit() override;

  void NoteApplicationWindows(WindowHandle proxy) override;
  bool SourceWindowShown() override;

  void ShowBox(const std::string& text, const std::string& caption, BoxKind kind) override;

  bool IsImage(MemoryHandle image) override;
  std::unique_ptr<ImageBytes> ReadImage(MemoryHandle image) override;
  void FreeImage(MemoryHandle image) override;

  void* Lock(MemoryHandle block) override;
  void Unlock(MemoryHandle block) override;
  void Free(MemoryHandle block) override;
  std::size_t BlockSize(MemoryHandle block) override;

  bool StretchDib(DeviceContext dc, const DibDraw& draw) override;

 private:
  MSG message_{};
  std::vector<HWND> applicationWindows_;  // visible before the source was opened; not owned
  HWND proxy_ = nullptr;                   // not owned
};

}  // namespace inkra::twain::win
