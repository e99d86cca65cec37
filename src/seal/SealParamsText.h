#pragma once
// The seal parameters as one text of "name=value" lines: what "上次使用" keeps between boards,
// and what the stamp's look is seeded from. Reading is forgiving: an unknown or malformed line
// leaves that parameter as it was, so an older or damaged record still gives a usable seal.
#include <string>
#include <string_view>

#include "RoundSeal.h"
#include "SquareSeal.h"

namespace inkra {

// `templateIndex` is the template entry the seal was made from (0: "自定义").
std::string RoundSealText(const RoundSealParams& p, int templateIndex);
std::string SquareSealText(const SquareSealParams& p, int templateIndex);

// Fills `p` and `templateIndex` from a text written by the above; false when the text holds
// none of the parameters.
bool ReadRoundSealText(std::string_view text, RoundSealParams& p, int& templateIndex);
bool ReadSquareSealText(std::string_view text, SquareSealParams& p, int& templateIndex);

// The registry values of the board's settings key that hold the last accepted seals.
constexpr const char* kLastRoundSealValue = "LastRoundSeal";
constexpr const char* kLastSquareSealValue = "LastSquareSeal";

}  // namespace inkra
