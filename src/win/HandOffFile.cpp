#include "HandOffFile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "Errors.h"
#include "Handle.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

enum class WriteResult { Written, Refused, Failed };

// Gathers writes into a buffer of its own and hands the file whole buffers: a picture written
// row by row costs a few large WriteFile calls, not one per row.
class HandleSink final : public ByteSink {
 public:
  explicit HandleSink(HANDLE file) : file_(file) { buffer_.reserve(kBufferSize); }
  void Write(std::span<const std::uint8_t> bytes) override {
    if (buffer_.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) return Put(bytes);
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  }
  bool Finish() {
    Flush();
    return ok_;
  }

 private:
  static constexpr std::size_t kBufferSize = std::size_t(1) << 20;
  void Flush() {
    Put(buffer_);
    buffer_.clear();
  }
  void Put(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (ok_ && done < bytes.size()) {
      DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30)), written = 0;
      ok_ = WriteFile(file_, bytes.data() + done, chunk, &written, nullptr) && written != 0;
      done += written;
    }
  }

  HANDLE file_;
  std::vector<std::uint8_t> buffer_;
  bool ok_ = true;
};

WriteResult TryWrite(const std::wstring& path, const std::function<void(ByteSink&)>& write) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError() == ERROR_ACCESS_DENIED ? WriteResult::Refused : WriteResult::Failed;
  HandleSink sink(file.get());
  bool written = false;
  try {
    write(sink);
    written = sink.Finish();
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

std::wstring WriteHandOffFile(const std::wstring& fixedPath, const std::function<void(ByteSink&)>& write) {
  WriteResult first = TryWrite(fixedPath, write);
  if (first == WriteResult::Written) return fixedPath;
  if (first == WriteResult::Refused) {
    std::wstring standIn = TempFolderPathFor(fixedPath);
    if (!standIn.empty() && TryWrite(standIn, write) == WriteResult::Written) return standIn;
  }
  throw FileError("Cannot create file " + WideToUtf8(fixedPath));
}

}  // namespace inkra::win
