#include "manager/recording/open_check.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/memory_reader.h"

namespace recording {
namespace {

using common::ReadBigEndian32;

// Boxes that may open an MP4 file; anything else is some other kind of file.
constexpr std::array<std::string_view, 12> kFirstBoxes = {"ftyp", "mdat", "moov", "free", "skip", "wide",
                                                          "pdin", "uuid", "styp", "moof", "sidx", "udta"};

struct Box {
  std::array<char, 4> type{};
  std::uint64_t start = 0;
  std::uint64_t contentStart = 0;
  std::uint64_t end = 0;  // may lie past the end of the file: the caller decides what that means

  bool Is(std::string_view name) const { return std::string_view(type.data(), 4) == name; }
};

std::uint64_t ReadBigEndian64(const std::uint8_t* p) {
  return std::uint64_t{ReadBigEndian32(p)} << 32 | ReadBigEndian32(p + 4);
}

template <typename Reader>
class Walker {
 public:
  explicit Walker(const Reader& file) : file_(file) {}

  // The box whose header starts at `at`, inside a parent ending at `parentEnd`. None when its
  // header does not fit in the parent or in the file, or its size is impossible.
  std::optional<Box> HeaderAt(std::uint64_t at, std::uint64_t parentEnd) const {
    std::array<std::uint8_t, 16> bytes{};
    if (at >= parentEnd || parentEnd - at < 8) return std::nullopt;
    const auto read = file_.ReadAt(at, bytes);
    if (!read || *read < 8) return std::nullopt;
    Box box;
    for (int i = 0; i < 4; ++i)
      box.type[static_cast<std::size_t>(i)] = static_cast<char>(bytes[4 + static_cast<std::size_t>(i)]);
    box.start = at;
    const std::uint32_t size = ReadBigEndian32(bytes.data());
    std::uint64_t length = size;
    box.contentStart = at + 8;
    if (size == 1) {
      if (*read < 16) return std::nullopt;
      length = ReadBigEndian64(bytes.data() + 8);
      box.contentStart = at + 16;
    } else if (size == 0) {
      length = parentEnd - at;  // runs to the end of its parent
    }
    if (length < box.contentStart - at) return std::nullopt;
    // No overflow: a size past what any file holds is simply past the end.
    box.end = length > UINT64_MAX - at ? UINT64_MAX : at + length;
    return box;
  }

  // The first child of `type` among the boxes from `from` to `end`; none when it is missing, a
  // header is broken, or more than kOpenCheckMostBoxes boxes come before it.
  std::optional<Box> Find(std::uint64_t from, std::uint64_t end, std::string_view type) const {
    std::uint64_t at = from;
    for (int seen = 0; seen < kOpenCheckMostBoxes; ++seen) {
      const auto box = HeaderAt(at, end);
      if (!box) return std::nullopt;
      if (box->Is(type)) return box;
      if (box->end > end) return std::nullopt;
      at = box->end;
    }
    return std::nullopt;
  }

  // A path of boxes down from `parent`'s content.
  std::optional<Box> FindPath(const Box& parent, std::initializer_list<std::string_view> types) const {
    std::optional<Box> box = parent;
    for (std::string_view type : types) {
      box = Find(box->contentStart, std::min(box->end, file_.Size()), type);
      if (!box) return std::nullopt;
    }
    return box;
  }

  std::optional<std::uint32_t> Read32(std::uint64_t at) const {
    std::array<std::uint8_t, 4> bytes{};
    const auto read = file_.ReadAt(at, bytes);
    if (!read || *read < 4) return std::nullopt;
    return ReadBigEndian32(bytes.data());
  }

  std::optional<std::uint64_t> Read64(std::uint64_t at) const {
    std::array<std::uint8_t, 8> bytes{};
    const auto read = file_.ReadAt(at, bytes);
    if (!read || *read < 8) return std::nullopt;
    return ReadBigEndian64(bytes.data());
  }

  std::uint64_t Size() const { return file_.Size(); }

