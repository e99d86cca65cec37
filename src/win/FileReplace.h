#pragma once
// Writing a whole file so that a failure never leaves half of it: the bytes go to a new file
// beside the target, and only a complete write replaces the target.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace inkra::win {

// Writes every byte to an open file; false when the disk refuses any of them.
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes);

// Replaces (or creates) `target` with `bytes`. On any failure (disk full, target locked or
// read-only) the target is left exactly as it was, the temporary file is removed, and FileError
// says which file could not be written.
void ReplaceFileWith(const std::wstring& target, std::span<const std::uint8_t> bytes);

}  // namespace inkra::win
