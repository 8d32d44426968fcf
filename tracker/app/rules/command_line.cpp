#include "tracker/app/rules/command_line.h"

#include <algorithm>

namespace tracker {

std::optional<std::vector<std::string>> SplitCommandLine(std::string_view line) {
  if (std::count(line.begin(), line.end(), '"') % 2 != 0) return std::nullopt;
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_argument = true;  // "" is an argument of its own, if an empty one
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_argument) arguments.push_back(std::move(current));
      current.clear();
      in_argument = false;
    } else {
      current += c;
      in_argument = true;
    }
  }
  if (in_argument) arguments.push_back(std::move(current));
  return arguments;
}

std::optional<std::string> PathFromArgument(std::string_view argument) {
  if (argument.find('"') == std::string_view::npos) {
    if (argument.empty()) return std::nullopt;
    return std::string(argument);
  }
  std::optional<std::vector<std::string>> arguments = SplitCommandLine(argument);
  if (!arguments || arguments->empty() || arguments->front().empty()) return std::nullopt;
  return std::move(arguments->front());
}

}  // namespace tracker