 private:
  const Reader& file_;
};

OpenVerdict VerdictOfFormat(std::string_view format) {
  if (format == "avc1" || format == "avc3") return OpenVerdict::kPlayable;
  if (format == "hvc1" || format == "hev1") return OpenVerdict::kHevc;
  if (format == "av01") return OpenVerdict::kAv1;
  if (format == "s263" || format == "h263" || format == "H263") return OpenVerdict::kH263;
  if (format == "mp4v" || format == "xvid" || format == "XVID" || format == "DIVX") return OpenVerdict::kMpeg4Visual;
  return OpenVerdict::kOtherVideoFormat;
}

// Looks at one video track: its format, and whether its first sample lies inside the file.
template <typename Reader>
OpenVerdict CheckVideoTrack(const Walker<Reader>& walk, const Box& stbl, std::string& format) {
  // stsd: version and flags, entry count, then the first entry's size and format.
  const auto stsd = walk.Find(stbl.contentStart, std::min(stbl.end, walk.Size()), "stsd");
  if (!stsd) return OpenVerdict::kNoVideoTrack;
  const auto entries = walk.Read32(stsd->contentStart + 4);
  const auto entry = walk.HeaderAt(stsd->contentStart + 8, std::min(stsd->end, walk.Size()));
  if (!entries || *entries == 0 || !entry) return OpenVerdict::kNoVideoTrack;
  format.assign(entry->type.data(), 4);
  const OpenVerdict verdict = VerdictOfFormat(format);
  if (verdict != OpenVerdict::kPlayable) return verdict;

  // The sample sizes: version and flags, one size for all (or 0), the sample count.
  const auto stsz = walk.Find(stbl.contentStart, std::min(stbl.end, walk.Size()), "stsz");
  const auto samples = stsz ? walk.Read32(stsz->contentStart + 8) : std::nullopt;
  if (!samples || *samples == 0) return OpenVerdict::kNoVideoTrack;

  // The first chunk's file offset, from the 32- or the 64-bit table.
  std::optional<std::uint64_t> firstChunk;
  if (const auto stco = walk.Find(stbl.contentStart, std::min(stbl.end, walk.Size()), "stco")) {
    const auto count = walk.Read32(stco->contentStart + 4);
    if (count && *count > 0) firstChunk = walk.Read32(stco->contentStart + 8);
  } else if (const auto co64 = walk.Find(stbl.contentStart, std::min(stbl.end, walk.Size()), "co64")) {
    const auto count = walk.Read32(co64->contentStart + 4);
    if (count && *count > 0) firstChunk = walk.Read64(co64->contentStart + 8);
  }
  if (!firstChunk) return OpenVerdict::kNoVideoTrack;
  return *firstChunk < walk.Size() ? OpenVerdict::kPlayable : OpenVerdict::kCutOff;
}

template <typename Reader>
OpenCheck Check(const Reader& file) {
  OpenCheck check;
  const Walker<Reader> walk(file);
  const std::uint64_t size = file.Size();

  const auto first = walk.HeaderAt(0, size);
  bool known = false;
  for (std::string_view type : kFirstBoxes) known = known || (first && first->Is(type));
  if (!known) {
    check.verdict = OpenVerdict::kNotMp4;
    return check;
  }

  // The top level: the movie header must be there and whole.
  std::optional<Box> moov;
  std::uint64_t at = 0;
  for (int seen = 0;; ++seen) {
    if (seen == kOpenCheckMostBoxes) {
      check.verdict = OpenVerdict::kTooManyBoxes;
      return check;
    }
    const auto box = walk.HeaderAt(at, size);
    if (!box || box->end > size) break;  // the end of the file, or a box cut short
    if (box->Is("moov")) {
      moov = box;
      break;
    }
    at = box->end;
  }
  if (!moov) {
    check.verdict = OpenVerdict::kCutOff;
    return check;
  }

  // The tracks, up to the cap: the first video track decides.
  at = moov->contentStart;
  for (int seen = 0;; ++seen) {
    if (seen == kOpenCheckMostBoxes) {
      check.verdict = OpenVerdict::kTooManyBoxes;
      return check;
    }
    const auto box = walk.HeaderAt(at, moov->end);
    if (!box || box->end > moov->end) break;
    at = box->end;
    if (!box->Is("trak")) continue;
    if (++check.tracks > kOpenCheckMostTracks) {
      check.verdict = OpenVerdict::kTooManyTracks;
      return check;
    }
    const auto hdlr = walk.FindPath(*box, {"mdia", "hdlr"});
    // hdlr: version and flags, pre-defined, then the handler type.
    const auto handler = hdlr ? walk.Read32(hdlr->contentStart + 8) : std::nullopt;
    if (!handler || *handler != 0x76696465u) continue;  // "vide"
    const auto stbl = walk.FindPath(*box, {"mdia", "minf", "stbl"});
    check.verdict = stbl ? CheckVideoTrack(walk, *stbl, check.videoFormat) : OpenVerdict::kNoVideoTrack;
    return check;
  }
  check.verdict = OpenVerdict::kNoVideoTrack;
  return check;
}

std::string Printable(std::string_view format) {
  std::string text;
  for (char c : format) text += (c >= 0x20 && c < 0x7f) ? c : '?';
  return text;
}

}  // namespace

OpenCheck CheckBeforeOpening(const std::string& path) {
  const std::optional<common::FileReader> file = common::FileReader::Open(path);
  if (!file) return {};
  return Check(*file);
}

OpenCheck CheckBeforeOpening(std::span<const std::uint8_t> file) { return Check(common::MemoryReader(file)); }

std::string CauseOf(OpenVerdict verdict, std::string_view videoFormat) {
  constexpr std::string_view kPlaysH264 = "; this program plays H.264 recordings";
  switch (verdict) {
    case OpenVerdict::kPlayable: return {};
    case OpenVerdict::kCannotOpen: return "the file cannot be read";
    case OpenVerdict::kNotMp4: return "the file is not an MP4 recording";
    case OpenVerdict::kCutOff: return "the file ends before its media data (the recording was cut off)";
    case OpenVerdict::kTooManyTracks:
      return "the file holds more than " + std::to_string(kOpenCheckMostTracks) + " tracks; a recording holds two";
    case OpenVerdict::kTooManyBoxes: return "the file is not laid out as an MP4 recording (too many boxes)";
    case OpenVerdict::kNoVideoTrack: return "the file holds no video";
    case OpenVerdict::kHevc: return "the video is HEVC (H.265)" + std::string(kPlaysH264);
    case OpenVerdict::kAv1: return "the video is AV1" + std::string(kPlaysH264);
    case OpenVerdict::kH263: return "the video is H.263" + std::string(kPlaysH264);
    case OpenVerdict::kMpeg4Visual: return "the video is MPEG-4 Visual (DivX, Xvid)" + std::string(kPlaysH264);
    case OpenVerdict::kOtherVideoFormat:
      return "the video is in the format \"" + Printable(videoFormat) + "\"" + std::string(kPlaysH264);
  }
  return {};
}

std::string_view DebianPackageOfElement(std::string_view factory) {
  struct Entry {
    std::string_view factory;
    std::string_view package;
  };
  static constexpr Entry kPackages[] = {
      {"filesrc", "libgstreamer1.0-0"},
      {"queue", "libgstreamer1.0-0"},
      {"fakesink", "libgstreamer1.0-0"},
      {"qtdemux", "gstreamer1.0-plugins-good"},
      {"h264parse", "gstreamer1.0-plugins-bad"},
      {"aacparse", "gstreamer1.0-plugins-good"},
      {"avdec_h264", "gstreamer1.0-libav"},
      {"avdec_aac", "gstreamer1.0-libav"},
      {"videoconvert", "gstreamer1.0-plugins-base"},
      {"appsink", "gstreamer1.0-plugins-base"},
      {"audioconvert", "gstreamer1.0-plugins-base"},
      {"audioresample", "gstreamer1.0-plugins-base"},
      {"volume", "gstreamer1.0-plugins-base"},
      {"autoaudiosink", "gstreamer1.0-plugins-good"},
      {"pulsesink", "gstreamer1.0-pulseaudio"},
      {"alsasink", "gstreamer1.0-alsa"},
  };
  for (const Entry& entry : kPackages) {
    if (entry.factory == factory) return entry.package;
  }
  return {};
}

std::string MissingElementCause(std::string_view factory) {
  std::string text = "the GStreamer element " + std::string(factory) + " is missing";
  const std::string_view package = DebianPackageOfElement(factory);
  if (!package.empty()) text += " (install the Debian package " + std::string(package) + ")";
  return text;
}

}  // namespace recording
