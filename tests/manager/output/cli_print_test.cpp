// blackbox print, run as a user would: the PDF is read back with pdftoppm and pdftotext.
#include <gtest/gtest.h>

#include <regex>

#include "manager/output/rules/page_geometry.h"
#include "tests/manager/output/print_fixtures.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace print_testing;
using output::PageRect;
using testing_support::CommandResult;
using testing_support::ShellQuoted;

constexpr std::int32_t kStart = 1309860907;  // 2011-07-05 10:15:07 UTC
constexpr int kRasterDpi = 100;

CommandResult Blackbox(const std::string& args) {
  // No display: the tool must find its own way.
  return testing_support::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                     std::string(BLACKBOX_EXE) + " " + args);
}

// The recordings are made once for all tests: a 640 x 480 front and rear pair, a front
// without its rear, and a 1280 x 720 front.
struct Card {
  testing_support::TempDir folder;
  fs::path front = folder / "EVENT/drf_20110705_101507.mp4";
  fs::path lonely = folder / "EVENT/drf_20110705_102000.mp4";
  fs::path wide = folder / "MANUAL/drf_20110705_103000.mp4";

  Card() {
    MakeQuarterClip(front, 640, 480, kFrontQuarters, TwoSecondUserData(kStart));
    MakeQuarterClip(folder / "EVENT/drr_20110705_101507.mp4", 640, 480, kRearQuarters, TwoSecondUserData(kStart));
    MakeQuarterClip(lonely, 640, 480, kFrontQuarters);
    MakeQuarterClip(wide, 1280, 720, kFrontQuarters, TwoSecondUserData(kStart));
  }
};

const Card& TheCard() {
  static const Card card;
  return card;
}

// What the tool says it printed: the device pixels of the sheet.
struct Printed {
  int deviceWidth = 0;
  int deviceHeight = 0;
  output::PageSize page;
};

std::optional<Printed> ReadSummary(const std::string& out) {
  static const std::regex summary(R"((\d+) x (\d+) device pixels, page (\d+) x (\d+))");
  std::smatch match;
  if (!std::regex_search(out, match, summary)) return std::nullopt;
  Printed printed{std::stoi(match[1]), std::stoi(match[2]), {}};
  const auto page = output::VirtualPageSize(printed.deviceWidth, printed.deviceHeight);
  if (!page || page->width != std::stoi(match[3]) || page->height != std::stoi(match[4])) return std::nullopt;
  printed.page = *page;
  return printed;
}

class PrintCommand : public ::testing::Test {
 protected:
  // Runs the command into out.pdf and rasterises it; the page size as the tool reports it.
  std::optional<Printed> Print(const fs::path& recording, const std::string& options, int dpi = 600) {
    const CommandResult result = Blackbox("print " + ShellQuoted(recording.string()) + " --at 1 -o " +
                                          ShellQuoted(pdf.string()) + " --dpi " + std::to_string(dpi) + " " + options);
    EXPECT_EQ(result.status, 0) << result.err;
    err = result.err;
    if (result.status != 0) return std::nullopt;
    raster = RasterisePdf(pdf, kRasterDpi);
    EXPECT_FALSE(raster.isNull());
    const auto printed = ReadSummary(result.out);
    EXPECT_TRUE(printed) << result.out;
    if (printed) scale = static_cast<double>(printed->deviceWidth) / printed->page.width * kRasterDpi / dpi;
    return printed;
  }

  // The quarters' centres of a picture drawn whole in `area` have the quarters' colours.
  void ExpectQuarters(const PageRect& area, const Quarters& quarters) {
    for (int i = 0; i < 4; ++i) {
      const int x = area.left + area.Width() * (i % 2 == 0 ? 1 : 3) / 4;
      const int y = area.top + area.Height() * (i < 2 ? 1 : 3) / 4;
      EXPECT_TRUE(ColourNear(raster, Px(x), Px(y), quarters[i])) << "quarter " << i;
    }
  }
  void ExpectWhite(const PageRect& area) {
    for (const double fx : {0.25, 0.5, 0.75}) {
      for (const double fy : {0.25, 0.5, 0.75}) {
        EXPECT_TRUE(ColourNear(raster, Px(area.left + area.Width() * fx), Px(area.top + area.Height() * fy),
                               QColor(255, 255, 255), 8));
      }
    }
  }
  int Px(double logical) const { return static_cast<int>(logical * scale); }

  testing_support::TempDir folder;
  fs::path pdf = folder / "out.pdf";
  QImage raster;
  double scale = 0;
  std::string err;
};

