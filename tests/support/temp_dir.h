#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` to `path`, creating the parent folders.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// Creates (or resizes) a file of `size` bytes without writing them: a sparse file.
void MakeFileOfSize(const std::filesystem::path& path, std::uint64_t size);
std::string ReadFile(const std::filesystem::path& path);

// Bytes this process has read so far, through any read call ("rchar" of /proc/self/io).
std::uint64_t BytesReadSoFar();

}  // namespace testing_support
