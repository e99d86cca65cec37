#include "Placement.h"

#include "PenSettings.h"

namespace inkra::board {

Placement PlacementFromStored(std::optional<std::uint32_t> stored, bool straddleOffered) {
  if (!stored || *stored >= std::uint32_t(PlacementCount(straddleOffered))) return Placement::PageTopLeft;
  return Placement(*stored);
}

Placement LoadPlacement(std::span<SettingsStore* const> stores, bool straddleOffered) {
  SettingsStore* store = StoreToRead(stores);
  if (!store) return Placement::PageTopLeft;
  const std::optional<std::uint32_t> stored = store->ReadDword(kPlacementValue);
  store->CloseKey();
  return PlacementFromStored(stored, straddleOffered);
}

bool SavePlacement(std::span<SettingsStore* const> stores, Placement placement) {
  const auto write = [placement](SettingsStore* store) {
    if (!store) return false;
    const bool ok = store->WriteDword(kPlacementValue, std::uint32_t(placement));
    store->CloseKey();
    return ok;
  };
  // The store the board reads at its next opening comes first, so the choice is found there.
  if (write(StoreToRead(stores))) return true;
  for (SettingsStore* store : stores)
    if (store && store->OpenKey() && write(store)) return true;
  return false;
}

}  // namespace inkra::board
