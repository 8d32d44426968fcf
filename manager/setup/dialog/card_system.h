#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// One line of the system's mount table.
struct MountEntry {
  std::string device;       // "/dev/sdb1"
  std::string mount_point;  // "/media/user/NO NAME"
  std::string type;         // "vfat"
  std::string options;      // "rw,nosuid,uid=1000"
};

// What the system knows about the block device behind a mount.
struct BlockDeviceFacts {
  enum class Bus { Other, Usb, SdCard };
  Bus bus = Bus::Other;
  bool removable = false;  // the kernel's removable flag of the disk
  bool partition = false;  // a partition of `disk` rather than the whole disk
  std::string disk;        // the whole disk: "/dev/sdb" for "/dev/sdb1"
  int logical_sector_bytes = 512;
  // Who the device is, checked again as root right before it is formatted: a card swapped in
  // the meantime gets another major:minor, size or serial.
  std::string major_minor;    // "8:17"
  std::uint64_t sectors = 0;  // sysfs' size, in 512-byte units
  std::string serial_file;    // where sysfs keeps the disk's serial; empty when it has none
  std::string serial;
};

// The programs and folders the privileged format step uses, by absolute path.
struct FormatPrograms {
  std::string shell = "/bin/sh";
  std::string umount = "/usr/bin/umount";
  std::string mount = "/usr/bin/mount";
  std::string mkfs_fat = "/usr/sbin/mkfs.fat";
  std::string stat = "/usr/bin/stat";
  std::string sys_dev_block = "/sys/dev/block";
};

// How a program run ended.
struct ProgramRun {
  bool started = false;
  int exit_code = -1;
  std::string errors;  // what it wrote to its error output
};

// Everything the card format asks of the system, so that it can be tried on disk images with a
// made-up mount table instead of real devices.
class CardSystem {
 public:
  virtual ~CardSystem() = default;

  virtual std::vector<MountEntry> MountTable() const = 0;
  // Nothing when `device` is not a block device (a network share, tmpfs, a plain file).
  virtual std::optional<BlockDeviceFacts> DeviceFacts(const std::string& device) const = 0;
  virtual std::optional<std::uint64_t> DeviceCapacity(const std::string& device) const = 0;
  // Whether this process may write to devices and mount them itself.
  virtual bool IsRoot() const = 0;
  // Runs a program with these arguments (no shell) and waits for it. May be called from a
  // worker thread while the user-interface thread waits.
  virtual ProgramRun Run(const std::vector<std::string>& arguments) = 0;

  // The file systems the system mounts by itself (/etc/fstab): never a card to format.
  virtual std::vector<MountEntry> StaticMounts() const = 0;
  // The devices in use as swap.
  virtual std::vector<std::string> SwapDevices() const = 0;
  // The devices `device` is built on (device-mapper: LVM, LUKS, RAID), one level down; none
  // for a plain disk or partition.
  virtual std::vector<std::string> Slaves(const std::string& device) const = 0;
  // UDisks2's HintSystem for the device: nothing when UDisks2 cannot be asked (not running).
  virtual std::optional<bool> HintSystem(const std::string& device) const = 0;
  // Where the desktop mounts removable media; a card must be mounted below one of them.
  virtual std::vector<std::string> MediaFolders() const { return {"/media", "/run/media"}; }
  virtual FormatPrograms Programs() const { return {}; }
};

}  // namespace setup
