#include "tools/samplecard/bad_card.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "manager/recording/user_data_writer.h"
#include "tools/samplecard/camera_video.h"
#include "tools/samplecard/random.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/field_text.h"
#include "tracker/log/gps_log_writer.h"
#include "tracker/log/trip_database.h"

namespace samplecard {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kStart = 1715590800;  // 2024-05-13 09:00:00 UTC

class Card {
 public:
  Card(fs::path root, std::uint64_t seed) : root_(std::move(root)), random_(seed) {}

  BadCardManifest manifest;

  fs::path Write(BadKind kind, const fs::path& relative, std::string_view bytes, std::string what) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    Note(kind, path, std::move(what));
    return path;
  }

  void Fifo(BadKind kind, const fs::path& relative, std::string what) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make the FIFO " + path.string());
    Note(kind, path, std::move(what));
  }

  void Link(BadKind kind, const fs::path& relative, const fs::path& target, std::string what) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    Note(kind, path, std::move(what));
  }

  void Folder(BadKind kind, const fs::path& relative, std::string what) {
    const fs::path path = root_ / relative;
    fs::create_directories(path);
    std::ofstream(path / "inside.txt") << "a folder, not a file\n";
    Note(kind, path, std::move(what));
  }

  std::string RandomBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random_.Between(0, 255));
    return bytes;
  }

  const fs::path& root() const { return root_; }

 private:
  void Note(BadKind kind, const fs::path& path, std::string what) {
    manifest.items.push_back({kind, path, std::move(what)});
  }

  fs::path root_;
  Random random_;
};

void PutBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (24 - 8 * i));
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void PutLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::string Box(std::string_view type, std::string_view payload) { return recording::BuildBox(type, payload); }

// Ten seconds on the road: a fix a second, ten G-sensor samples a second.
std::string SensorRecord() {
  recording::UserDataContent content;
  for (int s = 0; s < 10; ++s) {
    content.times.push_back(static_cast<std::int32_t>(kStart + s));
    content.gpsSentences.push_back(recording::FormatRmcSentence(kStart + s, 37.5 + s * 1e-4, 127.0, 20.0, 90.0));
  }
  for (int i = 0; i < 100; ++i) content.gsensor.push_back({0.01f * static_cast<float>(i % 7), -0.1f, 1.0f});
  return recording::BuildUserDataBox(content);
}

// Where each top-level box starts, for cutting a recording inside a chosen one.
std::size_t BoxStart(std::string_view file, std::string_view type) {
  std::size_t at = 0;
  while (file.size() - at >= 8) {
    if (file.substr(at + 4, 4) == type) return at;
    const std::uint32_t size = BigEndian32(file, at);
    if (size < 8) break;
    at += size;
  }
  throw std::runtime_error("the sample recording has no " + std::string(type) + " box");
}

