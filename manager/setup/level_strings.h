#pragma once

#include <array>
#include <string_view>

namespace setup {

struct Profile;

// Text written for a trigger level index (a slider position). One G is 20 steps.
// The dual camera reads two decimals throughout; the others take the short forms they shipped with.
inline constexpr std::array<std::string_view, 31> kDualLevelStrings = {
    "0.00", "0.05", "0.10", "0.15", "0.20", "0.25", "0.30", "0.35", "0.40", "0.45", "0.50",
    "0.55", "0.60", "0.65", "0.70", "0.75", "0.80", "0.85", "0.90", "0.95", "1.00", "1.05",
    "1.10", "1.15", "1.20", "1.25", "1.30", "1.35", "1.40", "1.45", "1.50"};

inline constexpr std::array<std::string_view, 21> kShortLevelStrings = {
    "0.0",  "0.05", "0.10", "0.15", "0.20", "0.25", "0.30", "0.35", "0.40", "0.45", "0.50",
    "0.55", "0.60", "0.65", "0.70", "0.75", "0.80", "0.85", "0.9",  "0.95", "1.0"};

// The profile's text for `index`; an index outside the table takes the nearest end, so a
// writer never reads past it.
std::string_view LevelString(const Profile& profile, int index);

}  // namespace setup
