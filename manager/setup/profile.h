#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "manager/setup/device_settings.h"
#include "manager/setup/list_entry.h"

namespace setup {

enum class ProfileId { Dual, Park, Brand };

// How the language section is chosen at start.
enum class LanguageChoice {
  UserDefaultLanguageId,  // primary language of the user's default language id
  SystemLocaleName,       // English name of the system locale; code page 950/936 parts the Chinese
};

enum class GSensorAxis { X, Y, Z };

enum class SnapshotVariant {
  BothChannels,  // channel 1 to the chosen file, channel 2 to that name plus ".drr.jpg"
  ChosenFileOnly,
};

enum class PrintVariant {
  TwoPicturesUnscaled,  // each picture unscaled in a 640 x 480 slot
  OnePictureFitted,     // own size in landscape, fitted in 16:9 or 4:3 steps in portrait, half-tone
};

enum class SliderScale {
  FixedGLabels,  // "0G" .. "1G" under each slider
  HighLowEnds,   // language texts at the two ends
};

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct DialogSize {
  int width = 0;
  int height = 0;
};

// Everything in which the three manager builds differ. Code that behaves by profile reads it
// from here and nowhere else.
struct Profile {
  ProfileId id;
  std::string_view name;  // "dual", "park", "brand"

  // Main window and start-up.
  std::string_view window_title;
  std::string_view version_prefix;  // default of MANAGER_VERSION, "%s %d.%d.%d.%d"
  std::array<int, 4> version;
  std::string_view language_file_name;  // next to the program
  LanguageChoice language_choice;
  bool writes_decoder_logo_value;  // the H.264 decoder's logo switch

  // Playback.
  int channels;
  bool runs_structure_check;  // on channel 1 before channel 2 is opened
  int first_command_id;
  int last_command_id;
  bool has_channel_swap;  // command 1128
  std::string_view map_page_path;
  PixelRect map_view;
  SnapshotVariant snapshot;
  PrintVariant print;
  std::array<GSensorAxis, 3> gsensor_axes;  // stored values 1, 2, 3 are shown as these axes

  // Setup.ini and the clock file.
  std::string_view clock_file_name;
  std::string_view apply_header_line;
  std::string_view factory_header_line;
  std::span<const std::string_view> level_strings;
  int level_edit_min;
  int level_edit_max;
  DeviceSettings defaults;  // DST is taken from the dialog's check box instead

  // Setup dialog.
  std::span<const ListEntry> quality_list;
  std::span<const ListEntry> frame_rate_list;
  std::span<const ListEntry> av_out_list;  // empty: no AV-out list and no TVOut key
  bool has_parking_sensitivity;            // ParkTriggerLevel sliders and keys
  bool input_volume_visible;
  bool output_volume_visible;
  bool brightness_visible;
  bool sharpness_visible;
  // Apply writes this for InputVolume, OutputVolume, Brightness and Sharpness when their lists
  // are not shown at all; negative: the lists' selections are written.
  int apply_hidden_value;
  SliderScale slider_scale;
  std::span<const ListEntry> slider_scale_labels;
  std::span<const ListEntry> setup_texts;  // the setup dialog's language keys and defaults
  DialogSize setup_dialog_size;

  bool has_av_out() const { return !av_out_list.empty(); }
};

extern const Profile kDualProfile;
extern const Profile kParkProfile;
extern const Profile kBrandProfile;

// The version label's built-in text (key MANAGER_VERSION), "%s %d.%d.%d.%d": "Ver. 2.2.5.5".
std::string VersionLabelDefault(const Profile& profile);

// "dual", "park" or "brand"; nullptr for any other name.
const Profile* FindProfile(std::string_view name);

}  // namespace setup
