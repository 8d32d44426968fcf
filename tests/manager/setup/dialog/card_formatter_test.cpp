// The card format on disk image files with a made-up mount table, and every refusal.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <functional>

#include <filesystem>

#include "manager/setup/dialog/card_formatter.h"
#include "manager/setup/dialog/linux_card_system.h"
#include "manager/setup/dialog/mount_table.h"
#include "tests/manager/setup/dialog/fake_card_system.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace setup {
namespace {

using testing::FakeCardSystem;
using testing::UsbCardReader;
using testing_support::TempDir;

constexpr std::uint64_t kMiB = 1024ULL * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;

// A card: an image file standing in for the device, mounted (on paper) at the folder "card".
class ImageCard {
 public:
  explicit ImageCard(std::uint64_t size, std::string type = "vfat") {
    std::filesystem::create_directories(mount_point());
    testing_support::MakeFileOfSize(image(), size);
    system.mounts =
        std::string(testing::kSystemMounts) + image() + " " + mount_point() + " " + type + " rw,nosuid,uid=1000 0 0\n";
    system.facts[image()] = UsbCardReader();
    system.media_folders = {dir.path().string()};
    BlockDeviceFacts system_disk;
    system_disk.partition = true;
    system_disk.disk = "/dev/sda";
    for (const char* device : {"/dev/sda1", "/dev/sda2", "/dev/sda3"}) system.facts[device] = system_disk;
  }

  std::string image() const { return (dir / "card.img").string(); }
  std::string mount_point() const { return (dir / "card").string(); }
  CardFormatPlan Plan(const std::string& chosen) const { return PlanCardFormat(system, chosen, mount_point() + "/"); }
  CardFormatPlan Plan() const { return Plan(mount_point()); }

