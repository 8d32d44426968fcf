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
  MountEntry mount;  // the card's mount, exactly at the chosen folder
  BlockDeviceFacts facts;
  std::optional<std::uint64_t> capacity;   // of the device
  const FormatTemplate* format = nullptr;  // the size rule's choice
  FatLayout layout;                        // what the card gets
  bool refused() const { return refusal != CardRefusal::None; }
};

// Checks the folder chosen for formatting against the card the dialog was opened on
// (`card_folder`) and the system's mounts and devices.
CardFormatPlan PlanCardFormat(const CardSystem& system, std::string_view chosen_folder, std::string_view card_folder);

// pkexec by absolute path; the programs it runs are absolute too (FormatPrograms): a program of
// the same name early in the user's PATH must never be what runs as root.
inline constexpr std::string_view kPkexecProgram = "/usr/bin/pkexec";

// mkfs.fat's arguments for a planned card, without the program and the device.
std::vector<std::string> MakeFileSystemArguments(const CardFormatPlan& plan);

// The one privileged step: a fixed shell script (the card's values reach it as arguments, never
// as script text) that checks the device is still the one planned, unmounts it, checks again,
// runs mkfs.fat and mounts the card where it was. One command, so one password prompt.
std::vector<std::string> FormatCommand(const CardFormatPlan& plan, const FormatPrograms& programs);

// How the step ends, as its exit code.
enum FormatStepExit {
  kFormatStepDone = 0,
  kFormatStepUnmountFailed = 91,
  kFormatStepOtherDevice = 92,  // not the device planned: nothing formatted, mounted again
  kFormatStepNoMkfs = 93,       // mkfs.fat cannot be run
  kFormatStepNotMounted = 94,   // formatted, but not mounted again
  kFormatStepMkfsFailed = 100,  // + mkfs.fat's exit code (at most 20); mounted again
  kFormatStepBothFailed = 130,  // + mkfs.fat's exit code; not mounted again either
};

// Through pkexec when the process is not root.
std::vector<std::string> AsRoot(std::vector<std::string> command, bool is_root);

struct CardFormatOutcome {
  FormatResult result;  // of mkfs.fat: NotStarted when it never ran
  bool remounted = false;
  std::string failed_program;  // the first program that did not work
  ProgramRun failed_run;       // how it ended
};

// Runs the privileged step: unmounts the card, makes the file system and mounts the card again
// where it was (also after a failed mkfs.fat, so the card is not left unmounted). Nothing is
// formatted when the unmount fails or the device is no longer the one planned. `plan` must not
// be refused.
CardFormatOutcome ExecuteCardFormat(CardSystem& system, const CardFormatPlan& plan);

}  // namespace setup
