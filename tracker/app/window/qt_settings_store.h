#pragma once

#include <QSettings>
#include <memory>

#include "tracker/app/settings/settings_store.h"

namespace tracker {

// The settings in QSettings under the organisation "Tracker" (both builds share them, as they
// always have); tests hand it a file of their own.
class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();
  explicit QtSettingsStore(const QString& ini_file);

  std::optional<std::string> ReadString(std::string_view key) const override;
  std::optional<std::uint32_t> ReadNumber(std::string_view key) const override;
  void WriteString(std::string_view key, std::string_view value) override;
  void WriteNumber(std::string_view key, std::uint32_t value) override;

  QSettings& settings() { return *settings_; }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace tracker
