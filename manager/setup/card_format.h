#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "manager/setup/list_entry.h"

namespace setup {

// One of the two ways the card is formatted, as the command line of the system's `format`
// program ("0:" stands for the drive), with the file system and cluster size it asks for.
struct FormatTemplate {
  std::string_view command;
  int fat_bits;
  int cluster_bytes;
};

inline constexpr FormatTemplate kFat32Template{"format 0: /FS:FAT32 /A:32K /V: /Y", 32, 32 * 1024};
inline constexpr FormatTemplate kFat16Template{"format 0: /FS:FAT16 /A:16K /V: /Y", 16, 16 * 1024};

// Cards up to and including 2 GiB get FAT16.
inline constexpr std::uint64_t kFat16SizeLimit = 2'147'483'648ULL;

// FAT16 for a capacity at most the limit; FAT32 above it and when the capacity is unknown.
const FormatTemplate& ChooseFormatTemplate(std::optional<std::uint64_t> capacity);

// The parameters handed to the formatting program: the template after the word "format", with
// the drive (a mount point) in place of "0:" ("/media/card /FS:FAT32 /A:32K /V: /Y").
std::string FormatParametersForDrive(const FormatTemplate& format, std::string_view drive);

// Why a folder chosen for formatting is refused. Every refusal shows the same text.
enum class FormatRefusal {
  None,
  BelowDriveRoot,  // a folder inside a drive, not the drive itself
  OtherDrive,      // not the drive of the card the dialog was opened on
  SystemDrive,     // drive C, the system's root file system, or no drive at all
};

// The refusal text, ERROR_NOT_SELECT.
std::string FormatRefusalText(const TextLookup& lookup = {});

// Mounted file systems: the mount point plays the drive root and the root file system plays
// drive C. An empty mount point means the folder lies on no known drive.
struct MountedFolder {
  std::string folder;
  std::string mount_point;
};
FormatRefusal CheckMountTarget(const MountedFolder& chosen, std::string_view card_mount_point);

// What the format command would do for a chosen folder on a mounted file system.
struct FormatPlan {
  FormatRefusal refusal = FormatRefusal::None;
  const FormatTemplate* format = nullptr;  // set when not refused
  std::string parameters;                  // set when not refused
};
FormatPlan PlanMountFormat(const MountedFolder& chosen, std::string_view card_mount_point,
                           std::optional<std::uint64_t> capacity);

// What came of running the formatting program. A program that could not be started formatted
// nothing and is a failure, whatever exit code was preset.
struct FormatResult {
  enum class Status { Formatted, ProgramFailed, ProgramNotStarted };
  Status status = Status::ProgramNotStarted;
  int exit_code = -1;  // the program's exit code when it ran

  static FormatResult FromExitCode(int code);
  static FormatResult NotStarted();
  bool Succeeded() const { return status == Status::Formatted; }
};

}  // namespace setup
