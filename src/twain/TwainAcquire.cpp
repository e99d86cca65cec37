// Source selection and acquisition: the proxy window, the opening steps, the event loop that
// offers every message of the thread to the source, and the teardown.
#include "TwainSession.h"
#include "TwainTexts.h"

namespace inkra::twain {

int Session::SelectImageSource(WindowHandle window) {
  WindowHandle proxy = nullptr;
  if (!platform_.IsWindow(window)) {
    if (window) {
      Warn(kSelectInvalidWindow);
      return 0;
    }
    proxy = window = platform_.CreateProxyWindow();
    if (!platform_.IsWindow(window)) {
      Warn(kSelectNoProxy);
      if (proxy) platform_.DestroyWindow(proxy);
      return 0;
    }
  }
  int chosen = 0;
  if (!LoadManager()) {
    Warn(kCannotLoadManager);
  } else if (!OpenManager(window)) {
    Warn(kCannotOpenManager);
  } else {
    TwIdentity scratch{};
    chosen = CallManager(DAT_IDENTITY, MSG_USERSELECT, &scratch) ? 1 : 0;
  }
  TearDown(window);
  if (proxy) platform_.DestroyWindow(proxy);
  return chosen;
}

MemoryHandle Session::AcquireImages(WindowHandle window, std::uint32_t pixelTypeMask,
                                    const std::function<void(bool)>& waiting) {
  lastImage_ = nullptr;
  error_ = {};
  endRequested_ = quitSeen_ = interrupted_ = false;
  ClearImageList();

  WindowHandle proxy = nullptr;
  if (!platform_.IsWindow(window)) proxy = window = platform_.CreateProxyWindow();
  platform_.NoteApplicationWindows(proxy);

  bool warned = true;
  if (!platform_.IsWindow(window)) {
    Warn(kAcquireNoProxy);
  } else if (!LoadManager()) {
    Warn(kCannotLoadManager);
  } else if (!OpenManager(window)) {
    Warn(kCannotOpenManager);
  } else if (!OpenDefaultSource() || !NegotiatePixelType(pixelTypeMask) || !EnableSource(window)) {
    ReportLastError();
  } else {
    warned = false;
    platform_.EnableWindow(window, false);
    if (waiting) waiting(true);
    RunEventLoop();
    if (waiting) waiting(false);
    platform_.EnableWindow(window, true);
    // A source stuck in a transfer (state 6 or 7) still returns what it completed.
    if (state_ > kSourceEnabled && !lastImage_ && imageCount_ > 0) lastImage_ = images_[imageCount_ - 1];
  }
  // A source that would not be taken down is told to the user once; the session is down anyway.
  if (!TearDown(window) && !warned) ReportLastError();
  if (proxy) platform_.DestroyWindow(proxy);
  interrupted_ = endRequested_ || quitSeen_;
  if (quitSeen_) platform_.RepostQuit();
  return lastImage_;
}

namespace {
// How long a source that delivered images must show no window of its own before the wait ends.
constexpr std::uint64_t kGraceMilliseconds = 1000;
// How often the source's windows are looked at meanwhile.
constexpr int kLookEveryMilliseconds = 100;
}  // namespace

// Runs while the source is enabled and waiting (state 5), until a batch leaves a last image, the
// source asks to be closed, a transfer leaves it stuck in state 6 or 7, the board asks the
// acquisition to end, or the thread is told to quit. Each of these ends it even when the source
// then refuses a step: the teardown deals with that. A source that delivered images and then
// closed its window without asking to be closed (some report more images pending than they
// have, and never send MSG_CLOSEDSREQ) ends it too, as if it had asked.
void Session::RunEventLoop() {
  bool closeRequested = false;
  std::optional<std::uint64_t> quietSince;
  while (state_ == kSourceEnabled && !lastImage_ && !closeRequested && !endRequested_) {
    if (SourceLeftWithImages(quietSince)) break;
    const int fetched =
        imageCount_ > 0 ? platform_.NextMessageWithin(kLookEveryMilliseconds) : platform_.NextMessage();
    if (fetched == kNoMessageYet) continue;
    if (fetched == 0) quitSeen_ = true;
    if (fetched <= 0) break;
    TwEvent event{platform_.CurrentMessage(), MSG_NULL};
    CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool consumed = lastResult_ == TWRC_DSEVENT;
    switch (event.TWMessage) {
      case MSG_XFERREADY:
        state_ = kTransferReady;
        RunTransferLoop();
        break;
      case MSG_CLOSEDSREQ: closeRequested = true; break;
      default: break;
    }
    if (!consumed) platform_.TranslateAndDispatch();
  }
}

// True once images were received and no window of the source has been seen for the grace time;
// a window seen again starts the time afresh.
bool Session::SourceLeftWithImages(std::optional<std::uint64_t>& quietSince) {
  if (imageCount_ == 0 || platform_.SourceWindowShown()) {
    quietSince.reset();
    return false;
  }
  const std::uint64_t now = platform_.Milliseconds();
  if (!quietSince) quietSince = now;
  return now - *quietSince >= kGraceMilliseconds;
}

// Takes the session down from the state the source is really in, one step at a time: end the
// transfer (7), abandon the pending ones (6), disable (5), close the source (4), close the
// manager (3), unload it (2). A step refused leaves its state, and no triplet of a lower state
// may follow it; the session then lets go of the manager, whose unloading takes its sources with
// it, so the next operation starts from state 1. False when a step was refused.
bool Session::TearDown(WindowHandle window) {
  if (state_ == kTransferring && CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending_))
    state_ = pending_.Count != 0 ? kTransferReady : kSourceEnabled;
  if (state_ == kTransferReady && CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending_))
    state_ = kSourceEnabled;
  const bool orderly = CloseManager(window);
  if (!orderly) {
    RecordError(state_ >= kSourceOpen ? kSourceOperationFailed : kManagerOperationFailed);
    state_ = kManagerLoaded;
  }
  UnloadManager();
  return orderly;
}

}  // namespace inkra::twain
