// The tree `cmake --install` makes, checked file by file and with the tools desktops and software
// centres check such files with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "tests/packaging/programs.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using packaging_test::kPrograms;
using packaging_test::Program;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

class InstalledTree : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new testing_support::TempDir;
    const auto result = RunCommand(ShellQuoted(CMAKE_COMMAND) + " --install " + ShellQuoted(BUILD_DIR) + " --prefix " +
                                   ShellQuoted(prefix_->path().string()));
    ASSERT_EQ(result.status, 0) << result.out << result.err;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  static fs::path Installed(std::string_view relative) { return prefix_->path() / relative; }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    return bytes;
  }
  // The value of `key=` in a desktop file's [Desktop Entry] group.
  static std::string DesktopValue(const std::string& text, const std::string& key) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex("(^|\n)" + key + "=([^\n]*)"))) return {};
    return match[2];
  }

  static testing_support::TempDir* prefix_;
};

testing_support::TempDir* InstalledTree::prefix_ = nullptr;

TEST_F(InstalledTree, HoldsEveryProgramWithItsMenuEntryIconAndDescription) {
  std::set<fs::path> expected = {
      "bin/blackbox",
      "share/mime/packages/org.blackbox_dashcam.trip-databases.xml",
      "share/icons/hicolor/scalable/mimetypes/application-x-kel-trip-database.svg",
      "share/icons/hicolor/scalable/mimetypes/application-x-ryn-trip-database.svg",
      "share/doc/blackbox-dashcam/copyright",
      "share/doc/blackbox-dashcam/changelog.gz",
  };
  if (BLACKBOX_MANUAL_PAGES) expected.insert("share/man/man1/blackbox.1.gz");
  for (const Program& program : kPrograms) {
    const std::string id(program.desktop_id);
    expected.insert(fs::path("bin") / program.binary);
    if (BLACKBOX_MANUAL_PAGES) expected.insert("share/man/man1/" + std::string(program.binary) + ".1.gz");
    expected.insert("share/applications/" + id + ".desktop");
    expected.insert("share/icons/hicolor/scalable/apps/" + id + ".svg");
    expected.insert("share/metainfo/" + id + ".metainfo.xml");
  }
  std::set<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(prefix_->path())) {
    if (entry.is_regular_file()) found.insert(fs::relative(entry.path(), prefix_->path()));
  }
  for (const fs::path& path : expected) EXPECT_TRUE(found.count(path)) << "missing: " << path;
  for (const fs::path& path : found) {
    EXPECT_TRUE(expected.count(path)) << "not expected: " << path;
    const bool executable =
        (fs::status(Installed(path.string())).permissions() & fs::perms::others_exec) != fs::perms::none;
    EXPECT_EQ(executable, path.parent_path() == "bin") << path;
  }
}

TEST_F(InstalledTree, MenuEntriesPassTheValidatorAndPointAtWhatIsInstalled) {
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.binary);
    const fs::path desktop = Installed("share/applications/" + std::string(program.desktop_id) + ".desktop");
    const auto validated = RunCommand("desktop-file-validate " + ShellQuoted(desktop.string()));
    EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
    // Its hints and warnings count as failures too.
    EXPECT_EQ(validated.out + validated.err, "");

    const std::string text = Read(desktop);
    EXPECT_EQ(DesktopValue(text, "Name"), program.menu_name);
    EXPECT_EQ(DesktopValue(text, "Exec"), std::string(program.binary) + " %f");
    EXPECT_TRUE(fs::exists(Installed("bin") / DesktopValue(text, "TryExec")));
    EXPECT_TRUE(fs::exists(Installed("share/icons/hicolor/scalable/apps/" + DesktopValue(text, "Icon") + ".svg")));
    // The file manager offers it for a card folder; the trackers also for their trip databases.
    const std::string types = DesktopValue(text, "MimeType");
    EXPECT_NE(types.find("inode/directory;"), std::string::npos);
    if (program.binary == "kel-tracker") {
      EXPECT_NE(types.find("application/x-kel-trip-database;"), std::string::npos);
    }
    if (program.binary == "lumaro-tracker") {
      EXPECT_NE(types.find("application/x-ryn-trip-database;"), std::string::npos);
    }
  }
}

TEST_F(InstalledTree, DescriptionsPassAppStreamAndShowCommittedScreenshots) {
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.binary);
    const std::string id(program.desktop_id);
    const fs::path metainfo = Installed("share/metainfo/" + id + ".metainfo.xml");
    const auto validated = RunCommand("appstreamcli validate --no-net " + ShellQuoted(metainfo.string()));
    EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
    EXPECT_EQ(validated.out.find("W:"), std::string::npos) << validated.out;
    EXPECT_EQ(validated.out.find("E:"), std::string::npos) << validated.out;

    const std::string text = Read(metainfo);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" + id + ".desktop</launchable>"), std::string::npos);
    EXPECT_NE(text.find("<binary>" + std::string(program.binary) + "</binary>"), std::string::npos);
    EXPECT_EQ(text.find('@'), std::string::npos) << "an unconfigured @VARIABLE@ is left";
    // Every screenshot it names is one the README shows, committed under docs/screenshots.
    const std::regex image("<image>[^<]*/([^/<]+\\.png)</image>");
    int shots = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), image); it != std::sregex_iterator(); ++it) {
      ++shots;
      EXPECT_TRUE(fs::exists(fs::path(SOURCE_DIR) / "docs/screenshots" / (*it)[1].str())) << (*it)[1];
    }
    EXPECT_GE(shots, 1);
  }
}

TEST_F(InstalledTree, FileTypesBuildIntoAMimeDatabase) {
  // update-mime-database refuses a malformed file; the installed tree gets its own cache.
  const fs::path mime = Installed("share/mime");
  const auto updated = RunCommand("update-mime-database -V " + ShellQuoted(mime.string()));
  ASSERT_EQ(updated.status, 0) << updated.out << updated.err;
  EXPECT_EQ(updated.err.find("rror"), std::string::npos) << updated.err;
  EXPECT_TRUE(fs::exists(mime / "application/x-kel-trip-database.xml"));
  EXPECT_TRUE(fs::exists(mime / "application/x-ryn-trip-database.xml"));
}

// --help and --version are answered on a machine without a display (a terminal on a server, a
// packaging tool, help2man), where Qt could not open a window.
TEST_F(InstalledTree, ProgramsAnswerHelpAndVersionWithoutADisplay) {
  const std::string no_display = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.binary);
    const std::string binary = ShellQuoted(Installed("bin").string() + "/" + std::string(program.binary));
    const auto version = RunCommand(no_display + binary + " --version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string(program.version_line) + "\n");

    const auto help = RunCommand(no_display + binary + " --help");
    EXPECT_EQ(help.status, 0) << help.err;
    for (const char* option : {"--help", "--version", "--screenshot <FILE.png>", "--state <FILE.json>"}) {
      EXPECT_NE(help.out.find(option), std::string::npos) << option << " missing from\n" << help.out;
    }
    // A mistake beside --help is reported, not answered with the help.
    const auto wrong = RunCommand(no_display + binary + " --help --no-such-option");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("no-such-option"), std::string::npos) << wrong.err;
  }
  const std::string blackbox = ShellQuoted(Installed("bin/blackbox").string());
  const auto version = RunCommand(blackbox + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("blackbox ") + BLACKBOX_VERSION + "\n");
  const auto help = RunCommand(blackbox + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("blackbox print FILE"), std::string::npos) << "--help goes to stdout";
}

}  // namespace
