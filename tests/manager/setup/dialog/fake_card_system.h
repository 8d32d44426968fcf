#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "manager/setup/dialog/card_system.h"
#include "manager/setup/dialog/linux_card_system.h"
#include "manager/setup/dialog/mount_table.h"

namespace setup::testing {

// A system made up by the test: its mount table, fstab and swaps are text, its devices and
// their device-mapper layers and UDisks2's answers are whatever the test says (disk image files
// stand in for cards), mkfs.fat really runs on the image, and umount and mount only leave a
// record.
class FakeCardSystem final : public CardSystem {
 public:
  std::string mounts;
  std::map<std::string, BlockDeviceFacts> facts;
  bool root = true;
  std::map<std::string, ProgramRun> canned;  // program name -> how it ends, instead of running it
  std::vector<std::vector<std::string>> runs;
  std::string fstab;
  std::vector<std::string> swaps;
  std::map<std::string, std::vector<std::string>> slaves;
  std::map<std::string, bool> hint_system;  // UDisks2's answers; none at all: UDisks2 is not running
  std::vector<std::string> media_folders = {"/media", "/run/media"};

  std::vector<MountEntry> MountTable() const override { return ParseMountTable(mounts); }
  std::optional<BlockDeviceFacts> DeviceFacts(const std::string& device) const override {
    const auto found = facts.find(device);
    if (found == facts.end()) return std::nullopt;
    return found->second;
  }
  std::optional<std::uint64_t> DeviceCapacity(const std::string& device) const override {
    std::error_code error;
    const auto size = std::filesystem::file_size(device, error);
    if (error) return std::nullopt;
    return size;
  }
  bool IsRoot() const override { return root; }
  ProgramRun Run(const std::vector<std::string>& arguments) override {
    runs.push_back(arguments);
    const bool pkexec = Name(arguments.front()) == "pkexec";
    const std::string program = Name(pkexec ? arguments.at(1) : arguments.front());
    if (const auto found = canned.find(program); found != canned.end()) return found->second;
    if (program == "mkfs.fat" && !pkexec) return RunProgram(arguments);
    return {.started = true, .exit_code = 0, .errors = {}};
  }
  std::vector<MountEntry> StaticMounts() const override { return ParseMountTable(fstab); }
  std::vector<std::string> SwapDevices() const override { return swaps; }
  std::vector<std::string> Slaves(const std::string& device) const override {
    const auto found = slaves.find(device);
    return found == slaves.end() ? std::vector<std::string>{} : found->second;
  }
  std::optional<bool> HintSystem(const std::string& device) const override {
    const auto found = hint_system.find(device);
    if (found == hint_system.end()) return std::nullopt;
    return found->second;
  }
  std::vector<std::string> MediaFolders() const override { return media_folders; }

  // The programs run, by name (pkexec left out).
  std::vector<std::string> Programs() const {
    std::vector<std::string> names;
    for (const auto& run : runs) names.push_back(Name(Name(run.front()) == "pkexec" ? run.at(1) : run.front()));
    return names;
  }

  static std::string Name(const std::string& program) { return std::filesystem::path(program).filename().string(); }
};

inline BlockDeviceFacts UsbCardReader(const std::string& disk = "/dev/sdb") {
  BlockDeviceFacts facts;
  facts.bus = BlockDeviceFacts::Bus::Usb;
  facts.removable = true;
  facts.partition = true;
  facts.disk = disk;
  return facts;
}

// The lines every made-up system has: a root file system, /boot and /home on the first disk.
inline constexpr std::string_view kSystemMounts =
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "/dev/sda1 /boot vfat rw,relatime 0 0\n"
    "/dev/sda3 /home ext4 rw,relatime 0 0\n"
    "tmpfs /tmp/ram tmpfs rw 0 0\n";

}  // namespace setup::testing
