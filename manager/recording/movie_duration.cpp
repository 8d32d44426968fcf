#include "manager/recording/movie_duration.h"

#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/memory_reader.h"

namespace recording {
namespace {

using common::ReadBigEndian32;

// Boxes stepped over at one level before giving up: a camera's file has a handful.
constexpr int kMostBoxes = 4096;

struct Box {
  std::uint64_t start = 0;
  std::uint64_t end = 0;      // never past the parent's end
  std::uint64_t payload = 0;  // after the header
  std::array<char, 4> type{};
};

std::uint64_t ReadBigEndian64(const std::uint8_t* p) {
  return (std::uint64_t{ReadBigEndian32(p)} << 32) | ReadBigEndian32(p + 4);
}

// The box header at `at`, within [at, limit); none when it does not fit or its size is impossible.
template <typename Reader>
std::optional<Box> ReadBox(const Reader& file, std::uint64_t at, std::uint64_t limit) {
  std::array<std::uint8_t, 16> header{};
  if (at >= limit || limit - at < 8) return std::nullopt;
  const auto read = file.ReadAt(at, header);
  if (!read || *read < 8) return std::nullopt;
  Box box;
  box.start = at;
  std::memcpy(box.type.data(), header.data() + 4, 4);
  std::uint64_t size = ReadBigEndian32(header.data());
  std::uint64_t headerSize = 8;
  if (size == 1) {  // a 64-bit size follows the type
    if (*read < 16 || limit - at < 16) return std::nullopt;
    size = ReadBigEndian64(header.data() + 8);
    headerSize = 16;
  } else if (size == 0) {  // the box runs to the end of its parent
    size = limit - at;
  }
  if (size < headerSize || size > limit - at) return std::nullopt;
  box.end = at + size;
  box.payload = at + headerSize;
  return box;
}

// The first child of type `type` among the boxes in [from, limit).
template <typename Reader>
std::optional<Box> FindChild(const Reader& file, std::uint64_t from, std::uint64_t limit, std::string_view type) {
  std::uint64_t at = from;
  for (int n = 0; n < kMostBoxes; ++n) {
    const auto box = ReadBox(file, at, limit);
    if (!box) return std::nullopt;
    if (std::memcmp(box->type.data(), type.data(), 4) == 0) return box;
    at = box->end;
  }
  return std::nullopt;
}

template <typename Reader>
std::optional<std::int64_t> Duration(const Reader& file) {
  const auto moov = FindChild(file, 0, file.Size(), "moov");
  if (!moov) return std::nullopt;
  const auto mvhd = FindChild(file, moov->payload, moov->end, "mvhd");
  if (!mvhd) return std::nullopt;
  std::array<std::uint8_t, 32> body{};
  const auto read = file.ReadAt(mvhd->payload, body);
  if (!read || mvhd->end - mvhd->payload < 20) return std::nullopt;
  std::uint32_t timescale = 0;
  std::uint64_t length = 0;
  if (body[0] == 1) {  // 64-bit creation and modification times and length
    if (*read < 32 || mvhd->end - mvhd->payload < 32) return std::nullopt;
    timescale = ReadBigEndian32(body.data() + 20);
    length = ReadBigEndian64(body.data() + 24);
    if (length == std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
  } else {
    if (*read < 20) return std::nullopt;
    timescale = ReadBigEndian32(body.data() + 12);
    length = ReadBigEndian32(body.data() + 16);
    if (length == std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  if (timescale == 0) return std::nullopt;
  const long double units = static_cast<long double>(length) * 10'000'000.0L / timescale;
  if (units > static_cast<long double>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
  return static_cast<std::int64_t>(units);
}

}  // namespace

std::optional<std::int64_t> ReadMovieDuration(const std::string& path) {
  const std::optional<common::FileReader> file = common::FileReader::Open(path);
  if (!file) return std::nullopt;
  return Duration(*file);
}

std::optional<std::int64_t> ReadMovieDuration(std::span<const std::uint8_t> file) {
  return Duration(common::MemoryReader(file));
}

}  // namespace recording
