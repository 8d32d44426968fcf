#include "manager/library/sorted_path_list.h"

#include <algorithm>
#include <numeric>

#include "manager/library/recording_name.h"

namespace library {
namespace {

std::string FoldedKey(std::string_view path) {
  std::string key(RecordingSortKey(path));
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

void SortedPathList::Sort() {
  std::vector<std::string> keys;
  keys.reserve(paths_.size());
  for (const std::string& path : paths_) keys.push_back(FoldedKey(path));

  std::vector<std::size_t> order(paths_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

  std::vector<std::string> sorted;
  sorted.reserve(paths_.size());
  for (const std::size_t i : order) sorted.push_back(std::move(paths_[i]));
  paths_ = std::move(sorted);
}

}  // namespace library