void WriteRecordings(Card& card) {
  const std::string sensors = SensorRecord();
  const std::string front = EncodeCameraVideo({320, 240, 1, kStart, "FRONT"}) + sensors;
  card.Write(BadKind::GoodRecording, "EVENT/drf_20240513_090000.mp4", front, "a sound recording");
  card.Write(BadKind::GoodRecording, "EVENT/drr_20240513_090000.mp4", front, "a sound rear recording");

  const std::size_t mdat = BoxStart(front, "mdat"), moov = BoxStart(front, "moov"), udta = BoxStart(front, "udta");
  const std::pair<std::size_t, const char*> cuts[] = {{20, "cut inside ftyp"},
                                                      {mdat + 8, "cut after the mdat header"},
                                                      {(mdat + moov) / 2, "cut inside mdat"},
                                                      {moov, "cut where the movie header starts"},
                                                      {(moov + udta) / 2, "cut inside moov"},
                                                      {udta + 20, "cut inside the sensor record"}};
  int second = 0;
  for (const auto& [length, what] : cuts) {
    char name[64];
    std::snprintf(name, sizeof name, "CONTINUOUS/drf_20240513_0901%02d.mp4", second++);
    card.Write(BadKind::TruncatedRecording, name, std::string_view(front).substr(0, length), what);
  }

  card.Write(BadKind::EmptyRecording, "CONTINUOUS/drf_20240513_090200.mp4", "", "zero bytes");
  card.Write(BadKind::RandomRecording, "EVENT/drf_20240513_090300.mp4", card.RandomBytes(256 * 1024),
             "256 KiB of random bytes");
  card.Write(BadKind::RandomRecording, "EVENT/drr_20240513_090300.mp4", card.RandomBytes(2048),
             "2 KiB of random bytes, the rear channel");

  // Half a million tiny sound tracks ahead of the video track, and a sensor record whose last
  // table claims 4 GiB.
  std::string tracks;
  const std::string soundTrack =
      Box("trak", Box("mdia", Box("hdlr", std::string(8, '\0') + "soun" + std::string(4, '\0'))));
  for (int i = 0; i < 450000; ++i) tracks += soundTrack;
  tracks += Box("trak", Box("mdia", Box("hdlr", std::string(8, '\0') + "vide" + std::string(4, '\0')) +
                                        Box("minf", Box("stbl", Box("stts", std::string(8, '\0'))))));
  card.Write(BadKind::CraftedRecording, "EVENT/drf_20240513_090900.mp4",
             Box("ftyp", "isom") + Box("mdat", "") + Box("moov", tracks) + sensors,
             "450,000 sound tracks before the video track");

  std::string tables =
      Box("TIME", std::string(4, '\0')) + Box("GPSI", std::string(64, '\0')) + Box("SENS", std::string(12, '\0'));
  PutBigEndian32(tables, tables.size() - 20, 0xFFFFFFF0u);
  card.Write(BadKind::HugeTables, "EVENT/drf_20240513_091000.mp4",
             Box("mdat", "") + Box("free", std::string(2048, '\0')) + Box("udta", tables),
             "a G-sensor table that claims 4 GiB");

  card.Folder(BadKind::FolderRecording, "EVENT/drf_20240513_090400.mp4", "a folder named like a recording");
  card.Fifo(BadKind::FifoRecording, "EVENT/drf_20240513_090500.mp4", "a FIFO named like a recording");
  card.Fifo(BadKind::FifoRecording, "EVENT/drr_20240513_091100.mp4", "a FIFO named like a rear recording");
  card.Write(BadKind::GoodRecording, "EVENT/drf_20240513_091100.mp4", front,
             "a sound recording with a FIFO as its rear channel");
  card.Link(BadKind::DeviceRecording, "EVENT/drf_20240513_090800.mp4", "/dev/zero", "a link to /dev/zero");
  card.Link(BadKind::LinkLoopRecording, "EVENT/drf_20240513_090600.mp4", "drf_20240513_090601.mp4", "a link loop");
  card.Link(BadKind::LinkLoopRecording, "EVENT/drf_20240513_090601.mp4", "drf_20240513_090600.mp4", "a link loop");
  card.Link(BadKind::LinkLoopRecording, "EVENT/again", "..", "a folder link back up");
  const fs::path unreadable =
      card.Write(BadKind::UnreadableRecording, "EVENT/drf_20240513_090700.mp4", card.RandomBytes(4096), "mode 000");
  fs::permissions(unreadable, fs::perms::none);
}

tracker::GpsFix LogFix(int second) {
  const std::time_t t = kStart + 3600 + second;
  std::tm fields{};
  ::gmtime_r(&t, &fields);
  tracker::GpsFix fix;
  fix.year = fields.tm_year + 1900, fix.month = fields.tm_mon + 1, fix.day = fields.tm_mday;
  fix.hour = fields.tm_hour, fix.minute = fields.tm_min, fix.second = fields.tm_sec;
  fix.latitude = 37.5 + second * 1e-4;  // about 40 km/h north
  fix.longitude = 127.0;
  fix.speed_knots = 21.6;
  return fix;
}

