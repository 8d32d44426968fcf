// The snapshot and print commands as the main window calls them, with real channels and the
// dialogs replaced; and the page as it is painted.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <chrono>
#include <thread>

#include <QApplication>
#include <QPainter>
#include <QPrinter>

#include "common/gui/message_box.h"
#include "manager/output/qt/frame_output.h"
#include "manager/output/qt/print_page.h"
#include "manager/playback/transport.h"
#include "tests/manager/output/print_fixtures.h"
#include "tests/manager/playback/channel.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace playback_testing;
using namespace print_testing;
using output::PageRect;

constexpr std::int32_t k101507 = 1309860907;  // 2011-07-05 10:15:07 UTC

QImage Solid(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(colour);
  return image;
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(ComposePage, SquarePageDrawsSlotBOverSlotAsCaption) {
  const auto page = *output::VirtualPageSize(3000, 3000);
  const auto content = output::MakePageContent({"title", "date", "g", "speed", "time"},
                                               {Solid(640, 480, Qt::red), Solid(640, 480, Qt::blue)});
  const auto layout = output::TwoPictureLayout(page);
  const QImage image = output::ComposePage(layout, content);
  ASSERT_EQ(image.size(), QSize(1280, 1280));
  EXPECT_EQ(At(image, 640, 200), QColor(Qt::red));
  EXPECT_EQ(At(image, 640, 672), QColor(Qt::blue)) << "the five overlapping rows are slot B's";
  EXPECT_EQ(At(image, 640, 1149), QColor(Qt::blue));
  EXPECT_EQ(At(image, 640, 1150), QColor(Qt::white));
  EXPECT_EQ(At(image, 300, 400), QColor(Qt::white)) << "beside the slots";
  EXPECT_EQ(At(image, 200, 130), QColor(Qt::black)) << "upper rule";
  EXPECT_EQ(At(image, 1119, 1145), QColor(Qt::black)) << "lower rule";
  EXPECT_EQ(At(image, 200, 125), QColor(Qt::white)) << "the rule is 4 pixels";
}

TEST(ComposePage, SlotsStayWhiteWhereThePictureDoesNotReach) {
  const auto page = *output::VirtualPageSize(4960, 7016);
  const auto layout = output::TwoPictureLayout(page);
  const auto content = output::MakePageContent({}, {Solid(320, 240, Qt::green), QImage()});
  EXPECT_EQ(content.captions[0], "Resolution. : 320 x 240");
  EXPECT_EQ(content.captions[1], "Resolution. : 0 x 0");
  const QImage image = output::ComposePage(layout, content);
  const PageRect a = layout.pictures[0].area;
  const PageRect b = layout.pictures[1].area;
  EXPECT_EQ(At(image, a.left, a.top), QColor(Qt::green));
  EXPECT_EQ(At(image, a.left + 319, a.top + 239), QColor(Qt::green));
  EXPECT_EQ(At(image, a.left + 320, a.top), QColor(Qt::white)) << "unscaled";
  EXPECT_EQ(At(image, (b.left + b.right) / 2, (b.top + b.bottom) / 2), QColor(Qt::white));
  // The caption of the missing picture is still written.
  const PageRect caption = layout.pictures[1].caption;
  bool inked = false;
  for (int x = caption.left; x < caption.left + 250 && !inked; ++x) {
    for (int y = caption.top; y < caption.bottom && !inked; ++y) inked = qGray(image.pixel(x, y)) < 100;
  }
  EXPECT_TRUE(inked);
}

TEST(ComposePage, OnePicturePageStretchesTheFrame) {
  const auto page = *output::VirtualPageSize(4960, 7016);
  QImage frame = Solid(1280, 720, Qt::red);
  QPainter(&frame).fillRect(640, 360, 640, 360, Qt::blue);
  const auto content = output::MakePageContent({}, {frame});
  const auto layout = output::LayoutPage(page, setup::kParkProfile, content);
  const PageRect area = layout.pictures[0].area;
  ASSERT_EQ(area, (PageRect{160, 632, 1120, 1172}));
  const QImage image = output::ComposePage(layout, content);
  EXPECT_EQ(At(image, 200, 700), QColor(Qt::red));
  EXPECT_EQ(At(image, 1100, 1150), QColor(Qt::blue));
  EXPECT_EQ(At(image, 700, 1180), QColor(Qt::white)) << "nothing below the fitted picture but its caption";
}

// The main window's side: two channels, a sensor record, a play state.
class FrameOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    gui::SetMessageRecording(true);
    gui::ClearRecordedMessages();
    const std::string box = TwoSecondUserData(k101507);
    record.copy.assign(box.begin(), box.end());
    record.cursor = 0;
    ASSERT_EQ(recording::ParseUserData(record), recording::kParseOk);
    record.noData = 0;
    record.duration = 20'000'000;
  }
  void TearDown() override { gui::SetMessageRecording(false); }

  // Channel 1 plays red then blue at 320 x 240, channel 2 a 640 x 480 test pattern.
  void OpenBoth() {
    ASSERT_TRUE(front.Build(ClipPath(Clip::kRedThenBlue), 0));
    rear.video.filters.audioRenderer.clear();  // pictures only
    ASSERT_TRUE(rear.Build(ClipPath(Clip::kVga), 1));
  }

  output::FrameOutputContext Context(const setup::Profile& profile = setup::kDualProfile) {
    output::FrameOutputContext context;
    context.profile = &profile;
    context.channels = {&front.video, &rear.video};
    context.recordingPath = "/card/EVENT/drf_20110705_101507.mp4";
    context.sensorRecord = &record;
    context.position = 5'000'000;
    context.speedKnots = 10;
    context.playState = [this] { return playState; };
    context.chooseSnapshotPath = [this](QWidget*, const QString& proposed) {
      proposedNames.push_back(proposed.toStdString());
      statesWhileChoosing = {static_cast<int>(front.video.state), static_cast<int>(rear.video.state)};
      if (waitWhileChoosing) std::this_thread::sleep_for(std::chrono::milliseconds(500));
      return chosen;
    };
    return context;
  }

  Channel front;
  Channel rear;
  recording::SensorRecord record;
  int playState = 1;
  testing_support::TempDir folder;
  QString chosen = QString::fromStdString((folder / "x.jpg").string());
  bool waitWhileChoosing = false;
  std::vector<std::string> proposedNames;
  std::array<int, 2> statesWhileChoosing{-1, -1};
};

