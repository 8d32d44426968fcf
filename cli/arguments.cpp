#include "cli/arguments.h"

#include <algorithm>
#include <iostream>

namespace cli {

std::string Arguments::Option(std::string_view name, std::string_view fallback) const {
  const auto it = options.find(name);
  return it == options.end() ? std::string(fallback) : it->second;
}

std::optional<Arguments> ParseArguments(std::span<const std::string> args,
                                        std::initializer_list<std::string_view> flags,
                                        std::initializer_list<std::string_view> options, std::string& error) {
  const auto known = [](std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || !arg.starts_with("--")) {
      parsed.positional.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> value;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (known(flags, name) && !value) {
      parsed.flags.insert(name);
    } else if (known(options, name)) {
      if (!value) {
        if (i + 1 >= args.size()) {
          error = "option --" + name + " needs a value";
          return std::nullopt;
        }
        value = args[++i];
      }
      parsed.options[name] = *value;
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return parsed;
}

int Fail(int code, std::string_view message) {
  std::cerr << "blackbox: " << message << '\n';
  return code;
}

}  // namespace cli
