#include "manager/setup/clock_file.h"

#include <cstdio>

#include "common/atomic_file.h"
#include "manager/setup/profile.h"

namespace setup {

std::string ClockText(const ClockTime& time) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%04d.%02d.%02d..%02d:%02d:%02d", time.year, time.month, time.day,
                                   time.hour, time.minute, time.second);
  if (length < 0) return {};
  return std::string(
      text, static_cast<std::size_t>(length) < sizeof text ? static_cast<std::size_t>(length) : sizeof text - 1);
}

std::filesystem::path ClockFilePath(const Profile& profile, const std::filesystem::path& card_folder) {
  return card_folder / profile.clock_file_name;
}

common::CardWrite WriteClockFile(const Profile& profile, const std::filesystem::path& card_folder,
                                 const ClockTime& time) {
  return common::WriteCardFileAtomically(card_folder, ClockFilePath(profile, card_folder), ClockText(time));
}

}  // namespace setup
