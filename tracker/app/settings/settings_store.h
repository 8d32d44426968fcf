#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tracker {

// Where the tracker keeps its settings between runs: the GUI backs it with QSettings, tests
// with memory. A value that cannot be read (missing, or of the other type) reads as nothing;
// a failed write is silent.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual std::optional<std::string> ReadString(std::string_view key) const = 0;
  virtual std::optional<std::uint32_t> ReadNumber(std::string_view key) const = 0;
  virtual void WriteString(std::string_view key, std::string_view value) = 0;
  virtual void WriteNumber(std::string_view key, std::uint32_t value) = 0;
};

class MemorySettingsStore : public SettingsStore {
 public:
  using Value = std::variant<std::string, std::uint32_t>;

  std::optional<std::string> ReadString(std::string_view key) const override {
    const auto it = values_.find(key);
    if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
  }
  std::optional<std::uint32_t> ReadNumber(std::string_view key) const override {
    const auto it = values_.find(key);
    if (it == values_.end() || !std::holds_alternative<std::uint32_t>(it->second)) return std::nullopt;
    return std::get<std::uint32_t>(it->second);
  }
  void WriteString(std::string_view key, std::string_view value) override {
    values_.insert_or_assign(std::string(key), Value(std::string(value)));
  }
  void WriteNumber(std::string_view key, std::uint32_t value) override {
    values_.insert_or_assign(std::string(key), Value(value));
  }

  const std::map<std::string, Value, std::less<>>& values() const { return values_; }

 private:
  std::map<std::string, Value, std::less<>> values_;
};

}  // namespace tracker
