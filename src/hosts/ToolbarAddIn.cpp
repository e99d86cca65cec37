#include "ToolbarAddIn.h"

#include <filesystem>
#include <utility>

#include "BoardTexts.h"
#include "ByteSink.h"
#include "Clipboard.h"
#include "Dispatch.h"
#include "Dpi.h"
#include "FileReplace.h"
#include "HandOffFile.h"
#include "HostTexts.h"
#include "MSOAddIn_Utils.h"
#include "OfficeIds.h"
#include "PictureCut.h"
#include "ReentryGuard.h"
#include "RibbonButton.h"
#include "SealForm.h"
#include "ShowMessage.h"
#include "TextConvert.h"

namespace inkra::addin {

using win::ComPtr;
using win::Variant;

namespace {

// The control queried for _CommandBarButton; null for Nothing.
ComPtr<IDispatch> AsButton(const Variant& control) {
  ComPtr<IDispatch> found = control.ToDispatch();
  if (!found) return nullptr;
  return win::QueryDispatch(found.Get(), office::IID__CommandBarButton, L"_CommandBarButton");
}

// Removes the hand-off files when the click ends, whichever way it ends.
class HandOffFilesRemoval {
 public:
  explicit HandOffFilesRemoval(const TToolbarAddIn& addIn) : addIn_(addIn) {}
  ~HandOffFilesRemoval() { addIn_.RemoveHandOffFiles(); }
  HandOffFilesRemoval(const HandOffFilesRemoval&) = delete;
  HandOffFilesRemoval& operator=(const HandOffFilesRemoval&) = delete;

