#include "manager/incident/evidence_files.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "common/escaped_text.h"

namespace incident {
namespace {

using common::XmlEscaped;

// Coordinates as decoded: enough digits to give the fix back, no more.
std::string Number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, static_cast<float>(value));
  return std::string(text, result.ptr);
}

std::string Fixed(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

bool HasPosition(const TrackSample& sample) { return sample.kind == recording::FixKind::Ok; }

}  // namespace

std::optional<std::string> IsoTime(std::int32_t utc) {
  if (utc < 0) return std::nullopt;
  const std::time_t t = utc;
  std::tm fields{};
  if (::gmtime_r(&t, &fields) == nullptr) return std::nullopt;
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &fields);
  return text;
}

std::string TrackGpx(std::span<const TrackSample> samples, std::string_view name) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"blackbox\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "  <trk>\n    <name>" +
      XmlEscaped(name) + "</name>\n    <trkseg>\n";
  for (const TrackSample& sample : samples) {
    if (!HasPosition(sample)) continue;
    out += "      <trkpt lat=\"" + Number(sample.fix.latitude) + "\" lon=\"" + Number(sample.fix.longitude) + "\">";
    if (const auto time = sample.utc ? IsoTime(*sample.utc) : std::nullopt) out += "<time>" + *time + "</time>";
    out += "</trkpt>\n";
  }
  out += "    </trkseg>\n  </trk>\n</gpx>\n";
  return out;
}

std::string TrackKml(std::span<const TrackSample> samples, std::string_view name,
                     const std::optional<recording::GpsFix>& moment) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
      "  <Document>\n    <name>" +
      XmlEscaped(name) + "</name>\n";
  std::string line, whens, coords;
  for (const TrackSample& sample : samples) {
    if (!HasPosition(sample)) continue;
    const std::string lon = Number(sample.fix.longitude), lat = Number(sample.fix.latitude);
    line += lon + "," + lat + ",0 ";
    // gx:Track pairs each coordinate with a time, so a fix without one stays on the line only.
    if (const auto time = sample.utc ? IsoTime(*sample.utc) : std::nullopt) {
      whens += "        <when>" + *time + "</when>\n";
      coords += "        <gx:coord>" + lon + " " + lat + " 0</gx:coord>\n";
    }
  }
  if (!line.empty()) {
    line.pop_back();
    out +=
        "    <Placemark>\n      <name>Path</name>\n      <LineString>\n        <tessellate>1</tessellate>\n"
        "        <coordinates>" +
        line + "</coordinates>\n      </LineString>\n    </Placemark>\n";
  }
  if (!whens.empty()) {
    out += "    <Placemark>\n      <name>Fixes</name>\n      <gx:Track>\n" + whens + coords +
           "      </gx:Track>\n"
           "    </Placemark>\n";
  }
  if (moment) {
    out += "    <Placemark>\n      <name>Moment</name>\n      <Point>\n        <coordinates>" +
           Number(moment->longitude) + "," + Number(moment->latitude) +
           ",0</coordinates>\n      </Point>\n"
           "    </Placemark>\n";
  }
  out += "  </Document>\n</kml>\n";
  return out;
}

std::string GSensorCsv(std::span<const GSample> samples, const setup::Profile& profile) {
  // Which stored value is shown as X, Y and Z in this profile.
  std::array<std::size_t, 3> axisOf{0, 1, 2};
  for (std::size_t stored = 0; stored < 3; ++stored) {
    axisOf[static_cast<std::size_t>(profile.gsensor_axes[stored])] = stored;
  }
  std::string out = "seconds,time,v0,v1,v2,x,y,z,change\n";
  for (const GSample& sample : samples) {
    out += Fixed(sample.seconds, 3) + ',';
    if (const auto time = sample.utc ? IsoTime(*sample.utc) : std::nullopt) out += *time;
    for (const float v : sample.stored) out += ',' + Number(v);
    for (const std::size_t stored : axisOf) out += ',' + Number(sample.stored[stored]);
    out += ',' + (sample.change ? Fixed(*sample.change, 3) : std::string()) + '\n';
  }
  return out;
}

std::string ChecksumLine(std::string_view hexDigest, std::string_view path) {
  std::string escaped;
  bool needsEscape = false;
  for (const char c : path) {
    if (c == '\\') {
      escaped += "\\\\", needsEscape = true;
    } else if (c == '\n') {
      escaped += "\\n", needsEscape = true;
    } else {
      escaped += c;
    }
  }
  return (needsEscape ? "\\" : "") + std::string(hexDigest) + "  " + escaped + "\n";
}

}  // namespace incident
