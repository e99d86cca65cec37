// The session record's steps: triplets, loading and opening the manager and the source, and the
// error record. Each step acts only in the state it belongs to.
#include <cstring>

#include "TwainSession.h"
#include "TwainTexts.h"

namespace inkra::twain {
namespace {

void CopyText(TwStr32& to, const char* text) {
  std::memset(to, 0, sizeof to);
  std::strncpy(to, text, sizeof to - 1);
}

}  // namespace

TwIdentity ApplicationIdentity() {
  TwIdentity id{};
  id.Id = 0;
  id.Version.MajorNum = 1;
  id.Version.MinorNum = 0;
  id.Version.Language = TWLG_USA;
  id.Version.Country = TWCY_USA;
  CopyText(id.Version.Info, "<?>");
  id.ProtocolMajor = 1;
  id.ProtocolMinor = 6;
  id.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyText(id.Manufacturer, "<?>");
  CopyText(id.ProductFamily, "<?>");
  CopyText(id.ProductName, "<?>");
  return id;
}

std::string ManagerPath(const std::string& folder, const char* file) {
  std::string path = folder;
  if (!path.empty() && path.back() != ':') path += '\\';
  return path + file;
}

bool Session::CallManager(std::uint16_t dat, std::uint16_t msg, void* data, std::uint32_t dg) {
  lastResult_ = TWRC_FAILURE;
  if (entry_) lastResult_ = entry_(&application_, nullptr, dg, dat, msg, data);
  return lastResult_ == TWRC_SUCCESS;
}

bool Session::CallSource(std::uint32_t dg, std::uint16_t dat, std::uint16_t msg, void* data) {
  Assert(state_ >= kSourceOpen);
  lastResult_ = TWRC_FAILURE;
  if (entry_) lastResult_ = entry_(&application_, &source_, dg, dat, msg, data);
  return lastResult_ == TWRC_SUCCESS;
}

void Session::Assert(bool holds) {
  if (!holds) platform_.ShowBox(kAssertText, kAssertCaption, BoxKind::Plain);
}

bool Session::LoadManager() {
  if (state_ >= kManagerLoaded) return true;
  // A 64-bit process cannot load the 32-bit TWAIN_32.DLL; it has only the 64-bit manager. The
  // 32-bit build keeps TWAIN_32.DLL first and falls back to TWAINDSM.DLL when it is missing.
  std::vector<std::string> candidates;
  if (!platform_.SixtyFourBit()) candidates.push_back(ManagerPath(platform_.WindowsDirectory(), kManagerFile));
  candidates.push_back(ManagerPath(platform_.SystemDirectory(), kManagerFile64));
  for (const std::string& path : candidates) {
    if (!platform_.FileExists(path)) continue;
    library_ = platform_.LoadDll(path);
    break;
  }
  if (!library_) return false;
  entry_ = platform_.FindDsmEntry(library_);
  if (entry_) {
    state_ = kManagerLoaded;
  } else {
    platform_.FreeDll(library_);
    library_ = nullptr;
  }
  return state_ >= kManagerLoaded;
}

bool Session::UnloadManager() {
  if (state_ == kManagerLoaded) {
    if (library_) platform_.FreeDll(library_);
    library_ = nullptr;
    entry_ = nullptr;
    state_ = kNoManager;
  }
  return state_ == kNoManager;
}

bool Session::OpenManager(WindowHandle window) {
  managerWindow_ = window;
  if (LoadManager() && state_ == kManagerLoaded && CallManager(DAT_PARENT, MSG_OPENDSM, &managerWindow_))
    state_ = kManagerOpen;
  return state_ >= kManagerOpen;
}

bool Session::CloseManager(WindowHandle window) {
  lastResult_ = TWRC_SUCCESS;
  if (CloseSource() && state_ == kManagerOpen) {
    WindowHandle copy = window;
    if (CallManager(DAT_PARENT, MSG_CLOSEDSM, &copy)) state_ = kManagerLoaded;
  }
  return state_ <= kManagerLoaded;
}

bool Session::OpenDefaultSource() {
  if (state_ != kManagerOpen) return false;
  // Windows' manager fills in its default source when it is given an empty identity to open;
  // others (Wine's) pass the empty identity on, and a source may refuse it. So the manager is
  // asked for its default source first; the empty identity stays for one that cannot tell.
  TwIdentity chosen{};
  if (CallManager(DAT_IDENTITY, MSG_GETDEFAULT, &chosen) && chosen.ProductName[0]) {
    source_ = chosen;
  } else {
    source_.Id = 0;
    source_.ProductName[0] = 0;
  }
  if (CallManager(DAT_IDENTITY, MSG_OPENDS, &source_))
    state_ = kSourceOpen;
  else
    RecordError(kManagerOperationFailed);
  return state_ == kSourceOpen;
}

bool Session::CloseSource() {
  lastResult_ = TWRC_SUCCESS;
  if (state_ == kSourceEnabled) DisableSource();
  if (state_ == kSourceOpen && CallManager(DAT_IDENTITY, MSG_CLOSEDS, &source_)) state_ = kManagerOpen;
  return state_ <= kManagerOpen;
}

bool Session::EnableSource(WindowHandle window) {
  if (state_ != kSourceOpen) return false;
  userInterface_.ShowUI = 1;
  userInterface_.hParent = window;
  CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &userInterface_);
  // TWRC_CHECKSTATUS means the source changed something it was given: it is enabled all the same.
  if (lastResult_ == TWRC_FAILURE)
    RecordError(kSourceOperationFailed);
  else
    state_ = kSourceEnabled;
  return state_ == kSourceEnabled;
}

bool Session::DisableSource() {
  if (state_ == kSourceEnabled && CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &userInterface_))
    state_ = kSourceOpen;
  return state_ <= kSourceOpen;
}

void Session::RecordError(int code) {
  if (error_.code != kNoError) return;  // the first failure of the acquisition wins
  error_.code = code;
  if (code >= kCapabilityGetFailed && code <= kSourceOperationFailed) {
    error_.result = lastResult_;
    error_.condition = ConditionCode();
  } else {
    error_.result = 0;
    error_.condition = 0;
  }
}

int Session::ConditionCode() {
  TwStatus status{};
  bool asked = false;
  if (state_ >= kSourceOpen)
    asked = CallSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  else if (state_ == kManagerOpen)
    asked = CallManager(DAT_STATUS, MSG_GET, &status);
  else
    return TWCC_SEQERROR;
  return asked ? status.ConditionCode : TWCC_BUMMER;
}

void Session::Warn(const std::string& text) { platform_.ShowBox(text, kErrorCaption, BoxKind::Warning); }

void Session::ReportLastError() { Warn(kReportLastError); }

}  // namespace inkra::twain
