#pragma once

#include <filesystem>
#include <string>

#include "manager/setup/dialog/card_system.h"

namespace setup {

// The card system of a Linux desktop: the mount table of /proc, /etc/fstab, /proc/swaps, the
// block devices of sysfs, UDisks2 over the system D-Bus, programs started directly. The files
// and roots can point elsewhere so that tests can lay out a made-up system.
class LinuxCardSystem final : public CardSystem {
 public:
  LinuxCardSystem(std::filesystem::path mounts_file = "/proc/self/mounts", std::filesystem::path sys_root = "/sys",
                  std::filesystem::path dev_root = "/dev", std::filesystem::path fstab_file = "/etc/fstab",
                  std::filesystem::path swaps_file = "/proc/swaps", bool ask_udisks = true);

  std::vector<MountEntry> MountTable() const override;
  std::optional<BlockDeviceFacts> DeviceFacts(const std::string& device) const override;
  std::optional<std::uint64_t> DeviceCapacity(const std::string& device) const override;
  bool IsRoot() const override;
  ProgramRun Run(const std::vector<std::string>& arguments) override;
  std::vector<MountEntry> StaticMounts() const override;
  std::vector<std::string> SwapDevices() const override;
  std::vector<std::string> Slaves(const std::string& device) const override;
  std::optional<bool> HintSystem(const std::string& device) const override;

 private:
  // The device's folder under sysfs' class/block, resolved; empty when there is none.
  std::filesystem::path SysfsEntry(const std::string& device) const;

  std::filesystem::path mounts_file_;
  std::filesystem::path sys_root_;
  std::filesystem::path dev_root_;
  std::filesystem::path fstab_file_;
  std::filesystem::path swaps_file_;
  bool ask_udisks_;
};

// Starts `arguments` and waits for it to end. A program named without a folder is looked up in
// PATH and then in the system's sbin and bin folders; the programs run as root are always given
// by absolute path.
ProgramRun RunProgram(const std::vector<std::string>& arguments);

}  // namespace setup
