#include "tracker/log/trip_database.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "database_magics.h"
#include "fake_scan_host.h"
#include "make_point.h"
#include "tests/support/temp_dir.h"
#include "three_day_log.h"
#include "tracker/log/field_text.h"

namespace {

using tracker::DatabaseError;
using tracker::TrackDocument;
using tracker::TripRecord;

const tracker::TimeZoneOffset kUtc{0, 0};

std::int32_t ReadLe32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
  return static_cast<std::int32_t>(value);
}

void WriteLe32(std::string& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + static_cast<std::size_t>(i)] =
        static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

bool SameBytes(const TripRecord& a, const TripRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SamePoints(const tracker::PointStore& a, const tracker::PointStore& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

class TripDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    tracker_test::WriteThreeDayLog(logs_.path());
    tracker_test::FakeScanHost host;
    ASSERT_EQ(tracker::ScanFolder(logs_.path(), kUtc, scanned_, host), tracker::OpenResult::kRowsReady);
    // Texts typed into the boxes survive only in the file.
    TripRecord& first_drive = scanned_.trips.rows[static_cast<std::size_t>(scanned_.trips.order[1])];
    tracker::SetFieldText(first_drive.driver, "Kim");
    tracker::SetFieldText(first_drive.purpose, "Delivery to Busan");
    tracker::SetFieldText(first_drive.comments, "Rain after 10 o'clock, 주행");
  }

  // The rows in list order, as the window passes its checked rows.
  std::vector<TripRecord> ListedRows() const {
    std::vector<TripRecord> rows;
    for (const std::int32_t index : scanned_.trips.order)
      rows.push_back(scanned_.trips.rows[static_cast<std::size_t>(index)]);
    return rows;
  }

  std::string Saved(const tracker::DatabaseMagic& magic = tracker_test::kKelMagic) const {
    return tracker::EncodeTripDatabase(ListedRows(), scanned_.points, magic);
  }

  DatabaseError LoadBytes(const std::string& bytes, TrackDocument& into,
                          const tracker::DatabaseMagic& magic = tracker_test::kKelMagic) {
    const auto path = scratch_ / "trips.KEL";
    testing_support::WriteFile(path, bytes);
    return tracker::LoadTripDatabase(path, magic, kUtc, into);
  }

  testing_support::TempDir logs_;
  testing_support::TempDir scratch_;
  TrackDocument scanned_;
};

TEST_F(TripDatabaseTest, SaveThenLoadGivesTheSameRowsTextsStatisticsAndPoints) {
  const auto path = scratch_ / "trips.KEL";
  const std::vector<TripRecord> rows = ListedRows();
  ASSERT_TRUE(tracker::SaveTripDatabase(path, rows, scanned_.points, tracker_test::kKelMagic));

  TrackDocument loaded;
  ASSERT_EQ(tracker::LoadTripDatabase(path, tracker_test::kKelMagic, kUtc, loaded), DatabaseError::kNone);
  EXPECT_TRUE(SamePoints(loaded.points, scanned_.points));
  ASSERT_EQ(loaded.trips.rows.size(), rows.size());
  ASSERT_EQ(loaded.trips.order.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // Saved in list order, so the table is in list order and the list order is the identity.
    EXPECT_EQ(loaded.trips.order[i], static_cast<std::int32_t>(i));
    TripRecord expected = rows[i];
    expected.row_index = static_cast<std::int32_t>(i);
    EXPECT_TRUE(SameBytes(loaded.trips.rows[i], expected)) << "row " << i;
  }
  EXPECT_EQ(tracker::FieldText(loaded.trips.rows[1].purpose), "Delivery to Busan");
  EXPECT_EQ(tracker::FieldText(loaded.trips.rows[1].comments), "Rain after 10 o'clock, 주행");
}

TEST_F(TripDatabaseTest, HeaderHoldsTheStatedValues) {
  const std::string bytes = Saved();
  ASSERT_GE(bytes.size(), tracker::kDatabaseHeaderSize);
  EXPECT_EQ(ReadLe32(bytes, 0), 76);
  EXPECT_EQ(ReadLe32(bytes, 4), 100);
  EXPECT_EQ(ReadLe32(bytes, 8), 76);
  EXPECT_EQ(bytes.substr(12, 4), ".KEL");
  EXPECT_EQ(ReadLe32(bytes, 16), static_cast<std::int32_t>(scanned_.trips.rows.size()));
  EXPECT_EQ(ReadLe32(bytes, 20), 0);
  EXPECT_EQ(ReadLe32(bytes, 24), static_cast<std::int32_t>(scanned_.points.size()));
  EXPECT_EQ(bytes.substr(36, 40), std::string(40, '\0'));
  const std::size_t rows_end = 76 + static_cast<std::size_t>(ReadLe32(bytes, 28));
  const std::size_t points_end = rows_end + static_cast<std::size_t>(ReadLe32(bytes, 32));
  ASSERT_EQ(bytes.size(), points_end + 4 * scanned_.trips.rows.size());
  // The first-point table follows the blocks, in the saved (list) order.
  const std::vector<TripRecord> rows = ListedRows();
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(ReadLe32(bytes, points_end + 4 * i), rows[i].first_point);

  EXPECT_EQ(Saved(tracker_test::kRynMagic).substr(12, 4), ".RYN");
}

