#pragma once
// Where the confirmed picture goes in the document: the board's choice, kept beside the pen
// settings as the index of the chosen entry. The host does the placing (src/hosts).
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "SettingsStore.h"

namespace inkra::board {

enum class Placement : int {
  PageTopLeft = 0,  // 100 points from the top left corner, as the add-ins always placed it
  Cursor = 1,       // at the insertion point (Word) or the active cell (Excel)
  Straddle = 2,     // a straddle seal: one slice on the right edge of every page (Word only)
};

inline constexpr char kPlacementValue[] = "Placement";
inline constexpr char kPlacementLabel[] = "位置：";
inline constexpr std::array<const char*, 3> kPlacementNames = {"页面左上角", "光标处", "骑缝章"};

// The entries a host offers: the straddle seal only where pages exist.
inline int PlacementCount(bool straddleOffered) { return straddleOffered ? 3 : 2; }

// A stored index; anything the list does not offer means the default.
Placement PlacementFromStored(std::optional<std::uint32_t> stored, bool straddleOffered);

// Read from the store the pen settings are read from; the default without one.
Placement LoadPlacement(std::span<SettingsStore* const> stores, bool straddleOffered);
// Written where it will be read back, else into the first store that takes it; false when
// every store refused.
bool SavePlacement(std::span<SettingsStore* const> stores, Placement placement);

}  // namespace inkra::board
