#include "manager/recording/structure_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/byte_order.h"
#include "common/file_reader.h"
#include "common/memory_reader.h"

namespace recording {
namespace {

using common::ReadBigEndian32;

// Four-character box types compared as raw bytes; `p` holds at least 4 bytes.
bool TypeIs(const std::uint8_t* p, std::string_view type) {
  return type.size() == 4 && std::memcmp(p, type.data(), 4) == 0;
}

// A contiguous piece of the file: where it was read from and how much the read returned.
template <typename Reader>
class Window {
 public:
  // No read returns more than the file holds, so a small file needs no full-sized window.
  explicit Window(const Reader& file)
      : file_(file), bytes_(static_cast<std::size_t>(std::min<std::uint64_t>(kStructureWindowSize, file.Size()))) {}

  std::span<const std::uint8_t> view() const { return {bytes_.data(), fill_}; }
  std::uint64_t fileOffset() const { return fileOffset_; }
  std::size_t fill() const { return fill_; }

  // Fills the window with up to `length` bytes from `offset`.
  bool Read(std::uint64_t offset, std::size_t length) {
    fileOffset_ = offset;
    fill_ = 0;
    const auto read = file_.ReadAt(offset, std::span(bytes_.data(), std::min(length, bytes_.size())));
    if (!read) return false;
    fill_ = *read;
    return true;
  }

  // Fills the window from `offset` on, as Read does, but keeps the bytes it already holds from
  // there: a small step forward reads only the few new bytes at the end.
  bool MoveTo(std::uint64_t offset) {
    if (offset < fileOffset_ || offset - fileOffset_ >= fill_) return Read(offset, bytes_.size());
    const auto step = static_cast<std::size_t>(offset - fileOffset_);
    const std::size_t kept = fill_ - step;
    std::memmove(bytes_.data(), bytes_.data() + step, kept);
    const bool wasFull = fill_ == bytes_.size();  // else the file ended inside the window
    fileOffset_ = offset;
    fill_ = kept;
    if (!wasFull) return true;
    const auto read = file_.ReadAt(offset + kept, std::span(bytes_.data() + kept, bytes_.size() - kept));
    if (!read) return false;
    fill_ += *read;
    return true;
  }

 private:
  const Reader& file_;
  std::vector<std::uint8_t> bytes_;
  std::uint64_t fileOffset_ = 0;
  std::size_t fill_ = 0;
};

std::uint32_t BoxSize(std::span<const std::uint8_t> window, std::size_t position) {
  return ReadBigEndian32(window.data() + position);
}

template <typename Reader>
int Walk(const Reader& file) {
  Window window(file);
  window.Read(0, kStructureHeadSize);

  std::size_t position = 0;
  if (FindBox(window.view(), position, window.fill(), "mdat") != 0) return kStructureBroken;

  // The movie header is expected right after the media data.
  const std::uint64_t moovOffset = window.fileOffset() + position + BoxSize(window.view(), position);
  if (!window.Read(moovOffset, kStructureWindowSize)) return kStructureBroken;
  if (window.fill() < 8 || !TypeIs(window.view().data() + 4, "moov")) return kStructureBroken;

  position = 8;
  for (int track = 0;; ++track) {
    // Past this many tracks the file is not a recording (see kStructureMostTracks).
    if (track == kStructureMostTracks) return kStructureBroken;
    const auto view = window.view();
    if (FindBox(view, position, view.size(), "trak") != 0) return kStructureBroken;
    const std::uint64_t trackEnd = std::uint64_t{position} + BoxSize(view, position);

    position += 8;
    if (FindBox(view, position, view.size(), "mdia") != 0) return kStructureBroken;
    position += 8;
    if (FindBox(view, position, view.size(), "hdlr") != 0) return kStructureBroken;

    const std::size_t hdlr = position;
    if (hdlr + 20 <= view.size() && TypeIs(view.data() + hdlr + 16, "vide")) {
      position = hdlr + BoxSize(view, hdlr);
      break;
    }
    // Not the video track: continue with the box that follows this track in the file.
    if (!window.MoveTo(window.fileOffset() + trackEnd) || window.fill() == 0) return kStructureBroken;
    position = 0;
  }

  const auto view = window.view();
  if (FindBox(view, position, view.size(), "minf") != 0) return kStructureBroken;
  position += 8;
  if (FindBox(view, position, view.size(), "stbl") != 0) return kStructureBroken;
  position += 8;
  if (FindBox(view, position, view.size(), "stts") != 0) return kStructureBroken;
  return kStructureOk;
}

}  // namespace

int FindBox(std::span<const std::uint8_t> window, std::size_t& position, std::size_t end, std::string_view type) {
  if (end > window.size()) end = window.size();
  std::size_t at = position;
  while (at <= end && end - at >= 8) {
    const std::uint32_t size = ReadBigEndian32(window.data() + at);
    if (size < 8) return -1;
    if (TypeIs(window.data() + at + 4, type)) {
      position = at;
      return 0;
    }
    if (size > end - at) return -1;  // the next header would lie beyond the window
    at += size;
  }
  return -1;
}

int CheckRecordingStructure(const std::string& path) {
  // A folder, FIFO or device is no more a recording than a missing file.
  const std::optional<common::FileReader> file = common::FileReader::Open(path);
  if (!file) return kStructureCannotOpen;
  return Walk(*file);
}

int CheckRecordingStructure(std::span<const std::uint8_t> file) { return Walk(common::MemoryReader(file)); }

}  // namespace recording
