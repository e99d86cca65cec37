#pragma once
// The scanner session's platform on Windows: kernel32 libraries and global memory, user32
// windows, the thread's message queue and message boxes, gdi32 drawing.
#include <windows.h>

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
  void* CurrentMessage() override { return &message_; }
  void TranslateAndDispatch() override;
  void RepostQuit() override;

  void ShowBox(const std::string& text, const std::string& caption, BoxKind kind) override;

  void* Lock(MemoryHandle block) override;
  void Unlock(MemoryHandle block) override;
  void Free(MemoryHandle block) override;
  std::size_t BlockSize(MemoryHandle block) override;

  bool StretchDib(DeviceContext dc, const DibDraw& draw) override;

 private:
  MSG message_{};
};

}  // namespace inkra::twain::win
