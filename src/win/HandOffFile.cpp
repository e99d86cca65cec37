#include "HandOffFile.h"

#include <windows.h>

#include "Errors.h"
#include "FileReplace.h"
#include "Handle.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

enum class WriteResult { Written, Refused, Failed };

WriteResult TryWrite(const std::wstring& path, const FileWriter& write) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError() == ERROR_ACCESS_DENIED ? WriteResult::Refused : WriteResult::Failed;
  bool written = false;
  try {
    written = WriteAll(file.get(), write);
  } catch (...) {
    file.reset();
    DeleteFileW(path.c_str());
    throw;
  }
  if (!written) {
    file.reset();
    DeleteFileW(path.c_str());  // no half-written picture for the reader
    return WriteResult::Failed;
  }
  return WriteResult::Written;
}

}  // namespace

std::wstring TempFolderPathFor(const std::wstring& fixedPath) {
  wchar_t folder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  std::size_t slash = fixedPath.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? fixedPath : fixedPath.substr(slash + 1);
  std::wstring path(folder, length);
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + name;
}

std::wstring WriteHandOffFile(const std::wstring& fixedPath, std::span<const std::uint8_t> bytes) {
  return WriteHandOffFile(fixedPath, [bytes](ByteSink& sink) { sink.Write(bytes); });
}

std::wstring WriteHandOffFile(const std::wstring& fixedPath, const FileWriter& write) {
  WriteResult first = TryWrite(fixedPath, write);
  if (first == WriteResult::Written) return fixedPath;
  if (first == WriteResult::Refused) {
    std::wstring standIn = TempFolderPathFor(fixedPath);
    if (!standIn.empty() && TryWrite(standIn, write) == WriteResult::Written) return standIn;
  }
  throw FileError("Cannot create file " + WideToUtf8(fixedPath));
}

void RemoveHandOffFile(const std::wstring& fixedPath) noexcept {
  DeleteFileW(fixedPath.c_str());
  try {
    const std::wstring standIn = TempFolderPathFor(fixedPath);
    if (!standIn.empty()) DeleteFileW(standIn.c_str());
  } catch (...) {
    // no memory for the path: the fixed file is gone at least
  }
}

}  // namespace inkra::win
