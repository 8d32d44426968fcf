#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/recording_data.h"
#include "common/escaped_text.h"
#include "common/path_text.h"
#include "manager/recording/gps_decode.h"
#include "manager/recording/samples.h"

namespace cli {
namespace {

using common::XmlEscaped;

struct GpsRow {
  std::uint32_t index;
  std::optional<std::string> time;
  recording::GpsFix fix;
  recording::FixKind kind;
};

std::string_view FixText(recording::FixKind kind) {
  switch (kind) {
    case recording::FixKind::Ok: return "ok";
    case recording::FixKind::NoFix: return "nofix";
    case recording::FixKind::None: return "none";
  }
  return "none";
}

// Decoded values are single precision; they print as such.
std::string Number(double value) { return FormatNumber(static_cast<float>(value)); }

void PrintJson(const std::vector<GpsRow>& rows) {
  auto array = nlohmann::ordered_json::array();
  for (const GpsRow& row : rows) {
    nlohmann::ordered_json item;
    item["index"] = row.index;
    item["time"] = row.time ? nlohmann::ordered_json(*row.time) : nlohmann::ordered_json(nullptr);
    item["lat"] = JsonNumber(static_cast<float>(row.fix.latitude));
    item["lon"] = JsonNumber(static_cast<float>(row.fix.longitude));
    item["speedKnots"] = JsonNumber(static_cast<float>(row.fix.speed));
    item["fix"] = FixText(row.kind);
    array.push_back(std::move(item));
  }
  std::cout << array.dump(2) << '\n';
}

void PrintCsv(const std::vector<GpsRow>& rows) {
  std::cout << "index,time,lat,lon,speedKnots,fix\n";
  for (const GpsRow& row : rows) {
    std::cout << row.index << ',' << row.time.value_or("") << ',' << Number(row.fix.latitude) << ','
              << Number(row.fix.longitude) << ',' << Number(row.fix.speed) << ',' << FixText(row.kind) << '\n';
  }
}

void PrintGpx(const std::vector<GpsRow>& rows, std::string_view name) {
  std::cout << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<gpx version=\"1.1\" creator=\"blackbox\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
               "  <trk>\n"
               "    <name>"
            << XmlEscaped(name)
            << "</name>\n"
               "    <trkseg>\n";
  for (const GpsRow& row : rows) {
    if (row.kind != recording::FixKind::Ok) continue;
    std::cout << "      <trkpt lat=\"" << Number(row.fix.latitude) << "\" lon=\"" << Number(row.fix.longitude) << "\">";
    if (row.time) {
      std::string iso = *row.time;
      iso[10] = 'T';
      std::cout << "<time>" << iso << "Z</time>";
    }
    std::cout << "</trkpt>\n";
  }
  std::cout << "    </trkseg>\n"
               "  </trk>\n"
               "</gpx>\n";
}

}  // namespace

int RunGps(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(args, {}, {"format"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1) {
    return Fail(kExitBadArguments, "usage: blackbox gps FILE [--format json|csv|gpx]");
  }
  const std::string format = parsed->Option("format", "json");
  if (format != "json" && format != "csv" && format != "gpx") {
    return Fail(kExitBadArguments, "unknown format '" + format + "' (json, csv or gpx)");
  }
  const std::string& path = parsed->positional[0];

  const RecordingData data = ReadRecordingData(path);
  if (IsUnreadable(data.load)) return Fail(kExitUnreadable, path + ": cannot be opened or read");
  if (!data.HasGpsTable()) return Fail(kExitUnreadable, path + ": no GPS table in the recording");

  const auto& record = data.record;
  const std::uint32_t times = data.HasTimeTable() ? recording::TimeSampleCount(record) : 0;
  std::vector<GpsRow> rows;
  const std::uint32_t count = recording::GpsSampleCount(record);
  rows.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    GpsRow row{i, std::nullopt, recording::DecodeGpsSample(recording::GpsSampleAt(record, i)), {}};
    row.kind = recording::ClassifyFix(row.fix);
    if (i < times) row.time = FormatSampleTime(recording::TimeSampleAt(record, i));
    rows.push_back(std::move(row));
  }

  if (format == "json")
    PrintJson(rows);
  else if (format == "csv")
    PrintCsv(rows);
  else
    PrintGpx(rows, common::FileNameOf(path));
  return kExitOk;
}

}  // namespace cli