 private:
  const TToolbarAddIn& addIn_;
};

}  // namespace

int MajorVersion(const std::wstring& version) {
  int major = 0;
  std::size_t i = 0;
  for (; i < version.size() && i < 4 && version[i] >= L'0' && version[i] <= L'9'; ++i) major = major * 10 + (version[i] - L'0');
  // "16.0" and "16" are versions; "16x", a lone ".", or five digits are not.
  if (i == 0 || (i < version.size() && version[i] != L'.')) return 0;
  return major;
}

TToolbarAddIn::~TToolbarAddIn() { ReleaseButtonSink(); }

int TToolbarAddIn::HostVersion() const {
  try {
    // Office answers a string; anything else is no version we know.
    const Variant version = win::Get(Application.Get(), L"Version");
    return version.get().vt == VT_BSTR ? MajorVersion(version.ToString()) : 0;
  } catch (const std::exception&) {
    return 0;  // unknown: the picture goes as every host takes it
  }
}

bool TToolbarAddIn::FindToolbar() {
  const int i = FindCommandBar(CommandBars.Get(), kToolbarName);
  if (i > 0) Toolbar = win::Get(CommandBars.Get(), L"Item", i).ToDispatch();
  return i > 0;
}

void TToolbarAddIn::AddButton() {
  ComPtr<IDispatch> controls = win::Get(Toolbar.Get(), L"Controls").ToDispatch();
  Button = AsButton(win::Call(controls.Get(), L"Add", msoControlButton, 1, 0, 1, false));
  if (!Button) win::ThrowFailure(E_POINTER, L"Controls.Add");
  win::Put(Button.Get(), L"Tag", kButtonTag);
  win::Put(Button.Get(), L"TooltipText", kButtonCaption);
  win::Put(Button.Get(), L"Style", msoButtonCaption);
  win::Put(Button.Get(), L"Caption", kButtonCaption);
}

bool TToolbarAddIn::SetupButton() {
  try {
    if (!CommandBars) win::ThrowFailure(E_POINTER, L"CommandBars");
    if (FindToolbar()) {
      // The toolbar is permanent, so it usually survives from an earlier session with its button.
      Button = AsButton(win::Call(Toolbar.Get(), L"FindControl", msoControlButton, 1, kButtonTag, 1, 1));
      // A button the user hid is still ours: use it rather than add a second one.
      if (!Button) Button = AsButton(win::Call(Toolbar.Get(), L"FindControl", msoControlButton, 1, kButtonTag, 0, 1));
      // One the user deleted is made again, so that the add-in keeps working.
      if (!Button) AddButton();
    } else {
      Toolbar = win::Call(CommandBars.Get(), L"Add", kToolbarName, msoBarTop, 0, false).ToDispatch();
      if (!Toolbar) win::ThrowFailure(E_POINTER, L"CommandBars.Add");
      AddButton();
      win::Put(Toolbar.Get(), L"Visible", true);
    }
  } catch (const std::exception&) {
    return false;  // setup failures stay silent: Word simply has no working button
  }
  if (!ButtonSink) ButtonSink = new TCommandBarButtonEventsSink(office::DIID__CommandBarButtonEvents);
  ButtonSink->OnClick = [this](IDispatch* ctrl, VARIANT_BOOL& cancel) { HostClick(ctrl, cancel); };
  return ButtonSink->Connect(Button.Get());
}

void TToolbarAddIn::ReleaseButtonSink() {
  TCommandBarButtonEventsSink* sink = std::exchange(ButtonSink, nullptr);
  if (!sink) return;
  // A sink that stays advised (its unadvise failed) must never call back into a destroyed add-in.
  sink->OnClick = nullptr;
  if (sink->Connection() == 0) {
    // Never advised, so no host holds it: this reference is its first and last.
    ComPtr<IDispatch> last(sink);
    return;
  }
  if (Button) sink->Disconnect(Button.Get());  // the host's release then destroys it
}

HRESULT TToolbarAddIn::DoOnConnection(int, IDispatch*, SAFEARRAY**) {
  return Guarded(__uuidof(IDTExtensibility2), [&] {
    // A second connection without a disconnection: the sink leaves the former button first.
    ReleaseButtonSink();
    // Hand-off files that a crash left behind still hold a signature: they go now.
    RemoveHandOffFiles();
    Connected = true;
    SetupButton();
    // Asked once: the host's version does not change while it runs.
    hostVersion_ = HostVersion();
  });
}

HRESULT TToolbarAddIn::DoOnDisconnection(int RemoveMode, SAFEARRAY**) {
  return Guarded(__uuidof(IDTExtensibility2), [&] {
    Connected = false;
    ReleaseButtonSink();
    // 1: the user removed the add-in in the host's dialog; the toolbar goes with it.
    if (RemoveMode == 1 && Toolbar) win::Call(Toolbar.Get(), L"Delete");
  });
}

HRESULT TToolbarAddIn::DoOnAddInsUpdate(SAFEARRAY**) { return S_OK; }
HRESULT TToolbarAddIn::DoOnStartupComplete(SAFEARRAY**) { return S_OK; }
HRESULT TToolbarAddIn::DoOnBeginShutdown(SAFEARRAY**) { return S_OK; }

void TToolbarAddIn::HostClick(IDispatch* ctrl, VARIANT_BOOL& cancel) {
  // The board is modal, yet a click can still arrive while it is open (from the host's own
  // loop, or the ribbon and the toolbar both): it must not open a second board over the shared
  // hand-off file.
  win::ReentryGuard guard(clickRunning_);
  if (!guard.Entered()) return;
  // The host may disconnect and release this add-in while the board is open (the user unticks
  // it in the add-in dialog): the click keeps it alive until it has finished.
  ComPtr<IDTExtensibility2> keepAlive(this);
  ButtonClick(ctrl, cancel);
}

std::wstring TToolbarAddIn::DoGetCustomUI(const std::wstring& ribbonId) {
  return ribbonId == MainRibbonId() ? RibbonButtonMarkup() : std::wstring();
}

std::span<const RibbonCallback> TToolbarAddIn::RibbonCallbacks() const { return kRibbonCallbacks; }

Variant TToolbarAddIn::DoRibbonCallback(DISPID id, IRibbonControl* control) {
  if (id == kRibbonButtonImage.id) {
    ComPtr<IPictureDisp> picture = RibbonButtonPicture();
    return Variant(static_cast<IDispatch*>(picture.Get()));
  }
  // onAction: the ribbon has no CancelDefault to give; the click is the toolbar button's.
  VARIANT_BOOL cancel = VARIANT_FALSE;
  HostClick(control, cancel);
  return Variant();
}

void TToolbarAddIn::ButtonClick(IDispatch*, VARIANT_BOOL&) {
  const HandOffFilesRemoval removal(*this);  // after the board is gone, on every path
  std::unique_ptr<board::win::TfrmWhiteBorad> board;
  double width = 0, height = 0;  // points
  {
    // The board and every window it opens are per-monitor DPI aware even in a host that is not:
    // they lay themselves out for the real dpi instead of being stretched blurry by the system.
    // Its size is read in that awareness too (a host that is not aware would be told a size
    // scaled to 96 dpi); the host's own awareness is back before the host is called again.
    win::DpiAwareScope aware;
    try {
      board = NewBoard(hostVersion_ >= kFirstAlphaVersion);
      board->ShowModal();
    } catch (const std::exception&) {
      return;  // no board, nothing to insert
    }
    width = PixelsToPoints(board->ImageWidth(), board->Dpi());
    height = PixelsToPoints(board->ImageHeight(), board->Dpi());
  }
  if (!board->Accepted()) return;  // a cancelled board makes no call on the host
  const std::wstring path = board->HandOffPath();
  const bool ownAlpha = std::filesystem::path(path).extension() == L".png";
  Insertion insertion{path, {0, 0, width, height}, board->Placement()};
  std::vector<std::uint8_t> screenPng = board->ScreenPng();
  if (ownAlpha) insertion.box = CutToInk(path, width, height, screenPng);
  // The user signed and confirmed: the signature either lands in the document or is kept for
  // them, and they are told. Nothing is dropped without a word.
  std::string reason;
  Inserted inserted;
  if (!Connected) {
    reason = kHostGone;  // the host disconnected while the board was open
  } else {
    try {
      inserted = InsertPicture(insertion);
      if (inserted.shapes.empty() || !inserted.shapes.front()) reason = HostRefusedText("");
    } catch (const PictureRefused& refused) {
      reason = refused.what();
    } catch (const win::ComError& error) {
      reason = HostRefusedText(win::WideToUtf8(error.description()));
    } catch (const std::exception&) {
      reason = HostRefusedText("");
    }
  }
  if (!reason.empty()) {
    KeepRefusedPicture(board->Handle(), path, reason, screenPng);
    return;
  }
  // The host has embedded the picture; the hand-off file has served its purpose.
  DeleteFileW(path.c_str());
  try {
    FormatPicture(inserted, ownAlpha);
  } catch (const std::exception&) {
    // The picture is in the document, finished as far as the host allowed: the user sees it.
  }
  // The board is destroyed here, after the insertion, confirmed or not.
}

PictureBox TToolbarAddIn::CutToInk(const std::wstring& path, double width, double height,
                                   std::vector<std::uint8_t>& screenPng) {
  const bool larger = !screenPng.empty();
  PictureBox whole{0, 0, width, height};
  try {
    const std::vector<std::uint8_t> file = ReadFileBytes(std::filesystem::path(path));
    const InkCrop crop = CropPngToInk(larger ? screenPng : std::span<const std::uint8_t>(file));
    if (larger) whole.viewPixels = crop.fullWidth;
    if (!crop.Cut()) return whole;
    // In the points the whole picture is shown at, whatever resolution its pixels have.
    const double x = width / crop.fullWidth, y = height / crop.fullHeight;
    const int across = crop.box.right - crop.box.left;
    const PictureBox box{crop.box.left * x, crop.box.top * y, across * x, (crop.box.bottom - crop.box.top) * y, true,
                         larger ? across : 0};
    // All or nothing: a failed write leaves the whole picture in place, to go in whole.
    win::ReplaceFileWith(path, larger ? CutPngAt(file, crop.box, crop.fullWidth, crop.fullHeight) : crop.png);
    if (larger) screenPng = crop.png;
    return box;
  } catch (const std::exception&) {
    return whole;  // the file as the board wrote it still goes in whole
  }
}

void TToolbarAddIn::RemoveHandOffFiles() const {
  const std::wstring board =
      boardOptions_.handOffPath.empty() ? win::Utf8ToWide(board::kHandOffPath) : boardOptions_.handOffPath;
  win::RemoveHandOffFile(board);
  DeleteFileW(board::win::PngHandOffPath(board).c_str());
  win::RemoveHandOffFile(boardOptions_.sealHandOffPath.empty() ? std::wstring(win::kSealHandOffPath)
                                                               : boardOptions_.sealHandOffPath);
}

void TToolbarAddIn::KeepRefusedPicture(HWND board, const std::wstring& path, const std::string& reason,
                                       std::span<const std::uint8_t> screenPicture) {
  bool onClipboard = false;
  try {
    onClipboard = win::PutPictureOnClipboard(board, ReadFileBytes(std::filesystem::path(path)), screenPicture);
  } catch (const std::exception&) {
    // the file could not be read back: the message says the clipboard does not hold it
  }
  DeleteFileW(path.c_str());
  // The board's modal scope has ended: task-modal, the box disables every window of the host's
  // thread (its document windows too) until the user has read it.
  win::ShowMessage(nullptr, win::Utf8ToWide(NotInsertedText(reason, onClipboard)),
                   win::Utf8ToWide(kInsertCaption).c_str(), MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

std::unique_ptr<board::win::TfrmWhiteBorad> TToolbarAddIn::NewBoard(bool png) const {
  board::win::BoardOptions options = boardOptions_;
  options.png = png;
  options.straddle = OffersStraddle();
  return std::make_unique<board::win::TfrmWhiteBorad>(options);
}

}  // namespace inkra::addin
