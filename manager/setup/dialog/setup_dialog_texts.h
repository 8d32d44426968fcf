#pragma once

#include "manager/setup/list_entry.h"

// The setup dialog's own messages, beyond the camera makers' key set: language files may carry
// them, the English defaults stand otherwise. "%1" and "%2" are filled in by the dialog.
namespace setup::texts {

inline constexpr ListEntry kEnterInteger{"ENTER_INTEGER", "Please enter an integer."};
inline constexpr ListEntry kIntegerRange{"INTEGER_RANGE", "Please enter an integer between %1 and %2."};
inline constexpr ListEntry kWriteFailed{"WRITE_FAILED",
                                        "Could not write %1.\nThe card may be full or write-protected."};
inline constexpr ListEntry kWriteThroughLink{
    "WRITE_THROUGH_LINK",
    "Did not write %1.\nA symbolic link stands in its place; files on a card are never written "
    "through one."};
inline constexpr ListEntry kWriteOutsideCard{"WRITE_OUTSIDE_CARD",
                                             "Did not write %1.\nIt lies outside the card folder."};
inline constexpr ListEntry kFormatWarning{
    "FORMAT_WARNING",
    "Formatting erases everything on the card: recordings, GPS logs and settings.\n\n"
    "Click OK, then choose the card to format. Click Cancel to keep the card as it is."};
inline constexpr ListEntry kFormatSucceeded{"FORMAT_SUCCEEDED", "The card has been formatted."};
inline constexpr ListEntry kFormatFailed{"FORMAT_FAILED", "The card could not be formatted."};
inline constexpr ListEntry kFormatNotMounted{
    "FORMAT_NOT_MOUNTED", "The card could not be mounted again at %1.\nTake it out and put it back in."};
inline constexpr ListEntry kProgramNotStarted{"PROGRAM_NOT_STARTED", "%1 could not be started."};
inline constexpr ListEntry kProgramFailed{"PROGRAM_FAILED", "%1 ended with code %2."};

}  // namespace setup::texts
