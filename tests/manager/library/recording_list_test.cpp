#include "manager/library/recording_list.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/temp_dir.h"

namespace {

using namespace library;
using testing_support::MakeFileOfSize;
using testing_support::TempDir;

// Records what the list asks of the window, in order.
class FakeView : public RecordingListView {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> opened;
  RecordingList* list = nullptr;
  int clickWhileOpening = -2;                 // a row clicked from inside OpenRecording (a message box's loop)
  std::optional<std::string> folderToChoose;  // what the user picks in the folder browser
  std::string browserStart, browserTitle;

  void StopPlayback() override { calls.push_back("stop"); }
  void ReleaseSensorData() override { calls.push_back("release"); }
  void SetItemCount(int count) override { calls.push_back("count " + std::to_string(count)); }
  void ShowHotItem(int row) override { calls.push_back("hot " + std::to_string(row)); }
  void SelectRow(int row) override { calls.push_back("select " + std::to_string(row)); }
  void OpenRecording(const std::string& path) override {
    opened.push_back(std::filesystem::path(path).filename().string());
    if (clickWhileOpening != -2) list->OnRowClick(clickWhileOpening);
  }
  std::optional<std::string> ChooseFolder(const std::string& initialFolder, const std::string& title) override {
    browserStart = initialFolder;
    browserTitle = title;
    return folderToChoose;
  }
};

class RecordingListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"drf_20100101_000200.mp4", "drf_20100101_000000.mp4", "EVENT/drf_20100101_000100.mp4"}) {
      MakeFileOfSize(card / name, 5000);
    }
    view.list = &list;
  }

  TempDir card;
  TempDir work;
  FakeView view;
  RecordingList list{view, work / "TempMO.ini"};
};

TEST_F(RecordingListTest, LoadFolderRefillsTheListAndOpensNothing) {
  list.LoadFolder(card.path().string() + "/");
  EXPECT_EQ(view.calls, (std::vector<std::string>{"stop", "release", "count 0", "count 3", "hot 0"}));
  EXPECT_TRUE(view.opened.empty());
  EXPECT_EQ(list.recordingCount(), 3);
  EXPECT_EQ(list.currentRow(), 0);
  EXPECT_EQ(list.currentRecording(), "");
  EXPECT_FALSE(list.listBusy());
  EXPECT_EQ(testing_support::ReadFile(work / "TempMO.ini").size(), 2 * (card.path().string().size() + 1));

  EXPECT_EQ(list.RowText(1, 0), "2010-01-01");
  EXPECT_EQ(list.RowText(1, 1), "00:01:00");
  EXPECT_EQ(list.RowText(1, 2), "SENS");
  EXPECT_EQ(list.RowText(1, 3), "");
  EXPECT_EQ(list.RowText(3, 0), "") << "no row 3";
}

TEST_F(RecordingListTest, NextAndPreviousWrapAround) {
  list.LoadFolder(card.path().string());
  list.PlayNextRecording();
  list.PlayNextRecording();
  list.PlayNextRecording();
  list.PlayPreviousRecording();
  EXPECT_EQ(view.opened, (std::vector<std::string>{"drf_20100101_000100.mp4", "drf_20100101_000200.mp4",
                                                   "drf_20100101_000000.mp4", "drf_20100101_000200.mp4"}));
  EXPECT_EQ(list.currentRow(), 2);
}

TEST_F(RecordingListTest, AClickBesideTheRows) {
  list.LoadFolder(card.path().string());
  list.OnRowClick(-1);
  EXPECT_EQ(list.currentRow(), -1);
  EXPECT_TRUE(view.opened.empty());
  list.PlayNextRecording();
  EXPECT_EQ(view.opened.back(), "drf_20100101_000000.mp4");
  list.OnRowClick(-1);
  list.PlayPreviousRecording();
  EXPECT_EQ(view.opened.back(), "drf_20100101_000200.mp4");
}

TEST_F(RecordingListTest, ClicksAreIgnoredWhileARecordingOpensFromNext) {
  list.LoadFolder(card.path().string());
  view.clickWhileOpening = 2;
  list.PlayNextRecording();
  EXPECT_EQ(view.opened, std::vector<std::string>{"drf_20100101_000100.mp4"});
  EXPECT_EQ(list.currentRow(), 1);
  view.clickWhileOpening = -2;
  list.OnRowClick(2);
  EXPECT_EQ(list.currentRecording(), list.recordingPaths()[2]);
}

TEST_F(RecordingListTest, TheFolderBrowserStartsAtTheRememberedFolder) {
  view.folderToChoose.reset();
  list.OnFolderCommand();
  EXPECT_EQ(view.browserTitle, "Please select folder");
  EXPECT_TRUE(view.calls.empty()) << "a cancel changes nothing";

  view.folderToChoose = card.path().string();
  list.OnFolderCommand();
  EXPECT_EQ(list.recordingCount(), 3);
  view.folderToChoose.reset();
  list.OnFolderCommand();
  EXPECT_EQ(view.browserStart, card.path().string() + "/") << "remembered with its separator";
}

TEST_F(RecordingListTest, AnEmptyChoiceIsNoFolderAndScansNothing) {
  // Taken for the root, an empty answer would scan the whole disk and delete its stubs.
  list.LoadFolder(card.path().string() + "/");
  view.calls.clear();
  view.folderToChoose = "";
  list.OnFolderCommand();
  EXPECT_TRUE(view.calls.empty());
  EXPECT_EQ(list.recordingCount(), 3);
}

TEST(RecordingListEmpty, NextAndPreviousDoNothing) {
  TempDir card;
  TempDir work;
  FakeView view;
  RecordingList list{view, work / "TempMO.ini"};
  list.LoadFolder(card.path().string());
  list.PlayNextRecording();
  list.PlayPreviousRecording();
  EXPECT_TRUE(view.opened.empty());
  EXPECT_EQ(view.calls, (std::vector<std::string>{"stop", "release", "count 0", "count 0"}));
}

}  // namespace
