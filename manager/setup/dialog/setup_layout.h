#pragma once

#include <optional>
#include <vector>

#include "manager/setup/dialog/dialog_units.h"
#include "manager/setup/list_entry.h"
#include "manager/setup/setup_controls.h"

namespace setup {

struct Profile;

enum class ControlKind { Group, Label, DropList, Slider, NumberEdit, CheckBox, Button };
enum class TextAlign { Left, Center, Right };

// One control of the setup dialog: where it stands in dialog units, its text and what it shows.
struct ControlSpec {
  int id = 0;  // 0 for the scale labels, which have none
  ControlKind kind = ControlKind::Label;
  DialogRect rect;
  ListEntry text{};  // groups, labels, the check box and buttons
  bool visible = true;
  std::optional<SetupList> list;      // drop lists
  std::optional<LevelSlider> slider;  // sliders and their number edits
  TextAlign align = TextAlign::Left;  // labels
};

// Command ids of the dialog's buttons.
namespace setup_ids {
inline constexpr int kApply = 1;
inline constexpr int kCancel = 2;
inline constexpr int kFactorySetting = 1046;
inline constexpr int kTimeSetting = 1087;
inline constexpr int kSdFormat = 1094;
inline constexpr int kDst = 1091;
}  // namespace setup_ids

// Every control of the profile's dialog, in creation (and tab) order.
std::vector<ControlSpec> SetupDialogLayout(const Profile& profile);

}  // namespace setup
