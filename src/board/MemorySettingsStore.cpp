#include "MemorySettingsStore.h"

namespace inkra::board {

bool MemorySettingsStore::OpenKey() {
  if (refuseOpen) return false;
  open_ = true;
  keyExists = true;
  ++opens;
  return true;
}

bool MemorySettingsStore::ValueExists(const std::string& name) { return open_ && values.count(name) != 0; }

std::optional<std::string> MemorySettingsStore::ReadString(const std::string& name) {
  if (!open_) return std::nullopt;
  auto it = values.find(name);
  if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
  return std::get<std::string>(it->second);
}

std::optional<std::uint32_t> MemorySettingsStore::ReadDword(const std::string& name) {
  if (!open_) return std::nullopt;
  auto it = values.find(name);
  if (it == values.end() || !std::holds_alternative<std::uint32_t>(it->second)) return std::nullopt;
  return std::get<std::uint32_t>(it->second);
}

bool MemorySettingsStore::WriteString(const std::string& name, const std::string& value) {
  if (!open_ || refuseWrite) return false;
  values[name] = value;
  return true;
}

bool MemorySettingsStore::WriteDword(const std::string& name, std::uint32_t value) {
  if (!open_ || refuseWrite) return false;
  values[name] = value;
  return true;
}

}  // namespace inkra::board
