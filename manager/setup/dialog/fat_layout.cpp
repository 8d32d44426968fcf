#include "manager/setup/dialog/fat_layout.h"

#include <algorithm>

namespace setup {
namespace {

constexpr std::uint64_t kRootEntries = 512;
constexpr std::uint64_t kDirectoryEntryBytes = 32;
constexpr std::uint64_t kFat16EntryBytes = 2;
constexpr int kLargestFat16Cluster = 32 * 1024;  // 64 KiB clusters are not read by every device

std::uint64_t DivideUp(std::uint64_t value, std::uint64_t divisor) { return (value + divisor - 1) / divisor; }

}  // namespace

std::uint64_t Fat16ClusterCount(std::uint64_t capacity, int cluster_bytes, int sector_bytes) {
  if (sector_bytes <= 0 || cluster_bytes < sector_bytes) return 0;
  const std::uint64_t sectors = capacity / static_cast<std::uint64_t>(sector_bytes);
  const std::uint64_t per_cluster = static_cast<std::uint64_t>(cluster_bytes / sector_bytes);
  const std::uint64_t root = DivideUp(kRootEntries * kDirectoryEntryBytes, static_cast<std::uint64_t>(sector_bytes));
  const std::uint64_t reserved = 1;
  if (sectors <= reserved + root) return 0;
  // Each FAT is large enough for every cluster the rest could hold, plus the two reserved entries.
  const std::uint64_t fat_sectors = DivideUp(((sectors - reserved - root) / per_cluster + 2) * kFat16EntryBytes,
                                             static_cast<std::uint64_t>(sector_bytes));
  const std::uint64_t overhead = DivideUp(reserved + 2 * fat_sectors + root, per_cluster) * per_cluster;
  if (sectors <= overhead) return 0;
  return (sectors - overhead) / per_cluster;
}

FatLayout ChooseFatLayout(const FormatTemplate& format, std::uint64_t capacity, int sector_bytes) {
  if (format.fat_bits != 16) return {format.fat_bits, format.cluster_bytes};
  for (int cluster = std::max(format.cluster_bytes, sector_bytes); cluster <= kLargestFat16Cluster; cluster *= 2) {
    if (Fat16ClusterCount(capacity, cluster, sector_bytes) <= kFat16MaxClusters) return {16, cluster};
  }
  return {kFat32Template.fat_bits, kFat32Template.cluster_bytes};
}

}  // namespace setup
