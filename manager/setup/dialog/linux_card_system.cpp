#include "manager/setup/dialog/linux_card_system.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <charconv>
#include <string_view>
#include <system_error>

#include "common/file_reader.h"
#include "common/trim.h"
#include "manager/setup/dialog/mount_table.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

// sysfs gives sizes in 512-byte units whatever the device's sector size.
constexpr std::uint64_t kSysfsSectorBytes = 512;

std::string ReadSmallFile(const fs::path& path) {
  const std::string text = common::ReadWholeFile(path).value_or("");
  return std::string(common::TrimEnd(std::string_view(text), [](char c) { return c == '\n' || c == ' '; }));
}

std::optional<std::uint64_t> ReadNumber(const fs::path& path) {
  const std::string text = ReadSmallFile(path);
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  return value;
}

// Where the desktop keeps the system's programs: mkfs.fat, umount and mount are in sbin, which
// an ordinary user's PATH often lacks.
QString FindProgram(const std::string& name) {
  const QString program = QString::fromStdString(name);
  if (program.contains('/')) return program;
  QString found = QStandardPaths::findExecutable(program);
  if (found.isEmpty()) found = QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
  return found;
}

// UDisks2's HintSystem of the block device, asked over the system bus with a short wait: no bus,
// no UDisks2 or no answer is nothing, and the sysfs rule decides.
std::optional<bool> AskUdisksHintSystem(const std::string& device) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return std::nullopt;
  constexpr int kWaitMs = 3000;
  QDBusMessage resolve = QDBusMessage::createMethodCall("org.freedesktop.UDisks2", "/org/freedesktop/UDisks2/Manager",
                                                        "org.freedesktop.UDisks2.Manager", "ResolveDevice");
  resolve << QVariantMap{{"path", QString::fromStdString(device)}} << QVariantMap{};
  const QDBusReply<QList<QDBusObjectPath>> objects = bus.call(resolve, QDBus::Block, kWaitMs);
  if (!objects.isValid() || objects.value().size() != 1) return std::nullopt;
  QDBusMessage get = QDBusMessage::createMethodCall("org.freedesktop.UDisks2", objects.value().front().path(),
                                                    "org.freedesktop.DBus.Properties", "Get");
  get << QString("org.freedesktop.UDisks2.Block") << QString("HintSystem");
  const QDBusReply<QDBusVariant> hint = bus.call(get, QDBus::Block, kWaitMs);
  if (!hint.isValid() || hint.value().variant().typeId() != QMetaType::Bool) return std::nullopt;
  return hint.value().variant().toBool();
}

}  // namespace

LinuxCardSystem::LinuxCardSystem(fs::path mounts_file, fs::path sys_root, fs::path dev_root, fs::path fstab_file,
                                 fs::path swaps_file, bool ask_udisks)
    : mounts_file_(std::move(mounts_file)),
      sys_root_(std::move(sys_root)),
      dev_root_(std::move(dev_root)),
      fstab_file_(std::move(fstab_file)),
      swaps_file_(std::move(swaps_file)),
      ask_udisks_(ask_udisks) {}

std::vector<MountEntry> LinuxCardSystem::StaticMounts() const { return ParseMountTable(ReadSmallFile(fstab_file_)); }

std::vector<std::string> LinuxCardSystem::SwapDevices() const {
  // "Filename Type Size Used Priority", then one line a swap area; the file name has the same
  // escapes as the mount table.
  std::vector<std::string> devices;
  for (const MountEntry& entry : ParseMountTable(ReadSmallFile(swaps_file_))) {
    if (entry.device != "Filename") devices.push_back(entry.device);
  }
  return devices;
}

std::vector<std::string> LinuxCardSystem::Slaves(const std::string& device) const {
  std::vector<std::string> slaves;
  const fs::path entry = SysfsEntry(device);
  if (entry.empty()) return slaves;
  std::error_code error;
  for (fs::directory_iterator it(entry / "slaves", error), end; !error && it != end; it.increment(error)) {
    slaves.push_back((dev_root_ / it->path().filename()).string());
  }
  return slaves;
}

std::optional<bool> LinuxCardSystem::HintSystem(const std::string& device) const {
  if (!ask_udisks_) return std::nullopt;
  return AskUdisksHintSystem(device);
}

std::vector<MountEntry> LinuxCardSystem::MountTable() const { return ParseMountTable(ReadSmallFile(mounts_file_)); }

fs::path LinuxCardSystem::SysfsEntry(const std::string& device) const {
  const std::string prefix = dev_root_.string() + "/";
  if (!device.starts_with(prefix)) return {};
  std::error_code error;
  fs::path node(device);
  // /dev/disk/by-uuid/... and /dev/mapper/... are links to the kernel's name.
  if (fs::is_symlink(node, error)) {
    node = fs::canonical(node, error);
    if (error) return {};
  }
  const fs::path entry = fs::canonical(sys_root_ / "class" / "block" / node.filename(), error);
  if (error) return {};
  return entry;
}

std::optional<BlockDeviceFacts> LinuxCardSystem::DeviceFacts(const std::string& device) const {
  const fs::path entry = SysfsEntry(device);
  if (entry.empty()) return std::nullopt;
  std::error_code error;
  BlockDeviceFacts facts;
  facts.partition = fs::exists(entry / "partition", error);
  const fs::path disk = facts.partition ? entry.parent_path() : entry;
  facts.disk = (dev_root_ / disk.filename()).string();
  facts.removable = ReadSmallFile(disk / "removable") == "1";
  const std::string path = disk.string();
  if (path.find("/mmc") != std::string::npos && ReadSmallFile(disk / "device" / "type") == "SD") {
    facts.bus = BlockDeviceFacts::Bus::SdCard;
  } else if (path.find("/usb") != std::string::npos) {
    facts.bus = BlockDeviceFacts::Bus::Usb;
  }
  if (const auto sector = ReadNumber(disk / "queue" / "logical_block_size"); sector && *sector >= 512) {
    facts.logical_sector_bytes = static_cast<int>(*sector);
  }
  facts.major_minor = ReadSmallFile(entry / "dev");
  facts.sectors = ReadNumber(entry / "size").value_or(0);
  for (const char* name : {"serial", "wwid"}) {
    if (fs::exists(disk / "device" / name, error)) {
      facts.serial_file = (disk / "device" / name).string();
      facts.serial = ReadSmallFile(facts.serial_file);
      break;
    }
  }
  return facts;
}

std::optional<std::uint64_t> LinuxCardSystem::DeviceCapacity(const std::string& device) const {
  const fs::path entry = SysfsEntry(device);
  if (entry.empty()) return std::nullopt;
  const auto sectors = ReadNumber(entry / "size");
  if (!sectors) return std::nullopt;
  return *sectors * kSysfsSectorBytes;
}

bool LinuxCardSystem::IsRoot() const { return ::geteuid() == 0; }

ProgramRun LinuxCardSystem::Run(const std::vector<std::string>& arguments) { return RunProgram(arguments); }

ProgramRun RunProgram(const std::vector<std::string>& arguments) {
  ProgramRun run;
  if (arguments.empty()) return run;
  const QString program = FindProgram(arguments.front());
  if (program.isEmpty()) return run;
  QStringList rest;
  for (std::size_t i = 1; i < arguments.size(); ++i) rest << QString::fromStdString(arguments[i]);
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(program, rest, QIODevice::ReadOnly);
  if (!process.waitForStarted(-1)) return run;
  run.started = true;
  process.closeWriteChannel();
  process.waitForFinished(-1);
  run.errors = process.readAllStandardError().toStdString();
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return run;
}

}  // namespace setup
