#pragma once

#include <cstdint>
#include <random>

namespace samplecard {

// The card's only source of chance. mt19937_64 gives the same sequence everywhere; the
// conversions below are our own, so the same seed gives the same card with any standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}

  double Uniform(double low, double high) {
    return low + (high - low) * static_cast<double>(engine_() >> 11) * 0x1.0p-53;
  }
  int Between(int low, int high) {  // both ends included
    return low + static_cast<int>(engine_() % static_cast<std::uint64_t>(high - low + 1));
  }
  bool Chance(double probability) { return Uniform(0.0, 1.0) < probability; }

 private:
  std::mt19937_64 engine_;
};

}  // namespace samplecard