  TempDir dir;
  FakeCardSystem system;
};

std::string Describe(const std::string& image) {
  return testing_support::RunCommand("file -b " + testing_support::ShellQuoted(image)).out;
}

TEST(CardFormat, OneGibImageGetsFat16With16KibClusters) {
  ImageCard card(1 * kGiB);
  const CardFormatPlan plan = card.Plan();
  ASSERT_EQ(plan.refusal, CardRefusal::None) << CardRefusalName(plan.refusal);
  EXPECT_EQ(plan.format, &kFat16Template);

  const CardFormatOutcome outcome = ExecuteCardFormat(card.system, plan);
  ASSERT_TRUE(outcome.result.Succeeded()) << outcome.failed_run.errors;
  EXPECT_TRUE(outcome.remounted);
  // One privileged step: unmounted first, mounted again where it was, with its old options.
  EXPECT_EQ(card.system.runs.size(), 1u);
  EXPECT_EQ(card.system.Log(),
            (std::vector<std::string>{
                "umount -- " + card.mount_point(), "mkfs.fat -F 16 -S 512 -s 32 " + card.image(),
                "mount --mkdir -t vfat -o rw,nosuid,uid=1000 -- " + card.image() + " " + card.mount_point()}));

  const std::string described = Describe(card.image());
  EXPECT_NE(described.find("FAT (16 bit)"), std::string::npos) << described;
  EXPECT_NE(described.find("sectors/cluster 32,"), std::string::npos) << described;
  EXPECT_EQ(testing_support::RunCommand("fsck.fat -n " + testing_support::ShellQuoted(card.image())).status, 0);
}

TEST(CardFormat, FourGibSparseImageGetsFat32With32KibClusters) {
  ImageCard card(4 * kGiB);
  const CardFormatPlan plan = card.Plan();
  ASSERT_EQ(plan.refusal, CardRefusal::None);
  ASSERT_TRUE(ExecuteCardFormat(card.system, plan).result.Succeeded());
  const std::string described = Describe(card.image());
  EXPECT_NE(described.find("FAT (32 bit)"), std::string::npos) << described;
  EXPECT_NE(described.find("sectors/cluster 64,"), std::string::npos) << described;
  EXPECT_EQ(testing_support::RunCommand("fsck.fat -n " + testing_support::ShellQuoted(card.image())).status, 0);
}

TEST(CardFormat, TwoGbCardStillGetsFat16WithLargerClusters) {
  // A "2 GB" card holds too many 16 KiB clusters for FAT16; it gets 32 KiB ones instead of a
  // failed format.
  ImageCard card(1900 * kMiB);
  const CardFormatPlan plan = card.Plan();
  ASSERT_EQ(plan.format, &kFat16Template);
  EXPECT_EQ(plan.layout.cluster_bytes, 32 * 1024);
  ASSERT_TRUE(ExecuteCardFormat(card.system, plan).result.Succeeded());
  const std::string described = Describe(card.image());
  EXPECT_NE(described.find("FAT (16 bit)"), std::string::npos) << described;
  EXPECT_NE(described.find("sectors/cluster 64,"), std::string::npos) << described;
}

TEST(FatLayout, ClusterCountsFollowMkfs) {
  // mkfs.fat accepts 1 GiB with 16 KiB clusters and refuses 1.5 GiB with them, and 2 GiB with 32 KiB.
  EXPECT_LE(Fat16ClusterCount(1 * kGiB, 16 * 1024), kFat16MaxClusters);
  EXPECT_GT(Fat16ClusterCount(1536 * kMiB, 16 * 1024), kFat16MaxClusters);
  EXPECT_GT(Fat16ClusterCount(2 * kGiB, 32 * 1024), kFat16MaxClusters);

  EXPECT_EQ(ChooseFatLayout(kFat16Template, 1 * kGiB).cluster_bytes, 16 * 1024);
  EXPECT_EQ(ChooseFatLayout(kFat16Template, 1536 * kMiB).cluster_bytes, 32 * 1024);
  const FatLayout two_gib = ChooseFatLayout(kFat16Template, 2 * kGiB);  // FAT16 cannot hold it at all
  EXPECT_EQ(two_gib.fat_bits, 32);
  EXPECT_EQ(ChooseFatLayout(kFat32Template, 64 * kGiB).cluster_bytes, 32 * 1024);
  EXPECT_EQ(ChooseFatLayout(kFat16Template, 1 * kGiB, 4096).sectors_per_cluster(4096), 4);
}

TEST(CardFormat, RefusesEverythingButTheCardItself) {
  ImageCard card(1 * kGiB);
  std::filesystem::create_directories(card.dir / "card/DCIM");
  EXPECT_EQ(card.Plan(card.mount_point() + "/DCIM").refusal, CardRefusal::BelowMountPoint);
  EXPECT_EQ(card.Plan(card.mount_point() + "/").refusal, CardRefusal::None);
  EXPECT_EQ(card.Plan("/").refusal, CardRefusal::OtherCard);
  EXPECT_EQ(PlanCardFormat(card.system, "/", "/").refusal, CardRefusal::SystemDrive);
  EXPECT_EQ(card.Plan("").refusal, CardRefusal::NoMount);
  // The card the dialog was opened on must be the one chosen now.
  EXPECT_EQ(PlanCardFormat(card.system, card.mount_point(), "/home/user/cards/").refusal, CardRefusal::OtherCard);

  const auto refusal_with = [&](const std::function<void(FakeCardSystem&)>& change) {
    ImageCard other(1 * kGiB);
    change(other.system);
    return other.Plan().refusal;
  };
  // Not mounted at all: just a folder of the root file system.
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) { s.mounts = testing::kSystemMounts; }), CardRefusal::BelowMountPoint);
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) { s.mounts.clear(); }), CardRefusal::NoMount);
  EXPECT_EQ(ImageCard(1 * kGiB, "ext4").Plan().refusal, CardRefusal::NotFat);
  EXPECT_EQ(ImageCard(1 * kGiB, "exfat").Plan().refusal, CardRefusal::NotFat);
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) { s.facts.clear(); }), CardRefusal::NotBlockDevice);
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) {
              for (auto& [device, facts] : s.facts) facts.removable = false;
            }),
            CardRefusal::NotRemovableCard);
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) {
              for (auto& [device, facts] : s.facts) facts.bus = BlockDeviceFacts::Bus::Other;
            }),
            CardRefusal::NotRemovableCard);
  // An SD card in its slot is removable whatever its flag says.
  EXPECT_EQ(refusal_with([](FakeCardSystem& s) {
              for (auto& [device, facts] : s.facts) {
                facts.bus = BlockDeviceFacts::Bus::SdCard;
                facts.removable = false;
              }
            }),
            CardRefusal::None);
  EXPECT_EQ(
      refusal_with([](FakeCardSystem& s) { s.mounts += s.MountTable().back().device + " /mnt/again vfat rw 0 0\n"; }),
      CardRefusal::MountedElsewhere);
}

