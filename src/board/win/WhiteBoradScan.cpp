// "扫描": select a source, acquire, put the last image of the acquisition on the board.
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

#include "MultiTWAIN.h"
#include "PictureFile.h"
#include "ReentryGuard.h"
#include "ScanPicture.h"
#include "WhiteBorad.h"

namespace inkra::board::win {
namespace {

constexpr char kScanCaption[] = "扫描";
constexpr char kNothingScanned[] = "没有扫描操作！";
constexpr char kScanDone[] = "扫描操作完成，成功！";
constexpr char kImageFailed[] = "图片保存出现异常！";
constexpr char kScanFailed[] = "扫描操作出现异常，失败！";

// Every image of the acquisition goes back to the system, not only the one shown: a feeder
// batch of A4 pages would otherwise leave tens of megabytes each behind in the host.
void FreeAcquiredImages() {
  for (int i = 0, n = twain::TWAIN_ImageCount(); i < n; ++i) twain::TWAIN_FreeImage(twain::TWAIN_ImageAt(i));
}

// The board's toolbar, pen bar and drawing area are disabled while a scan runs, so nothing can
// be confirmed, opened or sealed halfway, and the scan never lands on a board that is going
// away. The frame stays enabled: its close box and Esc end the scan. The keyboard focus moves to
// the frame meanwhile, so Esc reaches it, and comes back after.
class ControlsDisabled {
 public:
  ControlsDisabled(HWND frame, std::initializer_list<HWND> controls) : controls_(controls) {
    focus_ = GetFocus();
    for (HWND c : controls_) EnableWindow(c, FALSE);
    if (focus_ && IsChild(frame, focus_)) SetFocus(frame);
  }
  ~ControlsDisabled() {
    for (HWND c : controls_)
      if (IsWindow(c)) EnableWindow(c, TRUE);
    if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
  }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  std::vector<HWND> controls_;
  HWND focus_ = nullptr;
};

}  // namespace

void TfrmWhiteBorad::EndScan() {
  scanEnded_ = true;
  twain::TWAIN_EndAcquisition();
}

void TfrmWhiteBorad::ShowWaitingHint(bool shown) {
  waitingHint_ = shown;
  if (!View()) return;
  InvalidateRect(View(), nullptr, FALSE);
  UpdateWindow(View());
}

void TfrmWhiteBorad::BtnScanClick() {
  inkra::win::ReentryGuard guard(scanning_);
  if (!guard.Entered()) return;
  ControlsDisabled disabled(Handle(), {toolbar_, PenBar(), DrawingPanel()});
  scanEnded_ = false;
  try {
    ScanPicture picture(surfaces_);
    {
      // Ended by the user during the selection: nothing was asked of the source yet.
      inkra::win::ReentryGuard acquiring(acquiring_);
      if (!twain::TWAIN_SelectImageSource(nullptr) || scanEnded_) return;
      twain::TWAIN_AcquireImages(nullptr, 0, [this](bool waiting) { ShowWaitingHint(waiting); });
      // The thread is quitting: the board goes, and what was scanned with it. The user ending the
      // wait keeps every image received, as the source closing does.
      if (twain::TWAIN_Session().AcquisitionQuit()) {
        FreeAcquiredImages();
        return;
      }
    }
    const int count = twain::TWAIN_ImageCount();
    if (count < 1) {
      Message(kNothingScanned, kScanCaption);
      return;
    }
    // The source's dialog has just closed: let what it left in the queue run once.
    inkra::win::ProcessPendingMessages();
    try {
      picture.Clear();
      // A DIB the system cannot draw leaves a picture of undefined pixels: it never reaches the board.
      const bool drawn = twain::TWAIN_DrawToImage(twain::TWAIN_ImageAt(count - 1), picture);
      std::unique_ptr<Surface> scan = picture.TakePicture();
      if (!drawn || !scan) throw std::runtime_error("The scanned image cannot be read");
      model_.TakeScan(std::move(scan));
      Sync();
      Message(kScanDone, kScanCaption);
    } catch (const PictureTooLarge& e) {
      Message(e.what(), kScanCaption);  // as Open says it, so the user knows why
    } catch (const std::exception&) {
      Message(kImageFailed, kScanCaption);
    }
    FreeAcquiredImages();
  } catch (const std::exception&) {
    Message(kScanFailed, kScanCaption);
  }
}

}  // namespace inkra::board::win
