#include "manager/incident/incident_export.h"

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>

#include <nlohmann/json.hpp>

#include "common/atomic_file.h"
#include "common/path_text.h"
#include "manager/incident/clip_cut.h"
#include "manager/incident/clip_plan.h"
#include "manager/incident/evidence_files.h"
#include "manager/incident/file_digest.h"
#include "manager/incident/incident_page.h"
#include "manager/library/folder_scan.h"
#include "manager/library/recording_name.h"
#include "manager/recording/gps_decode.h"
#include "manager/recording/impact.h"
#include "manager/recording/movie_duration.h"
#include "manager/recording/open_check.h"
#include "manager/recording/samples.h"
#include "manager/recording/structure_check.h"

namespace incident {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr double kKnotsToKmh = 1.852;

// The longest recording a camera writes; recordings that start further away cannot touch ours.
constexpr std::int64_t kLongestRecording = 3600 * kUnitsPerSecond;

double Seconds(std::int64_t units) { return static_cast<double>(units) / kUnitsPerSecond; }
double Rounded(double value, double step) { return std::round(value / step) * step; }

bool FolderHoldsAnything(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) return false;
  if (!fs::is_directory(folder, error)) return true;
  return fs::directory_iterator(folder, error) != fs::directory_iterator();
}

// A recording's path as the recipient sees it on the card: its folder and name.
std::string CardPath(const std::string& path) {
  const fs::path p(path);
  return (p.parent_path().filename() / p.filename()).generic_string();
}

// Why the player could not open `path`, in plain words; empty when it can. The box-structure
// check and the bounded check before opening both run: a file only the demuxer would choke on
// (half a million tracks, a cut-off movie header, HEVC) must not reach the clip cutter either.
std::string WhyUnplayable(const std::string& path) {
  const recording::OpenCheck check = recording::CheckBeforeOpening(path);
  if (check.verdict != recording::OpenVerdict::kPlayable) return recording::CauseOf(check.verdict, check.videoFormat);
  if (recording::CheckRecordingStructure(path) != recording::kStructureOk) return "the recording's boxes are broken";
  return {};
}

// Recordings of the card that may lie next to `path`: those of the folder above its own, in its
// own folder and beside it, whose names start within an hour of it.
std::vector<CardRecording> Neighbours(const std::string& path) {
  std::vector<CardRecording> found;
  const auto start = NameStartTime(path);
  if (!start) return found;
  library::StubHandling stubs;
  stubs.remove = false;
  const std::string card = fs::path(path).parent_path().parent_path().string();
  const library::SortedPathList list = library::BuildRecordingList(card.empty() ? "." : card, stubs);
  for (const std::string& candidate : list.paths()) {
    const auto there = NameStartTime(candidate);
    if (!there || std::llabs(static_cast<long long>(*there - *start)) * kUnitsPerSecond > kLongestRecording) continue;
    // A neighbour that would not open in the player is left out rather than spoil the clip.
    if (!WhyUnplayable(candidate).empty()) continue;
    if (const auto duration = recording::ReadMovieDuration(candidate)) found.push_back({candidate, *duration});
  }
  return found;
}

// The same recordings' other channel, where the card holds it.
std::optional<CardRecording> Companion(const std::optional<CardRecording>& front) {
  if (!front) return std::nullopt;
  const std::string path = library::CompanionPath(front->path);
  if (!WhyUnplayable(path).empty()) return std::nullopt;
  const auto duration = recording::ReadMovieDuration(path);
  if (!duration) return std::nullopt;
  return CardRecording{path, *duration};
}

// The samples of the pieces, placed relative to the moment.
struct RangeData {
  std::vector<TrackSample> track;
  std::vector<GSample> gsensor;
  std::optional<std::size_t> largestG;      // index into gsensor
  std::optional<std::size_t> largestSpeed;  // index into track
  bool anyRecord = false;
};