TEST_F(TripDatabaseTest, PointCountersSplitTheStoreIntoBlocksOf360000) {
  tracker::PointStore points(360001, tracker_test::MakePoint(20130101, 120000, 37.5, 127.0));
  const std::string bytes = tracker::EncodeTripDatabase({}, points, tracker_test::kKelMagic);
  EXPECT_EQ(ReadLe32(bytes, 20), 1);
  EXPECT_EQ(ReadLe32(bytes, 24), 1);
  tracker::DecodedDatabase decoded;
  ASSERT_EQ(tracker::DecodeTripDatabase(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                                        tracker_test::kKelMagic, decoded),
            DatabaseError::kNone);
  EXPECT_TRUE(SamePoints(decoded.points, points));
}

TEST_F(TripDatabaseTest, NoRowsCheckedWritesTheLzoEndMarkerAndEveryPoint) {
  const std::string bytes = tracker::EncodeTripDatabase({}, scanned_.points, tracker_test::kKelMagic);
  EXPECT_EQ(ReadLe32(bytes, 16), 0);
  ASSERT_EQ(ReadLe32(bytes, 28), 3);
  EXPECT_EQ(bytes.substr(76, 3), std::string("\x11\0\0", 3));
  TrackDocument loaded;
  ASSERT_EQ(LoadBytes(bytes, loaded), DatabaseError::kNone);
  EXPECT_TRUE(loaded.trips.rows.empty());
  EXPECT_TRUE(SamePoints(loaded.points, scanned_.points));
}

TEST_F(TripDatabaseTest, LoadRecomputesStatisticsAndParkingSumsOfTheKeptRows) {
  // Keep only the day rows and the parking rows, with damaged statistics: the load works
  // them out again from the points, and renumbers the rows to the smaller table.
  std::vector<TripRecord> kept;
  std::vector<TripRecord> expected;
  for (const TripRecord& row : ListedRows()) {
    if (row.type == tracker::RowType::kDrive) continue;
    expected.push_back(row);
    TripRecord damaged = row;
    damaged.distance = 99.0;
    damaged.total_time = -5;
    damaged.parking_time = 12345;
    damaged.max_speed = 1e9;
    kept.push_back(damaged);
  }
  TrackDocument loaded;
  ASSERT_EQ(LoadBytes(tracker::EncodeTripDatabase(kept, scanned_.points, tracker_test::kKelMagic), loaded),
            DatabaseError::kNone);
  ASSERT_EQ(loaded.trips.rows.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i].row_index = static_cast<std::int32_t>(i);
    EXPECT_TRUE(SameBytes(loaded.trips.rows[i], expected[i])) << "row " << i;
  }
}

TEST_F(TripDatabaseTest, ListOrderIsWorkedOutAgainOnLoad) {
  // Rows saved in table order (days first) come back in list order.
  const std::string bytes = tracker::EncodeTripDatabase(scanned_.trips.rows, scanned_.points, tracker_test::kKelMagic);
  TrackDocument loaded;
  ASSERT_EQ(LoadBytes(bytes, loaded), DatabaseError::kNone);
  EXPECT_EQ(loaded.trips.order, scanned_.trips.order);
}

