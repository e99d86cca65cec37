#pragma once
// Where encoders write: a file or memory, through the same code.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace inkra {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

class VectorSink final : public ByteSink {
 public:
  void Write(std::span<const std::uint8_t> bytes) override { data.insert(data.end(), bytes.begin(), bytes.end()); }
  std::vector<std::uint8_t> data;
};

// Writes a whole file: opened (replacing any earlier file) on construction, closed by Close().
// Throws FileError when the file cannot be created or written.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(const std::filesystem::path& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  void Write(std::span<const std::uint8_t> bytes) override;
  void Close();  // flushes; throws when the data did not reach the disk

 private:
  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
};

// Reads a whole file, or its first `atMost` bytes; throws FileError when it cannot.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path, std::size_t atMost = SIZE_MAX);
// Writes a whole file through FileSink.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace inkra
