#pragma once
// What the scanner session needs of the operating system, as a small interface so the session
// logic runs natively in tests. The Windows shell implements it over kernel32, user32 and gdi32.
#include <cstddef>
#include <string>

#include "TwainTypes.h"

namespace inkra::twain {

using WindowHandle = void*;
using MemoryHandle = void*;  // a global-memory block
using LibraryHandle = void*;
using DeviceContext = void*;

enum class BoxKind { Warning, Plain };

// One StretchDIBits call: destination rectangle, source origin, the DIB's pixels and header.
struct DibDraw {
  int x = 0, y = 0, width = 0, height = 0;
  int sourceX = 0, sourceY = 0;
  const void* bits = nullptr;
  const void* header = nullptr;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The source manager library.
  virtual bool SixtyFourBit() const = 0;
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual LibraryHandle LoadDll(const std::string& path) = 0;  // null when it does not load
  virtual DsmEntryProc FindDsmEntry(LibraryHandle library) = 0;    // null when not exported
  virtual void FreeDll(LibraryHandle library) = 0;

  // Windows.
  virtual WindowHandle CreateProxyWindow() = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual void EnableWindow(WindowHandle window, bool enable) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;

  // The thread's message queue. NextMessage waits for any message of the thread: above 0 a
  // message was fetched, 0 the quit message, below 0 a failure. CurrentMessage is the address of
  // the fetched message, as a source expects it in TW_EVENT.
  virtual int NextMessage() = 0;
  virtual void* CurrentMessage() = 0;
  virtual void TranslateAndDispatch() = 0;
  // Posts the quit message NextMessage answered 0 for again, for the loops outside ours.
  virtual void RepostQuit() = 0;

  // A modal box with an OK button and no owner; Warning adds the exclamation icon.
  virtual void ShowBox(const std::string& text, const std::string& caption, BoxKind kind) = 0;

  // Global memory.
  virtual void* Lock(MemoryHandle block) = 0;  // null when it cannot be locked
  virtual void Unlock(MemoryHandle block) = 0;
  virtual void Free(MemoryHandle block) = 0;
  virtual std::size_t BlockSize(MemoryHandle block) = 0;

  // False when nothing was drawn (a DIB the system cannot draw).
  virtual bool StretchDib(DeviceContext dc, const DibDraw& draw) = 0;
};

// The picture control an image is drawn into: a size on screen and a picture with a canvas.
class PictureControl {
 public:
  virtual ~PictureControl() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetSize(int width, int height) = 0;
  // The picture's device context. An empty picture first becomes a new bitmap of the control's
  // current size; a bitmap already there keeps its size.
  virtual DeviceContext Canvas() = 0;
};

}  // namespace inkra::twain
