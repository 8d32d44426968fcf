// blackbox format-plan: what formatting the card would do, without formatting anything.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "manager/setup/card_format.h"
#include "manager/setup/mount_point.h"

namespace cli {
namespace {

constexpr std::string_view kUsage = "usage: blackbox format-plan CARD --capacity BYTES [--opened-on FOLDER]";

std::string MountPointOf(const std::filesystem::path& folder) {
  const auto mount = setup::FindMountPoint(folder);
  return mount ? mount->string() : std::string();
}

}  // namespace

int RunFormatPlan(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"capacity", "opened-on"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("capacity")) {
    return Fail(kExitBadArguments, kUsage);
  }
  const std::string capacity_text = parsed->Option("capacity", "");
  std::uint64_t capacity = 0;
  const auto [end, parse_error] =
      std::from_chars(capacity_text.data(), capacity_text.data() + capacity_text.size(), capacity);
  if (parse_error != std::errc() || end != capacity_text.data() + capacity_text.size()) {
    return Fail(kExitBadArguments, "--capacity takes a number of bytes, got '" + capacity_text + "'");
  }

  // CARD is the folder chosen for formatting; the card the dialog was opened on defaults to it.
  const std::string& chosen = parsed->positional[0];
  const std::string opened_on = parsed->Option("opened-on", chosen);
  std::error_code fs_error;
  for (const std::string& folder : {chosen, opened_on}) {
    if (!std::filesystem::is_directory(folder, fs_error)) return Fail(kExitUnreadable, folder + ": no such folder");
  }
  const std::filesystem::path chosen_folder = std::filesystem::canonical(chosen, fs_error);
  if (fs_error) return Fail(kExitUnreadable, chosen + ": cannot be opened");

  const setup::FormatPlan plan =
      setup::PlanMountFormat({chosen_folder.string(), MountPointOf(chosen_folder)}, MountPointOf(opened_on), capacity);
  std::cout << (plan.refusal == setup::FormatRefusal::None ? plan.parameters : setup::FormatRefusalText()) << '\n';
  return kExitOk;
}

}  // namespace cli
