#include "manager/output/write_file_bytes.h"

#include <string_view>

#include "common/atomic_file.h"

namespace output {

bool WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return common::WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace output
