#pragma once
// An in-memory settings store, able to refuse the key or any write: the null backend of the
// registry for tests.
#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "SettingsStore.h"

namespace inkra::board {

class MemorySettingsStore final : public SettingsStore {
 public:
  using Value = std::variant<std::string, std::uint32_t>;

  bool KeyExists() override { return keyExists && !refuseOpen; }
  bool OpenKey() override;
  bool ValueExists(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override;
  std::optional<std::uint32_t> ReadDword(const std::string& name) override;
  bool WriteString(const std::string& name, const std::string& value) override;
  bool WriteDword(const std::string& name, std::uint32_t value) override;
  void CloseKey() override { open_ = false; }

  std::map<std::string, Value> values;
  bool keyExists = false;    // the key is there; an open creates it
  bool refuseOpen = false;   // the key can be neither opened nor created
  bool refuseWrite = false;  // the key opens, but every write fails
  int opens = 0;             // successful opens

 private:
  bool open_ = false;
};

}  // namespace inkra::board
