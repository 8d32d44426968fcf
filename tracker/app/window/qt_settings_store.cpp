#include "tracker/app/window/qt_settings_store.h"

#include "tracker/app/settings/tracker_settings.h"

namespace tracker {

namespace {

QString Key(std::string_view key) { return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())); }

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Key(kSettingsPath))) {}

QtSettingsStore::QtSettingsStore(const QString& ini_file)
    : settings_(std::make_unique<QSettings>(ini_file, QSettings::IniFormat)) {}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view key) const {
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
  return value.toString().toStdString();
}

// A text file cannot say a value's type: a number is a value that reads as a whole number.
std::optional<std::uint32_t> QtSettingsStore::ReadNumber(std::string_view key) const {
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const uint number = value.toString().trimmed().toUInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

void QtSettingsStore::WriteString(std::string_view key, std::string_view value) {
  settings_->setValue(Key(key), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::WriteNumber(std::string_view key, std::uint32_t value) {
  settings_->setValue(Key(key), static_cast<quint32>(value));
}

}  // namespace tracker
