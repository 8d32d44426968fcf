#include "manager/library/recording_name.h"

#include <gtest/gtest.h>

namespace {

using namespace library;

struct Shown {
  std::string date, time;
  std::string_view cause;
};

Shown Show(std::string_view path) { return {RecordingDateText(path), RecordingTimeText(path), RecordingCause(path)}; }

TEST(RecordingName, DateTimeAndCauseFromThePath) {
  const Shown event = Show("E:\\DCIM\\EVENT\\drf_20100315_142530.mp4");
  EXPECT_EQ(event.date, "2010-03-15");
  EXPECT_EQ(event.time, "14:25:30");
  EXPECT_EQ(event.cause, "SENS");
  const Shown manual = Show("E:\\MANUAL\\drf_20091231_235959.mp4");
  EXPECT_EQ(manual.date, "2009-12-31");
  EXPECT_EQ(manual.time, "23:59:59");
  EXPECT_EQ(manual.cause, "MANUAL");
  EXPECT_EQ(Show("E:\\Dx_0001\\drf_20100101_000000.mp4").cause, "CONTINUOUS");
  EXPECT_EQ(Show("E:\\DCIM\\CONTINUOUS\\drf_20100101_000000.mp4").cause, "CONTINUOUS");
  EXPECT_EQ(Show("/media/card/DCIM/EVENT/drf_20100315_142530.mp4").cause, "SENS") << "native separators";
}

TEST(RecordingName, CauseLooksOnlyAtTheLast18CharactersOfTheFolder) {
  EXPECT_EQ(Show("E:\\drf_20100101_000000.mp4").cause, "UNKNOWN");
  EXPECT_EQ(Show("drf_20100101_000000.mp4").cause, "UNKNOWN");
  EXPECT_EQ(Show("E:\\CONTINUOUS\\RECORDS_2010\\drf_20100101_000000.mp4").cause, "UNKNOWN");
  EXPECT_EQ(Show("E:\\MANUAL_EVENT\\drf_20100101_000000.mp4").cause, "SENS") << "EVENT is searched first";
  EXPECT_EQ(Show("E:\\event\\drf_20100101_000000.mp4").cause, "UNKNOWN") << "case-sensitive";
  // Characters, not bytes: Korean folder names must not shift the window.
  EXPECT_EQ(Show("/카드/EVENT/가나다라마바사아자차카타/drf_20100101_000000.mp4").cause, "UNKNOWN");
  EXPECT_EQ(Show("/카드/EVENT/가나다라마바사아자차/drf_20100101_000000.mp4").cause, "SENS");
}

TEST(RecordingName, OnlyTheExactExtensionCounts) {
  EXPECT_TRUE(HasRecordingExtension("drf_20100101_000000.mp4"));
  EXPECT_TRUE(HasRecordingExtension(".mp4"));
  EXPECT_FALSE(HasRecordingExtension("drf_20100101_000000.MP4"));
  EXPECT_FALSE(HasRecordingExtension("drf_20100101_000000.mp4.part"));
  EXPECT_FALSE(HasRecordingExtension("mp4"));
}

TEST(RecordingName, OutOfFormNamesGivePartialTexts) {
  EXPECT_EQ(Show("E:\\drf_20100101_000000_1.mp4").date, "2010-01-01");
  EXPECT_EQ(Show("E:\\drf_20100101_000000_1.mp4").time, "00:00:00");
  EXPECT_EQ(Show("E:\\drf_2010.mp4").date, "2010-.m-p4");
  EXPECT_EQ(Show("E:\\drf_2010.mp4").time, "::");
  EXPECT_EQ(Show("E:\\drf_20100101_0000").time, "00:00:");
  EXPECT_EQ(Show("").date, "--");
}

TEST(RecordingName, SortKeyAndCompanion) {
  EXPECT_EQ(RecordingSortKey("E:\\DCIM\\drf_20100315_142530.mp4"), "drf_20100315_142530.mp4");
  EXPECT_EQ(RecordingSortKey("E:\\drf_20100101_000000_1.mp4"), "f_20100101_000000_1.mp4");
  EXPECT_EQ(RecordingSortKey("a.mp4"), "a.mp4");
  EXPECT_EQ(CompanionPath("E:\\drf_data\\drf_20100101_000000.mp4"), "E:\\drf_data\\drr_20100101_000000.mp4");
  EXPECT_EQ(CompanionPath("/home/u/drf_backup/EVENT/drf_20100101_000000.mp4"),
            "/home/u/drf_backup/EVENT/drr_20100101_000000.mp4");
  EXPECT_EQ(CompanionPath("/card/drf_drf_20100101.mp4"), "/card/drr_drr_20100101.mp4");
}

}  // namespace
