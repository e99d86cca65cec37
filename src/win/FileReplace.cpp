#include "FileReplace.h"

#include <algorithm>
#include <vector>

#include "Errors.h"
#include "Handle.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

class HandleSink final : public ByteSink {
 public:
  explicit HandleSink(HANDLE file) : file_(file) { buffer_.reserve(kBufferSize); }
  void Write(std::span<const std::uint8_t> bytes) override {
    if (buffer_.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) {
      ok_ = ok_ && WriteAll(file_, bytes);
      return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  }
  bool Finish() {
    Flush();
    return ok_;
  }

 private:
  static constexpr std::size_t kBufferSize = std::size_t(1) << 20;
  void Flush() {
    ok_ = ok_ && WriteAll(file_, buffer_);
    buffer_.clear();
  }

  HANDLE file_;
  std::vector<std::uint8_t> buffer_;
  bool ok_ = true;
};

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

bool WriteAll(HANDLE file, const FileWriter& write) {
  HandleSink sink(file);
  write(sink);
  return sink.Finish();
}

void ReplaceFileWith(const std::wstring& target, std::span<const std::uint8_t> bytes) {
  ReplaceFileWith(target, [bytes](ByteSink& sink) { sink.Write(bytes); });
}

void ReplaceFileWith(const std::wstring& target, const FileWriter& write) {
  // Beside the target, so the final rename stays on one volume and cannot half-happen.
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"ink", 0, temp)) Fail("Cannot create file", target);
  bool written = false;
  {
    UniqueFile file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    try {
      written = file && WriteAll(file.get(), write) && FlushFileBuffers(file.get());
    } catch (...) {
      file.reset();
      DeleteFileW(temp);
      throw;
    }
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
