#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace samplecard {

// What a damaged thing on a bad card is, so that tests know what each reader should say.
enum class BadKind {
  GoodRecording,        // a sound recording with its sensor record, for contrast
  TruncatedRecording,   // a sound recording cut short somewhere
  EmptyRecording,       // zero bytes
  RandomRecording,      // random bytes under a recording's name
  CraftedRecording,     // boxes laid out to make the structure check work hard
  HugeTables,           // a sensor record whose table sizes claim gigabytes
  FolderRecording,      // a folder named like a recording
  FifoRecording,        // a FIFO named like a recording: opening it for reading blocks
  DeviceRecording,      // a link to an endless device named like a recording
  LinkLoopRecording,    // a link that leads back to itself
  UnreadableRecording,  // a file without read permission (root still reads it)
  GoodLog,              // a sound GPS log, for contrast
  RandomLog,            // random bytes
  TaggedRandomLog,      // a chunk header's tag, then random bytes
  LoopingLog,           // a chunk chain whose skip, read as signed, points back to its start
  OversizedChunkLog,    // a chunk whose compressed size claims 4 GiB
  EmptyLog,
  FifoLog,
  FolderLog,
  DeviceLog,
  ExpandingDatabase,  // a trip database whose header claims a thousandfold expansion
  TruncatedDatabase,  // a sound trip database cut in half
  RandomDatabase,
  FifoSetupFile,      // SETUP/Setup.ini is a FIFO
  OutsideFolderLink,  // a folder link that leads off the card, to a folder holding a stub-sized recording
  OutsideFileLink,    // a recording or the clock file as a link to a file off the card
  FolderLinkFan,      // a hundred links to their own folder
};

struct BadItem {
  BadKind kind;
  std::filesystem::path path;
  std::string what;  // one line for test messages
};

struct BadCardManifest {
  std::vector<BadItem> items;
  std::filesystem::path logFolder;  // GPSLOG, the sound log among the damaged ones
  // A folder beside the card that the links lead to: nothing in it may be listed, changed or
  // deleted by anything run on the card.
  std::filesystem::path outside;

  std::vector<BadItem> Of(BadKind kind) const;
};

// Writes a card of damaged things into `out` (created if needed): recordings in EVENT and
// CONTINUOUS, logs in GPSLOG, trip databases at the top, SETUP/Setup.ini, and links that lead
// off the card into the folder `outside` beside it (`out` with "-outside" added). The same seed gives
// the same card. Throws std::runtime_error when something cannot be made (ffmpeg, mkfifo).
BadCardManifest WriteBadCard(const std::filesystem::path& out, std::uint64_t seed = 1);

}  // namespace samplecard
