// blackbox setup show|factory|apply: the camera's Setup.ini as the setup dialog sees it.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "manager/setup/level_strings.h"
#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/settings_path.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/setup/setup_keys.h"
#include "manager/setup/setup_lists.h"

namespace cli {
namespace {

constexpr std::string_view kUsage =
    "usage: blackbox setup show|factory|apply CARD [--profile dual|park|brand] [--json] [Key=Value ...]";

std::optional<int> WholeInteger(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int ValueOf(const setup::SetupKey& key, const setup::SetupControls& controls) {
  switch (key.kind) {
    case setup::SetupKey::Kind::List: return controls.SelectedIndex(key.list);
    case setup::SetupKey::Kind::Dst: return controls.DstChecked() ? 1 : 0;
    case setup::SetupKey::Kind::Slider: return controls.SliderPosition(key.slider);
  }
  return 0;
}

// What the dialog would show for the value, for the plain-text listing.
std::string Shown(const setup::Profile& profile, const setup::SetupKey& key, int value) {
  if (key.kind == setup::SetupKey::Kind::Slider) return std::string(setup::LevelString(profile, value)) + " G";
  if (key.kind != setup::SetupKey::Kind::List) return {};
  if (value < 0) return "none";
  const std::vector<std::string> texts = setup::ListTexts(profile, key.list);
  if (static_cast<std::size_t>(value) >= texts.size()) return {};
  // Number lists show the index itself; repeating it adds nothing.
  const std::string& text = texts[static_cast<std::size_t>(value)];
  return text == std::to_string(value) ? std::string() : text;
}

void Print(const setup::Profile& profile, const setup::SetupControls& controls, bool json) {
  const std::vector<setup::SetupKey> keys = setup::ProfileSetupKeys(profile);
  if (json) {
    nlohmann::ordered_json values;
    for (const setup::SetupKey& key : keys) values[std::string(key.name)] = ValueOf(key, controls);
    std::cout << values.dump(2) << '\n';
    return;
  }
  for (const setup::SetupKey& key : keys) {
    const int value = ValueOf(key, controls);
    const std::string shown = Shown(profile, key, value);
    std::cout << key.name << " = " << value;
    if (!shown.empty()) std::cout << " (" << shown << ')';
    std::cout << '\n';
  }
}

// Sets one Key=Value as the dialog's controls would take it. Returns an error text.
std::string SetValue(const setup::Profile& profile, const std::vector<setup::SetupKey>& keys,
                     std::string_view assignment, setup::MemorySetupControls& controls) {
  const auto eq = assignment.find('=');
  if (eq == std::string_view::npos) return "expected Key=Value, got '" + std::string(assignment) + "'";
  const std::string_view name = assignment.substr(0, eq);
  const setup::SetupKey* key = setup::FindSetupKey(keys, name);
  if (key == nullptr) {
    return "unknown key '" + std::string(name) + "' for the " + std::string(profile.name) + " profile";
  }
  const std::optional<int> value = WholeInteger(assignment.substr(eq + 1));
  const auto out_of_range = [&](int min, int max) {
    return std::string(name) + " takes a whole number from " + std::to_string(min) + " to " + std::to_string(max);
  };
  switch (key->kind) {
    case setup::SetupKey::Kind::List: {
      const int last = controls.EntryCount(key->list) - 1;
      if (!value || *value < 0 || *value > last) return out_of_range(0, last);
      controls.SelectIndex(key->list, *value);
      break;
    }
    case setup::SetupKey::Kind::Dst:
      if (!value || *value < 0 || *value > 1) return out_of_range(0, 1);
      controls.SetDstChecked(*value == 1);
      break;
    case setup::SetupKey::Kind::Slider:
      // As the level edit: its own range, and the slider clamps what lies beyond 20.
      if (!value || *value < profile.level_edit_min || *value > profile.level_edit_max) {
        return out_of_range(profile.level_edit_min, profile.level_edit_max);
      }
      controls.SetSliderPosition(key->slider, *value);
      break;
  }
  return {};
}

}  // namespace

int RunSetup(std::span<const std::string> args) {
  if (args.empty()) return Fail(kExitBadArguments, kUsage);
  const std::string& action = args[0];
  if (action != "show" && action != "factory" && action != "apply") {
    return Fail(kExitBadArguments, "unknown setup action '" + action + "' (show, factory or apply)");
  }
  std::string error;
  const auto parsed = ParseArguments(args.subspan(1), {"json"}, {"profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  const std::vector<std::string>& positional = parsed->positional;
  if (positional.empty() || (action != "apply" && positional.size() != 1)) return Fail(kExitBadArguments, kUsage);
  const std::string profile_name = parsed->Option("profile", "dual");
  const setup::Profile* profile = setup::FindProfile(profile_name);
  if (profile == nullptr) {
    return Fail(kExitBadArguments, "unknown profile '" + profile_name + "' (dual, park or brand)");
  }

  const std::string& card = positional[0];
  std::error_code ignored;
  if (!std::filesystem::is_directory(card, ignored)) return Fail(kExitUnreadable, card + ": no such folder");
  const std::string settings_path = setup::SettingsFilePath(card);
  const bool json = parsed->Has("json");

  // As the dialog opens: the file's values over the defaults.
  setup::MemorySetupControls controls(*profile);
  if (setup::ReadSetupFile(*profile, settings_path, controls) == setup::SetupReadResult::Unreadable) {
    return Fail(kExitUnreadable, settings_path + ": cannot be read");
  }

  if (action == "factory") {
    if (const auto written = setup::RunFactorySetting(*profile, settings_path, controls);
        written != common::CardWrite::kWritten) {
      return Fail(kExitUnreadable, common::CardWriteMessage(written, settings_path));
    }
  } else if (action == "apply") {
    const std::vector<setup::SetupKey> keys = setup::ProfileSetupKeys(*profile);
    for (std::size_t i = 1; i < positional.size(); ++i) {
      if (std::string problem = SetValue(*profile, keys, positional[i], controls); !problem.empty()) {
        return Fail(kExitBadArguments, problem);
      }
    }
    if (const auto written = setup::WriteApplyFile(*profile, settings_path, controls);
        written != common::CardWrite::kWritten) {
      return Fail(kExitUnreadable, common::CardWriteMessage(written, settings_path));
    }
    if (setup::ReadSetupFile(*profile, settings_path, controls) != setup::SetupReadResult::Read) {
      return Fail(kExitUnreadable, settings_path + ": cannot be read back");
    }
  }
  Print(*profile, controls, json);
  return kExitOk;
}

}  // namespace cli
