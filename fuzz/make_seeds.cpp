// fuzz_seeds OUT: writes a seed corpus for every fuzz target into OUT/TARGET/, taken from a
// small sample card that it generates first (so no seed is a file nobody can make again).
// Recordings lose their media data: the parsers never read it, and small seeds fuzz faster.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/text_encoding.h"
#include "manager/recording/samples.h"
#include "manager/recording/sensor_record.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_writer.h"
#include "tools/samplecard/card.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/callback_scan_host.h"
#include "tracker/log/time_zone.h"
#include "tracker/log/track_document.h"
#include "tracker/log/trip_database.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::string bytes;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  return bytes;
}

class Corpus {
 public:
  explicit Corpus(fs::path root) : root_(std::move(root)) {}

  void Add(std::string_view target, std::string_view bytes) {
    const fs::path folder = root_ / target;
    fs::create_directories(folder);
    std::ofstream out(folder / ("seed-" + std::to_string(count_[std::string(target)]++)), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write into " + folder.string());
  }

 private:
  fs::path root_;
  std::map<std::string, int> count_;
};

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The recording with an empty `mdat` box: the box layout the structure check walks, without
// the video. The movie header's sample offsets no longer point at frames; nothing here reads them.
std::string WithoutMediaData(std::string_view file) {
  std::string out;
  std::size_t at = 0;
  while (file.size() - at >= 8) {
    const std::uint32_t size = BigEndian32(file, at);
    if (size < 8 || size > file.size() - at) break;
    if (file.substr(at + 4, 4) == "mdat") {
      out += std::string_view("\0\0\0\x08mdat", 8);
    } else {
      out += file.substr(at, size);
    }
    at += size;
  }
  out += file.substr(at);
  return out;
}

void AddRecording(Corpus& corpus, const fs::path& path) {
  const std::string file = ReadBytes(path);
  corpus.Add("structure_check", WithoutMediaData(file));

  recording::SensorRecord record;
  if (recording::LoadUserData(path.string(), record) != recording::kLoadOk) return;  // made without one
  corpus.Add("user_data", std::string_view(reinterpret_cast<const char*>(record.copy.data()), record.copy.size()));
  record.cursor = 0;
  if (recording::ParseUserData(record) != recording::kParseOk) return;
  std::set<std::string> sentences;
  for (std::uint32_t i = 0; i < recording::GpsSampleCount(record) && sentences.size() < 6; ++i) {
    const recording::GpsSample sample = recording::GpsSampleAt(record, i);
    sentences.emplace(sample.text.data(), sample.text.size());
  }
  for (const std::string& sentence : sentences) corpus.Add("gps_sample", sentence);
}

void AddTripDatabases(Corpus& corpus, const fs::path& logFolder) {
  tracker::TrackDocument document;
  tracker::CallbackScanHost host;
  tracker::ScanFolder(logFolder, tracker::TimeZoneOffsetAt(tracker::kDefaultTimeZoneIndex), document, host);
  for (const tracker::TrackerProfile* profile : {&tracker::kCurrentProfile, &tracker::kOlderProfile}) {
    corpus.Add("trip_database",
               tracker::EncodeTripDatabase(document.trips.rows, document.points, profile->database_magic));
    corpus.Add("trip_database", tracker::EncodeTripDatabase({}, {}, profile->database_magic));
  }
}

void AddSettings(Corpus& corpus, const fs::path& setupFile) {
  corpus.Add("setup_ini", ReadBytes(setupFile));
  for (const setup::Profile* profile : {&setup::kDualProfile, &setup::kParkProfile, &setup::kBrandProfile}) {
    corpus.Add("setup_ini", setup::FactoryText(*profile, profile->defaults));
  }
}

// A language file as translators write them: sections per language, comments, quotes, blanks;
// in UTF-8, UTF-8 with a byte-order mark and UTF-16LE with one.
void AddLanguageFiles(Corpus& corpus) {
  const std::string text =
      "; manager texts\r\n"
      "[ENGLISH]\r\n"
      "SEARCH_FOLDER = Search folder\r\n"
      "FACTORY_SETTING_SUCCEED=\"Factory setting succeeded.\"\r\n"
      "[Korean]\r\n"
      "SEARCH_FOLDER=\xEA\xB2\x80\xEC\x83\x89 \xED\x8F\xB4\xEB\x8D\x94\r\n"
      "EMPTY=\r\n"
      "[broken\r\n"
      "QUOTED='single'\r\n";
  corpus.Add("language_ini", text);
  corpus.Add("language_ini", "\xEF\xBB\xBF" + text);
  corpus.Add("language_ini", "\xFF\xFE" + common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(text)));
}

// TempMO.ini and TempMS.ini: a folder's path as UTF-16LE code units.
void AddFolderFiles(Corpus& corpus, const fs::path& card) {
  for (const std::string& folder :
       {card.string(), (card / "SETUP").string(), std::string("/media/\xEC\xB9\xB4\xEB\x93\x9C")}) {
    corpus.Add("temp_ini", common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(folder)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_seeds OUT\n";
    return 1;
  }
  const fs::path out = argv[1];
  try {
    const fs::path card = out / "card";
    fs::remove_all(card);
    samplecard::CardOptions options = samplecard::PresetOptions(samplecard::Preset::Small);
    options.days = 1;
    options.drivesPerDay = 2;
    options.minDriveSeconds = 300;
    options.maxDriveSeconds = 600;
    options.fixesPerLogFile = 250;
    options.recordings = 6;
    options.recordingSeconds = 1;
    const samplecard::CardManifest manifest = samplecard::WriteCard(card, options);

    Corpus corpus(out);
    for (const samplecard::RecordingInfo& recording : manifest.recordings) AddRecording(corpus, recording.front);
    for (const samplecard::LogFileInfo& log : manifest.logs) corpus.Add("gps_log", ReadBytes(log.path));
    AddTripDatabases(corpus, card / samplecard::kLogFolder);
    AddSettings(corpus, manifest.setupFile);
    AddLanguageFiles(corpus);
    AddFolderFiles(corpus, card);
    fs::remove_all(card);
  } catch (const std::exception& error) {
    std::cerr << "fuzz_seeds: " << error.what() << '\n';
    return 2;
  }
  return 0;
}
