#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tracker {

// Splits a command line the way the tracker always has: blanks and tabs separate arguments,
// double quotes group blanks into an argument and are dropped. A line with an odd number of
// double quotes is refused (nothing).
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view line);

// The path to open from one argument as the system handed it over. The shell has already
// split the line, so an argument is taken as it stands, blanks and all; only an argument that
// still carries double quotes (a launcher passing a quoted line on) is read with the rules
// above. Nothing when refused or empty.
std::optional<std::string> PathFromArgument(std::string_view argument);

}  // namespace tracker
