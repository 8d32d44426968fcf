#include "manager/recording/structure_check.h"

#include <cstring>
#include <vector>

#include "common/byte_order.h"
#include "common/file_reader.h"

namespace recording {
namespace {

using common::ReadBigEndian32;

// Four-character box types compared as raw bytes; `p` holds at least 4 bytes.
bool TypeIs(const std::uint8_t* p, std::string_view type) {
  return type.size() == 4 && std::memcmp(p, type.data(), 4) == 0;
}

// A contiguous piece of the file: where it was read from and how much the read returned.
struct Window {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kStructureWindowSize);
  std::uint64_t fileOffset = 0;
  std::size_t fill = 0;

  std::span<const std::uint8_t> view() const { return {bytes.data(), fill}; }

  bool Read(const common::FileReader& file, std::uint64_t offset, std::size_t length) {
    fileOffset = offset;
    fill = 0;
    const auto read = file.ReadAt(offset, std::span(bytes.data(), length));
    if (!read) return false;
    fill = *read;
    return true;
  }
};

std::uint32_t BoxSize(std::span<const std::uint8_t> window, std::size_t position) {
  return ReadBigEndian32(window.data() + position);
}

int Walk(const common::FileReader& file) {
  Window window;
  window.Read(file, 0, kStructureHeadSize);

  std::size_t position = 0;
  if (FindBox(window.view(), position, window.fill, "mdat") != 0) return kStructureBroken;

  // The movie header is expected right after the media data.
  const std::uint64_t moovOffset = window.fileOffset + position + BoxSize(window.view(), position);
  if (!window.Read(file, moovOffset, kStructureWindowSize)) return kStructureBroken;
  if (window.fill < 8 || !TypeIs(window.bytes.data() + 4, "moov")) return kStructureBroken;

  position = 8;
  for (;;) {
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
    if (!window.Read(file, window.fileOffset + trackEnd, kStructureWindowSize) || window.fill == 0) {
      return kStructureBroken;
    }
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

int FindBox(std::span<const std::uint8_t> window, std::size_t& position, std::size_t end,
            std::string_view type) {
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

}  // namespace recording
