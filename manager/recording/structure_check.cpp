#include "manager/recording/structure_check.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "manager/recording/byte_order.h"

namespace recording {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A contiguous piece of the file: where it was read from and how much the read returned.
struct Window {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kStructureWindowSize);
  std::uint64_t fileOffset = 0;
  std::size_t fill = 0;

  std::span<const std::uint8_t> view() const { return {bytes.data(), fill}; }

  bool Read(std::FILE* file, std::uint64_t offset, std::size_t length) {
    fileOffset = offset;
    fill = 0;
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    if (::fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    fill = std::fread(bytes.data(), 1, length, file);
    return true;
  }
};

std::uint32_t BoxSize(std::span<const std::uint8_t> window, std::size_t position) {
  return ReadBigEndian32(window.data() + position);
}

int Walk(std::FILE* file) {
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
  const File file(std::fopen(path.c_str(), "rb"));
  struct stat info {};
  // A folder opens on Linux but is no more a recording than a missing file.
  if (!file || ::fstat(::fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) {
    return kStructureCannotOpen;
  }
  return Walk(file.get());
}

}  // namespace recording
