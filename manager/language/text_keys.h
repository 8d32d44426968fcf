#pragma once

#include <array>
#include <string_view>

namespace language {

// A display text's key in the language file and its built-in English default, which is shown
// when the file, the language's section or the key is missing, or the value is empty.
struct TextKey {
  std::string_view key;
  std::string_view fallback;
};

namespace keys {

// Main window, panel and print page.
inline constexpr TextKey kFileList{"FILELIST", "File list"};
inline constexpr TextKey kDate{"DATE", "Date"};
inline constexpr TextKey kTime{"TIME", "Time"};
inline constexpr TextKey kDescription{"DESCRIPTION", "Description"};
// The dual profile's version; VersionText builds the same text from its parts.
inline constexpr TextKey kManagerVersion{"MANAGER_VERSION", "Ver. 2.2.5.5"};
inline constexpr TextKey kSearchFolder{"SEARCH_FOLDER", "Please select folder"};
inline constexpr TextKey kFileName{"F_N", "File"};
inline constexpr TextKey kLatitude{"LATITUDE", "Latitude"};
inline constexpr TextKey kLongitude{"LONGITUDE", "Longitude"};
inline constexpr TextKey kKmPerHour{"K_M", "km/h"};
inline constexpr TextKey kMilesPerHour{"M_H", "m/h"};
// The print page puts the unit after the number with its own space.
inline constexpr TextKey kKmPerHourInPrint{"K_M", " km/h"};
inline constexpr TextKey kMilesPerHourInPrint{"M_H", " m/h"};
inline constexpr TextKey kPrintService{"PRINT_SERVICE", "Black box image print."};
inline constexpr TextKey kRecordingDate{"RECORDING_DATE", "Date"};
inline constexpr TextKey kGSensor{"G_SENSOR", "G-sensor"};
inline constexpr TextKey kGpsSpeed{"GPS_SPEED", "Speed"};
inline constexpr TextKey kPixel{"PIXEL", "Resolution."};
// The map's notes.
inline constexpr TextKey kNoGpsPosition{"NO_GPS_POSITION", "No GPS position"};
inline constexpr TextKey kMapTilesUnavailable{"MAP_TILES_UNAVAILABLE", "Map tiles unavailable"};

// Setup dialog of the dual and brand profiles (the park profile has its own set).
inline constexpr TextKey kDeviceSetup{"DEVICE_SETUP", "Setup"};
inline constexpr TextKey kRecorder{"RECORDER", "Recording"};
inline constexpr TextKey kQuality{"QUALITY", "Image quality"};
inline constexpr TextKey kFrameRate{"FRAMERATE", "FrameRate"};
inline constexpr TextKey kBrightness{"BRIGHTNESS", "Brightness"};
inline constexpr TextKey kSharpness{"SHARPNESS", "Sharpness"};
inline constexpr TextKey kAudio{"AUDIO", "Audio"};
inline constexpr TextKey kAudioStatic{"AUDIO_STATIC", "MIC"};
inline constexpr TextKey kInputVolume{"INPUT_VOLUME", "MIC volume"};
inline constexpr TextKey kOutputVolume{"OUTPUT_VOLUME", "Speaker volume"};
inline constexpr TextKey kAccelerometer{"ACCELEROMETER", "Sensor sensitivity"};
inline constexpr TextKey kVerySlow{"VERY_SLOW", "Low"};
inline constexpr TextKey kSlow{"SLOW", "Medium"};
inline constexpr TextKey kNormal{"NORMAL", "High"};
inline constexpr TextKey kLow{"LOW", "Low"};
inline constexpr TextKey kNormal2{"NORMAL2", "Normal"};
inline constexpr TextKey kHigh{"HIGH", "High"};
inline constexpr TextKey kLevel1{"1LEVEL", "1 Level"};
inline constexpr TextKey kLevel2{"2LEVEL", "2 Level"};
inline constexpr TextKey kLevel3{"3LEVEL", "3 Level"};
inline constexpr TextKey kTriggerLevelX{"TRIGGERLEVELX", "X-AXIS"};
inline constexpr TextKey kTriggerLevelY{"TRIGGERLEVELY", "Y-AXIS"};
inline constexpr TextKey kTriggerLevelZ{"TRIGGERLEVELZ", "Z-AXIS"};
inline constexpr TextKey kTimeSetting{"TIMESETTING", "Time zone"};
inline constexpr TextKey kFactorySetting{"FACTORY_SETTING", "Default setting"};
inline constexpr TextKey kTimeSetButton{"TIMESET_BTN", "Time setting"};
inline constexpr TextKey kApply{"APPLY", "Apply"};
inline constexpr TextKey kCancel{"CANCEL", "Cancel"};
inline constexpr TextKey kOff{"OFF", "Off"};
inline constexpr TextKey kOn{"ON", "On"};
inline constexpr TextKey kDstSetup{"DSTSETUP", "DST"};
inline constexpr TextKey kSdFormat{"SD_FORMAT", "SD format"};
inline constexpr TextKey kParkingMode{"PARKINGMODE", "Parking Mode"};
inline constexpr TextKey kErrorNotSelect{"ERROR_NOT_SELECT", "Please select storage card."};
inline constexpr TextKey kSelectSdCard{"SELECT_SD_CARD", "Please select driver or folder."};
inline constexpr TextKey kFactorySettingSucceed{"FACTORY_SETTING_SUCCEED", "Default setting succeeded."};

}  // namespace keys

// Every key the program asks for, each once, with its screen default: the main keys, then the
// setup keys. For listing and checking a language file.
// clang-format off
inline constexpr std::array kTextKeys = {
    keys::kFileList,      keys::kDate,           keys::kTime,          keys::kDescription,
    keys::kManagerVersion, keys::kSearchFolder,  keys::kFileName,      keys::kLatitude,
    keys::kLongitude,     keys::kKmPerHour,      keys::kMilesPerHour,  keys::kPrintService,
    keys::kRecordingDate, keys::kGSensor,        keys::kGpsSpeed,      keys::kPixel,
    keys::kDeviceSetup,   keys::kRecorder,       keys::kQuality,       keys::kFrameRate,
    keys::kBrightness,    keys::kSharpness,      keys::kAudio,         keys::kAudioStatic,
    keys::kInputVolume,   keys::kOutputVolume,   keys::kAccelerometer, keys::kVerySlow,
    keys::kSlow,          keys::kNormal,         keys::kLow,           keys::kNormal2,
    keys::kHigh,          keys::kLevel1,         keys::kLevel2,        keys::kLevel3,
    keys::kTriggerLevelX, keys::kTriggerLevelY,  keys::kTriggerLevelZ, keys::kTimeSetting,
    keys::kFactorySetting, keys::kTimeSetButton, keys::kApply,         keys::kCancel,
    keys::kOff,           keys::kOn,             keys::kDstSetup,      keys::kSdFormat,
    keys::kParkingMode,   keys::kErrorNotSelect, keys::kSelectSdCard,  keys::kFactorySettingSucceed,
};
// clang-format on

}  // namespace language
