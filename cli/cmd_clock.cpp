// blackbox clock: leaves a date and time on the card for the camera to set its clock from.
#include <charconv>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "manager/setup/clock_file.h"
#include "manager/setup/profile.h"

namespace cli {
namespace {

constexpr std::string_view kUsage = "usage: blackbox clock CARD \"YYYY-MM-DD hh:mm:ss\" [--profile dual|park|brand]";

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  const std::string_view part = text.substr(at, count);
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  return part.size() == count && error == std::errc() && end == part.data() + part.size() &&
         part.find_first_not_of("0123456789") == std::string_view::npos;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD hh:mm:ss", a real calendar date and time of day.
std::optional<setup::ClockTime> ParseClockTime(std::string_view text) {
  setup::ClockTime time;
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  if (!Digits(text, 0, 4, time.year) || !Digits(text, 5, 2, time.month) || !Digits(text, 8, 2, time.day) ||
      !Digits(text, 11, 2, time.hour) || !Digits(text, 14, 2, time.minute) || !Digits(text, 17, 2, time.second)) {
    return std::nullopt;
  }
  if (time.year < 1 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > DaysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59 || time.second > 59) {
    return std::nullopt;
  }
  return time;
}

}  // namespace

int RunClock(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 2) return Fail(kExitBadArguments, kUsage);
  const std::string profile_name = parsed->Option("profile", "dual");
  const setup::Profile* profile = setup::FindProfile(profile_name);
  if (profile == nullptr) {
    return Fail(kExitBadArguments, "unknown profile '" + profile_name + "' (dual, park or brand)");
  }
  const std::optional<setup::ClockTime> time = ParseClockTime(parsed->positional[1]);
  if (!time) {
    return Fail(kExitBadArguments, "'" + parsed->positional[1] + "' is not a date and time as YYYY-MM-DD hh:mm:ss");
  }
  const std::string& card = parsed->positional[0];
  std::error_code ignored;
  if (!std::filesystem::is_directory(card, ignored)) return Fail(kExitUnreadable, card + ": no such folder");
  if (const auto written = setup::WriteClockFile(*profile, card, *time); written != common::CardWrite::kWritten) {
    return Fail(kExitUnreadable, common::CardWriteMessage(written, setup::ClockFilePath(*profile, card)));
  }
  std::cout << setup::ClockText(*time) << '\n';
  return kExitOk;
}

}  // namespace cli