TEST(CardFormat, RefusesTheDisksTheSystemRunsFrom) {
  for (const std::string mount_point : {"/", "/boot", "/home", "/usr", "/var"}) {
    // The card's own device holds a system folder as well...
    ImageCard same(1 * kGiB);
    same.system.mounts += same.image() + " " + mount_point + " vfat rw 0 0\n";
    EXPECT_EQ(same.Plan().refusal, CardRefusal::SystemDisk) << mount_point;

    // ...or another partition of its disk does: a system started from a USB stick.
    ImageCard sibling(1 * kGiB);
    sibling.system.mounts += "/dev/sdb2 " + mount_point + " ext4 rw 0 0\n";
    sibling.system.facts["/dev/sdb2"] = UsbCardReader("/dev/sdb");
    EXPECT_EQ(sibling.Plan().refusal, CardRefusal::SystemDisk) << mount_point;
  }
  // A removable disk that only shares the bus is fine.
  ImageCard card(1 * kGiB);
  card.system.mounts += "/dev/sdc1 /var ext4 rw 0 0\n";
  card.system.facts["/dev/sdc1"] = UsbCardReader("/dev/sdc");
  EXPECT_EQ(card.Plan().refusal, CardRefusal::None);
}

// The system around the card, laid out the ways that have formatted system disks elsewhere.
// The card is card.img (a partition of /dev/sdb) mounted at DIR/card, DIR playing /media.
TEST(CardFormat, SystemLayouts) {
  const struct {
    const char* what;
    std::function<void(FakeCardSystem&, const std::string& card, const std::string& media)> lay;
    CardRefusal refusal;
  } layouts[] = {
      {"a card reader, nothing else", [](FakeCardSystem&, const std::string&, const std::string&) {},
       CardRefusal::None},
      {"the card's partition mounted as /boot/firmware too",
       [](FakeCardSystem& s, const std::string& card, const std::string&) {
         s.mounts += card + " /boot/firmware vfat rw 0 0\n";
       },
       CardRefusal::SystemDisk},
      {"its disk's other partition is /boot/efi",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.mounts += "/dev/sdb2 /boot/efi vfat rw 0 0\n";
         s.facts["/dev/sdb2"] = UsbCardReader("/dev/sdb");
       },
       CardRefusal::SystemDisk},
      {"root on LVM inside LUKS on the card's disk",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.mounts += "/dev/mapper/vg-root / ext4 rw 0 0\n";
         s.slaves["/dev/mapper/vg-root"] = {"/dev/dm-0"};
         s.slaves["/dev/dm-0"] = {"/dev/sdb3"};
         s.facts["/dev/sdb3"] = UsbCardReader("/dev/sdb");
       },
       CardRefusal::SystemDisk},
      {"swap on a device-mapper layer of the card's disk",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.swaps = {"/dev/dm-4"};
         s.slaves["/dev/dm-4"] = {"/dev/sdb5"};
         s.facts["/dev/sdb5"] = UsbCardReader("/dev/sdb");
       },
       CardRefusal::SystemDisk},
      {"device-mapper layers that loop",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.mounts += "/dev/dm-7 /var ext4 rw 0 0\n";
         s.slaves["/dev/dm-7"] = {"/dev/dm-8"};
         s.slaves["/dev/dm-8"] = {"/dev/dm-7"};
       },
       CardRefusal::None},
      {"LVM root on another disk",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.mounts += "/dev/mapper/vg-root / ext4 rw 0 0\n";
         s.slaves["/dev/mapper/vg-root"] = {"/dev/nvme0n1p3"};
       },
       CardRefusal::None},
      {"listed in fstab by device",
       [](FakeCardSystem& s, const std::string& card, const std::string&) {
         s.fstab = "# a comment line\n" + card + " /srv/card vfat defaults 0 0\n";
       },
       CardRefusal::InFstab},
      {"listed in fstab by mount point",
       [](FakeCardSystem& s, const std::string&, const std::string& media) {
         s.fstab = "UUID=1234-ABCD " + media + "/card vfat defaults 0 0\n";
       },
       CardRefusal::InFstab},
      {"fstab lists other disks only",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.fstab = "UUID=1234-ABCD / ext4 defaults 0 1\n/dev/sda3 /home ext4 defaults 0 2\n";
       },
       CardRefusal::None},
      {"mounted outside the media folders",
       [](FakeCardSystem& s, const std::string&, const std::string&) {
         s.media_folders = {"/media", "/run/media"};
       },
       CardRefusal::NotMediaFolder},
      {"UDisks2 calls it a system device",
       [](FakeCardSystem& s, const std::string& card, const std::string&) { s.hint_system[card] = true; },
       CardRefusal::SystemDisk},
      {"UDisks2 says removable although sysfs does not",
       [](FakeCardSystem& s, const std::string& card, const std::string&) {
         s.hint_system[card] = false;
         s.facts[card].removable = false;
       },
       CardRefusal::None},
      {"no UDisks2: a USB disk without the removable flag",
       [](FakeCardSystem& s, const std::string& card, const std::string&) { s.facts[card].removable = false; },
       CardRefusal::NotRemovableCard},
      {"no UDisks2: an internal disk",
       [](FakeCardSystem& s, const std::string& card, const std::string&) {
         s.facts[card].bus = BlockDeviceFacts::Bus::Other;
       },
       CardRefusal::NotRemovableCard},
  };
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.what);
    ImageCard card(1 * kGiB);
    layout.lay(card.system, card.image(), card.dir.path().string());
    const CardFormatPlan plan = card.Plan();
    EXPECT_EQ(plan.refusal, layout.refusal) << CardRefusalName(plan.refusal);
  }
  // /media itself is no card's mount point.
  ImageCard card(1 * kGiB);
  card.system.media_folders = {card.mount_point()};
  EXPECT_EQ(card.Plan().refusal, CardRefusal::NotMediaFolder);
}

