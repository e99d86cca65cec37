#pragma once
// The product's name and version, as every window shows them (UTF-8).
#include <string>

namespace inkra {

inline constexpr char kProductName[] = "InkraSoft 手写板";
inline constexpr char kProductVersion[] = "1.0";
inline std::string ProductTitle() { return std::string(kProductName) + " " + kProductVersion; }

}  // namespace inkra
