#include "manager/timeline/recording_times.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <span>
#include <string>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "manager/library/recording_name.h"

namespace timeline {
namespace {

constexpr int kMostBoxes = 1024;  // top-level boxes or moov children walked before giving up

struct Box {
  std::uint64_t start = 0;
  std::uint64_t end = 0;  // never past the file's end
  std::uint64_t payload = 0;
  std::array<char, 4> type{};
};

bool IsType(const Box& box, std::string_view type) { return std::string_view(box.type.data(), 4) == type; }

bool ReadExactly(const common::FileReader& file, std::uint64_t offset, std::span<std::uint8_t> out) {
  const auto got = file.ReadAt(offset, out);
  return got && *got == out.size();
}

std::uint64_t BigEndian64(const std::uint8_t* p) {
  return (std::uint64_t{common::ReadBigEndian32(p)} << 32) | common::ReadBigEndian32(p + 4);
}

// The box whose header starts at `at`, cut to `limit`; none when its header does not fit or
// its size cannot be stepped over.
std::optional<Box> BoxAt(const common::FileReader& file, std::uint64_t at, std::uint64_t limit) {
  std::array<std::uint8_t, 16> header{};
  if (at + 8 > limit || !ReadExactly(file, at, std::span(header).first(8))) return std::nullopt;
  Box box;
  box.start = at;
  std::copy_n(header.begin() + 4, 4, box.type.begin());
  std::uint64_t size = common::ReadBigEndian32(header.data());
  box.payload = at + 8;
  if (size == 1) {  // 64-bit size after the type
    if (at + 16 > limit || !ReadExactly(file, at + 8, std::span(header).subspan(8, 8))) return std::nullopt;
    size = BigEndian64(header.data() + 8);
    box.payload = at + 16;
    if (size < 16) return std::nullopt;
  } else if (size == 0) {  // runs to the end
    size = limit - at;
  } else if (size < 8) {
    return std::nullopt;
  }
  box.end = size > limit - at ? limit : at + size;
  return box;
}

// The first child of `type` among the boxes from `from` to `limit`.
std::optional<Box> FindChild(const common::FileReader& file, std::uint64_t from, std::uint64_t limit,
                             std::string_view type) {
  std::uint64_t at = from;
  for (int n = 0; n < kMostBoxes; ++n) {
    const auto box = BoxAt(file, at, limit);
    if (!box) return std::nullopt;
    if (IsType(*box, type)) return box;
    if (box->end <= at) return std::nullopt;
    at = box->end;
  }
  return std::nullopt;
}

std::optional<std::int64_t> MovieDuration(const common::FileReader& file, const Box& moov) {
  const auto mvhd = FindChild(file, moov.payload, moov.end, "mvhd");
  if (!mvhd) return std::nullopt;
  std::array<std::uint8_t, 32> bytes{};
  const bool longForm =
      mvhd->payload + 1 <= mvhd->end && ReadExactly(file, mvhd->payload, std::span(bytes).first(1)) && bytes[0] == 1;
  const std::size_t need = longForm ? 32 : 20;
  if (mvhd->payload + need > mvhd->end || !ReadExactly(file, mvhd->payload, std::span(bytes).first(need))) {
    return std::nullopt;
  }
  const std::uint32_t timescale = common::ReadBigEndian32(bytes.data() + (longForm ? 20 : 12));
  const std::uint64_t units = longForm ? BigEndian64(bytes.data() + 24) : common::ReadBigEndian32(bytes.data() + 16);
  if (timescale == 0) return std::nullopt;
  // Whole seconds and the rest apart, so no product overflows.
  const std::uint64_t seconds = units / timescale;
  if (seconds >= static_cast<std::uint64_t>(kLongestRecording / 10'000'000)) return std::nullopt;
  const std::uint64_t rest = (units % timescale) * 10'000'000 / timescale;
  return static_cast<std::int64_t>(seconds * 10'000'000 + rest);
}

struct TimeTable {
  std::optional<std::int64_t> first;
  std::uint64_t count = 0;
};

TimeTable ReadTimeTable(const common::FileReader& file, const Box& udta) {
  std::array<std::uint8_t, 12> bytes{};
  const std::uint64_t at = udta.start + 8;  // the table follows the udta header directly
  if (at + 8 > udta.end || !ReadExactly(file, at, std::span(bytes).first(8))) return {};
  const std::string_view type(reinterpret_cast<const char*>(bytes.data() + 4), 4);
  if (type != "TIME" && type != "RTCD") return {};
  const std::uint64_t size = common::ReadBigEndian32(bytes.data());
  if (size < 12) return {};
  TimeTable table;
  // What the table promises, but only what the box holds.
  table.count = (std::min(size, udta.end - at) - 8) / 4;
  if (table.count == 0 || !ReadExactly(file, at + 8, std::span(bytes).subspan(8, 4))) return table;
  const auto stamp = static_cast<std::int32_t>(common::ReadLittleEndian32(bytes.data() + 8));
  if (stamp > 0) table.first = stamp;
  return table;
}

std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

RecordingTimes ReadRecordingTimes(const std::filesystem::path& path) {
  RecordingTimes times;
  const auto file = common::FileReader::Open(path);
  if (!file) return times;
  const std::uint64_t size = file->Size();
  TimeTable table;
  std::uint64_t at = 0;
  for (int n = 0; n < kMostBoxes; ++n) {
    const auto box = BoxAt(*file, at, size);
    if (!box) break;
    if (IsType(*box, "moov") && !times.duration) times.duration = MovieDuration(*file, *box);
    if (IsType(*box, "udta") && table.count == 0) table = ReadTimeTable(*file, *box);
    if (box->end <= at) break;
    at = box->end;
  }
  times.firstSample = table.first;
  if (!times.duration && table.count > 0 && table.count < static_cast<std::uint64_t>(kLongestRecording / 10'000'000)) {
    times.duration = static_cast<std::int64_t>(table.count) * 10'000'000;
  }
  if (times.duration && *times.duration <= 0) times.duration.reset();
  return times;
}

std::optional<std::int64_t> NameLocalSeconds(std::string_view path) {
  const std::string date = library::RecordingDateText(path);  // YYYY-MM-DD
  const std::string time = library::RecordingTimeText(path);  // HH:MM:SS
  if (date.size() != 10 || time.size() != 8) return std::nullopt;
  const auto year = Digits(date, 0, 4), month = Digits(date, 5, 2), day = Digits(date, 8, 2);
  const auto hour = Digits(time, 0, 2), minute = Digits(time, 3, 2), second = Digits(time, 6, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (*hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  using namespace std::chrono;
  const year_month_day ymd{std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                           std::chrono::day(static_cast<unsigned>(*day))};
  if (!ymd.ok()) return std::nullopt;
  const std::int64_t days = sys_days(ymd).time_since_epoch().count();
  return days * 86400 + *hour * 3600 + *minute * 60 + *second;
}

}  // namespace timeline