std::string Log(int firstSecond, int seconds) {
  std::vector<tracker::GpsChunk> chunks;
  for (int s = 0; s < seconds; ++s) {
    if (s % 60 == 0) chunks.emplace_back();
    chunks.back().sentences.push_back(tracker::FormatGprmcSentence(LogFix(firstSecond + s)));
  }
  const std::optional<std::string> bytes = tracker::EncodeGpsLog(chunks);
  if (!bytes) throw std::runtime_error("cannot encode a GPS log");
  return *bytes;
}

// Chunk header fields (little-endian), as the reader takes them.
constexpr std::size_t kChunkHeader = 48, kSkipBefore = 16, kCompressedSize = 20, kSkipAfter = 32;

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return value;
}

void WriteLogs(Card& card) {
  card.Write(BadKind::GoodLog, "GPSLOG/20240513_100000.gps", Log(0, 900), "a sound log of a quarter of an hour");
  card.Write(BadKind::RandomLog, "GPSLOG/20240513_100100.gps", card.RandomBytes(64 * 1024), "64 KiB of random bytes");
  std::string tagged = card.RandomBytes(16 * 1024);
  std::memcpy(tagged.data() + 12, "GPS", 3);
  card.Write(BadKind::TaggedRandomLog, "GPSLOG/20240513_100200.gps", tagged, "a chunk tag, then random bytes");

  // One chunk whose skip after the data, as a signed number, leads back to the chunk's start.
  std::string looping = Log(1000, 60);
  const std::uint32_t length = static_cast<std::uint32_t>(kChunkHeader) + LittleEndian32(looping, kSkipBefore) +
                               LittleEndian32(looping, kCompressedSize);
  PutLittleEndian32(looping, kSkipAfter, 0u - length);
  card.Write(BadKind::LoopingLog, "GPSLOG/20240513_100300.gps", looping, "a chunk chain that loops");

  std::string oversized = Log(2000, 60);
  PutLittleEndian32(oversized, kCompressedSize, 0xFFFFFFFFu);
  card.Write(BadKind::OversizedChunkLog, "GPSLOG/20240513_100400.gps", oversized, "a chunk that claims 4 GiB");
  card.Write(BadKind::EmptyLog, "GPSLOG/20240513_100500.gps", "", "zero bytes");
  card.Fifo(BadKind::FifoLog, "GPSLOG/20240513_100600.gps", "a FIFO");
  card.Folder(BadKind::FolderLog, "GPSLOG/20240513_100700.gps", "a folder named like a log");
  card.Link(BadKind::DeviceLog, "GPSLOG/20240513_100800.gps", "/dev/zero", "a link to /dev/zero");
}

// A sound database of one day row over `count` fixes.
std::string Database(int count) {
  tracker::PointStore points(static_cast<std::size_t>(count), tracker::TrackPoint{});
  for (int i = 0; i < count; ++i) {
    tracker::TrackPoint& p = points[static_cast<std::size_t>(i)];
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", 37.5 + i * 1e-4);
    tracker::SetFieldText(p.latitude, std::string(text).substr(0, 8));
    tracker::SetFieldText(p.longitude, "127.0000");
    tracker::SetFieldText(p.date, "20240513");
    std::snprintf(text, sizeof text, "10%02d%02d", i / 60 % 60, i % 60);
    tracker::SetFieldText(p.time, text);
    tracker::SetFieldText(p.speed, "021.6");
    p.date_number = 20240513;
    p.time_number = std::atoi(text);
  }
  tracker::TripRecord day{};
  day.type = tracker::RowType::kDay;
  day.point_count = count;
  return tracker::EncodeTripDatabase({&day, 1}, points, tracker::kCurrentProfile.database_magic);
}

