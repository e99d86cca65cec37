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

// Reads the first store whose key opens (the machine-wide store first, the user's when that
// one is refused). Any failure ends the load silently, keeping what was read before it.
LoadedPenSettings LoadPenSettings(std::span<SettingsStore* const> stores);

// Writes the colour and the list index into the first store that takes both; false when
// every store refused.
bool SavePenSettings(std::span<SettingsStore* const> stores, ColourValue colour, int penIndex);

}  // namespace inkra::board
