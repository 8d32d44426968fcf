#include "manager/setup/dialog/card_formatter.h"

#include <array>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "manager/setup/dialog/mount_table.h"

namespace setup {
namespace {

// Mount points whose devices hold the system, even when they are not "/".
constexpr std::array<std::string_view, 7> kSystemMountPoints = {"/",     "/boot", "/boot/efi", "/boot/firmware",
                                                                "/home", "/usr",  "/var"};

// Device-mapper stacks are a few layers deep; this only stops a made-up loop.
constexpr int kMostLayers = 32;

bool IsFat(std::string_view type) { return type == "vfat" || type == "msdos" || type == "fat"; }

bool IsRemovableCard(const BlockDeviceFacts& facts) {
  // SD cards come out of their slot whatever the kernel's flag says; a USB disk must be marked
  // removable, or it may be the external drive the system runs from.
  return facts.bus == BlockDeviceFacts::Bus::SdCard || (facts.bus == BlockDeviceFacts::Bus::Usb && facts.removable);
}

// The folder as the file system names it, symbolic links resolved where they exist.
std::string ResolvedFolder(std::string_view folder) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::path(folder), error);
  return NormalizedPath(error ? std::string(folder) : resolved.string());
}

CardRefusal FromLandedRefusal(FormatRefusal refusal) {
  switch (refusal) {
    case FormatRefusal::None: return CardRefusal::None;
    case FormatRefusal::BelowDriveRoot: return CardRefusal::BelowMountPoint;
    case FormatRefusal::OtherDrive: return CardRefusal::OtherCard;
    case FormatRefusal::SystemDrive: return CardRefusal::SystemDrive;
  }
  return CardRefusal::SystemDrive;
}

// Every device `device` is built on, itself and its whole disk included, down through all the
// layers of device-mapper (a root file system on LVM inside LUKS on a partition of the card's
// disk lies on that disk).
std::set<std::string> DevicesBelow(const CardSystem& system, const std::string& device) {
  std::set<std::string> found;
  std::vector<std::pair<std::string, int>> pending = {{device, 0}};
  while (!pending.empty()) {
    auto [next, depth] = pending.back();
    pending.pop_back();
    if (depth > kMostLayers || !found.insert(next).second) continue;
    if (const auto facts = system.DeviceFacts(next); facts && !facts->disk.empty()) found.insert(facts->disk);
    for (std::string& slave : system.Slaves(next)) pending.emplace_back(std::move(slave), depth + 1);
  }
  return found;
}

bool OnTheCard(const CardSystem& system, const std::string& device, const MountEntry& card,
               const BlockDeviceFacts& facts) {
  const std::set<std::string> below = DevicesBelow(system, device);
  return below.contains(card.device) || (!facts.disk.empty() && below.contains(facts.disk));
}

bool HoldsTheSystem(const CardSystem& system, const std::vector<MountEntry>& table, const MountEntry& card,
                    const BlockDeviceFacts& facts) {
  for (std::string_view mount_point : kSystemMountPoints) {
    for (const MountEntry* entry : EntriesAt(table, mount_point)) {
      if (OnTheCard(system, entry->device, card, facts)) return true;
    }
  }
  for (const std::string& swap : system.SwapDevices()) {
    if (OnTheCard(system, swap, card, facts)) return true;
  }
  return false;
}

// The device an fstab line names: a path, or UUID=, LABEL=, PARTUUID= or PARTLABEL= through the
// links udev keeps for them.
std::string FstabDevice(const std::string& spec) {
  static constexpr std::pair<std::string_view, std::string_view> kTags[] = {{"UUID=", "/dev/disk/by-uuid/"},
                                                                            {"LABEL=", "/dev/disk/by-label/"},
                                                                            {"PARTUUID=", "/dev/disk/by-partuuid/"},
                                                                            {"PARTLABEL=", "/dev/disk/by-partlabel/"}};
  for (const auto& [tag, folder] : kTags) {
    if (spec.starts_with(tag)) return std::string(folder) + spec.substr(tag.size());
  }
  return spec;
}

std::string RealDevice(const std::string& device) {
  std::error_code error;
  const std::filesystem::path real = std::filesystem::weakly_canonical(device, error);
  return error ? device : real.string();
}

bool InFstab(const CardSystem& system, const MountEntry& card) {
  const std::string device = RealDevice(card.device);
  const std::string here = NormalizedPath(card.mount_point);
  for (const MountEntry& entry : system.StaticMounts()) {
    if (entry.device.empty() || entry.device.starts_with('#')) continue;
    const std::string named = FstabDevice(entry.device);
    if (named == card.device || RealDevice(named) == device || NormalizedPath(entry.mount_point) == here) return true;
  }
  return false;
}

