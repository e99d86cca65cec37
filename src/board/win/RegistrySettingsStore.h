#pragma once
// The pen settings key in the registry: "SOFTWARE\InkraWirte\WriteBoard" under a given root.
#include <windows.h>

#include <string>

#include "Handle.h"
#include "SettingsStore.h"

namespace inkra::board::win {

inline constexpr wchar_t kSettingsKeyPath[] = L"SOFTWARE\\InkraWirte\\WriteBoard";

class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(HKEY root, std::wstring subKey = kSettingsKeyPath)
      : root_(root), subKey_(std::move(subKey)) {}

  bool KeyExists() override;
  bool OpenKey() override;
  bool ValueExists(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override;
  std::optional<std::uint32_t> ReadDword(const std::string& name) override;
  bool WriteString(const std::string& name, const std::string& value) override;
  bool WriteDword(const std::string& name, std::uint32_t value) override;
  void CloseKey() override { key_.reset(); }

 private:
  HKEY root_;  // a predefined key, not owned
  std::wstring subKey_;
  inkra::win::UniqueKey key_;
};

}  // namespace inkra::board::win
