#include "manager/library/recording_list.h"

#include <cstdlib>
#include <limits>

#include "common/path_text.h"
#include "common/user_config.h"
#include "manager/language/lookup_text.h"
#include "manager/library/last_folder_file.h"
#include "manager/library/recording_name.h"

namespace library {

RecordingList::RecordingList(RecordingListView& view, std::filesystem::path lastFolderFile,
                             std::filesystem::path oldLastFolderFile)
    : view_(view), lastFolderFile_(std::move(lastFolderFile)), oldLastFolderFile_(std::move(oldLastFolderFile)) {}

void RecordingList::OnFolderCommand() {
  common::AdoptOldFile(lastFolderFile_, oldLastFolderFile_, 2 * (kLastFolderMaxRead + 1));
  std::string initial;
  if (const auto remembered = ReadLastFolder(lastFolderFile_)) {
    initial = *remembered;
  } else {
    const char* home = std::getenv("HOME");
    initial = home != nullptr && *home != '\0' ? home : "/";
  }
  const auto chosen = view_.ChooseFolder(initial, language::LookupText(language::keys::kSearchFolder));
  // An empty answer is no folder: scanning it as the root would delete stubs all over the disk.
  if (chosen && !chosen->empty()) LoadFolder(common::WithTrailingSeparator(*chosen));
}

void RecordingList::LoadFolder(const std::string& folder) {
  listBusy_ = true;
  view_.StopPlayback();
  view_.ReleaseSensorData();
  WriteLastFolder(lastFolderFile_, folder);  // not being able to remember it is not worth a message

  paths_.RemoveAll();
  recordingCount_ = 0;
  view_.SetItemCount(0);
  paths_ = BuildRecordingList(folder);
  // The list control counts rows in an int.
  if (paths_.GetSize() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    recordingCount_ = std::numeric_limits<int>::max();
  } else {
    recordingCount_ = static_cast<int>(paths_.GetSize());
  }
  view_.SetItemCount(recordingCount_);

  currentRow_ = 0;
  if (recordingCount_ > 0) view_.ShowHotItem(0);
  currentRecording_.clear();
  listBusy_ = false;
}

std::string RecordingList::RowText(int row, int column) const {
  if (row < 0 || row >= recordingCount_) return {};
  const std::string& path = paths_[static_cast<std::size_t>(row)];
  switch (column) {
    case 0: return RecordingDateText(path);
    case 1: return RecordingTimeText(path);
    case 2: return std::string(RecordingCause(path));
    default: return {};
  }
}

void RecordingList::OnRowClick(int row) {
  view_.DebugOutput("OnNMClickListHistory() : 1\r\n");
  if (listBusy_) return;
  view_.DebugOutput("OnNMClickListHistory() : 2\r\n");
  currentRow_ = row;
  if (row < 0 || row >= recordingCount_) {
    currentRow_ = -1;  // a click beside the rows
    return;
  }
  currentRecording_ = paths_[static_cast<std::size_t>(row)];
  view_.OpenRecording(currentRecording_);
}

void RecordingList::PlayNextRecording() {
  if (recordingCount_ == 0) return;
  int row = currentRow_ + 1;
  if (row >= recordingCount_) row = 0;
  PlayRow(row);
}

void RecordingList::PlayPreviousRecording() {
  if (recordingCount_ == 0) return;
  int row = currentRow_ - 1;
  if (row < 0) row = recordingCount_ - 1;
  PlayRow(row);
}

void RecordingList::PlayRow(int row) {
  currentRow_ = row;
  listBusy_ = true;
  view_.SelectRow(row);
  currentRecording_ = paths_[static_cast<std::size_t>(row)];
  view_.OpenRecording(currentRecording_);
  listBusy_ = false;
}

}  // namespace library
