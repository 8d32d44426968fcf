#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/atomic_file.h"

namespace setup {

struct Profile;

// A calendar date and time of day as picked in the time-setting dialog.
struct ClockTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The camera reads its clock from this one line: "YYYY.MM.DD..hh:mm:ss", no line break.
std::string ClockText(const ClockTime& time);

// The clock file in the card folder, named by the profile.
std::filesystem::path ClockFilePath(const Profile& profile, const std::filesystem::path& card_folder);

// Replaces the clock file with ClockText, as a card file (never through a link). The old file
// stays whole when the write fails.
common::CardWrite WriteClockFile(const Profile& profile, const std::filesystem::path& card_folder,
                                 const ClockTime& time);

}  // namespace setup