TEST(CardFormat, FailuresAreReportedAndLeaveTheCardMounted) {
  {
    // The formatting program cannot be started: a failure, never a success.
    ImageCard card(1 * kGiB);
    card.system.canned["mkfs.fat"] = {.started = false, .exit_code = -1, .errors = {}};
    const CardFormatOutcome outcome = ExecuteCardFormat(card.system, card.Plan());
    EXPECT_FALSE(outcome.result.Succeeded());
    EXPECT_EQ(outcome.result.status, FormatResult::Status::ProgramNotStarted);
    EXPECT_EQ(outcome.failed_program, "mkfs.fat");
    EXPECT_TRUE(outcome.remounted);  // the card is given back
  }
  {
    // The card cannot be unmounted (a file is open): nothing is formatted.
    ImageCard card(1 * kGiB);
    card.system.canned["umount"] = {.started = true, .exit_code = 32, .errors = "umount: target is busy."};
    const CardFormatOutcome outcome = ExecuteCardFormat(card.system, card.Plan());
    EXPECT_FALSE(outcome.result.Succeeded());
    EXPECT_EQ(outcome.failed_program, "umount");
    EXPECT_EQ(card.system.ProgramsRun(), std::vector<std::string>{"umount"});
    EXPECT_EQ(Describe(card.image()), "data\n");
  }
  for (const auto swap : {FakeCardSystem::Swap::Before, FakeCardSystem::Swap::DuringUnmount}) {
    // Another card in the slot by the time the step runs as root: nothing is formatted.
    ImageCard card(1 * kGiB);
    card.system.swap = swap;
    const CardFormatOutcome outcome = ExecuteCardFormat(card.system, card.Plan());
    EXPECT_FALSE(outcome.result.Succeeded());
    EXPECT_NE(outcome.failed_run.errors.find("no longer the device"), std::string::npos) << outcome.failed_run.errors;
    EXPECT_EQ(card.system.ProgramsRun(), swap == FakeCardSystem::Swap::Before
                                             ? std::vector<std::string>{}
                                             : (std::vector<std::string>{"umount", "mount"}));
    EXPECT_EQ(Describe(card.image()), "data\n");
  }
  {
    ImageCard card(1 * kGiB);
    card.system.canned["mount"] = {.started = true, .exit_code = 32, .errors = "mount: no"};
    const CardFormatOutcome outcome = ExecuteCardFormat(card.system, card.Plan());
    EXPECT_TRUE(outcome.result.Succeeded());
    EXPECT_FALSE(outcome.remounted);
  }
  {
    ImageCard card(1 * kGiB);
    card.system.canned["mkfs.fat"] = {.started = true, .exit_code = 1, .errors = "mkfs.fat: bad"};
    const CardFormatOutcome outcome = ExecuteCardFormat(card.system, card.Plan());
    EXPECT_EQ(outcome.result.status, FormatResult::Status::ProgramFailed);
    EXPECT_EQ(outcome.result.exit_code, 1);
  }
}