struct JpegSize {
  int width = 0;
  int height = 0;
};

std::optional<JpegSize> ReadJpegSize(const fs::path& path) {
  const std::string bytes = testing_support::ReadFile(path);
  tjhandle decoder = tjInitDecompress();
  JpegSize size;
  int subsampling = 0;
  int colourspace = 0;
  const int failed = tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                         &size.width, &size.height, &subsampling, &colourspace);
  tjDestroy(decoder);
  if (failed != 0) return std::nullopt;
  return size;
}

// Plays the channel until its clock has visibly moved on, as it has when a user clicks.
void PlayForAWhile(Channel& channel) {
  const std::int64_t start = channel.Position();
  playback::Play(channel.video);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (channel.Position() < start + 500'000 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

TEST_F(FrameOutput, SnapshotSavesBothChannelsAsTheyWereAtTheClick) {
  OpenBoth();
  ASSERT_TRUE(playback::SeekTo(front.video, 7'000'000.0));  // red until 1 s
  PlayForAWhile(front);
  PlayForAWhile(rear);
  waitWhileChoosing = true;  // long enough for a playing channel to reach the blue second

  EXPECT_TRUE(output::TakeSnapshot(Context()));
  ASSERT_EQ(proposedNames, std::vector<std::string>{"drf_20110705_101507_157.jpg"});
  EXPECT_EQ(statesWhileChoosing, (std::array<int, 2>{2, 2})) << "held on screen while the user chooses";
  EXPECT_EQ(front.video.state, playback::EngineState::kPaused);
  EXPECT_EQ(rear.video.state, playback::EngineState::kPaused);
  const auto first = ReadJpegSize(folder / "x.jpg");
  const auto second = ReadJpegSize(folder / "x.jpg.drr.jpg");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->width, 320);
  EXPECT_EQ(second->width, 640);
  EXPECT_TRUE(ColourNear(QImage(QString::fromStdString((folder / "x.jpg").string())), 160, 120, Qt::red));
  EXPECT_TRUE(gui::RecordedMessages().isEmpty());
}

TEST_F(FrameOutput, CancelledSnapshotLetsTheChannelsPlayOn) {
  OpenBoth();
  PlayForAWhile(front);  // channel 2 stays paused
  chosen.clear();
  EXPECT_FALSE(output::TakeSnapshot(Context()));
  EXPECT_EQ(statesWhileChoosing, (std::array<int, 2>{2, 2}));
  EXPECT_EQ(front.video.state, playback::EngineState::kRunning);
  EXPECT_EQ(rear.video.state, playback::EngineState::kPaused) << "a paused channel is not started";
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(FrameOutput, NothingWithoutARecordingOrWhenStoppedWhileChoosing) {
  OpenBoth();
  playState = 0;
  EXPECT_FALSE(output::TakeSnapshot(Context()));
  EXPECT_FALSE(output::PrintFrame(Context()));
  EXPECT_TRUE(proposedNames.empty());

  playState = 1;
  auto context = Context();
  context.chooseSnapshotPath = [&](QWidget*, const QString&) {
    playState = 0;
    return chosen;
  };
  EXPECT_FALSE(output::TakeSnapshot(context));
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(FrameOutput, OneChannelProfilesWriteOnlyTheChosenFile) {
  OpenBoth();
  record.noData = 1;  // a recording without sensor data proposes zeros
  EXPECT_TRUE(output::TakeSnapshot(Context(setup::kParkProfile)));
  EXPECT_EQ(proposedNames, std::vector<std::string>{"drf_20110705_101507_00.jpg"});
  EXPECT_TRUE(fs::exists(folder / "x.jpg"));
  EXPECT_FALSE(fs::exists(folder / "x.jpg.drr.jpg"));
}

TEST_F(FrameOutput, PicturesThatCannotBeWrittenAreReportedByName) {
  OpenBoth();
  chosen = QString::fromStdString((folder / "gone" / "x.jpg").string());
  EXPECT_FALSE(output::TakeSnapshot(Context()));
  ASSERT_EQ(gui::RecordedMessages().size(), 1);
  const QString text = gui::RecordedMessages().front();
  EXPECT_TRUE(text.contains(chosen)) << text.toStdString();
  EXPECT_TRUE(text.contains(chosen + ".drr.jpg")) << text.toStdString();

  // Channel 2 without a picture is silent; channel 1 is still reported.
  gui::ClearRecordedMessages();
  playback::Teardown(rear.video);
  EXPECT_FALSE(output::TakeSnapshot(Context()));
  ASSERT_EQ(gui::RecordedMessages().size(), 1);
  EXPECT_FALSE(gui::RecordedMessages().front().contains(".drr.jpg"));
}

TEST_F(FrameOutput, PrintPutsTheLargeWindowsChannelInSlotA) {
  OpenBoth();
  const fs::path pdf = folder / "page.pdf";
  auto context = Context();
  context.largeWindowChannel = 1;
  int asked = 0;
  context.choosePrinter = [&](QPrinter& printer, QWidget*) {
    ++asked;
    EXPECT_EQ(printer.docName(), "Image");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setResolution(300);
    return true;
  };
  ASSERT_TRUE(output::PrintFrame(context));
  EXPECT_EQ(asked, 1);
  const std::string text = PdfText(pdf);
  const auto large = text.find("Resolution. : 640 x 480");
  const auto small = text.find("Resolution. : 320 x 240");
  ASSERT_NE(large, std::string::npos) << text;
  ASSERT_NE(small, std::string::npos) << text;
  EXPECT_LT(large, small);
  EXPECT_NE(text.find("- Date : 2011-07-05 10:15:07"), std::string::npos) << text;
  EXPECT_NE(text.find("- Speed : 18.5 km/h 11.5 m/h"), std::string::npos);
  EXPECT_EQ(front.video.state, playback::EngineState::kPaused) << "printing pauses nothing";

  // Cancelled: nothing printed.
  fs::remove(pdf);
  context.choosePrinter = [](QPrinter&, QWidget*) { return false; };
  EXPECT_FALSE(output::PrintFrame(context));
  EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
