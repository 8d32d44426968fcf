#pragma once

#include <string_view>

namespace tracker {

// The window's own messages beyond the 24 texts of the language table: refusals, the open
// dialog's title, the note boxes' hints. Each has an English text, used for every language
// that has no translation of its own. "%1", "%2", "%3" stand for the values filled in.
enum class WindowText {
  kOpenDialogTitle,
  kNotThisBuildsDatabase,  // path, program, file pattern
  kCannotBeOpened,         // path, reason
  kCannotBeRead,           // path
  kCouldNotBeWritten,      // path
  kNotesSetAside,          // followed by the notes, one a line
  kNoteBoxFull,            // the box's size in bytes
  kSelectRowForNotes,
  // Why a trip database was refused (one per refusal of the reader).
  kReasonCannotOpen,
  kReasonShortHeader,
  kReasonWrongMagic,
  kReasonNewerVersion,
  kReasonBadHeader,
  kReasonSizeMismatch,
  kReasonDamagedRows,
  kReasonDamagedPoints,
  kReasonBadRow,
  kReasonOutOfMemory,
  kCount,
};

// The text in language `language_index` (as the language box numbers them), or in English.
std::string_view Text(int language_index, WindowText text);

}  // namespace tracker
