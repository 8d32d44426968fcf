#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace tracker {

// Runs `work(first, last)` over [0, count) cut into one share per core, each share at least
// `least` items long, and returns when every share is done. This thread takes the first share
// and any share no thread could be started for. `work` must not throw; shares must not depend
// on each other (each writes only its own results).
template <typename Work>
void ForEachShare(std::size_t count, std::size_t least, const Work& work) {
  if (count == 0) return;
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t workers = std::min<std::size_t>({cores, 16, count / std::max<std::size_t>(least, 1) + 1});
  const std::size_t share = (count + workers - 1) / workers;
  std::vector<std::jthread> helpers;  // joined on every way out
  helpers.reserve(workers);
  try {
    for (std::size_t w = 1; w < workers; ++w) {
      helpers.emplace_back([&work, first = w * share, last = std::min(count, (w + 1) * share)] {
        if (first < last) work(first, last);
      });
    }
  } catch (const std::system_error&) {
    // Fewer threads than hoped for: this one takes the shares nobody took.
  }
  work(0, std::min(count, share));
  const std::size_t untaken = std::min(count, (helpers.size() + 1) * share);
  if (untaken < count) work(untaken, count);
}

}  // namespace tracker
