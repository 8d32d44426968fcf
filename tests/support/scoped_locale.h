#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets the locale variables for one test and puts the old ones back afterwards.
// An unset optional unsets the variable.
class ScopedLocale {
 public:
  ScopedLocale(std::optional<std::string> lcAll, std::optional<std::string> lcMessages,
               std::optional<std::string> lang) {
    for (int i = 0; i < 3; ++i) {
      if (const char* old = std::getenv(kNames[i])) saved_[i] = old;
    }
    Apply({lcAll, lcMessages, lang});
  }
  ~ScopedLocale() { Apply(saved_); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};

  static void Apply(const std::optional<std::string> (&values)[3]) {
    for (int i = 0; i < 3; ++i) {
      if (values[i]) {
        setenv(kNames[i], values[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }

  std::optional<std::string> saved_[3];
};
