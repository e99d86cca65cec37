#include "FileReplace.h"

#include <algorithm>

#include "Errors.h"
#include "Handle.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

[[noreturn]] void Fail(const char* what, const std::wstring& target) {
  throw FileError(std::string(what) + " " + WideToUtf8(target));
}

}  // namespace

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30)), written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

void ReplaceFileWith(const std::wstring& target, std::span<const std::uint8_t> bytes) {
  // Beside the target, so the final rename stays on one volume and cannot half-happen.
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"ink", 0, temp)) Fail("Cannot create file", target);
  bool written = false;
  {
    UniqueFile file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    written = file && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  }
  if (!written) {
    DeleteFileW(temp);
    Fail("Cannot write file", target);
  }
  if (!MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp);
    Fail("Cannot create file", target);
  }
}

}  // namespace inkra::win
