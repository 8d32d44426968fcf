#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace recording {

// Results of CheckRecordingStructure.
inline constexpr int kStructureOk = 0;
inline constexpr int kStructureBroken = -1;
inline constexpr int kStructureCannotOpen = -2;

inline constexpr std::size_t kStructureWindowSize = 131072;  // one window of the file
inline constexpr std::size_t kStructureHeadSize = 4096;      // where `mdat` must start
// Tracks examined before the video track: a camera writes two, and a file with hundreds of
// thousands would otherwise cost a window's worth of work each.
inline constexpr int kStructureMostTracks = 64;

// Scans sibling boxes in `window` from `position` for a box of `type`. A box header must lie
// wholly before `end`; a box whose size is below 8 ends the scan, since it cannot be stepped
// over. On success `position` is the found box's start and the result is 0, else -1.
int FindBox(std::span<const std::uint8_t> window, std::size_t& position, std::size_t end, std::string_view type);

// Walks the chain mdat -> moov -> trak -> mdia -> hdlr("vide") -> minf -> stbl -> stts.
// 0: the chain is complete; -1: a box is missing, the head is not laid out as the camera
// writes it, or more than kStructureMostTracks tracks come before the video track; -2: the
// file cannot be opened (or is no regular file: a FIFO or device is never opened for reading).
int CheckRecordingStructure(const std::string& path);

// The same walk over the bytes of a whole file.
int CheckRecordingStructure(std::span<const std::uint8_t> file);

}  // namespace recording
