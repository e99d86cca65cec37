#pragma once
// The product's name and version, as every window shows them (UTF-8).
#include <string>

#include "InkraVersion.h"

namespace inkra {

inline constexpr char kProductName[] = "InkraSoft 手写板";
inline constexpr char kProductVersion[] = INKRA_VERSION_TEXT;
inline std::string ProductTitle() { return std::string(kProductName) + " " + kProductVersion; }

}  // namespace inkra
