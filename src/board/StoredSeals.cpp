#include "StoredSeals.h"

namespace inkra::board {

std::optional<std::string> StoredSeals::Load(const std::string& name) {
  SettingsStore* store = nullptr;
  for (auto it = stores_.rbegin(); it != stores_.rend() && !store; ++it)
    if (*it && (*it)->KeyExists() && (*it)->OpenKey()) store = *it;
  if (!store) return std::nullopt;
  std::optional<std::string> text;
  if (store->ValueExists(name)) text = store->ReadString(name);
  store->CloseKey();
  return text;
}

void StoredSeals::Save(const std::string& name, const std::string& text) {
  for (SettingsStore* store : stores_) {
    if (!store || !store->OpenKey()) continue;
    const bool written = store->WriteString(name, text);
    store->CloseKey();
    if (written) return;
  }
}

}  // namespace inkra::board