// Strictly below one of the media folders: /media/user/CARD, never /media itself.
bool BelowMediaFolder(const CardSystem& system, const std::string& mount_point) {
  const std::string here = NormalizedPath(mount_point);
  for (const std::string& folder : system.MediaFolders()) {
    const std::string base = NormalizedPath(folder);
    if (here.size() > base.size() + 1 && here.starts_with(base) && here[base.size()] == '/') return true;
  }
  return false;
}

bool MountedElsewhere(const std::vector<MountEntry>& table, const MountEntry& card) {
  const std::string here = NormalizedPath(card.mount_point);
  for (const MountEntry& entry : table) {
    if (entry.device == card.device && NormalizedPath(entry.mount_point) != here) return true;
  }
  return false;
}

}  // namespace

std::string_view CardRefusalName(CardRefusal refusal) {
  switch (refusal) {
    case CardRefusal::None: return "none";
    case CardRefusal::NoMount: return "no mount";
    case CardRefusal::BelowMountPoint: return "below the mount point";
    case CardRefusal::OtherCard: return "another card";
    case CardRefusal::SystemDrive: return "the root file system";
    case CardRefusal::NotFat: return "not FAT";
    case CardRefusal::NotBlockDevice: return "not a block device";
    case CardRefusal::SystemDisk: return "a system disk";
    case CardRefusal::NotRemovableCard: return "not a removable card";
    case CardRefusal::MountedElsewhere: return "mounted elsewhere too";
    case CardRefusal::NotMediaFolder: return "not mounted below a removable-media folder";
    case CardRefusal::InFstab: return "listed in /etc/fstab";
  }
  return "unknown";
}

CardFormatPlan PlanCardFormat(const CardSystem& system, std::string_view chosen_folder, std::string_view card_folder) {
  CardFormatPlan plan;
  const std::vector<MountEntry> table = system.MountTable();
  const std::string chosen = ResolvedFolder(chosen_folder);
  const MountEntry* mount = chosen_folder.empty() ? nullptr : FindMountHolding(table, chosen);
  if (mount == nullptr) {
    plan.refusal = CardRefusal::NoMount;
    return plan;
  }
  plan.mount = *mount;
  const MountEntry* card_mount = card_folder.empty() ? nullptr : FindMountHolding(table, ResolvedFolder(card_folder));
  plan.capacity = system.DeviceCapacity(mount->device);

  const FormatPlan landed =
      PlanMountFormat({chosen, NormalizedPath(mount->mount_point)},
                      card_mount ? NormalizedPath(card_mount->mount_point) : std::string(), plan.capacity);
  plan.refusal = FromLandedRefusal(landed.refusal);
  if (plan.refused()) return plan;
  plan.format = landed.format;

  if (!IsFat(mount->type)) {
    plan.refusal = CardRefusal::NotFat;
    return plan;
  }
  const auto facts = system.DeviceFacts(mount->device);
  if (!facts) {
    plan.refusal = CardRefusal::NotBlockDevice;
    return plan;
  }
  plan.facts = *facts;
  // UDisks2 knows the desktop's own rules for system devices; without it, the kernel's
  // removable flag and the bus have to do.
  const std::optional<bool> hint_system = system.HintSystem(mount->device);
  if (!BelowMediaFolder(system, mount->mount_point)) {
    plan.refusal = CardRefusal::NotMediaFolder;
  } else if (InFstab(system, *mount)) {
    plan.refusal = CardRefusal::InFstab;
  } else if (HoldsTheSystem(system, table, *mount, *facts) || hint_system.value_or(false)) {
    plan.refusal = CardRefusal::SystemDisk;
  } else if (!hint_system && !IsRemovableCard(*facts)) {
    plan.refusal = CardRefusal::NotRemovableCard;
  } else if (MountedElsewhere(table, *mount)) {
    plan.refusal = CardRefusal::MountedElsewhere;
  }
  if (plan.refused()) return plan;

  plan.layout = ChooseFatLayout(*plan.format, plan.capacity.value_or(0), facts->logical_sector_bytes);
  return plan;
}

