#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "manager/setup/card_format.h"
#include "manager/setup/dialog/card_system.h"
#include "manager/setup/dialog/fat_layout.h"

namespace setup {

// Why a folder chosen for formatting is refused. The user sees one text for all of them; the
// reason is for the tests and the log.
enum class CardRefusal {
  None,
  NoMount,           // the folder lies on no mounted file system
  BelowMountPoint,   // a folder inside a file system, not the file system itself
  OtherCard,         // not the card the dialog was opened on
  SystemDrive,       // the root file system
  NotFat,            // the mounted file system is not FAT
  NotBlockDevice,    // a network share, tmpfs, an image file...
  SystemDisk,        // the device or its disk holds a system mount or swap, at any depth of
                     // device-mapper layers, or UDisks2 calls it a system device
  NotRemovableCard,  // not a removable USB device nor an SD card
  MountedElsewhere,  // the device is mounted at another place too
  NotMediaFolder,    // not mounted below a removable-media folder (/media, /run/media)
  InFstab,           // the system mounts it by itself
};

std::string_view CardRefusalName(CardRefusal refusal);

// What formatting the chosen folder would do.
struct CardFormatPlan {
  CardRefusal refusal = CardRefusal::None;
  MountEntry mount;                         // the card's mount, exactly at the chosen folder
  BlockDeviceFacts facts;
  std::optional<std::uint64_t> capacity;    // of the device
  const FormatTemplate* format = nullptr;   // the size rule's choice
  FatLayout layout;                         // what the card gets
  bool refused() const { return refusal != CardRefusal::None; }
};

// Checks the folder chosen for formatting against the card the dialog was opened on
// (`card_folder`) and the system's mounts and devices.
CardFormatPlan PlanCardFormat(const CardSystem& system, std::string_view chosen_folder, std::string_view card_folder);

// The programs run as root, by absolute path: a program of the same name early in the user's
// PATH must never be what pkexec runs.
inline constexpr std::string_view kPkexecProgram = "/usr/bin/pkexec";
inline constexpr std::string_view kUmountProgram = "/usr/bin/umount";
inline constexpr std::string_view kMountProgram = "/usr/bin/mount";
inline constexpr std::string_view kMkfsFatProgram = "/usr/sbin/mkfs.fat";

// The programs that format a planned card, arguments as lists; nothing goes through a shell.
std::vector<std::string> UnmountCommand(const CardFormatPlan& plan);
std::vector<std::string> MakeFileSystemCommand(const CardFormatPlan& plan);
std::vector<std::string> MountCommand(const CardFormatPlan& plan);
// Through pkexec when the process is not root.
std::vector<std::string> AsRoot(std::vector<std::string> command, bool is_root);

struct CardFormatOutcome {
  FormatResult result;      // of mkfs.fat: NotStarted when it never ran
  bool remounted = false;
  std::string failed_program;  // the first program that did not work
  ProgramRun failed_run;       // how it ended
};

// Unmounts the card, makes the file system and mounts the card again where it was (also after
// a failed mkfs.fat, so the card is not left unmounted). Nothing is formatted when the unmount
// fails. `plan` must not be refused.
CardFormatOutcome ExecuteCardFormat(CardSystem& system, const CardFormatPlan& plan);

}  // namespace setup
