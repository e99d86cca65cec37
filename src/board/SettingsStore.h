#pragma once
// Where the pen settings live: one key of a registry-like store. Every operation can fail,
// because the store may refuse access (HKEY_LOCAL_MACHINE for ordinary users).
#include <cstdint>
#include <optional>
#include <string>

namespace inkra::board {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // True when the settings key is there already (nothing is created).
  virtual bool KeyExists() = 0;
  // Opens the settings key with full access, creating it when missing.
  virtual bool OpenKey() = 0;
  virtual bool ValueExists(const std::string& name) = 0;
  // nullopt when the value is missing, of another type, or cannot be read.
  virtual std::optional<std::string> ReadString(const std::string& name) = 0;
  virtual std::optional<std::uint32_t> ReadDword(const std::string& name) = 0;
  virtual bool WriteString(const std::string& name, const std::string& value) = 0;
  virtual bool WriteDword(const std::string& name, std::uint32_t value) = 0;
  virtual void CloseKey() = 0;
};

}  // namespace inkra::board
