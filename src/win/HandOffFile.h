#pragma once
// The files the seal dialogs and the board hand their pictures over in. Each has a fixed path
// (the root of drive C); current Windows refuses that to ordinary users, so the same file name
// in the user's temporary folder stands in, and the reader is told which path was written.
#include <cstdint>
#include <span>
#include <string>

#include "FileReplace.h"

namespace inkra::win {

// Writes the whole file at fixedPath, replacing any file there; when that is refused (access
// denied), at the same file name in GetTempPathW's folder. Returns the path written.
// Throws FileError("Cannot create file <fixedPath>") when neither can be written.
std::wstring WriteHandOffFile(const std::wstring& fixedPath, std::span<const std::uint8_t> bytes);
// The same, for a picture written straight into the file by `write` (called again for the
// stand-in), so a large picture is never gathered in memory first.
std::wstring WriteHandOffFile(const std::wstring& fixedPath, const FileWriter& write);

// The stand-in path for a fixed path: its file name in the user's temporary folder.
std::wstring TempFolderPathFor(const std::wstring& fixedPath);

// Deletes the hand-off file at fixedPath and at its stand-in, wherever it was written: a picture
// of the user's signature must not stay on disk once it has been handed over, or refused.
void RemoveHandOffFile(const std::wstring& fixedPath) noexcept;

}  // namespace inkra::win