RangeData CollectRange(std::span<const ClipPiece> pieces, std::size_t current, std::int64_t at) {
  RangeData data;
  std::vector<std::int64_t> startInClip;
  std::int64_t length = 0;
  for (const ClipPiece& piece : pieces) {
    startInClip.push_back(length);
    length += piece.to - piece.from;
  }
  const std::int64_t moment = startInClip[current] + (at - pieces[current].from);
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const ClipPiece& piece = pieces[k];
    recording::SensorRecord record;
    if (!recording::LoadSensorRecord(piece.path, record)) continue;
    record.duration = recording::ReadMovieDuration(piece.path).value_or(0);
    if (record.duration <= 0) continue;
    data.anyRecord = true;
    const auto place = [&](std::int64_t t) { return Seconds(startInClip[k] + (t - piece.from) - moment); };
    const auto timeAt = [&](std::int64_t t) -> std::optional<std::int32_t> {
      return recording::FindTimeSample(record, t);
    };
    const std::uint32_t fixes = recording::GpsSampleCount(record);
    for (std::uint32_t i = 0; i < fixes; ++i) {
      const std::int64_t t = recording::SampleStart(i, fixes, record.duration);
      if (t < piece.from || t >= piece.to) continue;
      TrackSample sample{place(t), timeAt(t), recording::DecodeGpsSample(recording::GpsSampleAt(record, i)), {}};
      sample.kind = recording::ClassifyFix(sample.fix);
      if (sample.kind == recording::FixKind::Ok &&
          (!data.largestSpeed || sample.fix.speed > data.track[*data.largestSpeed].fix.speed)) {
        data.largestSpeed = data.track.size();
      }
      data.track.push_back(sample);
    }
    const auto samples = recording::GSensorSamples(record);
    const auto median = recording::MedianSample(samples);
    const auto count = static_cast<std::uint32_t>(samples.size());
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::int64_t t = recording::SampleStart(i, count, record.duration);
      if (t < piece.from || t >= piece.to) continue;
      GSample sample{place(t), timeAt(t), samples[i].values,
                     median ? recording::GChange(samples[i], *median) : std::nullopt};
      if (sample.change && (!data.largestG || *sample.change > *data.gsensor[*data.largestG].change)) {
        data.largestG = data.gsensor.size();
      }
      data.gsensor.push_back(sample);
    }
  }
  return data;
}

Json TimeJson(const std::optional<std::int32_t>& utc) {
  const auto text = utc ? IsoTime(*utc) : std::nullopt;
  return text ? Json(*text) : Json(nullptr);
}

Json PiecesJson(int channel, std::span<const ClipPiece> pieces) {
  Json list = Json::array();
  for (const ClipPiece& piece : pieces) {
    list.push_back({{"channel", channel},
                    {"file", CardPath(piece.path)},
                    {"fromSeconds", Rounded(Seconds(piece.from), 0.001)},
                    {"toSeconds", Rounded(Seconds(piece.to), 0.001)}});
  }
  return list;
}

