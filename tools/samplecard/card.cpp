#include "tools/samplecard/card.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "manager/recording/user_data_writer.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_writer.h"
#include "manager/timeline/camera_zone.h"
#include "tools/samplecard/camera_video.h"
#include "tracker/log/gps_log_writer.h"

namespace samplecard {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kFirstDay = 1715558400;  // 2024-05-13 00:00:00 UTC
constexpr int kRecordsPerChunk = 60;           // the camera writes a chunk a minute

struct Day {
  std::vector<std::vector<RouteFix>> drives;
};

// `utc` as YYYYMMDD_hhmmss.
std::string Stamp(std::time_t utc) {
  std::tm fields{};
  ::gmtime_r(&utc, &fields);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d_%H%M%S", &fields);
  return text;
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Drives from the morning on, with parking stops of half an hour to a few hours between them.
std::vector<Day> PlanDays(Random& random, const CardOptions& options) {
  std::vector<Day> days(static_cast<std::size_t>(options.days));
  Place place;
  for (int d = 0; d < options.days; ++d) {
    std::time_t start = kFirstDay + std::time_t{d} * 86400 + 6 * 3600 + random.Between(0, 3600);
    for (int k = 0; k < options.drivesPerDay; ++k) {
      const int seconds = random.Between(options.minDriveSeconds, options.maxDriveSeconds);
      days[static_cast<std::size_t>(d)].drives.push_back(Drive(random, start, seconds, place));
      start += seconds + random.Between(1800, 5400);
    }
  }
  return days;
}

// A burst of implausible fixes, as a receiver sometimes reports after a cold start: a few
// seconds a degree and a half away from the road.
void AddOutlierBurst(std::vector<Day>& days) {
  auto& drive = days.back().drives[days.back().drives.size() / 2];
  const std::size_t at = drive.size() * 3 / 4;
  for (std::size_t i = at; i < at + 4 && i < drive.size(); ++i) drive[i].latitude += 1.5;
}

tracker::GpsFix LogFix(const RouteFix& fix) {
  std::tm t{};
  ::gmtime_r(&fix.utc, &t);
  tracker::GpsFix out;
  out.year = t.tm_year + 1900, out.month = t.tm_mon + 1, out.day = t.tm_mday;
  out.hour = t.tm_hour, out.minute = t.tm_min, out.second = t.tm_sec;
  out.latitude = fix.latitude, out.longitude = fix.longitude;
  out.speed_knots = fix.knots;
  out.valid = fix.valid;
  return out;
}

// One file per stretch of a drive, a chunk a minute; every twentieth record is a GGA sentence
// the tracker must pass over.
void WriteLogs(const fs::path& card, const std::vector<Day>& days, const CardOptions& options, CardManifest& manifest) {
  const fs::path folder = card / kLogFolder;
  fs::create_directories(folder);
  for (const Day& day : days) {
    for (const auto& drive : day.drives) {
      for (std::size_t first = 0; first < drive.size(); first += static_cast<std::size_t>(options.fixesPerLogFile)) {
        const std::size_t last = std::min(drive.size(), first + static_cast<std::size_t>(options.fixesPerLogFile));
        LogFileInfo info;
        info.path = folder / (Stamp(drive[first].utc) + ".gps");
        std::vector<tracker::GpsChunk> chunks;
        for (std::size_t i = first; i < last; ++i) {
          if (chunks.empty() || chunks.back().sentences.size() == kRecordsPerChunk) {
            chunks.emplace_back();
            chunks.back().skip_before_data = 16;
            chunks.back().skip_after_data = 32;
          }
          auto& sentences = chunks.back().sentences;
          if (i % 20 == 10) {
            sentences.push_back("$GPGGA," + Stamp(drive[i].utc).substr(9) + ",,,,,0,00,,,M,,M,,*66");
          }
          sentences.push_back(tracker::FormatGprmcSentence(LogFix(drive[i])));
          if (drive[i].valid) ++info.validFixes;
        }
        for (const auto& chunk : chunks) info.records += chunk.sentences.size();
        const auto bytes = tracker::EncodeGpsLog(chunks);
        if (!bytes) throw std::runtime_error("cannot encode " + info.path.string());
        WriteBytes(info.path, *bytes);
        manifest.validFixes += info.validFixes;
        manifest.logs.push_back(std::move(info));
      }
    }
  }
  // The same file again under another name, as a user copying logs around leaves them.
  LogFileInfo copy = manifest.logs.front();
  copy.path = folder / (copy.path.stem().string() + "_copy.gps");
  copy.copy = true;
  fs::copy_file(manifest.logs.front().path, copy.path, fs::copy_options::overwrite_existing);
  manifest.validFixes += copy.validFixes;
  manifest.logs.push_back(std::move(copy));
}

// Ten G-sensor samples a second, stored Z, X, Y: gravity, the car's pulling away and braking,
// its turns, road noise, and in event recordings an impact halfway through: a hard jolt
// backwards with a bump, then the rebound, about 1.9 g at its peak.
std::vector<std::array<float, 3>> GSensor(Random& random, const std::vector<RouteFix>& fixes, bool bump) {
  std::vector<std::array<float, 3>> samples;
  for (std::size_t s = 0; s < fixes.size(); ++s) {
    const double previous = s > 0 ? fixes[s - 1].knots : fixes[s].knots;
    const double along = (fixes[s].knots - previous) * 0.514444 / 9.81;
    const double across = (s > 0 ? fixes[s].course - fixes[s - 1].course : 0.0) * 0.01;
    for (int k = 0; k < 10; ++k) {
      double z = 0.98 + random.Uniform(-0.03, 0.03);
      double x = along + random.Uniform(-0.02, 0.02);
      if (bump && s == fixes.size() / 2 && k < 3) {
        constexpr double kJolt[3][2] = {{-0.5, 0.2}, {-1.8, -0.6}, {0.7, 0.3}};  // along, up
        x += kJolt[k][0];
        z += kJolt[k][1];
      }
      samples.push_back(
          {static_cast<float>(z), static_cast<float>(x), static_cast<float>(across + random.Uniform(-0.02, 0.02))});
    }
  }
  return samples;
}

// The time table holds the camera's clock, which runs on local time; the GPS sentences keep UTC.
std::string UserData(const RecordingInfo& info, std::time_t localOffset) {
  recording::UserDataContent content;
  content.timeType = info.kind == RecordingKind::RtcdTimeTable ? "RTCD" : "TIME";
  for (const RouteFix& fix : info.fixes) {
    content.times.push_back(static_cast<std::int32_t>(fix.utc + localOffset));
    content.gpsSentences.push_back(
        recording::FormatRmcSentence(fix.utc, fix.latitude, fix.longitude, fix.knots, fix.course, fix.valid));
  }
  content.gsensor = info.gsensor;
  return recording::BuildUserDataBox(content);
}

// The movie header keeps its size but loses its type: the box chain is broken where the
// player and the structure check look first.
void DamageMovieHeader(std::string& bytes) {
  const std::size_t moov = bytes.find("moov");
  if (moov != std::string::npos) bytes.replace(moov, 4, "mOOv");
}

struct Plan {
  RecordingKind kind;
  const char* cause;
};

Plan PlanFor(int k) {
  static constexpr Plan kPlans[] = {
      {RecordingKind::Normal, "CONTINUOUS"},     {RecordingKind::Normal, "EVENT"},
      {RecordingKind::RtcdTimeTable, "MANUAL"},  {RecordingKind::NoCompanion, "Dx_0001"},
      {RecordingKind::NoUserData, "CONTINUOUS"}, {RecordingKind::DamagedMovie, "EVENT"},
  };
  if (k < 6) return kPlans[k];
  return {RecordingKind::Normal, k % 2 == 0 ? "CONTINUOUS" : "EVENT"};
}

// Recording names, the sensor record's time table and the clock burnt into the picture are the
// camera's local time (its zone in Setup.ini); the GPS sentences and logs keep UTC, so all of them
// describe the same moments.
void WriteRecordings(const fs::path& card, Random& random, const std::vector<Day>& days, const CardOptions& options,
                     CardManifest& manifest, const std::function<void(std::string_view)>& progress) {
  const std::time_t local = manifest.cameraOffsetSeconds;
  const auto& drives = days.front().drives;
  const int seconds = options.recordingSeconds;
  for (int k = 0; k < options.recordings; ++k) {
    const auto& drive = drives[static_cast<std::size_t>(k) % drives.size()];
    const std::size_t offset = 30 + static_cast<std::size_t>(k / static_cast<int>(drives.size())) * (seconds + 15);
    if (offset + static_cast<std::size_t>(seconds) > drive.size()) continue;

    const Plan plan = PlanFor(k);
    RecordingInfo info;
    info.kind = plan.kind;
    info.cause = plan.cause;
    info.fixes.assign(drive.begin() + static_cast<std::ptrdiff_t>(offset),
                      drive.begin() + static_cast<std::ptrdiff_t>(offset) + seconds);
    info.start = info.fixes.front().utc;
    info.gsensor = GSensor(random, info.fixes, info.cause == "EVENT");
    const std::string name = Stamp(info.start + local) + ".mp4";
    info.front = card / info.cause / ("drf_" + name);
    if (progress) progress("recording " + info.front.string());

    const std::string userData = info.kind == RecordingKind::NoUserData ? std::string() : UserData(info, local);
    std::string front = EncodeCameraVideo({1280, 720, seconds, info.start + local, "FRONT"});
    if (info.kind == RecordingKind::DamagedMovie) DamageMovieHeader(front);
    WriteBytes(info.front, front + userData);
    if (info.kind != RecordingKind::NoCompanion) {
      info.rear = card / info.cause / ("drr_" + name);
      WriteBytes(*info.rear, EncodeCameraVideo({640, 480, seconds, info.start + local, "REAR"}) + userData);
    }
    manifest.recordings.push_back(std::move(info));
  }
  // Recordings the camera cut off before any data: the manager deletes such stubs.
  if (options.recordings > 0) {
    const std::time_t late = drives.back().back().utc + local;
    manifest.stubs.push_back(card / "CONTINUOUS" / ("drf_" + Stamp(late) + ".mp4"));
    manifest.stubs.push_back(card / "EVENT" / ("drf_" + Stamp(late + 1) + ".mp4"));
    WriteBytes(manifest.stubs[0], "");
    WriteBytes(manifest.stubs[1], std::string(1024, '\0'));
  }
}

}  // namespace

CardManifest WriteCard(const fs::path& out, const CardOptions& options,
                       const std::function<void(std::string_view)>& progress) {
  if (options.days < 1 || options.drivesPerDay < 1 || options.minDriveSeconds < 60 ||
      options.maxDriveSeconds < options.minDriveSeconds || options.fixesPerLogFile < 1 || options.recordings < 0 ||
      options.recordingSeconds < 1) {
    throw std::runtime_error("the card's options are out of range");
  }
  fs::create_directories(out);
  Random random(options.seed);
  CardManifest manifest;
  const setup::DeviceSettings& settings = setup::kDualProfile.defaults;
  manifest.cameraOffsetSeconds = timeline::CameraZoneOffset(settings.TimeZone, settings.DST != 0).value_or(0);

  std::vector<Day> days = PlanDays(random, options);
  WriteRecordings(out, random, days, options, manifest, progress);
  AddOutlierBurst(days);
  if (progress) progress("GPS logs");
  WriteLogs(out, days, options, manifest);

  manifest.setupFile = out / "SETUP" / "Setup.ini";
  WriteBytes(manifest.setupFile, setup::FactoryText(setup::kDualProfile, settings));
  return manifest;
}

}  // namespace samplecard
