#pragma once

#include <array>
#include <string_view>

namespace tracker {

// A time-zone offset as read from a time-zone entry's text; both parts carry the sign.
struct TimeZoneOffset {
  int hours = 0;
  int minutes = 0;
};

inline constexpr int kTimeZoneCount = 84;
inline constexpr int kDefaultTimeZoneIndex = 71;  // GMT +09:00) Seoul

// The tracker's time-zone entries, shown as they are; index = position in the time-zone box.
extern const std::array<std::string_view, kTimeZoneCount> kTimeZoneNames;

// Reads the offset from an entry's text: the sign at position 4, hours from position 5,
// minutes from position 8; "GMT) ..." entries give 0.
TimeZoneOffset TimeZoneOffsetFromName(std::string_view name);

// The offset of entry `index`; an index outside the table gives the default entry's.
TimeZoneOffset TimeZoneOffsetAt(int index);

}  // namespace tracker
