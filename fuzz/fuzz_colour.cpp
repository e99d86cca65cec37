// The colour text form: any text that reads as a colour writes back to a text that reads as
// the same colour, and every colour value survives ToText then FromText.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Colour.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto value = inkra::ColourFromText(text)) {
    auto again = inkra::ColourFromText(inkra::ColourToText(*value));
    if (!again || *again != *value) __builtin_trap();
  }
  if (size >= 4) {
    inkra::ColourValue v;
    std::memcpy(&v, data, 4);
    auto back = inkra::ColourFromText(inkra::ColourToText(v));
    if (!back || *back != v) __builtin_trap();
  }
  return 0;
}