// Removes the temporary folder unless it was put in place.
struct Scratch {
  fs::path path;
  bool kept = false;
  ~Scratch() {
    if (kept || path.empty()) return;
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

bool WriteText(const fs::path& path, std::string_view text) { return common::WriteFileAtomically(path, text); }

// Puts the finished folder in place of `folder`: an empty folder is replaced at once; one with
// files (with --force) is moved aside first and removed once the new one stands.
bool PutInPlace(const fs::path& made, const fs::path& folder, std::string& error) {
  std::error_code fsError;
  fs::path aside;
  if (FolderHoldsAnything(folder)) {
    aside = folder.parent_path() / ("." + folder.filename().string() + ".old");
    fs::remove_all(aside, fsError);
    fs::rename(folder, aside, fsError);
    if (fsError) {
      error = folder.string() + ": cannot be replaced: " + fsError.message();
      return false;
    }
  } else if (fs::is_directory(folder, fsError)) {
    fs::remove(folder, fsError);
  }
  fs::rename(made, folder, fsError);
  if (fsError) {
    error = folder.string() + ": " + fsError.message();
    if (!aside.empty()) fs::rename(aside, folder, fsError);
    return false;
  }
  if (!aside.empty()) fs::remove_all(aside, fsError);
  return true;
}

}  // namespace

IncidentResult ExportIncident(const IncidentRequest& request, const std::atomic<bool>* cancel,
                              const ExportProgress& progress) {
  IncidentResult result;
  const auto report = [&](double fraction, std::string_view step) {
    if (progress) progress(fraction, step);
  };
  const auto cancelled = [&] { return cancel != nullptr && cancel->load(); };
  const auto fail = [&](ExportStatus status, std::string error) {
    result.status = cancelled() ? ExportStatus::Cancelled : status;
    result.error = std::move(error);
    return result;
  };
  const setup::Profile& profile = request.profile != nullptr ? *request.profile : setup::kDualProfile;
  const fs::path folder = fs::absolute(request.folder).lexically_normal();
  if (folder.filename().empty()) return fail(ExportStatus::Refused, request.folder.string() + ": not a folder name");
  if (!request.force && FolderHoldsAnything(folder)) {
    return fail(ExportStatus::FolderInUse, folder.string() + " already holds files");
  }

  // The same check that opening a recording makes, before any media framework sees it.
  if (const std::string cause = WhyUnplayable(request.recording); !cause.empty()) {
    return fail(ExportStatus::Unreadable, request.recording + ": " + cause);
  }
  const auto duration = recording::ReadMovieDuration(request.recording);
  if (!duration) return fail(ExportStatus::Unreadable, request.recording + ": the movie header gives no length");
  if (request.at < 0 || request.at >= *duration) {
    char length[32];
    std::snprintf(length, sizeof length, "%.2f", Seconds(*duration));
    return fail(ExportStatus::Refused, "the moment is not inside " + request.recording + " (" + length + " s)");
  }

  const std::int64_t start = request.at - request.before;
  const std::int64_t end = request.at + request.after;
  const CardRecording front{request.recording, *duration};
  std::optional<CardRecording> previous, next;
  if (start < 0 || end > *duration) {
    const auto neighbours = Neighbours(request.recording);
    if (start < 0) previous = PreviousRecording(front, neighbours);
    if (end > *duration) next = NextRecording(front, neighbours);
  }
  const std::vector<ClipPiece> frontPlan = PlanClip(front, previous, next, start, end);

  std::error_code fsError;
  fs::create_directories(folder.parent_path(), fsError);
  Scratch scratch;
  std::string pattern = (folder.parent_path() / ("." + folder.filename().string() + ".partial-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    return fail(ExportStatus::Failed, folder.parent_path().string() + ": no folder can be made there");
  }
  scratch.path = pattern;
  // mkdtemp keeps the folder to its owner; the finished folder is as readable as any other.
  fs::permissions(scratch.path,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                      fs::perms::others_exec,
                  fsError);
  std::vector<std::string> sources;

  // The clips.
  report(0.0, "front.mp4");
  const bool twoChannels = profile.channels >= 2;
  const double clipShare = twoChannels ? 0.35 : 0.7;
  // Recordings whose streams differ (another resolution or encoder setting) cannot share one
  // MP4 track: the clip then keeps to the recording itself.
  const auto cutAlone = [&](const std::vector<ClipPiece>& plan, const CardRecording& own, const char* file,
                            const std::function<void(double)>& progressOf) {
    CutOutcome cut = CutClip(plan, (scratch.path / file).string(), cancel, progressOf);
    if (cut.status == CutStatus::Failed && plan.size() > 1) {
      const std::vector<ClipPiece> alone = PlanClip(own, std::nullopt, std::nullopt, start, end);
      cut = CutClip(alone, (scratch.path / file).string(), cancel, progressOf);
      if (cut.status == CutStatus::Ok) {
        result.warnings.push_back(std::string(file) + ": the recordings before or after could not be joined");
      }
    }
    return cut;
  };
  CutOutcome frontCut = cutAlone(frontPlan, front, "front.mp4", [&](double f) { report(f * clipShare, "front.mp4"); });
  if (frontCut.status != CutStatus::Ok) return fail(ExportStatus::Failed, frontCut.error);
  result.files.push_back("front.mp4");
  for (const ClipPiece& piece : frontCut.pieces) sources.push_back(piece.path);
  if (!frontCut.sound) result.warnings.push_back("front.mp4: the recording carries no sound");

  std::optional<CutOutcome> rearCut;
  std::optional<std::string> rearPath;
  if (twoChannels) {
    const auto rear = Companion(front);
    if (!rear) {
      result.warnings.push_back("no rear recording that can be played (" + library::CompanionPath(request.recording) +
                                "): no rear.mp4");
    } else {
      rearPath = rear->path;
      report(clipShare, "rear.mp4");
      const auto rearPlan = PlanClip(*rear, previous ? Companion(previous) : std::nullopt,
                                     next ? Companion(next) : std::nullopt, start, end);
      rearCut = cutAlone(rearPlan, *rear, "rear.mp4", [&](double f) { report(clipShare + f * 0.35, "rear.mp4"); });
      if (rearCut->status == CutStatus::Cancelled) return fail(ExportStatus::Cancelled, {});
      if (rearCut->status == CutStatus::Ok) {
        result.files.push_back("rear.mp4");
        for (const ClipPiece& piece : rearCut->pieces) sources.push_back(piece.path);
      } else {
        // The front clip is the evidence that matters most: a rear file the player cannot read
        // costs only the rear clip.
        result.warnings.push_back("no rear.mp4: " + rearCut->error);
        rearCut.reset();
        rearPath.reset();
      }
    }
  }
  if (cancelled()) return fail(ExportStatus::Cancelled, {});

  // The page, from the recording's own record.
  recording::SensorRecord record;
  const bool hasRecord = recording::LoadSensorRecord(request.recording, record);
  record.duration = *duration;
  if (request.page) {
    report(0.72, "page.pdf");
    std::string pageError;
    if (WriteIncidentPage(scratch.path / "page.pdf", request.recording, rearPath, request.at, profile, record,
                          pageError)) {
      result.files.push_back("page.pdf");
    } else {
      result.warnings.push_back("page.pdf: " + pageError);
    }
  }
  if (cancelled()) return fail(ExportStatus::Cancelled, {});

  // The data of the range: the clip's own pieces, so the files cover what the clip shows.
  report(0.8, "track.gpx");
  std::size_t current = 0;
  while (current + 1 < frontCut.pieces.size() && frontCut.pieces[current].path != request.recording) ++current;
  const RangeData range = CollectRange(frontCut.pieces, current, request.at);
  const std::string name = common::FileNameOf(request.recording).data();
  std::optional<recording::GpsFix> momentFix;
  const auto momentSample = hasRecord ? recording::FindGpsSample(record, request.at) : std::nullopt;
  if (momentSample) {
    const auto fix = recording::DecodeGpsSample(*momentSample);
    if (recording::ClassifyFix(fix) == recording::FixKind::Ok) momentFix = fix;
  }
  const std::pair<const char*, std::string> dataFiles[] = {
      {"track.gpx", TrackGpx(range.track, name)},
      {"track.kml", TrackKml(range.track, name, momentFix)},
      {"gsensor.csv", GSensorCsv(range.gsensor, profile)},
  };
  for (const auto& [file, text] : dataFiles) {
    if (!WriteText(scratch.path / file, text))
      return fail(ExportStatus::Failed, std::string(file) + ": cannot be written");
    result.files.push_back(file);
  }

  // The summary.
  Json summary;
  summary["program"] = "blackbox";
  summary["version"] = request.programVersion;
  summary["recording"] = CardPath(request.recording);
  summary["profile"] = std::string(profile.name);
  Json moment;
  moment["seconds"] = Rounded(Seconds(request.at), 0.001);
  const auto momentTime = hasRecord ? recording::FindTimeSample(record, request.at) : std::nullopt;
  moment["time"] = TimeJson(momentTime);
  if (momentFix) {
    moment["position"] = {{"latitude", Rounded(momentFix->latitude, 1e-6)},
                          {"longitude", Rounded(momentFix->longitude, 1e-6)}};
    moment["speedKnots"] = Rounded(momentFix->speed, 0.01);
    moment["speedKmh"] = Rounded(momentFix->speed * kKnotsToKmh, 0.01);
  } else {
    moment["position"] = nullptr;
    moment["noPosition"] = !hasRecord     ? "the recording holds no sensor record"
                           : momentSample ? "the receiver had no fix at that moment"
                                          : "the recording holds no GPS sample at that moment";
  }
  summary["moment"] = moment;
  summary["range"] = {{"beforeSeconds", Seconds(request.before)}, {"afterSeconds", Seconds(request.after)}};
  Json used = PiecesJson(1, frontCut.pieces);
  if (rearCut) {
    for (auto& item : PiecesJson(2, rearCut->pieces)) used.push_back(item);
  }
  summary["recordings"] = used;
  if (range.largestG) {
    const GSample& g = range.gsensor[*range.largestG];
    summary["largestG"] = {
        {"g", Rounded(*g.change, 0.001)}, {"secondsFromMoment", Rounded(g.seconds, 0.001)}, {"time", TimeJson(g.utc)}};
  } else {
    summary["largestG"] = nullptr;
  }
  if (range.largestSpeed) {
    const TrackSample& s = range.track[*range.largestSpeed];
    summary["largestSpeed"] = {{"knots", Rounded(s.fix.speed, 0.01)},
                               {"kmh", Rounded(s.fix.speed * kKnotsToKmh, 0.01)},
                               {"secondsFromMoment", Rounded(s.seconds, 0.001)},
                               {"time", TimeJson(s.utc)}};
  } else {
    summary["largestSpeed"] = nullptr;
  }
  summary["files"] = result.files;
  summary["warnings"] = result.warnings;
  if (!WriteText(scratch.path / "summary.json", summary.dump(2, ' ', false, Json::error_handler_t::replace) + "\n")) {
    return fail(ExportStatus::Failed, "summary.json: cannot be written");
  }
  result.files.push_back("summary.json");

  // The digests: the files made, then the recordings they were made from, by their path from
  // the folder.
  std::string sums;
  const double perFile = 0.14 / static_cast<double>(result.files.size() + sources.size());
  double done = 0.85;
  for (const std::string& file : result.files) {
    report(done += perFile, "SHA256SUMS");
    const auto digest = FileSha256(scratch.path / file, cancel);
    if (!digest) return fail(ExportStatus::Failed, file + ": cannot be read back");
    sums += ChecksumLine(*digest, file);
  }
  const fs::path anchor = fs::weakly_canonical(folder, fsError);
  for (const std::string& source : sources) {
    report(done += perFile, "SHA256SUMS");
    const auto digest = FileSha256(source, cancel);
    if (!digest) return fail(ExportStatus::Failed, source + ": cannot be read");
    const fs::path relative = fs::weakly_canonical(source, fsError).lexically_relative(anchor);
    sums += ChecksumLine(*digest, relative.empty() ? fs::absolute(source).string() : relative.generic_string());
  }
  if (!WriteText(scratch.path / "SHA256SUMS", sums)) return fail(ExportStatus::Failed, "SHA256SUMS: cannot be written");
  result.files.push_back("SHA256SUMS");
  if (cancelled()) return fail(ExportStatus::Cancelled, {});

  std::string error;
  if (!PutInPlace(scratch.path, folder, error)) return fail(ExportStatus::Failed, error);
  scratch.kept = true;
  report(1.0, "");
  result.status = ExportStatus::Ok;
  return result;
}

}  // namespace incident
