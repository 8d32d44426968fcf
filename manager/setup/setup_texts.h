#pragma once

#include "manager/setup/list_entry.h"

// The setup dialog's language keys with their built-in English texts. The profiles pick their
// key sets and lists from these.
namespace setup::texts {

inline constexpr ListEntry kDeviceSetup{"DEVICE_SETUP", "Setup"};
inline constexpr ListEntry kRecorder{"RECORDER", "Recording"};
inline constexpr ListEntry kQuality{"QUALITY", "Image quality"};
inline constexpr ListEntry kFrameRate{"FRAMERATE", "FrameRate"};
inline constexpr ListEntry kBrightness{"BRIGHTNESS", "Brightness"};
inline constexpr ListEntry kSharpness{"SHARPNESS", "Sharpness"};
inline constexpr ListEntry kAudio{"AUDIO", "Audio"};
inline constexpr ListEntry kAudioStatic{"AUDIO_STATIC", "MIC"};
inline constexpr ListEntry kInputVolume{"INPUT_VOLUME", "MIC volume"};
inline constexpr ListEntry kOutputVolume{"OUTPUT_VOLUME", "Speaker volume"};
inline constexpr ListEntry kAccelerometer{"ACCELEROMETER", "Sensor sensitivity"};
inline constexpr ListEntry kVerySlow{"VERY_SLOW", "Low"};
inline constexpr ListEntry kSlow{"SLOW", "Medium"};
inline constexpr ListEntry kNormal{"NORMAL", "High"};
inline constexpr ListEntry kLow{"LOW", "Low"};
inline constexpr ListEntry kNormal2{"NORMAL2", "Normal"};
inline constexpr ListEntry kHigh{"HIGH", "High"};
inline constexpr ListEntry k1Level{"1LEVEL", "1 Level"};
inline constexpr ListEntry k2Level{"2LEVEL", "2 Level"};
inline constexpr ListEntry k3Level{"3LEVEL", "3 Level"};
inline constexpr ListEntry kTriggerLevelX{"TRIGGERLEVELX", "X-AXIS"};
inline constexpr ListEntry kTriggerLevelY{"TRIGGERLEVELY", "Y-AXIS"};
inline constexpr ListEntry kTriggerLevelZ{"TRIGGERLEVELZ", "Z-AXIS"};
inline constexpr ListEntry kTimeSetting{"TIMESETTING", "Time zone"};
inline constexpr ListEntry kFactorySetting{"FACTORY_SETTING", "Default setting"};
inline constexpr ListEntry kTimeSetButton{"TIMESET_BTN", "Time setting"};
inline constexpr ListEntry kApply{"APPLY", "Apply"};
inline constexpr ListEntry kCancel{"CANCEL", "Cancel"};
inline constexpr ListEntry kOff{"OFF", "Off"};
inline constexpr ListEntry kOn{"ON", "On"};
inline constexpr ListEntry kDstSetup{"DSTSETUP", "DST"};
inline constexpr ListEntry kSdFormat{"SD_FORMAT", "SD format"};
inline constexpr ListEntry kParkingMode{"PARKINGMODE", "Parking Mode"};
inline constexpr ListEntry kErrorNotSelect{"ERROR_NOT_SELECT", "Please select storage card."};
inline constexpr ListEntry kSelectSdCard{"SELECT_SD_CARD", "Please select driver or folder."};
inline constexpr ListEntry kFactorySettingSucceed{"FACTORY_SETTING_SUCCEED", "Default setting succeeded."};

// Park camera only.
inline constexpr ListEntry k15Fps{"15FPS", "15fps"};
inline constexpr ListEntry k30Fps{"30FPS", "30fps"};
inline constexpr ListEntry k720P{"720P", "720P"};
inline constexpr ListEntry kVga{"VGA", "VGA"};
inline constexpr ListEntry kAccelerometerPark{"ACCELEROMETER_PARK", "Sensor sensitivity(Parking)"};
inline constexpr ListEntry kAvOut{"AVOut", "AV Out"};
inline constexpr ListEntry kNtsc{"NTSC", "NTSC"};
inline constexpr ListEntry kPal{"PAL", "PAL"};
inline constexpr ListEntry kSensorHigh{"SENSOR_HIGH", "High"};
inline constexpr ListEntry kSensorLow{"SENSOR_LOW", "Low"};

}  // namespace setup::texts
