#include "RegistrySettingsStore.h"

#include <vector>

#include "TextConvert.h"

namespace inkra::board::win {

using inkra::win::Utf8ToWide;
using inkra::win::WideToUtf8;

bool RegistrySettingsStore::KeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool RegistrySettingsStore::OpenKey() {
  key_.reset();
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return false;
  key_.reset(key);
  return true;
}

bool RegistrySettingsStore::ValueExists(const std::string& name) {
  if (!key_) return false;
  return RegQueryValueExW(key_.get(), Utf8ToWide(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::optional<std::string> RegistrySettingsStore::ReadString(const std::string& name) {
  if (!key_) return std::nullopt;
  std::wstring wname = Utf8ToWide(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = DWORD(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring text(buffer.data(), bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return WideToUtf8(text);
}

std::optional<std::uint32_t> RegistrySettingsStore::ReadDword(const std::string& name) {
  if (!key_) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key_.get(), Utf8ToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

bool RegistrySettingsStore::WriteString(const std::string& name, const std::string& value) {
  if (!key_) return false;
  std::wstring wide = Utf8ToWide(value);
  return RegSetValueExW(key_.get(), Utf8ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                        DWORD((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteDword(const std::string& name, std::uint32_t value) {
  if (!key_) return false;
  DWORD v = value;
  return RegSetValueExW(key_.get(), Utf8ToWide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                        sizeof v) == ERROR_SUCCESS;
}

}  // namespace inkra::board::win