// A trip database saved before points in the south and west kept five decimals: 24 fixes of two
// drives in Papeete on 2013-03-09 (the texts as stored then, "-17.5350" and "-149.5690"), rows in
// table order, the first drive's driver "Tane".
std::string OlderDatabase() {
  const std::string hex =
      "4c000000640000004c0000002e4b454c040000000000000018000000ab000000c6010000000000000000000000000000"
      "0000000000000000000000000000000000000000000000000000000006323031333033303900c00003303830303030d0"
      "012000031800066a85287a4cee123f16ce25b102c0017b00808b407800020000444018a0012714003edc050154616e65"
      "27b00020f220000618f25abe4eee023f0b326e04807b27dd050cdc0301010000006c0030df0531313420000bbc0b02bc"
      "18f6354a2006dc056c2f6c2e686230dc050130303131d03320001318002b9c1129fc040d020000000b000000ffffffff"
      "0300000011000000262d31372e3533353000002d3134392e353639300000323031333033303900303830303030000000"
      "3034302e3000000000052a330180380100dd063128dd00312edd00312ede00813827dd003328dd00322edd00322edd00"
      "8228dd003428dd00332edd00332edd008328dd003628dd00342edd00342edd008428dd003728dd00362edd00352edd00"
      "8528dd003928dd00372edd00362edd008627dd0036291d06382edd00372edd008728dd003228bd01392edd00382edd00"
      "8828dc00271d0637783c2cdd07392edd008928dd0035fe0d37302efe0631302edd008a28dc00271e0637302efd06312f"
      "bd088b28dd003828bc012cff063131342fbe01f43cfd4c36271f063730352b5f043131342fbd01f527dd0037275e0b37"
      "302cdf073131342f7d0af628dc00271e0637302cff063131342f7d0af728dc00275e0b37302cff063131342f7d0af828"
      "dc00281c06782e29ff063131342f7d0af928dc00275d0b37782e2cdc002f7d0afa28dc00281d06312cdf073131342f7d"
      "0afb27dd0038275e0b37312ffc062f7d0afc28dc00281d06312ffc062f7d0afd28dc00285d0b312efc066c9d2c3d13fe"
      "28dc00281d06312cdf0e3131352abc080600052a3301ff3c010011000000000000000000000c0000000b000000";
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(OlderTripDatabase, ReadsAsBeforeAndSavesBackTheSameBytes) {
  const std::string bytes = OlderDatabase();
  TrackDocument loaded;
  ASSERT_EQ(tracker::LoadTripDatabase(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
                                      tracker_test::kKelMagic, kUtc, loaded),
            DatabaseError::kNone);
  ASSERT_EQ(loaded.points.size(), 24u);
  EXPECT_EQ(tracker::FieldText(loaded.points[0].latitude), "-17.5350");
  EXPECT_EQ(tracker::FieldText(loaded.points[0].longitude), "-149.5690");
  EXPECT_EQ(tracker::FieldText(loaded.points[23].longitude), "-149.5717");
  ASSERT_EQ(loaded.trips.rows.size(), 4u);
  EXPECT_EQ(tracker::FieldText(loaded.trips.rows[1].driver), "Tane");
  EXPECT_EQ(loaded.trips.rows[0].point_count, 24);
  EXPECT_EQ(loaded.trips.rows[0].total_time, 22);
  // Statistics worked out again from the stored texts are the ones it was saved with.
  EXPECT_EQ(tracker::EncodeTripDatabase(loaded.trips.rows, loaded.points, tracker_test::kKelMagic), bytes);
}

class RefusedDatabaseTest : public TripDatabaseTest {
 protected:
  void SetUp() override {
    TripDatabaseTest::SetUp();
    ASSERT_EQ(LoadBytes(Saved(), open_), DatabaseError::kNone);
    before_ = open_.trips.rows;
  }

  // Loading `bytes` is refused with `error`, and the open document is untouched.
  void ExpectRefused(const std::string& bytes, DatabaseError error,
                     const tracker::DatabaseMagic& magic = tracker_test::kKelMagic) {
    EXPECT_EQ(LoadBytes(bytes, open_, magic), error);
    EXPECT_TRUE(SamePoints(open_.points, scanned_.points));
    ASSERT_EQ(open_.trips.rows.size(), before_.size());
    for (std::size_t i = 0; i < before_.size(); ++i) EXPECT_TRUE(SameBytes(open_.trips.rows[i], before_[i]));
  }

  TrackDocument open_;
  std::vector<TripRecord> before_;
};

TEST_F(RefusedDatabaseTest, TruncatedFilesAreRefused) {
  const std::string bytes = Saved();
  ExpectRefused("", DatabaseError::kShortHeader);
  ExpectRefused(bytes.substr(0, 75), DatabaseError::kShortHeader);
  for (const std::size_t cut : {std::size_t{76}, std::size_t{100}, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(cut);
    ExpectRefused(bytes.substr(0, cut), DatabaseError::kSizeMismatch);
  }
}

TEST_F(RefusedDatabaseTest, BlockSizesThatDisagreeWithTheDataAreRefused) {
  const std::string bytes = Saved();
  const std::int32_t row_block = ReadLe32(bytes, 28);
  const std::int32_t point_block = ReadLe32(bytes, 32);

  // One byte moved from the row block to the point block: the file size still adds up.
  std::string moved = bytes;
  WriteLe32(moved, 28, row_block - 1);
  WriteLe32(moved, 32, point_block + 1);
  ExpectRefused(moved, DatabaseError::kDamagedRows);
  WriteLe32(moved, 28, row_block + 1);
  WriteLe32(moved, 32, point_block - 1);
  ExpectRefused(moved, DatabaseError::kDamagedRows);

  std::string longer = bytes;
  WriteLe32(longer, 32, point_block + 1);
  ExpectRefused(longer, DatabaseError::kSizeMismatch);
  std::string negative = bytes;
  WriteLe32(negative, 28, -3);
  ExpectRefused(negative, DatabaseError::kBadHeader);
}

TEST_F(RefusedDatabaseTest, CountsThatDisagreeWithTheBlocksAreRefused) {
  const std::string bytes = Saved();
  std::string more_points = bytes;
  WriteLe32(more_points, 24, ReadLe32(bytes, 24) + 1);
  ExpectRefused(more_points, DatabaseError::kDamagedPoints);

  // A header claiming billions of points for a small block is refused before any allocation.
  std::string huge = bytes;
  WriteLe32(huge, 20, 0x7FFFFFFF);
  ExpectRefused(huge, DatabaseError::kDamagedPoints);

  std::string fewer_rows = bytes;
  WriteLe32(fewer_rows, 16, ReadLe32(bytes, 16) - 1);
  fewer_rows.pop_back();  // keeps the first-point table the right length
  fewer_rows.pop_back();
  fewer_rows.pop_back();
  fewer_rows.pop_back();
  ExpectRefused(fewer_rows, DatabaseError::kDamagedRows);

  std::string scrambled = bytes;
  for (std::size_t i = 80; i < 120; ++i) scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
  EXPECT_NE(LoadBytes(scrambled, open_), DatabaseError::kNone);
  EXPECT_TRUE(SamePoints(open_.points, scanned_.points));
}

TEST_F(RefusedDatabaseTest, FirstPointsOutsideTheStoreAreRefused) {
  std::string bytes = Saved();
  const std::size_t table = bytes.size() - 4 * scanned_.trips.rows.size();
  std::string past_end = bytes;
  WriteLe32(past_end, table, static_cast<std::int32_t>(scanned_.points.size()));
  ExpectRefused(past_end, DatabaseError::kBadRow);
  std::string negative = bytes;
  WriteLe32(negative, table + 4, -1);
  ExpectRefused(negative, DatabaseError::kBadRow);
}

TEST_F(RefusedDatabaseTest, MagicAndVersionDecideWhichFilesAreRead) {
  std::string bytes = Saved();
  std::string magic = bytes;
  magic[13] = 'X';
  ExpectRefused(magic, DatabaseError::kWrongMagic);
  ExpectRefused(Saved(tracker_test::kRynMagic), DatabaseError::kWrongMagic);
  ExpectRefused(bytes, DatabaseError::kWrongMagic, tracker_test::kRynMagic);
  std::string newer = bytes;
  WriteLe32(newer, 4, 101);
  ExpectRefused(newer, DatabaseError::kNewerVersion);

  std::string oldest = bytes;
  WriteLe32(oldest, 4, 0);
  TrackDocument loaded;
  EXPECT_EQ(LoadBytes(oldest, loaded), DatabaseError::kNone);
  EXPECT_EQ(loaded.trips.rows.size(), scanned_.trips.rows.size());
}

TEST_F(RefusedDatabaseTest, MissingFilesAndFoldersAreRefused) {
  EXPECT_EQ(tracker::LoadTripDatabase(scratch_ / "none.KEL", tracker_test::kKelMagic, kUtc, open_),
            DatabaseError::kCannotOpen);
  EXPECT_EQ(tracker::LoadTripDatabase(scratch_.path(), tracker_test::kKelMagic, kUtc, open_),
            DatabaseError::kCannotOpen);
  EXPECT_TRUE(SamePoints(open_.points, scanned_.points));
}

TEST_F(TripDatabaseTest, AFailedSaveKeepsThePreviousFile) {
  const auto path = scratch_ / "trips.KEL";
  testing_support::WriteFile(path, "previous");
  // A folder in the way of the temporary file's rename makes the save fail.
  const auto blocked = scratch_ / "blocked.KEL";
  std::filesystem::create_directories(blocked / "inside");
  EXPECT_FALSE(tracker::SaveTripDatabase(blocked, ListedRows(), scanned_.points, tracker_test::kKelMagic));
  EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
  EXPECT_FALSE(tracker::SaveTripDatabase(scratch_ / "no" / "such" / "trips.KEL", ListedRows(), scanned_.points,
                                         tracker_test::kKelMagic));
  EXPECT_EQ(testing_support::ReadFile(path), "previous");
}

}  // namespace
