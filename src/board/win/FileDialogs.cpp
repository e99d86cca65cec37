#include "FileDialogs.h"

#include <commdlg.h>

#include <vector>

#include "BoardTexts.h"
#include "Dpi.h"
#include "PicturePreview.h"
#include "TextConvert.h"

namespace inkra::board::win {
namespace {

std::optional<std::wstring> Run(HWND owner, bool save) {
  const std::wstring filter = FilterForDialog(save ? kSaveFilter : kOpenFilter);
  const std::wstring defExt = inkra::win::Utf8ToWide(kSaveDefaultExt);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  // No overwrite prompt and no must-exist check: a missing file is the file layer's error.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (save) ofn.lpstrDefExt = defExt.c_str();
  PicturePreview preview;
  if (!save) preview.Attach(ofn);
  // Per-monitor aware like the board, whatever the host's thread is: sharp text and a preview
  // laid out in real pixels rather than a 96-dpi dialog stretched by the system.
  BOOL ok = FALSE;
  {
    inkra::win::DpiAwareScope aware;
    ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  }
  if (!ok) return std::nullopt;
  return std::wstring(file.data());
}

}  // namespace

std::wstring FilterForDialog(std::string_view barSeparated) {
  std::wstring filter = inkra::win::Utf8ToWide(barSeparated);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

std::optional<std::wstring> CommonFileDialogs::OpenPicture(HWND owner) { return Run(owner, false); }
std::optional<std::wstring> CommonFileDialogs::SavePicture(HWND owner) { return Run(owner, true); }

}  // namespace inkra::board::win
