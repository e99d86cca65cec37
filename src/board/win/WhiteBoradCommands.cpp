// The board's commands: pointer, pen, colour, clear, time stamp, settings, files, confirm.
#include <filesystem>

#include "BoardTexts.h"
#include "ByteSink.h"
#include "FileReplace.h"
#include "HandOffFile.h"
#include "PenSettings.h"
#include "PictureFile.h"
#include "StoredSeals.h"
#include "TextConvert.h"
#include "TfrmAbout.h"
#include "TimeStamp.h"
#include "UtOneSign.h"
#include "uSign.h"
#include "WhiteBorad.h"

namespace inkra::board::win {
namespace {

using inkra::win::Utf8ToWide;
using inkra::win::WideToUtf8;

std::string CurrentTimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t separator[8] = L":";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, separator, 8) == 0) separator[0] = L':', separator[1] = 0;
  return FormatTimeStamp({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute}, WideToUtf8(separator));
}

}  // namespace

// The pointer's reports carry the time they were made, which the pen's tip reads speed from.
void TfrmWhiteBorad::imageMouseDown(MouseButton button, int x, int y, float pressure) {
  model_.MouseDown(button, x, y, pressure, std::uint32_t(GetMessageTime()));
}

void TfrmWhiteBorad::imageMouseMove(int x, int y, float pressure) {
  if (!model_.Drawing()) return;
  model_.MouseMove(x, y, pressure, std::uint32_t(GetMessageTime()));
  Sync();
}

void TfrmWhiteBorad::imageMouseUp(MouseButton, int, int) {
  model_.MouseUp(std::uint32_t(GetMessageTime()));
  Sync();  // the curve's last piece and the tip's last samples, drawn at the release
}

void TfrmWhiteBorad::cbPenChange() {
  const LRESULT index = SendMessageW(cbPen_, CB_GETCURSEL, 0, 0);
  if (index >= 0) model_.ChoosePen(int(index));
}

void TfrmWhiteBorad::cbPlaceChange() {
  const LRESULT index = SendMessageW(cbPlace_, CB_GETCURSEL, 0, 0);
  if (index < 0) return;
  placement_ = PlacementFromStored(std::uint32_t(index), options_.straddle);
  // Kept at once, like the choice of a list in any settings page. A store that refuses it
  // still leaves the choice in force for this board; the user is told the next one will not
  // remember it.
  std::vector<SettingsStore*> stores = SettingsStores();
  if (!board::SavePlacement(stores, placement_)) Message(kSettingsNotSaved, kSaveCaption);
}

