// The trip databases' file types as a desktop's file manager sees them (Qt's QMimeDatabase reads
// the same shared-mime-info cache as GLib's), and the icons as a desktop draws them.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/trip_database.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

std::string EmptyDatabase(const tracker::TrackerProfile& profile) {
  return tracker::EncodeTripDatabase({}, tracker::PointStore{}, profile.database_magic);
}

QString TypeOf(const fs::path& path) {
  return QMimeDatabase().mimeTypeForFile(QString::fromStdString(path.string())).name();
}

TEST(TripDatabaseFileType, IsKnownByNameAndByContent) {
  TempDir dir;
  const std::string kel = EmptyDatabase(tracker::kCurrentProfile);
  const std::string ryn = EmptyDatabase(tracker::kOlderProfile);
  testing_support::WriteFile(dir / "drives.KEL", kel);
  testing_support::WriteFile(dir / "drives.ryn", ryn);
  // Renamed, or saved without an extension: the header still tells.
  testing_support::WriteFile(dir / "backup.dat", kel);
  testing_support::WriteFile(dir / "drives", ryn);
  EXPECT_EQ(TypeOf(dir / "drives.KEL"), "application/x-kel-trip-database");
  EXPECT_EQ(TypeOf(dir / "drives.ryn"), "application/x-ryn-trip-database");
  EXPECT_EQ(TypeOf(dir / "backup.dat"), "application/x-kel-trip-database");
  EXPECT_EQ(TypeOf(dir / "drives"), "application/x-ryn-trip-database");
}

TEST(TripDatabaseFileType, NeedsTheWholeHeaderSignature) {
  TempDir dir;
  // ".KEL" at offset 12 of something that is not a 76-byte header is not a trip database.
  std::string other = EmptyDatabase(tracker::kCurrentProfile);
  other[0] = 'x';
  testing_support::WriteFile(dir / "other.bin", other);
  testing_support::WriteFile(dir / "short.bin", std::string("\x4c\0\0\0", 4) + "........");
  EXPECT_NE(TypeOf(dir / "other.bin"), "application/x-kel-trip-database");
  EXPECT_NE(TypeOf(dir / "short.bin"), "application/x-kel-trip-database");
  EXPECT_NE(TypeOf(dir / "short.bin"), "application/x-ryn-trip-database");
}

TEST(ProgramIcons, RenderAsDistinctSquareTilesAtMenuSize) {
  const char* names[] = {"kel2ch-manager", "kel-manager", "ryn-manager", "kel-tracker", "lumaro-tracker"};
  std::vector<QImage> drawn;
  for (const char* name : names) {
    SCOPED_TRACE(name);
    QSvgRenderer svg(QString(SOURCE_DIR "/packaging/icons/%1.svg").arg(name));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox().width(), svg.viewBox().height());
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    // A rounded tile: the corners stay clear, the middle is drawn.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(47, 47)), 0);
    EXPECT_EQ(qAlpha(image.pixel(24, 24)), 255);
    for (const QImage& other : drawn) EXPECT_NE(image, other);
    drawn.push_back(image);
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Before Qt first reads XDG_DATA_DIRS: a data folder whose only file types are ours.
  TempDir data;
  fs::create_directories(data / "mime/packages");
  fs::copy_file(SOURCE_DIR "/packaging/mime/org.blackbox_dashcam.trip-databases.xml",
                data / "mime/packages/org.blackbox_dashcam.trip-databases.xml");
  const auto updated =
      testing_support::RunCommand("update-mime-database " + testing_support::ShellQuoted((data / "mime").string()));
  if (updated.status != 0) {
    std::fprintf(stderr, "update-mime-database failed: %s\n", updated.err.c_str());
    return 1;
  }
  setenv("XDG_DATA_HOME", (data / "home").c_str(), 1);
  setenv("XDG_DATA_DIRS", data.path().c_str(), 1);
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
