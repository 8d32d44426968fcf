#pragma once

#include <cstdint>

#include "manager/setup/card_format.h"

namespace setup {

// The FAT type and cluster size the card is actually given.
struct FatLayout {
  int fat_bits = 32;
  int cluster_bytes = 32 * 1024;
  int sectors_per_cluster(int sector_bytes) const { return cluster_bytes / sector_bytes; }
};

// The template's layout where it can be made. FAT16 holds at most 65524 clusters, so 16 KiB
// clusters end at about 1 GiB: a larger card that the size rule gives FAT16 (up to 2 GiB, the
// common "2 GB" card) gets 32 KiB clusters instead, and one too large even for those, FAT32.
FatLayout ChooseFatLayout(const FormatTemplate& format, std::uint64_t capacity, int sector_bytes = 512);

// The number of clusters a FAT16 file system of this size and cluster size gets, laid out as
// mkfs.fat lays it out (one reserved sector and a 512-entry root folder, both padded to whole
// clusters, and two FATs).
std::uint64_t Fat16ClusterCount(std::uint64_t capacity, int cluster_bytes, int sector_bytes = 512);

inline constexpr std::uint64_t kFat16MaxClusters = 65524;

}  // namespace setup
