#pragma once
// One TWAIN session at a time: the session record with its states 1 to 7, source selection,
// acquisition through the source's own dialog, the native transfers and the image list. Every
// step checks the state before acting and answers from the state it ends in.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TwainPlatform.h"
#include "TwainTypes.h"

namespace inkra::twain {

enum SessionState : int {
  kNoManager = 1, kManagerLoaded, kManagerOpen, kSourceOpen, kSourceEnabled, kTransferReady, kTransferring
};

// Codes of the last error record. 1 and 6 are not used.
enum ErrorCode : int {
  kNoError = 0, kCapabilityGetFailed = 2, kCapabilitySetFailed = 3, kManagerOperationFailed = 4,
  kSourceOperationFailed = 5, kNegotiationOutOfState = 7, kNullContainer = 8, kContainerNotLockable = 9,
  kUnknownContainer = 10, kItemTypeNotInteger = 11, kNoItems = 12, kNoCommonPixelType = 13
};

struct ErrorRecord {
  int code = kNoError;
  int result = 0;
  int condition = 0;
};

// The application identity as it goes out with every triplet.
TwIdentity ApplicationIdentity();

// "<folder>\<file>", with no separator after a folder ending in ':' or an empty one.
std::string ManagerPath(const std::string& folder, const char* file);

// Rewrites `values` in place as the increasing list of pixel types present in both it and
// `mask`; answers how many were written.
std::size_t FilterPixelTypes(std::uint16_t* values, std::size_t count, std::uint32_t mask);

class Session {
 public:
  static constexpr int kImageSlots = 999;

  explicit Session(Platform& platform) : platform_(platform) {}  // not owned
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The board's operations.
  int SelectImageSource(WindowHandle window);
  // `waiting` is told when the wait for the source's events begins (true) and ends (false).
  MemoryHandle AcquireImages(WindowHandle window, std::uint32_t pixelTypeMask,
                             const std::function<void(bool)>& waiting = {});
  int ImageCount() const { return imageCount_; }
  MemoryHandle ImageAt(int index) const;
  void FreeImage(MemoryHandle image);
  // False when the image could not be drawn: the picture then holds nothing of it.
  bool DrawToImage(MemoryHandle image, PictureControl& control);
  // Asks a running acquisition to end (from a message its event loop dispatches): the loop stops
  // after that message, the source is taken down and no more images are taken.
  void EndAcquisition() { endRequested_ = true; }
  // Whether the last acquisition ended on EndAcquisition or on the thread's quit message.
  bool AcquisitionInterrupted() const { return interrupted_; }
  // Whether it ended on the thread's quit message.
  bool AcquisitionQuit() const { return quitSeen_; }

  // The record, for diagnosis and tests.
  int State() const { return state_; }
  const ErrorRecord& LastError() const { return error_; }
  std::uint16_t LastResult() const { return lastResult_; }
  MemoryHandle LastImage() const { return lastImage_; }
  const TwIdentity& Application() const { return application_; }
  const TwIdentity& Source() const { return source_; }

  // The image's header fields and colour-table size; 0 for a block that cannot be read.
  int ImageWidth(MemoryHandle image);
  int ImageHeight(MemoryHandle image);
  int ColourTableEntries(MemoryHandle image);

  // Stores the code unless an earlier failure of this acquisition is already recorded.
  void RecordError(int code);

 private:
  // Triplets.
  bool CallManager(std::uint16_t dat, std::uint16_t msg, void* data, std::uint32_t dg = DG_CONTROL);
  bool CallSource(std::uint32_t dg, std::uint16_t dat, std::uint16_t msg, void* data);
  void Assert(bool holds);

  // Session steps.
  bool LoadManager();
  bool UnloadManager();
  bool OpenManager(WindowHandle window);
  bool CloseManager(WindowHandle window);
  bool OpenDefaultSource();
  bool CloseSource();
  bool EnableSource(WindowHandle window);
  bool DisableSource();
  bool NegotiatePixelType(std::uint32_t mask);
  bool ReadPixelTypeContainer(std::uint8_t* container, std::size_t size, std::uint16_t conType, std::uint32_t mask);
  void RunEventLoop();
  void RunTransferLoop();
  void RefuseImage(MemoryHandle received);
  bool SourceLeftWithImages(std::optional<std::uint64_t>& quietSince);
  bool TearDown(WindowHandle window);

  int ConditionCode();
  void Warn(const std::string& text);
  void ReportLastError();
  void ClearImageList();

  Platform& platform_;

  int state_ = kNoManager;
  LibraryHandle library_ = nullptr;
  DsmEntryProc entry_ = nullptr;
  TwIdentity application_ = ApplicationIdentity();
  TwIdentity source_{};
  WindowHandle managerWindow_ = nullptr;
  TwUserInterface userInterface_{};
  TwPendingXfers pending_{};
  std::uint16_t lastResult_ = TWRC_SUCCESS;
  ErrorRecord error_;

  MemoryHandle lastImage_ = nullptr;
  std::array<MemoryHandle, kImageSlots> images_{};
  int imageCount_ = 0;

  bool endRequested_ = false;  // EndAcquisition was called during this acquisition
  bool quitSeen_ = false;      // the event loop fetched the thread's quit message
  bool interrupted_ = false;
};

}  // namespace inkra::twain
