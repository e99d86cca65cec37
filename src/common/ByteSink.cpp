#include "ByteSink.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>

#include "Errors.h"

namespace inkra {
namespace {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  // Wide API so that any path the user picks opens, whatever the system's code page.
  std::wstring wmode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wmode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// The messages the user sees, in the file layer's words: "Cannot create file c:\\x.bmp".
std::string Describe(const char* what, const std::filesystem::path& path) {
  std::u8string u8 = path.u8string();
  return std::string(what) + " " + std::string(u8.begin(), u8.end());
}

}  // namespace

FileSink::FileSink(const std::filesystem::path& path) : path_(path), file_(OpenFile(path, "wb")) {
  if (!file_) throw FileError(Describe("Cannot create file", path));
}

FileSink::~FileSink() {
  if (file_) std::fclose(file_);
}

void FileSink::Write(std::span<const std::uint8_t> bytes) {
  if (!file_) throw FileError(Describe("Cannot write file", path_));
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    throw FileError(Describe("Cannot write file", path_));
}

void FileSink::Close() {
  if (!file_) return;
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0) throw FileError(Describe("Cannot write file", path_));
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path, std::size_t atMost) {
  std::FILE* f = OpenFile(path, "rb");
  if (!f) throw FileError(Describe("Cannot open file", path));
  std::vector<std::uint8_t> data;
  // One allocation for the file as it stands, not a doubling copy every few chunks.
  std::error_code sizeUnknown;
  const std::uintmax_t size = std::filesystem::file_size(path, sizeUnknown);
  if (!sizeUnknown && size < (std::uintmax_t(1) << 30)) data.reserve(std::size_t(std::min<std::uintmax_t>(size, atMost)));
  std::uint8_t buffer[65536];
  std::size_t n;
  while (data.size() < atMost && (n = std::fread(buffer, 1, std::min(sizeof buffer, atMost - data.size()), f)) > 0)
    data.insert(data.end(), buffer, buffer + n);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw FileError(Describe("Cannot read file", path));
  return data;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  FileSink sink(path);
  sink.Write(bytes);
  sink.Close();
}

}  // namespace inkra
