#include "manager/library/sorted_path_list.h"

#include <gtest/gtest.h>

#include <random>

#include "manager/library/recording_name.h"

namespace {

using library::SortedPathList;

// The list's order as the camera's software defines it: passes of adjacent exchanges until a
// pass exchanges nothing, comparing the keys without regard to case.
std::vector<std::string> BubbleSorted(std::vector<std::string> paths) {
  const auto key = [](const std::string& path) {
    std::string k(library::RecordingSortKey(path));
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
  };
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
      if (key(paths[i]) > key(paths[i + 1])) {
        std::swap(paths[i], paths[i + 1]);
        exchanged = true;
      }
    }
  }
  return paths;
}

TEST(SortedPathList, SortsByNameWhateverTheFolder) {
  SortedPathList array;
  array.Add("/card/EVENT/drf_20100315_142530.mp4");
  array.Add("/card/Dx_0001/drf_20100101_000000.mp4");
  array.Add("/card/MANUAL/DRF_20100201_000000.mp4");
  array.Sort();
  EXPECT_EQ(array.paths(),
            (std::vector<std::string>{"/card/Dx_0001/drf_20100101_000000.mp4", "/card/MANUAL/DRF_20100201_000000.mp4",
                                      "/card/EVENT/drf_20100315_142530.mp4"}));
}

TEST(SortedPathList, SameOrderAsTheBubbleSortIncludingTies) {
  std::mt19937 random(7);
  std::vector<std::string> paths;
  const char* folders[] = {"/card/EVENT/", "/card/Dx_0001/", "E:\\MANUAL\\", "/x/"};
  const char* names[] = {"drf_20100101_000000.mp4",
                         "DRF_20100101_000000.mp4",
                         "drf_20100101_000001.mp4",
                         "drf_20100101_000000_1.mp4",
                         "drf_2010.mp4",
                         "drf_20091231_235959.mp4",
                         "Drf_20100101_000000.mp4",
                         "drf_20100101_[00000].mp4"};
  for (int i = 0; i < 400; ++i) paths.push_back(std::string(folders[random() % 4]) + names[random() % 8]);
  SortedPathList array;
  for (const auto& path : paths) array.Add(path);
  array.Sort();
  EXPECT_EQ(array.paths(), BubbleSorted(paths));
}

}  // namespace