TEST(CardFormat, ThroughPkexecWhenNotRoot) {
  ImageCard card(1 * kGiB);
  card.system.root = false;
  const CardFormatPlan plan = card.Plan();
  ASSERT_TRUE(ExecuteCardFormat(card.system, plan).result.Succeeded());
  ASSERT_EQ(card.system.runs.size(), 1u) << "one step, one password prompt";
  EXPECT_EQ(card.system.runs[0].front(), "/usr/bin/pkexec");
  // Every program the step runs as root is given by absolute path, never found through PATH.
  const auto command = AsRoot(FormatCommand(plan, FormatPrograms{}), false);
  for (std::size_t i : {0, 1, 5, 6, 7, 8, 9}) EXPECT_TRUE(command.at(i).starts_with('/')) << command.at(i);
  EXPECT_EQ(command.at(10), card.image());

  // A card without a partition table is formatted whole: mkfs.fat wants -I for that.
  BlockDeviceFacts whole = UsbCardReader();
  whole.partition = false;
  card.system.facts[card.image()] = whole;
  EXPECT_EQ(MakeFileSystemArguments(card.Plan()).back(), "-I");
}

TEST(MountTable, ReadsTheKernelsEscapesAndFindsTheHoldingMount) {
  const auto table = ParseMountTable(
      "/dev/sda2 / ext4 rw 0 0\n"
      "garbage\n"
      "/dev/sdb1 /media/u/NO\\040NAME vfat rw,uid=1000 0 0\n"
      "/dev/sdc1 /media/u/back\\134slash vfat rw 0 0\n"
      "/dev/sdd1 /media/u/NO vfat rw 0 0\n"
      "/dev/sde1 /media/u/NO\\040NAME vfat rw 0 0\n");
  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(table[1].mount_point, "/media/u/NO NAME");
  EXPECT_EQ(table[2].mount_point, "/media/u/back\\slash");
  EXPECT_EQ(table[1].options, "rw,uid=1000");

  // The later mount at the same place hides the earlier one; path components are whole.
  EXPECT_EQ(FindMountHolding(table, "/media/u/NO NAME/DCIM/")->device, "/dev/sde1");
  EXPECT_EQ(FindMountHolding(table, "/media/u/NO")->device, "/dev/sdd1");
  EXPECT_EQ(FindMountHolding(table, "/media/u/NOT")->device, "/dev/sda2");
  EXPECT_EQ(FindMountHolding(table, "/media/u/./NO/../NO")->device, "/dev/sdd1");
  EXPECT_EQ(FindMountHolding({}, "/x"), nullptr);
  EXPECT_EQ(EntriesAt(table, "/media/u/NO NAME/").size(), 2u);
}

