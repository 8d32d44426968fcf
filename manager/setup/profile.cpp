#include "manager/setup/profile.h"

#include "manager/language/language.h"
#include "manager/language/version_text.h"
#include "manager/setup/level_strings.h"
#include "manager/setup/setup_texts.h"

namespace setup {
namespace {

using namespace texts;

constexpr ListEntry kDualQuality[] = {kLow, kNormal2, kHigh};
constexpr ListEntry kDualFrameRate[] = {kVerySlow, kSlow, kNormal};
constexpr ListEntry kParkQuality[] = {k720P, kVga};
constexpr ListEntry kParkFrameRate[] = {k30Fps, k15Fps};
constexpr ListEntry kParkAvOut[] = {kNtsc, kPal};

constexpr ListEntry kFixedScale[] = {{"", "0G"}, {"", "0.25G"}, {"", "0.5G"}, {"", "0.75G"}, {"", "1G"}};
constexpr ListEntry kHighLowScale[] = {kSensorHigh, kSensorLow};

// clang-format off
constexpr ListEntry kDualSetupTexts[] = {
    kDeviceSetup,   kRecorder,       kQuality,       kFrameRate,      kBrightness,    kSharpness,
    kAudio,         kAudioStatic,    kInputVolume,   kOutputVolume,   kAccelerometer, kVerySlow,
    kSlow,          kNormal,         kLow,           kNormal2,        kHigh,          kLevel1,
    kLevel2,        kLevel3,         kTriggerLevelX, kTriggerLevelY,  kTriggerLevelZ, kTimeSetting,
    kFactorySetting, kTimeSetButton, kApply,         kCancel,         kOff,           kOn,
    kDstSetup,      kSdFormat,       kParkingMode,   kErrorNotSelect, kSelectSdCard,  kFactorySettingSucceed};

constexpr ListEntry kParkSetupTexts[] = {
    kDeviceSetup,    kRecorder,      kQuality,        kFrameRate,         kBrightness,    kSharpness,
    kAudio,          kAudioStatic,   kInputVolume,    kOutputVolume,      kAccelerometer, kTriggerLevelX,
    kTriggerLevelY,  kTriggerLevelZ, kTimeSetting,    kFactorySetting,    kTimeSetButton, kApply,
    kCancel,         kOff,           kOn,             kDstSetup,          kSdFormat,      kParkingMode,
    kErrorNotSelect, kSelectSdCard,  kFactorySettingSucceed,
    k15Fps,          k30Fps,         k720P,           kVga,               kAccelerometerPark,
    kAvOut,          kNtsc,          kPal,            kSensorHigh,        kSensorLow};
// clang-format on

// Time zone 71 is "(GMT +09:00) Seoul".
constexpr DeviceSettings kDualDefaults{.Channel = 1,
                                       .Quality = 2,
                                       .FrameRate = 2,
                                       .Audio = 1,
                                       .TimeZone = 71,
                                       .DST = 0,
                                       .InputVolume = 5,
                                       .OutputVolume = 9,
                                       .TriggerMode = 1,
                                       .TriggerLevelX = 4,
                                       .TriggerLevelY = 4,
                                       .TriggerLevelZ = 7,
                                       .ParkTriggerLevelX = 4,
                                       .ParkTriggerLevelY = 4,
                                       .ParkTriggerLevelZ = 7,
                                       .RotationTrigger = 1,
                                       .Brightness = 4,
                                       .Sharpness = 4,
                                       .GPS = 1,
                                       .TVOut = 0};

constexpr DeviceSettings kParkDefaults{.Channel = 1,
                                       .Quality = 0,
                                       .FrameRate = 0,
                                       .Audio = 1,
                                       .TimeZone = 71,
                                       .DST = 0,
                                       .InputVolume = 1,
                                       .OutputVolume = 1,
                                       .TriggerMode = 1,
                                       .TriggerLevelX = 10,
                                       .TriggerLevelY = 10,
                                       .TriggerLevelZ = 10,
                                       .ParkTriggerLevelX = 8,
                                       .ParkTriggerLevelY = 8,
                                       .ParkTriggerLevelZ = 8,
                                       .RotationTrigger = 1,
                                       .Brightness = 1,
                                       .Sharpness = 1,
                                       .GPS = 1,
                                       .TVOut = 0};

}  // namespace

constexpr Profile kDualProfile{
    .id = ProfileId::Dual,
    .name = "dual",
    .window_title = "Kel2CH Manager",
    .version_prefix = "Ver.",
    .version = {2, 2, 5, 5},
    .language_file_name = language::kDualLanguageFileName,
    .language_choice = LanguageChoice::UserDefaultLanguageId,
    .writes_decoder_logo_value = true,
    .channels = 2,
    .runs_structure_check = true,
    .first_command_id = 1112,
    .last_command_id = 1128,
    .has_channel_swap = true,
    .map_page_path = "/map2.html",
    .map_view = {679, 505, 320, 240},
    .snapshot = SnapshotVariant::BothChannels,
    .print = PrintVariant::TwoPicturesUnscaled,
    .gsensor_axes = {GSensorAxis::Z, GSensorAxis::X, GSensorAxis::Y},
    .clock_file_name = "_D9SetTimeSetting.dx_",
    .apply_header_line = "# Varn Kel BlackBox Setting Information",
    .factory_header_line = "# Varn Kel BlackBox Setting Information",
    .level_strings = kDualLevelStrings,
    .level_edit_min = 0,
    .level_edit_max = 30,
    .defaults = kDualDefaults,
    .quality_list = kDualQuality,
    .frame_rate_list = kDualFrameRate,
    .av_out_list = {},
    .has_parking_sensitivity = false,
    .input_volume_visible = false,
    .output_volume_visible = true,
    .brightness_visible = false,
    .sharpness_visible = false,
    .apply_hidden_value = -1,
    .slider_scale = SliderScale::FixedGLabels,
    .slider_scale_labels = kFixedScale,
    .setup_texts = kDualSetupTexts,
    .setup_dialog_size = {312, 236},
};

constexpr Profile kParkProfile{
    .id = ProfileId::Park,
    .name = "park",
    .window_title = "Kel Manager",
    .version_prefix = "J8 Manager",
    .version = {1, 2, 1, 4},
    .language_file_name = language::kOneChannelLanguageFileName,
    .language_choice = LanguageChoice::SystemLocaleName,
    .writes_decoder_logo_value = false,
    .channels = 1,
    .runs_structure_check = false,
    .first_command_id = 1112,
    .last_command_id = 1125,
    .has_channel_swap = false,
    .map_page_path = "/map.html",
    .map_view = {679, 325, 320, 422},
    .snapshot = SnapshotVariant::ChosenFileOnly,
    .print = PrintVariant::OnePictureFitted,
    .gsensor_axes = {GSensorAxis::X, GSensorAxis::Y, GSensorAxis::Z},
    .clock_file_name = "_newtime.dtm",
    .apply_header_line = "# Varn Kel BlackBox Setting Information",
    .factory_header_line = "# Varn Kel BlackBox Setting Information",
    .level_strings = kShortLevelStrings,
    .level_edit_min = 0,
    .level_edit_max = 20,
    .defaults = kParkDefaults,
    .quality_list = kParkQuality,
    .frame_rate_list = kParkFrameRate,
    .av_out_list = kParkAvOut,
    .has_parking_sensitivity = true,
    .input_volume_visible = false,
    .output_volume_visible = false,
    .brightness_visible = false,
    .sharpness_visible = false,
    .apply_hidden_value = 1,
    .slider_scale = SliderScale::HighLowEnds,
    .slider_scale_labels = kHighLowScale,
    .setup_texts = kParkSetupTexts,
    .setup_dialog_size = {458, 228},
};

constexpr Profile kBrandProfile{
    .id = ProfileId::Brand,
    .name = "brand",
    .window_title = "Ryn Manager",
    .version_prefix = "Ver.",
    .version = {1, 2, 5, 4},
    .language_file_name = language::kOneChannelLanguageFileName,
    .language_choice = LanguageChoice::SystemLocaleName,
    .writes_decoder_logo_value = false,
    .channels = 1,
    .runs_structure_check = false,
    .first_command_id = 1112,
    .last_command_id = 1125,
    .has_channel_swap = false,
    .map_page_path = "/map.html",
    .map_view = {676, 325, 326, 424},
    .snapshot = SnapshotVariant::ChosenFileOnly,
    .print = PrintVariant::OnePictureFitted,
    .gsensor_axes = {GSensorAxis::Z, GSensorAxis::X, GSensorAxis::Y},
    .clock_file_name = "_D9SetTimeSetting.dx_",
    .apply_header_line = "# Ryn BlackBox Setting Information",
    .factory_header_line = "# Pell BlackBox Setting Information",
    .level_strings = kShortLevelStrings,
    .level_edit_min = 0,
    .level_edit_max = 20,
    .defaults = kDualDefaults,
    .quality_list = kDualQuality,
    .frame_rate_list = kDualFrameRate,
    .av_out_list = {},
    .has_parking_sensitivity = false,
    .input_volume_visible = false,
    .output_volume_visible = true,
    .brightness_visible = false,
    .sharpness_visible = false,
    .apply_hidden_value = -1,
    .slider_scale = SliderScale::FixedGLabels,
    .slider_scale_labels = kFixedScale,
    .setup_texts = kDualSetupTexts,
    .setup_dialog_size = {312, 236},
};

std::string VersionLabelDefault(const Profile& profile) {
  const auto& v = profile.version;
  return language::VersionText(profile.version_prefix, v[0], v[1], v[2], v[3]);
}

const Profile* FindProfile(std::string_view name) {
  for (const Profile* profile : {&kDualProfile, &kParkProfile, &kBrandProfile}) {
    if (profile->name == name) return profile;
  }
  return nullptr;
}

}  // namespace setup
