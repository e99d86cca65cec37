#include "Placement.h"

#include "PenSettings.h"

namespace inkra::board {

Placement PlacementFromStored(std::optional<std::uint32_t> stored, bool straddleOffered) {
  if (!stored || *stored >= std::uint32_t(PlacementCount(straddleOffered))) return Placement::PageTopLeft;
  return Placement(*stored);
}

Placement LoadPlacement(std::span<SettingsStore* const> stores, bool straddleOffered) {
  return PlacementFromStored(LoadKeptChoice(stores, kPlacementValue), straddleOffered);
}

bool SavePlacement(std::span<SettingsStore* const> stores, Placement placement) {
  return KeepChoice(stores, kPlacementValue, std::uint32_t(placement));
}

}  // namespace inkra::board
