#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "manager/setup/dialog/card_system.h"
#include "manager/setup/dialog/linux_card_system.h"
#include "manager/setup/dialog/mount_table.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

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
  // Program name ("umount", "mount", "mkfs.fat") -> how it ends, instead of what the fake
  // programs do by default (succeed; mkfs.fat really formats the image).
  std::map<std::string, ProgramRun> canned;
  std::vector<std::vector<std::string>> runs;  // the commands run, pkexec and all
  std::string fstab;
  std::vector<std::string> swaps;
  std::map<std::string, std::vector<std::string>> slaves;
  std::map<std::string, bool> hint_system;  // UDisks2's answers; none at all: UDisks2 is not running
  std::vector<std::string> media_folders = {"/media", "/run/media"};
  // Another card in the slot: before the check, or while the card is being unmounted.
  enum class Swap { None, Before, DuringUnmount } swap = Swap::None;

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

  // The real format script, with stand-ins for umount, mount, stat and sysfs; mkfs.fat is the
  // real one, run on the image.
  FormatPrograms Programs() const override {
    FormatPrograms programs;
    programs.umount = (bin_.path() / "umount").string();
    programs.mount = (bin_.path() / "mount").string();
    programs.mkfs_fat = (bin_.path() / "mkfs.fat").string();
    programs.stat = (bin_.path() / "stat").string();
    programs.sys_dev_block = (bin_.path() / "sys").string();
    return programs;
  }

  ProgramRun Run(const std::vector<std::string>& arguments) override {
    runs.push_back(arguments);
    std::vector<std::string> command = arguments;
    if (std::filesystem::path(command.front()).filename() == "pkexec") command.erase(command.begin());
    // The device and its identity, where the command carries them.
    const std::string& device = command.at(9);
    const BlockDeviceFacts& planned = facts.at(device);
    std::filesystem::remove_all(bin_.path());
    std::filesystem::create_directories(bin_.path() / "sys" / planned.major_minor);
    const std::string size_file = (bin_.path() / "sys" / planned.major_minor / "size").string();
    testing_support::WriteFile(size_file, std::to_string(planned.sectors + (swap == Swap::Before ? 8 : 0)) + "\n");
    const auto [major, minor] = Split(planned.major_minor);
    Shim("stat", "printf '%x:%x\\n' " + major + " " + minor);
    Shim("umount", Canned("umount", swap == Swap::DuringUnmount ? "echo 1 > " + Quoted(size_file) : "true"));
    Shim("mount", Canned("mount", "true"));
    if (const auto found = canned.find("mkfs.fat"); found == canned.end() || found->second.started) {
      Shim("mkfs.fat", Canned("mkfs.fat", "exec /usr/sbin/mkfs.fat \"$@\""));
    }
    return RunProgram(command);
  }

  // What the format step ran, in order, with its arguments ("umount -- /x/card").
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream in(bin_.path() / "log");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The same, names only.
  std::vector<std::string> ProgramsRun() const {
    std::vector<std::string> names;
    for (const std::string& line : Log()) names.push_back(line.substr(0, line.find(' ')));
    return names;
  }

 private:
  static std::pair<std::string, std::string> Split(const std::string& major_minor) {
    const auto colon = major_minor.find(':');
    return {major_minor.substr(0, colon), major_minor.substr(colon + 1)};
  }
  static std::string Quoted(const std::string& text) { return testing_support::ShellQuoted(text); }
  std::string Canned(const std::string& name, const std::string& otherwise) const {
    const auto found = canned.find(name);
    if (found == canned.end()) return otherwise;
    return "printf '%s' " + Quoted(found->second.errors) + " >&2; exit " + std::to_string(found->second.exit_code);
  }
  void Shim(const std::string& name, const std::string& body) const {
    const std::filesystem::path path = bin_.path() / name;
    const std::string log =
        name == "stat" ? "" : "echo " + Quoted(name) + " \"$*\" >> " + Quoted((bin_.path() / "log").string()) + "\n";
    testing_support::WriteFile(path, "#!/bin/sh\n" + log + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }

  testing_support::TempDir bin_;
};

inline BlockDeviceFacts UsbCardReader(const std::string& disk = "/dev/sdb") {
  BlockDeviceFacts facts;
  facts.bus = BlockDeviceFacts::Bus::Usb;
  facts.removable = true;
  facts.partition = true;
  facts.disk = disk;
  facts.major_minor = "8:17";
  facts.sectors = 2097152;
  return facts;
}

// The lines every made-up system has: a root file system, /boot and /home on the first disk.
inline constexpr std::string_view kSystemMounts =
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "/dev/sda1 /boot vfat rw,relatime 0 0\n"
    "/dev/sda3 /home ext4 rw,relatime 0 0\n"
    "tmpfs /tmp/ram tmpfs rw 0 0\n";

}  // namespace setup::testing
