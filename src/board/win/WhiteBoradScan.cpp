// "扫描": select a source, acquire, put the last image of the acquisition on the board.
#include <memory>
#include <stdexcept>

#include "MultiTWAIN.h"
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

}  // namespace

void TfrmWhiteBorad::BtnScanClick() {
  inkra::win::ReentryGuard guard(scanning_);
  if (!guard.Entered()) return;
  try {
    ScanPicture picture(surfaces_);
    if (!twain::TWAIN_SelectImageSource(nullptr)) return;
    twain::TWAIN_AcquireImages(nullptr, 0);
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
    } catch (const std::exception&) {
      Message(kImageFailed, kScanCaption);
    }
    FreeAcquiredImages();
  } catch (const std::exception&) {
    Message(kScanFailed, kScanCaption);
  }
}

}  // namespace inkra::board::win
