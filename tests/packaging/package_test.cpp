// The Debian package CPack makes from this build: what it holds, what it asks apt for, and what
// lintian says of it. (./dev.sh package makes the Release one the same way.)
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/packaging/programs.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using packaging_test::kPrograms;
using packaging_test::Program;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

class DebianPackage : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new testing_support::TempDir;
    // gzip rather than xz: the test reads it once, and xz would only cost time.
    const auto made = RunCommand("cd " + ShellQuoted(out_->path().string()) + " && " + ShellQuoted(CPACK_COMMAND) +
                                 " --config " + ShellQuoted(std::string(BUILD_DIR) + "/CPackConfig.cmake") +
                                 " -G DEB -B . -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip");
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    const auto found = RunCommand("ls " + ShellQuoted(out_->path().string()) + "/*.deb");
    ASSERT_EQ(found.status, 0) << "no .deb made: " << made.out;
    deb_ = found.out.substr(0, found.out.find('\n'));
  }
  static void TearDownTestSuite() {
    delete out_;
    out_ = nullptr;
  }
  static std::string Field(const std::string& name) {
    auto value = RunCommand("dpkg-deb -f " + ShellQuoted(deb_) + " " + name).out;
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
  }
  static std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    std::istringstream listing(RunCommand("dpkg-deb --fsys-tarfile " + ShellQuoted(deb_) + " | tar -t").out);
    for (std::string line; std::getline(listing, line);) paths.push_back(line);
    return paths;
  }
  static bool Holds(const std::vector<std::string>& paths, const std::string& path) {
    return std::find(paths.begin(), paths.end(), "./usr/" + path) != paths.end();
  }

  static testing_support::TempDir* out_;
  static std::string deb_;
};

testing_support::TempDir* DebianPackage::out_ = nullptr;
std::string DebianPackage::deb_;

TEST_F(DebianPackage, IsNamedApartFromDebiansWindowManager) {
  EXPECT_EQ(Field("Package"), "blackbox-dashcam");
  EXPECT_EQ(Field("Version"), BLACKBOX_VERSION);
  // Both would install /usr/bin/blackbox.
  EXPECT_EQ(Field("Conflicts"), "blackbox");
  EXPECT_NE(deb_.find("blackbox-dashcam_" BLACKBOX_VERSION "_"), std::string::npos) << deb_;
}

TEST_F(DebianPackage, HoldsTheProgramsAndEverythingTheDesktopNeeds) {
  const auto paths = Paths();
  EXPECT_TRUE(Holds(paths, "bin/blackbox"));
  EXPECT_TRUE(Holds(paths, "share/mime/packages/org.blackbox_dashcam.trip-databases.xml"));
  EXPECT_TRUE(Holds(paths, "share/doc/blackbox-dashcam/copyright"));
  for (const Program& program : kPrograms) {
    const std::string id(program.desktop_id);
    EXPECT_TRUE(Holds(paths, "bin/" + std::string(program.binary))) << program.binary;
    EXPECT_TRUE(Holds(paths, "share/applications/" + id + ".desktop")) << id;
    EXPECT_TRUE(Holds(paths, "share/icons/hicolor/scalable/apps/" + id + ".svg")) << id;
    EXPECT_TRUE(Holds(paths, "share/metainfo/" + id + ".metainfo.xml")) << id;
  }
  // Nothing of the build itself (headers, static libraries, tests) and nothing outside /usr.
  for (const std::string& path : paths) {
    EXPECT_TRUE(path == "./" || path.rfind("./usr/", 0) == 0) << path;
    const std::string_view name(path);
    EXPECT_FALSE(name.ends_with(".a") || name.ends_with(".h") || name.find("/include/") != name.npos) << path;
    EXPECT_EQ(name.find("test"), name.npos) << path;
  }
}

TEST_F(DebianPackage, DependsOnTheLibrariesAndWhatThePlayerLoadsAtRunTime) {
  const std::string depends = Field("Depends");
  // Found by dpkg-shlibdeps in the programs.
  for (const char* library :
       {"libqt6widgets6", "libqt6webenginewidgets6", "libgstreamer1.0-0", "liblzo2-2", "libturbojpeg0"}) {
    EXPECT_NE(depends.find(library), std::string::npos) << library << " not in " << depends;
  }
  // Loaded by name at run time, so only named by hand: the playback pipeline's elements, Qt's
  // display plugins, the font behind "Arial" and the one for Korean, Chinese and Japanese.
  for (const char* package : {"gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good", "gstreamer1.0-plugins-bad",
                              "gstreamer1.0-libav", "qt6-qpa-plugins", "fonts-liberation2", "fonts-noto-cjk"}) {
    EXPECT_NE(depends.find(package), std::string::npos) << package << " not in " << depends;
  }
}

TEST_F(DebianPackage, LintianFindsNoError) {
  const auto lintian = RunCommand("lintian " + ShellQuoted(deb_));
  std::istringstream lines(lintian.out + lintian.err);
  for (std::string line; std::getline(lines, line);) EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
}

}  // namespace
