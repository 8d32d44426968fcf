#include "manager/setup/card_format.h"

#include <filesystem>

#include "manager/setup/setup_texts.h"

namespace setup {
namespace {

constexpr std::string_view kProgramWord = "format ";
constexpr std::string_view kDrivePlaceholder = "0:";
// Mount points and folders compare without a trailing separator and without "." or "..".
std::string Normalized(std::string_view path) {
  std::string text = std::filesystem::path(path).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

const FormatTemplate& ChooseFormatTemplate(std::optional<std::uint64_t> capacity) {
  return capacity && *capacity <= kFat16SizeLimit ? kFat16Template : kFat32Template;
}

std::string FormatParametersForDrive(const FormatTemplate& format, std::string_view drive) {
  std::string_view parameters = format.command;
  if (parameters.starts_with(kProgramWord)) parameters.remove_prefix(kProgramWord.size());
  std::string result(parameters);
  if (const auto at = result.find(kDrivePlaceholder); at != std::string::npos) {
    result.replace(at, kDrivePlaceholder.size(), drive);
  }
  return result;
}

std::string FormatRefusalText(const TextLookup& lookup) { return EntryText(texts::kErrorNotSelect, lookup); }

FormatRefusal CheckMountTarget(const MountedFolder& chosen, std::string_view card_mount_point) {
  if (chosen.mount_point.empty()) return FormatRefusal::SystemDrive;
  const std::string mount = Normalized(chosen.mount_point);
  if (Normalized(chosen.folder) != mount) return FormatRefusal::BelowDriveRoot;
  if (card_mount_point.empty() || Normalized(card_mount_point) != mount) return FormatRefusal::OtherDrive;
  if (mount == "/") return FormatRefusal::SystemDrive;
  return FormatRefusal::None;
}

FormatPlan PlanMountFormat(const MountedFolder& chosen, std::string_view card_mount_point,
                           std::optional<std::uint64_t> capacity) {
  FormatPlan plan;
  plan.refusal = CheckMountTarget(chosen, card_mount_point);
  if (plan.refusal != FormatRefusal::None) return plan;
  plan.format = &ChooseFormatTemplate(capacity);
  plan.parameters = FormatParametersForDrive(*plan.format, Normalized(chosen.mount_point));
  return plan;
}

FormatResult FormatResult::FromExitCode(int code) {
  return {.status = code == 0 ? Status::Formatted : Status::ProgramFailed, .exit_code = code};
}

FormatResult FormatResult::NotStarted() { return {.status = Status::ProgramNotStarted, .exit_code = -1}; }

}  // namespace setup
