#pragma once
// The board's open and save dialogs. The board asks through this interface so a test may stand
// in for the user; the product uses the common dialogs.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace inkra::board::win {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or nullopt when the user cancelled.
  virtual std::optional<std::wstring> OpenPicture(HWND owner) = 0;
  virtual std::optional<std::wstring> SavePicture(HWND owner) = 0;
};

// GetOpenFileNameW (with a picture preview) / GetSaveFileNameW with the board's filters.
class CommonFileDialogs final : public FileDialogs {
 public:
  std::optional<std::wstring> OpenPicture(HWND owner) override;
  std::optional<std::wstring> SavePicture(HWND owner) override;
};

// "Name|*.ext|Name2|*.ext2" in the double-NUL-terminated form the common dialogs take.
std::wstring FilterForDialog(std::string_view barSeparated);

}  // namespace inkra::board::win