// A database whose point block is `blockSize` bytes of junk claiming `factor` times as much.
std::string ExpandingDatabase(Card& card, std::uint32_t blockSize, std::uint32_t factor) {
  constexpr std::size_t kRowCount = 16, kFullBlocks = 20, kRest = 24, kRowBlock = 28, kPointBlock = 32;
  constexpr std::uint32_t kHeader = 76, kPointsPerBlock = 360000, kPointSize = 56;
  const std::string sound = Database(0);
  const std::uint32_t rowBlock = LittleEndian32(sound, kRowBlock);
  const std::uint64_t points = std::uint64_t{blockSize} * factor / kPointSize;
  std::string bytes = sound.substr(0, kHeader + rowBlock) + card.RandomBytes(blockSize) +
                      sound.substr(sound.size() - 4 * LittleEndian32(sound, kRowCount));
  PutLittleEndian32(bytes, kFullBlocks, static_cast<std::uint32_t>(points / kPointsPerBlock));
  PutLittleEndian32(bytes, kRest, static_cast<std::uint32_t>(points % kPointsPerBlock));
  PutLittleEndian32(bytes, kPointBlock, blockSize);
  return bytes;
}

void WriteDatabases(Card& card) {
  card.Write(BadKind::ExpandingDatabase, "expand1000.KEL", ExpandingDatabase(card, 1 << 20, 1000),
             "1 MiB that claims a thousandfold");
  card.Write(BadKind::ExpandingDatabase, "expand200.KEL", ExpandingDatabase(card, 4 << 20, 200),
             "4 MiB of junk that claims two hundredfold");
  const std::string sound = Database(5000);
  card.Write(BadKind::TruncatedDatabase, "half.KEL", std::string_view(sound).substr(0, sound.size() / 2),
             "a sound database cut in half");
  card.Write(BadKind::RandomDatabase, "random.KEL", card.RandomBytes(32 * 1024), "32 KiB of random bytes");
  card.Fifo(BadKind::FifoSetupFile, "SETUP/Setup.ini", "a FIFO as the settings file");
}

// Links out of the card and back into it. The outside folder holds what a careless program would
// harm: a recording small enough to be taken for a stub, a file a clock write would replace.
void WriteLinks(Card& card, const fs::path& outside) {
  fs::create_directories(outside / "videos");
  std::ofstream(outside / "videos" / "drf_20240513_095900.mp4", std::ios::binary) << std::string(600, 'v');
  std::ofstream(outside / "victim.txt", std::ios::binary) << "not the card's\n";
  card.Link(BadKind::OutsideFolderLink, "EVENT/archive", outside / "videos",
            "a folder link off the card to a 600-byte recording");
  card.Link(BadKind::OutsideFileLink, "EVENT/drf_20240513_095800.mp4", outside / "videos" / "drf_20240513_095900.mp4",
            "a recording linked off the card");
  card.Link(BadKind::OutsideFileLink, "_D9SetTimeSetting.dx_", outside / "victim.txt",
            "the clock file linked off the card");
  for (int i = 0; i < 100; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "CONTINUOUS/loop%03d", i);
    card.Link(BadKind::FolderLinkFan, name, ".", "a link to its own folder");
  }
}

}  // namespace

std::vector<BadItem> BadCardManifest::Of(BadKind kind) const {
  std::vector<BadItem> found;
  for (const BadItem& item : items) {
    if (item.kind == kind) found.push_back(item);
  }
  return found;
}

BadCardManifest WriteBadCard(const fs::path& out, std::uint64_t seed) {
  Card card(out, seed);
  fs::create_directories(out);
  WriteRecordings(card);
  WriteLogs(card);
  WriteDatabases(card);
  fs::path outside = out.lexically_normal();
  if (!outside.has_filename()) outside = outside.parent_path();
  outside += "-outside";
  WriteLinks(card, outside);
  card.manifest.logFolder = out / "GPSLOG";
  card.manifest.outside = outside;
  return std::move(card.manifest);
}

}  // namespace samplecard
