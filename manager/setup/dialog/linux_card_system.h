#pragma once

#include <filesystem>
#include <string>

#include "manager/setup/dialog/card_system.h"

namespace setup {

// The card system of a Linux desktop: the mount table of /proc, the block devices of sysfs,
// programs started directly (with /usr/sbin and /sbin searched too, where mkfs.fat lives).
// The roots can point elsewhere so that tests can lay out a made-up sysfs.
class LinuxCardSystem final : public CardSystem {
 public:
  LinuxCardSystem(std::filesystem::path mounts_file = "/proc/self/mounts", std::filesystem::path sys_root = "/sys",
                  std::filesystem::path dev_root = "/dev");

  std::vector<MountEntry> MountTable() const override;
  std::optional<BlockDeviceFacts> DeviceFacts(const std::string& device) const override;
  std::optional<std::uint64_t> DeviceCapacity(const std::string& device) const override;
  bool IsRoot() const override;
  ProgramRun Run(const std::vector<std::string>& arguments) override;

 private:
  // The device's folder under sysfs' class/block, resolved; empty when there is none.
  std::filesystem::path SysfsEntry(const std::string& device) const;

  std::filesystem::path mounts_file_;
  std::filesystem::path sys_root_;
  std::filesystem::path dev_root_;
};

// Starts `arguments` (the program looked up as LinuxCardSystem does, and for pkexec the program
// it runs as well) and waits for it to end.
ProgramRun RunProgram(const std::vector<std::string>& arguments);

}  // namespace setup
