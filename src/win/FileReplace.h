#pragma once
// Writing a whole file so that a failure never leaves half of it: the bytes go to a new file
// beside the target, and only a complete write replaces the target.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "ByteSink.h"

namespace inkra::win {

// Writes a file's contents through a sink, so a large picture goes from where it lies to the
// file without being gathered in memory first.
using FileWriter = std::function<void(ByteSink&)>;

// Writes every byte to an open file; false when the disk refuses any of them.
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes);
// The same for what `write` writes, gathered into large WriteFile calls (a picture written row
// by row costs a few dozen calls, not one per row). An exception from `write` passes through.
bool WriteAll(HANDLE file, const FileWriter& write);

// Replaces (or creates) `target` with `bytes`. On any failure (disk full, target locked or
// read-only) the target is left exactly as it was, the temporary file is removed, and FileError
// says which file could not be written.
void ReplaceFileWith(const std::wstring& target, std::span<const std::uint8_t> bytes);
void ReplaceFileWith(const std::wstring& target, const FileWriter& write);

}  // namespace inkra::win
