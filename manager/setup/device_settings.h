#pragma once

#include <cstdint>

namespace setup {

struct Profile;

// The camera settings behind Setup.ini, field for field in the file's order. List values are
// indexes into the profile's lists, trigger levels are slider positions (n stands for n x 0.05 G).
struct DeviceSettings {
  std::int32_t Channel = 1;
  std::int32_t Quality = 0;
  std::int32_t FrameRate = 0;
  std::int32_t Audio = 0;
  std::int32_t TimeZone = 0;
  std::int32_t DST = 0;
  std::int32_t InputVolume = 0;
  std::int32_t OutputVolume = 0;
  std::int32_t TriggerMode = 1;
  std::int32_t TriggerLevelX = 0;
  std::int32_t TriggerLevelY = 0;
  std::int32_t TriggerLevelZ = 0;
  std::int32_t ParkTriggerLevelX = 0;
  std::int32_t ParkTriggerLevelY = 0;
  std::int32_t ParkTriggerLevelZ = 0;
  std::int32_t RotationTrigger = 1;
  std::int32_t Brightness = 0;
  std::int32_t Sharpness = 0;
  std::int32_t GPS = 1;
  std::int32_t TVOut = 0;

  friend bool operator==(const DeviceSettings&, const DeviceSettings&) = default;
};

// The profile's defaults. The camera has no DST default of its own: the dialog's check box
// state at the time is taken.
DeviceSettings DefaultSettings(const Profile& profile, bool dst_checked);

}  // namespace setup
