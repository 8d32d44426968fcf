#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace library {

// The recording paths of the list, kept in the order the list shows them.
class SortedPathList {
 public:
  void Add(std::string path) { paths_.push_back(std::move(path)); }
  void RemoveAll() { paths_.clear(); }
  std::size_t GetSize() const { return paths_.size(); }
  bool empty() const { return paths_.empty(); }
  const std::string& operator[](std::size_t index) const { return paths_[index]; }
  const std::vector<std::string>& paths() const { return paths_; }

  // Ascending by sort key (the last 23 characters of each path), compared without regard to
  // ASCII case; paths with equal keys keep their order. This is the order a bubble sort with
  // strict exchanges gives, in O(n log n).
  void Sort();

 private:
  std::vector<std::string> paths_;
};

}  // namespace library
