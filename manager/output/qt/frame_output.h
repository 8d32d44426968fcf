#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include <QString>

#include "manager/playback/video.h"
#include "manager/recording/sensor_record.h"
#include "manager/setup/profile.h"

class QPrinter;
class QWidget;

namespace output {

// The save dialog: the chosen path, or empty when cancelled. `proposedName` is a bare name.
using SnapshotPathChooser = std::function<QString(QWidget* parent, const QString& proposedName)>;
// The print dialog: sets up `printer` and says whether to print.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;

// What the snapshot and print commands need from the main window, filled at the click.
struct FrameOutputContext {
  const setup::Profile* profile = nullptr;  // which channels are saved, which page is printed
  QWidget* window = nullptr;                // owner of the dialogs and message boxes
  // Channel 1's and channel 2's engines; null where the profile has no such channel.
  std::array<playback::CVideo*, 2> channels{};
  int largeWindowChannel = 0;  // the channel-swap flag: 0 channel 1 in the large window, 1 channel 2
  std::string recordingPath;   // the channel-1 recording being played
  const recording::SensorRecord* sensorRecord = nullptr;  // the window's record; null or noData: no samples
  std::int64_t position = 0;                              // channel 1's position, 100 ns units
  double speedKnots = 0;                                  // the speed the panel shows
  // The window's play state (0 stopped, 1 playing, 2 paused), asked before and again after the
  // dialog, which runs modally while the window's timers go on.
  std::function<int()> playState;
  SnapshotPathChooser chooseSnapshotPath;  // empty: ChooseSnapshotPath
  PrinterChooser choosePrinter;            // empty: ChoosePrinter
};

// Command 1123. With a recording open (play state not 0): proposes a name from the recording
// and the recording time, pauses the running channels so the picture on screen is the one
// saved, and asks for the file. OK: channel 1 to the chosen file, in the dual profile channel 2
// to the chosen name plus ".drr.jpg"; a picture that cannot be encoded or written is reported
// in one message box naming the files. Cancel: the channels it paused play on, nothing is
// written. True when every picture that could be grabbed was written.
bool TakeSnapshot(const FrameOutputContext& context);

// Command 1124. With a recording open: grabs the pictures (channel 2, then channel 1), builds
// the texts, asks for a printer and prints the page. True when a page was printed.
bool PrintFrame(const FrameOutputContext& context);

// The real dialogs. The save dialog proposes `proposedName` in the folder chosen last (the
// pictures folder at first), appends ".jpg" to a name without it and asks before overwriting.
QString ChooseSnapshotPath(QWidget* parent, const QString& proposedName);
// The print dialog without page numbers, selection or print to file.
bool ChoosePrinter(QPrinter& printer, QWidget* parent);

}  // namespace output