// A made-up sysfs with a USB card reader, an SD slot, an eMMC and a SATA disk.
class FakeSysfs {
 public:
  FakeSysfs() {
    Disk("devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb", "1", "sdb1");
    Disk("devices/pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda", "0", "sda1");
    Disk("devices/platform/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0", "0", "mmcblk0p1", "SD");
    Disk("devices/platform/mmc_host/mmc1/mmc1:0001/block/mmcblk1", "0", "mmcblk1p1", "MMC");
    Disk("devices/virtual/block/loop0", "0", "");
    testing_support::WriteFile(dir / "mounts", "/dev/sdb1 /media/u/NO\\040NAME vfat rw 0 0\n");
  }

  LinuxCardSystem System() const { return LinuxCardSystem(dir / "mounts", dir / "sys", "/dev"); }

 private:
  void Disk(const std::string& path, const std::string& removable, const std::string& partition,
            const std::string& mmc_type = "") {
    const auto disk = dir / "sys" / path;
    const std::string name = disk.filename().string();
    testing_support::WriteFile(disk / "removable", removable + "\n");
    testing_support::WriteFile(disk / "size", "4194304\n");
    testing_support::WriteFile(disk / "queue/logical_block_size", "512\n");
    if (!mmc_type.empty()) testing_support::WriteFile(disk / "device/type", mmc_type + "\n");
    std::filesystem::create_directories(dir / "sys/class/block");
    std::filesystem::create_directory_symlink(disk, dir / "sys/class/block" / name);
    if (partition.empty()) return;
    testing_support::WriteFile(disk / partition / "partition", "1\n");
    testing_support::WriteFile(disk / partition / "size", "2097152\n");
    std::filesystem::create_directory_symlink(disk / partition, dir / "sys/class/block" / partition);
  }

  TempDir dir;
};

TEST(LinuxCardSystem, TellsCardsFromOtherDisksBySysfs) {
  FakeSysfs sysfs;
  const LinuxCardSystem system = sysfs.System();

  const auto usb = system.DeviceFacts("/dev/sdb1");
  ASSERT_TRUE(usb.has_value());
  EXPECT_EQ(usb->bus, BlockDeviceFacts::Bus::Usb);
  EXPECT_TRUE(usb->removable);
  EXPECT_TRUE(usb->partition);
  EXPECT_EQ(usb->disk, "/dev/sdb");
  EXPECT_EQ(system.DeviceCapacity("/dev/sdb1"), 1 * kGiB);
  EXPECT_EQ(system.DeviceCapacity("/dev/sdb"), 2 * kGiB);

  const auto sata = system.DeviceFacts("/dev/sda1");
  ASSERT_TRUE(sata.has_value());
  EXPECT_EQ(sata->bus, BlockDeviceFacts::Bus::Other);
  EXPECT_FALSE(sata->removable);

  EXPECT_EQ(system.DeviceFacts("/dev/mmcblk0p1")->bus, BlockDeviceFacts::Bus::SdCard);
  EXPECT_EQ(system.DeviceFacts("/dev/mmcblk0p1")->disk, "/dev/mmcblk0");
  EXPECT_EQ(system.DeviceFacts("/dev/mmcblk1p1")->bus, BlockDeviceFacts::Bus::Other);  // built-in eMMC
  EXPECT_FALSE(system.DeviceFacts("/dev/loop0")->partition);

  // Not block devices at all.
  EXPECT_FALSE(system.DeviceFacts("tmpfs").has_value());
  EXPECT_FALSE(system.DeviceFacts("/dev/nvme9n9").has_value());
  EXPECT_FALSE(system.DeviceFacts("server:/export").has_value());
  EXPECT_FALSE(system.DeviceCapacity("tmpfs").has_value());

  ASSERT_EQ(system.MountTable().size(), 1u);
  EXPECT_EQ(system.MountTable()[0].mount_point, "/media/u/NO NAME");
}

