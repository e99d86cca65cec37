#pragma once
// A scripted source manager and platform for the scanner session's native tests. The manager
// answers each triplet from the script, keeps a log of what was sent, and hands out DIBs as
// blocks of the fake platform's global memory, which counts what is still live.
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TwainSession.h"

namespace inkra::twain::testing {

// Messages of the fake thread queue. The source consumes its own two; the rest are the host's.
enum FakeMessage : int { kQuit = 0, kSourceXferReady = 1, kSourceCloseRequest, kHostMessage };

struct Triplet {
  bool toSource;
  std::uint32_t dg;
  std::uint16_t dat, msg;
  friend bool operator==(const Triplet&, const Triplet&) = default;
};

class FakeManager;

struct Page {
  std::uint16_t result = TWRC_XFERDONE;
  int width = 4, height = 3, bits = 24;
  bool endsBatch = false;  // MSG_ENDXFER after it answers Count 0 even with pages left
};

class FakePlatform final : public Platform {
 public:
  FakeManager* manager = nullptr;  // not owned; told when its library is loaded and freed
  bool sixtyFour = false;
  std::string windowsDir = "C:\\WINDOWS", systemDir = "C:\\WINDOWS\\system32";
  std::vector<std::string> files{"C:\\WINDOWS\\TWAIN_32.DLL"};
  bool exportsEntry = true, proxyFails = false;
  std::vector<std::string> loaded;
  int freedLibraries = 0;
  std::vector<std::pair<std::string, std::string>> boxes;  // text, caption
  std::deque<int> queue;
  int current = 0;
  std::vector<int> dispatched;
  std::function<void(int)> onDispatch;  // what a window does with a dispatched message
  std::vector<std::pair<WindowHandle, bool>> enables;
  int proxiesMade = 0, proxiesDestroyed = 0;
  // The clock, which waiting for a message moves on, and the source's own window, shown until
  // the clock reaches sourceWindowUntil.
  std::uint64_t now = 0, sourceWindowUntil = 0;
  std::vector<WindowHandle> notedProxies;  // at each NoteApplicationWindows
  std::vector<MemoryHandle> freedImages;
  std::vector<DibDraw> draws;
  std::map<MemoryHandle, std::vector<std::uint8_t>> blocks;
  std::vector<MemoryHandle> unlockable;
  int locks = 0, unlocks = 0;

  static inline WindowHandle const kProxy = reinterpret_cast<WindowHandle>(0x5000);
  static inline WindowHandle const kBoard = reinterpret_cast<WindowHandle>(0x6000);

  MemoryHandle Allocate(std::vector<std::uint8_t> bytes);
  std::vector<std::string> Texts() const;

  bool SixtyFourBit() const override { return sixtyFour; }
  std::string WindowsDirectory() override { return windowsDir; }
  std::string SystemDirectory() override { return systemDir; }
  bool FileExists(const std::string& path) override;
  LibraryHandle LoadDll(const std::string& path) override;
  DsmEntryProc FindDsmEntry(LibraryHandle) override;
  void FreeDll(LibraryHandle) override;
  WindowHandle CreateProxyWindow() override;
  bool IsWindow(WindowHandle w) override;
  void EnableWindow(WindowHandle w, bool enable) override { enables.emplace_back(w, enable); }
  void DestroyWindow(WindowHandle w) override;
  int NextMessage() override;
  int NextMessageWithin(int milliseconds) override;
  std::uint64_t Milliseconds() override { return now; }
  void NoteApplicationWindows(WindowHandle proxy) override { notedProxies.push_back(proxy); }
  bool SourceWindowShown() override { return now < sourceWindowUntil; }
  void* CurrentMessage() override { return &current; }
  void TranslateAndDispatch() override {
    dispatched.push_back(current);
    if (onDispatch) onDispatch(current);
  }
  void RepostQuit() override { queue.push_back(kQuit); }
  void ShowBox(const std::string& text, const std::string& caption, BoxKind) override {
    boxes.emplace_back(text, caption);
  }
  bool IsImage(MemoryHandle image) override { return blocks.count(image) > 0; }
  std::unique_ptr<ImageBytes> ReadImage(MemoryHandle image) override;
  void FreeImage(MemoryHandle image) override { Free(image); }
  void* Lock(MemoryHandle block) override;
  void Unlock(MemoryHandle) override { ++unlocks; }
  void Free(MemoryHandle block) override { blocks.erase(block); }
  std::size_t BlockSize(MemoryHandle block) override;
  bool StretchDib(DeviceContext, const DibDraw& draw) override {
    draws.push_back(draw);
    return true;
  }

 private:
  int nextBlock_ = 1, proxiesLive_ = 0, idleWaits_ = 0;
};

// A packed DIB: 40-byte header, colour table, rows.
std::vector<std::uint8_t> MakeDib(int width, int height, int bits, std::uint32_t clrUsed = 0);

// TWAIN's state table is kept as a manager and its source keep it: the library's first load
// starts at state 2, its last unload drops everything, and a triplet sent in a state where the
// table does not allow it fails with TWCC_SEQERROR (counted, so a test can see the caller lost
// track). Scripted refusals leave the state where it was.
class FakeManager {
 public:
  explicit FakeManager(FakePlatform& platform);
  ~FakeManager();

  // Answers by (DAT, MSG); anything not scripted succeeds.
  std::map<std::pair<std::uint16_t, std::uint16_t>, std::uint16_t> answers;
  // The manager's and source's state for this application, and what broke the table.
  int state = kNoManager;
  int sequenceErrors = 0;
  std::vector<int> unloadedIn;  // the state at each unload of the library
  // Windows' manager fills in its default source on MSG_OPENDS; one that passes the identity on
  // as it is (Wine's) leaves that to the source, which opens only under its own name.
  bool passesIdentityOn = false;
  std::uint16_t condition = 0;
  // The pixel-type container MSG_GET returns: type, item type, raw count and the values.
  std::uint16_t conType = TWON_ENUMERATION, itemType = TWTY_UINT16;
  std::vector<std::uint16_t> pixelTypes{TWPT_RGB, TWPT_GRAY, TWPT_BW};
  bool nullContainer = false, containerUnlockable = false;
  std::vector<std::uint8_t> sentBack;  // the container of MSG_SET, as sent
  std::deque<Page> pages;
  bool undeterminedCount = false;
  // Like some cameras' sources: after each transfer, as many pending as were delivered in all.
  bool countsDelivered = false;
  std::vector<Triplet> log;
  std::vector<MemoryHandle> handedOut;
  std::vector<WindowHandle> openedWith;
  std::vector<std::string> openRequests;  // the ProductName each MSG_OPENDS was given

  std::uint16_t Entry(TwIdentity* origin, TwIdentity* dest, std::uint32_t dg, std::uint16_t dat, std::uint16_t msg,
                      void* data);
  bool Sent(std::uint16_t dat, std::uint16_t msg) const;
  int Count(std::uint16_t dat, std::uint16_t msg) const;
  void LibraryLoaded();
  void LibraryFreed();

 private:
  std::uint16_t Respond(std::uint16_t dat, std::uint16_t msg, void* data);
  std::uint16_t Answer(std::uint16_t dat, std::uint16_t msg, std::uint16_t otherwise = TWRC_SUCCESS) const;
  std::uint16_t Transfer(void* data);
  MemoryHandle PixelTypeContainer();

  bool batchEnded_ = false;
  bool lastWasOutOfSequence_ = false;
  int librariesLive_ = 0;

  FakePlatform& platform_;
};

}  // namespace inkra::twain::testing