void TfrmWhiteBorad::chkTipClick() {
  const bool on = SendMessageW(chkTip_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  model_.SetPenTip(on);
  // Kept at once, as the placement is, and the user told when it cannot be.
  std::vector<SettingsStore*> stores = SettingsStores();
  if (!board::SavePenTip(stores, on)) Message(kSettingsNotSaved, kSaveCaption);
}

void TfrmWhiteBorad::cbColorChange() {
  if (!cbColor_.OnSelChange()) return;  // the colour dialog was cancelled: nothing changes
  model_.ChooseColour(cbColor_.Selected());
  Sync();
}

void TfrmWhiteBorad::BtnDeleteClick() {
  model_.Clear();
  Sync();
}

void TfrmWhiteBorad::PanelResize() {
  RECT client;
  GetClientRect(DrawingPanel(), &client);
  model_.PanelResized(client.right, client.bottom);
  Sync();
}

void TfrmWhiteBorad::N2Click() {
  model_.StampTime(CurrentTimeStamp());
  Sync();
}

void TfrmWhiteBorad::N4Click() { SavePenSettings(); }

void TfrmWhiteBorad::LoadPenSettings() {
  std::vector<SettingsStore*> stores = SettingsStores();
  const LoadedPenSettings loaded = board::LoadPenSettings(stores);
  model_.ApplySettings(loaded);
  if (loaded.colour) cbColor_.Select(*loaded.colour);
  placement_ = board::LoadPlacement(stores, options_.straddle);
  SendMessageW(cbPlace_, CB_SETCURSEL, WPARAM(placement_), 0);
  model_.SetPenTip(board::LoadPenTip(stores));
  SendMessageW(chkTip_, BM_SETCHECK, model_.PenTipOn() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmWhiteBorad::SavePenSettings() {
  std::vector<SettingsStore*> stores = SettingsStores();
  const LRESULT index = SendMessageW(cbPen_, CB_GETCURSEL, 0, 0);
  const bool saved = board::SavePenSettings(stores, cbColor_.Selected(), int(index));
  Message(saved ? kSettingsSaved : kSettingsNotSaved, kSaveCaption);
}

void TfrmWhiteBorad::BtnOpenClick() {
  FileDialogs& dialogs = options_.dialogs ? *options_.dialogs : commonDialogs_;
  const std::optional<std::wstring> path = dialogs.OpenPicture(Handle());
  if (!path) return;
  // A picture too large for the board is refused from its headers, before the file is read
  // whole or anything on the board changes.
  CheckPictureFits(WideToUtf8(*path), ReadFileBytes(std::filesystem::path(*path), kPictureHeadBytes));
  model_.EnterNaturalMode();
  Sync();
  std::vector<std::uint8_t> bytes = ReadFileBytes(std::filesystem::path(*path));
  model_.OpenPicture(WideToUtf8(*path), std::move(bytes));
  Sync();
}

void TfrmWhiteBorad::BtnSaveClick() {
  FileDialogs& dialogs = options_.dialogs ? *options_.dialogs : commonDialogs_;
  const std::optional<std::wstring> path = dialogs.SavePicture(Handle());
  if (!path) return;
  inkra::win::ReplaceFileWith(*path, [this](ByteSink& sink) { model_.WritePicture(sink); });
}

std::wstring PngHandOffPath(const std::wstring& handOffPath) {
  return std::filesystem::path(inkra::win::TempFolderPathFor(handOffPath)).replace_extension(L".png").wstring();
}

void TfrmWhiteBorad::BtnOKClick() {
  const std::wstring fixed = options_.handOffPath.empty() ? Utf8ToWide(kHandOffPath) : options_.handOffPath;
  if (options_.png && model_.Kind() == PictureKind::Bitmap && model_.CanWritePng()) {
    const std::wstring png = PngHandOffPath(fixed);
    // Drawn again from what was drawn, at 300 pixels to the inch of the size it goes in at; the
    // view's pixels beside it, small, for what is measured in them.
    const double scale = model_.PrintScale();
    screenPng_.clear();
    if (scale != 1) {
      VectorSink screen;
      model_.WritePng(screen);
      screenPng_ = std::move(screen.data);
    }
    inkra::win::ReplaceFileWith(png, [this, scale](ByteSink& sink) { model_.WritePngAt(sink, scale); });
    handOffWritten_ = png;
  } else {
    handOffWritten_ = inkra::win::WriteHandOffFile(fixed, [this](ByteSink& sink) { model_.WritePicture(sink); });
  }
  model_.Accept();
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TfrmWhiteBorad::BtnExitClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TfrmWhiteBorad::BtnInformationClick() {
  about::TfrmAbout about;
  about.ShowModal();
}

void TfrmWhiteBorad::BtnReplaceClick() {
  const std::wstring path = options_.sealHandOffPath.empty() ? inkra::win::kSealHandOffPath : options_.sealHandOffPath;
  StoredSeals kept(SettingsStores());
  inkra::win::TfrmSign dialog(Handle(), path, 0, &kept);  // modal over the board, drawn at its dpi
  TakeSealFrom(dialog);
}

void TfrmWhiteBorad::BtnFindClick() {
  const std::wstring path = options_.sealHandOffPath.empty() ? inkra::win::kSealHandOffPath : options_.sealHandOffPath;
  StoredSeals kept(SettingsStores());
  inkra::win::TfrmOneSign dialog(Handle(), path, 0, &kept);  // modal over the board, drawn at its dpi
  TakeSealFrom(dialog);
}

void TfrmWhiteBorad::TakeSealFrom(inkra::win::SealForm& dialog) {
  dialog.ShowModal();
  if (!dialog.Accepted()) return;
  model_.ClearForSeal();
  Sync();
  // The dialog says where it wrote: the fixed path, or its stand-in in the temporary folder.
  const std::wstring path = dialog.WrittenPath();
  const std::vector<std::uint8_t> bytes = ReadFileBytes(std::filesystem::path(path));
  model_.LoadSeal(bytes, dialog.Art());
  Sync();
  DeleteFileW(path.c_str());
}

void TfrmWhiteBorad::KeyUndoPress() {
  model_.Undo();
  Sync();
}

void TfrmWhiteBorad::KeyRedoPress() {
  model_.Redo();
  Sync();
}

}  // namespace inkra::board::win