namespace {

// Runs as root. Every value comes in as an argument; nothing of the card becomes script text.
// The device must still be the block device planned (major:minor, size, serial) before the
// unmount and again right before mkfs.fat; the card is mounted again whatever mkfs.fat did.
constexpr char kFormatScript[] = R"script(set -u
umount=$1 mount=$2 mkfs=$3 stat=$4 sysblock=$5 dev=$6 id=$7 sectors=$8 serial_file=$9 serial=${10}
mnt=${11} type=${12} opts=${13}
shift 13
same() {
  node=$("$stat" -L -c '%t:%T' -- "$dev") || return 1
  [ "$(printf '%d:%d' "0x${node%%:*}" "0x${node#*:}")" = "$id" ] || return 1
  read -r got < "$sysblock/$id/size" || return 1
  [ "$got" = "$sectors" ] || return 1
  [ -z "$serial_file" ] && return 0
  read -r got < "$serial_file" || return 1
  [ "$got" = "$serial" ]
}
remount() {
  if [ -n "$opts" ]; then "$mount" --mkdir -t "$type" -o "$opts" -- "$dev" "$mnt"
  else "$mount" --mkdir -t "$type" -- "$dev" "$mnt"; fi
}
other='the card is no longer the device that was checked; nothing was formatted'
same || { echo "$other" >&2; exit 92; }
"$umount" -- "$mnt" || exit 91
if ! same; then echo "$other" >&2; remount; exit 92; fi
if [ ! -x "$mkfs" ]; then echo "$mkfs cannot be run" >&2; remount; exit 93; fi
"$mkfs" "$@" "$dev"
made=$?
[ "$made" -gt 20 ] && made=20
remount
mounted=$?
if [ "$made" -ne 0 ]; then
  [ "$mounted" -eq 0 ] && exit $((100 + made))
  exit $((130 + made))
fi
[ "$mounted" -eq 0 ] || exit 94
exit 0
)script";

}  // namespace

std::vector<std::string> MakeFileSystemArguments(const CardFormatPlan& plan) {
  const int sector = plan.facts.logical_sector_bytes;
  std::vector<std::string> arguments = {"-F", std::to_string(plan.layout.fat_bits),
                                        "-S", std::to_string(sector),
                                        "-s", std::to_string(plan.layout.sectors_per_cluster(sector))};
  // A card without a partition table is formatted whole, as the camera does; mkfs.fat asks for
  // -I before it formats a whole disk, and the checks above stand in for its own.
  if (!plan.facts.partition) arguments.push_back("-I");
  return arguments;
}

std::vector<std::string> FormatCommand(const CardFormatPlan& plan, const FormatPrograms& programs) {
  std::vector<std::string> command = {programs.shell,         "-c",
                                      kFormatScript,          "blackbox-format",
                                      programs.umount,        programs.mount,
                                      programs.mkfs_fat,      programs.stat,
                                      programs.sys_dev_block, plan.mount.device,
                                      plan.facts.major_minor, std::to_string(plan.facts.sectors),
                                      plan.facts.serial_file, plan.facts.serial,
                                      plan.mount.mount_point, plan.mount.type,
                                      plan.mount.options};
  for (std::string& argument : MakeFileSystemArguments(plan)) command.push_back(std::move(argument));
  return command;
}

std::vector<std::string> AsRoot(std::vector<std::string> command, bool is_root) {
  if (!is_root) command.insert(command.begin(), std::string(kPkexecProgram));
  return command;
}

CardFormatOutcome ExecuteCardFormat(CardSystem& system, const CardFormatPlan& plan) {
  CardFormatOutcome outcome;
  const FormatPrograms programs = system.Programs();
  const std::vector<std::string> command = AsRoot(FormatCommand(plan, programs), system.IsRoot());
  const ProgramRun run = system.Run(command);
  const auto failed = [&](const std::string& program) {
    outcome.failed_program = std::filesystem::path(program).filename().string();
    outcome.failed_run = run;
  };
  if (!run.started) {
    failed(command.front());
    return outcome;
  }
  const int code = run.exit_code;
  outcome.remounted = code == kFormatStepDone || (code >= kFormatStepMkfsFailed && code < kFormatStepBothFailed) ||
                      code == kFormatStepUnmountFailed || code == kFormatStepOtherDevice || code == kFormatStepNoMkfs;
  if (code == kFormatStepDone || code == kFormatStepNotMounted) {
    outcome.result = FormatResult::FromExitCode(0);
    if (code == kFormatStepNotMounted) failed(programs.mount);
  } else if (code == kFormatStepUnmountFailed) {
    failed(programs.umount);
  } else if (code == kFormatStepOtherDevice) {
    failed(programs.mkfs_fat);
  } else if (code == kFormatStepNoMkfs) {
    failed(programs.mkfs_fat);
    outcome.failed_run.started = false;
  } else if (code > kFormatStepMkfsFailed && code <= kFormatStepBothFailed + 20) {
    const int mkfs_code = code - (code >= kFormatStepBothFailed ? kFormatStepBothFailed : kFormatStepMkfsFailed);
    outcome.result = FormatResult::FromExitCode(mkfs_code);
    failed(programs.mkfs_fat);
    outcome.failed_run.exit_code = mkfs_code;
  } else {
    // pkexec refused (126: not authorised, 127: dismissed) or the shell could not run.
    failed(command.front());
  }
  return outcome;
}

}  // namespace setup
