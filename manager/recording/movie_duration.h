#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace recording {

// The length of the movie as its header (`moov` / `mvhd`) states it, in 100 ns units: what the
// tools that have no media graph use to place the sensor samples in time. None when the file
// cannot be read, has no movie header, or the header gives no time scale or an unknown length.
std::optional<std::int64_t> ReadMovieDuration(const std::string& path);

// The same over the bytes of a whole file.
std::optional<std::int64_t> ReadMovieDuration(std::span<const std::uint8_t> file);

}  // namespace recording