TEST_F(PrintCommand, DualPageOnA4ShowsBothChannelsAndTheRecordingData) {
  const auto printed = Print(TheCard().front, "");
  ASSERT_TRUE(printed);
  EXPECT_FALSE(printed->page.landscape);
  EXPECT_NEAR(raster.width(), 827, 2) << "A4 at 100 dpi";
  const auto layout = output::TwoPictureLayout(printed->page);
  ExpectQuarters(layout.pictures[0].area, kFrontQuarters);
  ExpectQuarters(layout.pictures[1].area, kRearQuarters);
  // Between the pictures and beside them the sheet is white.
  ExpectWhite({layout.pictures[0].area.left, layout.pictures[0].caption.bottom, layout.pictures[0].area.right,
               layout.pictures[1].area.top});
  ExpectWhite({0, 300, layout.pictures[0].area.left, 1000});

  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Black box image print."), std::string::npos) << text;
  EXPECT_NE(text.find("- Date : 2011-07-05 10:15:08"), std::string::npos) << "the second sample at 1 s";
  EXPECT_NE(text.find("- G-sensor : X=-0.250 Y=1.000 Z=0.500"), std::string::npos);
  EXPECT_NE(text.find("- Speed : 18.5 km/h 11.5 m/h"), std::string::npos) << "pdftotext joins the two blanks";
  const auto first = text.find("Resolution. : 640 x 480");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(text.find("Resolution. : 640 x 480", first + 1), std::string::npos);
  EXPECT_TRUE(std::regex_search(text, std::regex(R"(\n20\d\d-\d\d-\d\d \d\d:\d\d:\d\d\n)"))) << "print time";
  EXPECT_EQ(testing_support::RunCommand("pdfinfo " + ShellQuoted(pdf.string())).out.find("Title:           Image") !=
                std::string::npos,
            true);
}

TEST_F(PrintCommand, SwappedLandscapeLetterPutsTheRearChannelFirst) {
  const auto printed = Print(TheCard().front, "--swap --landscape --paper letter");
  ASSERT_TRUE(printed);
  EXPECT_TRUE(printed->page.landscape);
  EXPECT_NEAR(raster.width(), 1100, 2) << "letter across at 100 dpi";
  const auto layout = output::TwoPictureLayout(printed->page);
  ExpectQuarters(layout.pictures[0].area, kRearQuarters);
  ExpectQuarters(layout.pictures[1].area, kFrontQuarters);
}

TEST_F(PrintCommand, OneChannelPagesFitTheFrame) {
  // Portrait: the 1280 x 720 frame in 16:9 steps across the text width.
  auto printed = Print(TheCard().wide, "--profile park", 300);
  ASSERT_TRUE(printed);
  auto layout = output::OnePictureLayout(printed->page, 1280, 720);
  ExpectQuarters(layout.pictures[0].area, kFrontQuarters);
  EXPECT_NE(PdfText(pdf).find("X=0.500 Y=-0.250 Z=1.000"), std::string::npos) << "stored order in the park profile";

  // Landscape: a VGA frame at its own size, the brand profile naming axes as the dual one.
  printed = Print(TheCard().front, "--profile brand --landscape");
  ASSERT_TRUE(printed);
  layout = output::OnePictureLayout(printed->page, 640, 480);
  EXPECT_EQ(layout.pictures[0].area.Width(), 640);
  ExpectQuarters(layout.pictures[0].area, kFrontQuarters);
  EXPECT_NE(PdfText(pdf).find("X=-0.250 Y=1.000 Z=0.500"), std::string::npos);
  EXPECT_EQ(PdfText(pdf).find("0 x 0"), std::string::npos) << "no second picture in one-channel profiles";
}

TEST_F(PrintCommand, MissingCompanionLeavesAWhiteSlot) {
  const auto printed = Print(TheCard().lonely, "");
  ASSERT_TRUE(printed);
  EXPECT_NE(err.find("drr_20110705_102000.mp4"), std::string::npos) << err;
  const auto layout = output::TwoPictureLayout(printed->page);
  ExpectQuarters(layout.pictures[0].area, kFrontQuarters);
  ExpectWhite(layout.pictures[1].area);
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Resolution. : 0 x 0"), std::string::npos) << text;
  EXPECT_NE(text.find("0000-00-00 00:00:00"), std::string::npos) << "no sensor record";
}

TEST_F(PrintCommand, RefusesBadArgumentsAndReportsFileProblems) {
  const std::string front = ShellQuoted(TheCard().front.string());
  const std::string out = " -o " + ShellQuoted(pdf.string());
  for (const std::string& args :
       {"print " + front + out, "print " + front + " --at 1", "print --at 1" + out, "print " + front + " --at x" + out,
        "print " + front + " --at 1 --paper a3" + out, "print " + front + " --at 1 --dpi 0" + out,
        "print " + front + " --at 1 --dpi 6e2" + out, "print " + front + " --at 1 --profile park --swap" + out,
        "print " + front + " --at 1 --profile pocket" + out, "print " + front + " --at 2" + out}) {
    EXPECT_EQ(Blackbox(args).status, 1) << args;
  }
  EXPECT_EQ(Blackbox("print " + ShellQuoted((folder / "none.mp4").string()) + " --at 1" + out).status, 2);
  const CommandResult unwritable =
      Blackbox("print " + front + " --at 1 -o " + ShellQuoted((folder / "no/out.pdf").string()));
  EXPECT_EQ(unwritable.status, 2);
  EXPECT_NE(unwritable.err.find("no/out.pdf"), std::string::npos) << unwritable.err;
  EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace
