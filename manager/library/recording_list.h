#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/user_config.h"
#include "manager/library/folder_scan.h"
#include "manager/library/last_folder_file.h"
#include "manager/library/sorted_path_list.h"

namespace library {

// What the recording list needs from the main window: the list control, the playback engines
// and the sensor record it shows. The GUI implements it; the tests fake it.
class RecordingListView {
 public:
  virtual ~RecordingListView() = default;
  virtual void StopPlayback() = 0;
  virtual void ReleaseSensorData() = 0;  // free the sensor record, mark it as missing
  virtual void SetItemCount(int count) = 0;
  virtual void ShowHotItem(int row) = 0;  // make the row the hot item, scroll it into view
  virtual void SelectRow(int row) = 0;    // hot item, scrolled into view, selected and focused
  virtual void OpenRecording(const std::string& path) = 0;
  // The folder browser, starting at `initialFolder`, titled `title`; none when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& initialFolder, const std::string& title) = 0;
  virtual void DebugOutput(std::string_view /*line*/) {}
};

// The recording list of the main window: the sorted channel-1 paths found under the chosen
// folder, the row last chosen, and the "list busy" guard against clicks while the list is being
// rebuilt or a recording is being opened.
class RecordingList {
 public:
  // `lastFolderFile` remembers the folder; `oldLastFolderFile`, where earlier versions kept it, is
  // taken over once when the new file does not exist yet.
  explicit RecordingList(RecordingListView& view,
                         std::filesystem::path lastFolderFile = common::UserConfigFile(kLastFolderFileName),
                         std::filesystem::path oldLastFolderFile = std::filesystem::path(kLastFolderFileName));

  // The folder button: the folder browser starts at the remembered folder (the home folder the
  // first time); a chosen folder is loaded, a cancel changes nothing.
  void OnFolderCommand();

  // Stops playback, remembers the folder, rescans it and refills the list; opens nothing.
  void LoadFolder(const std::string& folder);

  // Column 0 date, 1 time, 2 cause; empty for any other column or a row out of range.
  std::string RowText(int row, int column) const;

  void OnRowClick(int row);
  void PlayNextRecording();
  void PlayPreviousRecording();

  int recordingCount() const { return recordingCount_; }
  int currentRow() const { return currentRow_; }
  const std::string& currentRecording() const { return currentRecording_; }
  bool listBusy() const { return listBusy_; }
  const SortedPathList& recordingPaths() const { return paths_; }

 private:
  void PlayRow(int row);

  RecordingListView& view_;
  std::filesystem::path lastFolderFile_;
  std::filesystem::path oldLastFolderFile_;
  SortedPathList paths_;
  int recordingCount_ = 0;
  int currentRow_ = 0;
  std::string currentRecording_;
  bool listBusy_ = false;
};

}  // namespace library
