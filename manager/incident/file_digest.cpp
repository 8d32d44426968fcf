#include "manager/incident/file_digest.h"

#include <glib.h>

#include <memory>
#include <vector>

#include "common/file_reader.h"

namespace incident {

std::optional<std::string> FileSha256(const std::filesystem::path& path, const std::atomic<bool>* cancel) {
  const auto file = common::FileReader::Open(path);
  if (!file) return std::nullopt;
  const std::unique_ptr<GChecksum, decltype(&g_checksum_free)> checksum(g_checksum_new(G_CHECKSUM_SHA256),
                                                                        &g_checksum_free);
  std::vector<std::uint8_t> block(1 << 20);
  std::uint64_t offset = 0;
  for (;;) {
    if (cancel != nullptr && cancel->load()) return std::nullopt;
    const auto read = file->ReadAt(offset, block);
    if (!read) return std::nullopt;
    if (*read == 0) break;
    g_checksum_update(checksum.get(), block.data(), static_cast<gssize>(*read));
    offset += *read;
  }
  return std::string(g_checksum_get_string(checksum.get()));
}

}  // namespace incident
