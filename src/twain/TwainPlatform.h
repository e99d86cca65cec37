#pragma once
// What the scanner session needs of the operating system, as a small interface so the session
// logic runs natively in tests. The Windows shell implements it over kernel32, user32 and gdi32.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
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

// A transferred image's bytes laid out as one packed DIB, readable while this lives.
class ImageBytes {
 public:
  virtual ~ImageBytes() = default;
  virtual std::span<const std::uint8_t> Bytes() const = 0;
};

// NextMessageWithin's answer when the time ran out before a message came.
inline constexpr int kNoMessageYet = -2;

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
  // The same, waiting at most `milliseconds`: kNoMessageYet when nothing came in that time.
  virtual int NextMessageWithin(int milliseconds) = 0;
  // A clock that only goes forward, in milliseconds.
  virtual std::uint64_t Milliseconds() = 0;
  virtual void* CurrentMessage() = 0;
  virtual void TranslateAndDispatch() = 0;
  // Posts the quit message NextMessage answered 0 for again, for the loops outside ours.
  virtual void RepostQuit() = 0;

  // The source's own windows. Before the source is opened, the session notes the windows of the
  // thread that are the application's (the host's, the board's, the proxy); a visible window of
  // the thread that is none of those, or a visible child of the proxy, is then the source's.
  virtual void NoteApplicationWindows(WindowHandle proxy) = 0;
  virtual bool SourceWindowShown() = 0;

  // A modal box with an OK button and no owner; Warning adds the exclamation icon.
  virtual void ShowBox(const std::string& text, const std::string& caption, BoxKind kind) = 0;

  // Transferred images: a packed DIB in global memory, as the standard has it, or a handle of a
  // device-independent bitmap (CreateDIBSection), as some sources hand it over. IsImage tells
  // whether a handle is either; ReadImage gives its bytes, null when it cannot be read;
  // FreeImage frees it the way it was made.
  virtual bool IsImage(MemoryHandle image) = 0;
  virtual std::unique_ptr<ImageBytes> ReadImage(MemoryHandle image) = 0;
  virtual void FreeImage(MemoryHandle image) = 0;

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
