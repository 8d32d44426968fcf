#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadArguments = 1;
inline constexpr int kExitUnreadable = 2;

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> options;  // --name VALUE or --name=VALUE
  std::set<std::string, std::less<>> flags;                 // --name

  bool Has(std::string_view flag) const { return flags.contains(flag); }
  std::string Option(std::string_view name, std::string_view fallback) const;
};

// Splits a subcommand's arguments. Only the named flags and options are accepted; anything
// else starting with "--" gives an error message and no result.
std::optional<Arguments> ParseArguments(std::span<const std::string> args,
                                        std::initializer_list<std::string_view> flags,
                                        std::initializer_list<std::string_view> options, std::string& error);

// Prints "blackbox: MESSAGE" on stderr and returns `code`, so a failure is one line.
int Fail(int code, std::string_view message);

}  // namespace cli