TEST(LinuxCardSystem, ReadsFstabSwapsAndDeviceMapperLayers) {
  TempDir dir;
  testing_support::WriteFile(dir / "fstab", "# <file system> <mount point>\nUUID=ab /boot/efi vfat umask=0077 0 1\n");
  testing_support::WriteFile(dir / "swaps",
                             "Filename\t\t\t\tType\t\tSize\tUsed\tPriority\n"
                             "/dev/dm-1                               partition\t999420\t0\t-2\n");
  testing_support::WriteFile(dir / "mounts", "");
  for (const char* name : {"dm-1", "dm-0", "sdb3"}) std::filesystem::create_directories(dir / "sys/block" / name);
  std::filesystem::create_directories(dir / "sys/class/block");
  for (const char* name : {"dm-1", "dm-0", "sdb3"}) {
    std::filesystem::create_directory_symlink(dir / "sys/block" / name, dir / "sys/class/block" / name);
  }
  std::filesystem::create_directories(dir / "sys/block/dm-1/slaves");
  std::filesystem::create_directory_symlink(dir / "sys/block/dm-0", dir / "sys/block/dm-1/slaves/dm-0");
  std::filesystem::create_directories(dir / "sys/block/dm-0/slaves");
  std::filesystem::create_directory_symlink(dir / "sys/block/sdb3", dir / "sys/block/dm-0/slaves/sdb3");
  const LinuxCardSystem system(dir / "mounts", dir / "sys", "/dev", dir / "fstab", dir / "swaps", false);
  EXPECT_EQ(system.SwapDevices(), std::vector<std::string>{"/dev/dm-1"});
  EXPECT_EQ(system.Slaves("/dev/dm-1"), std::vector<std::string>{"/dev/dm-0"});
  EXPECT_EQ(system.Slaves("/dev/dm-0"), std::vector<std::string>{"/dev/sdb3"});
  EXPECT_TRUE(system.Slaves("/dev/sdb3").empty());
  ASSERT_EQ(system.StaticMounts().size(), 2u) << "the comment reads as a line of its own, passed over by the rule";
  EXPECT_EQ(system.StaticMounts().back().mount_point, "/boot/efi");
  EXPECT_FALSE(system.HintSystem("/dev/sdb3").has_value()) << "UDisks2 not asked";
}

TEST(LinuxCardSystem, ThisMachinesOwnDisksAreRefused) {
  // Whatever this machine is, neither its root nor a folder in a temporary folder is a card.
  LinuxCardSystem system;
  EXPECT_TRUE(PlanCardFormat(system, "/", "/").refused());
  TempDir dir;
  EXPECT_TRUE(PlanCardFormat(system, dir.path().string(), dir.path().string() + "/").refused());
  EXPECT_FALSE(system.MountTable().empty());
}

TEST(RunProgram, ReportsWhatRanAndWhatCouldNotStart) {
  const ProgramRun missing = RunProgram({"no-such-program-here", "x"});
  EXPECT_FALSE(missing.started);
  const ProgramRun failing = RunProgram({"sh", "-c", "echo oops >&2; exit 3"});
  EXPECT_TRUE(failing.started);
  EXPECT_EQ(failing.exit_code, 3);
  EXPECT_EQ(failing.errors, "oops\n");
  // Programs in sbin are found even when PATH lacks it, as an ordinary user's does.
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "/usr/bin:/bin");
  EXPECT_TRUE(RunProgram({"mkfs.fat", "--help"}).started);
  qputenv("PATH", path);
}

}  // namespace
}  // namespace setup
