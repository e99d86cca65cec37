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
    UnloadManager();
  } else {
    TwIdentity scratch{};
    chosen = CallManager(DAT_IDENTITY, MSG_USERSELECT, &scratch) ? 1 : 0;
    CloseManager(window);
    UnloadManager();
  }
  if (proxy) platform_.DestroyWindow(proxy);
  return chosen;
}

MemoryHandle Session::AcquireImages(WindowHandle window, std::uint32_t pixelTypeMask) {
  lastImage_ = nullptr;
  error_ = {};
  stuck_ = false;
  ClearImageList();

  WindowHandle proxy = nullptr;
  if (!platform_.IsWindow(window)) proxy = window = platform_.CreateProxyWindow();

  if (!platform_.IsWindow(window)) {
    Warn(kAcquireNoProxy);
  } else if (!LoadManager()) {
    Warn(kCannotLoadManager);
  } else if (!OpenManager(window)) {
    Warn(kCannotOpenManager);
  } else if (!OpenDefaultSource() || !NegotiatePixelType(pixelTypeMask) || !EnableSource(window)) {
    ReportLastError();
  } else {
    platform_.EnableWindow(window, false);
    RunEventLoop();
    platform_.EnableWindow(window, true);
    if (stuck_) AbandonStuckTransfer();
  }
  TearDown(window);
  if (proxy) platform_.DestroyWindow(proxy);
  return lastImage_;
}

void Session::RunEventLoop() {
  while (state_ >= kSourceEnabled && !lastImage_ && !stuck_ && platform_.NextMessage() > 0) {
    TwEvent event{platform_.CurrentMessage(), MSG_NULL};
    CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool consumed = lastResult_ == TWRC_DSEVENT;
    switch (event.TWMessage) {
      case MSG_XFERREADY:
        state_ = kTransferReady;
        RunTransferLoop();
        break;
      case MSG_CLOSEDSREQ: DisableSource(); break;
      default: break;
    }
    if (!consumed) platform_.TranslateAndDispatch();
  }
}

// A source that will neither end nor abandon its transfer leaves the session in state 6 or 7,
// from which no standard step leads on and the event loop would wait forever. The session is
// taken down as far as the source lets it, reported once, and the images already stored are kept.
void Session::AbandonStuckTransfer() {
  RecordError(kSourceOperationFailed);
  ReportLastError();
  state_ = kSourceEnabled;
  if (!lastImage_ && imageCount_ > 0) lastImage_ = images_[imageCount_ - 1];
}

void Session::TearDown(WindowHandle window) {
  DisableSource();
  CloseSource();
  CloseManager(window);
  UnloadManager();
}

}  // namespace inkra::twain
