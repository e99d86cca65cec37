#pragma once
// The pen settings kept between uses of the board: the colour in its text form and the index
// of the pen-size list. Read once when the board is created, written on the user's request.
#include <cstdint>
#include <optional>
#include <span>

#include "Colour.h"
#include "SettingsStore.h"

namespace inkra::board {

inline constexpr char kPenColorValue[] = "PenColor";
inline constexpr char kPenWidthValue[] = "PenWidth";

// What a load found, in the order it was applied; a failure leaves the later fields empty.
struct LoadedPenSettings {
  std::optional<ColourValue> colour;
  std::optional<std::int32_t> penWidth;  // the stored list index; the nib is this plus 1
  friend bool operator==(const LoadedPenSettings&, const LoadedPenSettings&) = default;
};

// The stores come in saving order: the machine-wide store, then the user's, which takes the
// saves the machine refuses. So the last store whose key exists holds the user's latest saves
// and is read; when no key exists yet, the first store whose key opens. Any failure ends the
// load silently, keeping what was read before it.
LoadedPenSettings LoadPenSettings(std::span<SettingsStore* const> stores);
// That store, opened; null when none opens. The caller closes it.
SettingsStore* StoreToRead(std::span<SettingsStore* const> stores);

// Writes the colour and the list index into the first store that takes both; false when
// every store refused.
bool SavePenSettings(std::span<SettingsStore* const> stores, ColourValue colour, int penIndex);

}  // namespace inkra::board
