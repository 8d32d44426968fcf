#include "manager/setup/device_settings.h"

#include "manager/setup/profile.h"

namespace setup {

DeviceSettings DefaultSettings(const Profile& profile, bool dst_checked) {
  DeviceSettings settings = profile.defaults;
  settings.DST = dst_checked ? 1 : 0;
  return settings;
}

}  // namespace setup
