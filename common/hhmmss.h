#pragma once

#include <cstdint>

namespace common {

// Seconds since midnight of a time of day written as the decimal number hhmmss, as GPS fixes
// carry it (142530 is 14:25:30, 51200 is 05:12:00). Fields are not checked: 61 seconds count 61.
constexpr std::int64_t HhmmssSeconds(std::int32_t hhmmss) {
  return std::int64_t{hhmmss / 10000} * 3600 + (hhmmss / 100) % 100 * 60 + hhmmss % 100;
}

}  // namespace common
