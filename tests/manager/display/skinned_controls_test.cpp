// The skin's bitmaps, the image buttons and the G-sensor graph, drawn for real.
#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <filesystem>
#include <set>

#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/graph_mapping.h"
#include "manager/display/sensor_graph.h"
#include "manager/display/skin.h"
#include "manager/recording/user_data_writer.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace display;

QApplication& App() {
  static int argc = 1;
  static char name[] = "manager_display_widget_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: after main() Qt's own statics are already gone.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Share of pixels in which two images of the same size differ.
double Difference(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
  }
  return static_cast<double>(differing) / (a.width() * a.height());
}

TEST(Skin, EveryBitmapHasItsStatedSize) {
  App();
  const Skin skin(setup::kDualProfile);
  EXPECT_EQ(skin.Bitmap(bitmaps::kBackground).size(), QSize(1024, 768));
  EXPECT_EQ(skin.Bitmap(bitmaps::kFullScreenBackground).size(), QSize(1304, 845));
  EXPECT_EQ(skin.Bitmap(186).size(), QSize(296, 45));  // full screen: eight images
  EXPECT_EQ(skin.Bitmap(193).size(), QSize(204, 45));  // play: four
  EXPECT_EQ(skin.Bitmap(bitmaps::kMuted).size(), QSize(15, 12));
  EXPECT_EQ(skin.Bitmap(bitmaps::kNoAudio).size(), QSize(15, 13));
  for (const int id : Skin::BitmapIds()) {
    EXPECT_FALSE(skin.Bitmap(id).isNull()) << id;
    EXPECT_EQ(skin.Bitmap(id).size(), Skin::BitmapSize(id)) << id;
  }
  EXPECT_TRUE(skin.Bitmap(999).isNull());
}

TEST(Skin, EveryButtonStateLooksDifferent) {
  App();
  const Skin skin(setup::kDualProfile);
  for (const ImageButtonSpec& button : kImageButtons) {
    const QImage& strip = skin.Bitmap(button.bitmap);
    const int images = StripImageCount(button.kind);
    for (int a = 0; a < images; ++a) {
      for (int b = a + 1; b < images; ++b) {
        const QImage first = strip.copy(a * button.place.Width(), 0, button.place.Width(), button.place.Height());
        const QImage second = strip.copy(b * button.place.Width(), 0, button.place.Width(), button.place.Height());
        EXPECT_GT(Difference(first, second), 0.05) << "button " << button.id << " images " << a << ", " << b;
      }
    }
  }
}

TEST(Skin, TheProfileShapesTheBackground) {
  App();
  const QImage dual = Skin(setup::kDualProfile).Bitmap(bitmaps::kBackground);
  const QImage park = Skin(setup::kParkProfile).Bitmap(bitmaps::kBackground);
  // The park build has no rear window at 679, 252 and a taller map in its place.
  EXPECT_GT(Difference(dual.copy(679, 252, 320, 240), park.copy(679, 252, 320, 240)), 0.3);
  EXPECT_EQ(dual.copy(0, 684, 670, 84), park.copy(0, 684, 670, 84));
}

TEST(ImageButton, HoverToggleAndDisabledImages) {
  App();
  const Skin skin(setup::kDualProfile);
  QWidget parent;
  parent.resize(200, 100);
  const ImageButtonSpec spec = *FindImageButton(commands::kFullScreen);
  ImageButton button(spec, skin.Bitmap(spec.bitmap), &parent);
  button.move(10, 10);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

  const auto shown = [&] { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); };
  const auto strip = [&](int index) {
    return skin.Bitmap(spec.bitmap).copy(index * spec.place.Width(), 0, spec.place.Width(), spec.place.Height());
  };
  EXPECT_EQ(shown(), strip(0));

  QTest::mouseMove(&button, QPoint(5, 5));
  QTRY_VERIFY(button.Hover());
  EXPECT_EQ(shown(), strip(2));

  // Kind 2: clicking does not flip it; the program does.
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_FALSE(button.Toggled());
  button.SetToggled(true);
  EXPECT_EQ(shown(), strip(6));
  QTest::mouseMove(&parent, QPoint(150, 80));
  QTRY_VERIFY(!button.Hover());
  EXPECT_EQ(shown(), strip(4));

  button.setEnabled(false);
  EXPECT_EQ(shown(), strip(7));
}

TEST(ImageButton, AToggleButtonFlipsOnEveryClick) {
  App();
  const Skin skin(setup::kDualProfile);
  ImageButtonSpec spec = *FindImageButton(commands::kPlay);
  spec.kind = ButtonKind::Toggle;
  ImageButton button(spec, skin.Bitmap(spec.bitmap), nullptr);
  int clicks = 0;
  QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_TRUE(button.Toggled());
  EXPECT_EQ(button.ShownImage(), 1);
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_FALSE(button.Toggled());
  EXPECT_EQ(clicks, 2);
}

TEST(CLabel, DrawsItsLinesInItsColourOverItsBrush) {
  App();
  CLabel label(1073, nullptr);
  label.resize(200, 24);
  QFont font("Arial");
  font.setPixelSize(10);
  label.SetLabelFont(font);
  label.SetBackground(QColor(44, 44, 44));
  label.SetTextColour(QColor(255, 0, 0));
  label.SetText("File : \r\n      name");
  const QImage image = label.grab().toImage();
  EXPECT_EQ(image.pixelColor(199, 23), QColor(44, 44, 44));
  // Red text on both lines: the break is a line break, not a glyph.
  bool top = false;
  bool bottom = false;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (image.pixelColor(x, y).red() > 150 && image.pixelColor(x, y).green() < 80) (y < 12 ? top : bottom) = true;
    }
  }
  EXPECT_TRUE(top);
  EXPECT_TRUE(bottom);
}

// A sensor record from a file holding only the `udta` box.
recording::SensorRecord MakeSensorRecord(const std::vector<std::array<float, 3>>& gsensor) {
  testing_support::TempDir dir;
  recording::UserDataContent content;
  content.times.assign(1, 0);
  content.gpsSentences.assign(1, recording::FormatRmcSentence(0, 37.5, 127.0, 10.0, 0.0));
  content.gsensor = gsensor;
  testing_support::WriteFile(dir / "udta", recording::BuildUserDataBox(content));
  recording::SensorRecord record;
  EXPECT_TRUE(recording::LoadSensorRecord((dir / "udta").string(), record));
  record.duration = 100;
  return record;
}

TEST(SensorGraph, TracesLieAtTheirRowsInTheirColours) {
  App();
  // Stored Z, X, Y in the dual profile: X 0.5, Y -1.0, Z 3.5 (clamped to 2).
  const auto record = MakeSensorRecord(std::vector<std::array<float, 3>>(367, {3.5f, 0.5f, -1.0f}));
  QImage image(1024, 768, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    SensorTraces traces;
    traces.Build(record, setup::kDualProfile.gsensor_axes);
    DrawSensorGraph(painter, traces, 50, 100);
  }
  EXPECT_EQ(image.pixel(100, 592), qRgb(255, 27, 38));    // X
  EXPECT_EQ(image.pixel(100, 634), qRgb(0, 126, 0));      // Y
  EXPECT_EQ(image.pixel(100, 550), qRgb(255, 255, 255));  // Z, clamped
  EXPECT_EQ(image.pixel(436, 592), qRgb(255, 27, 38));    // one column per sample up to 436
  EXPECT_EQ(image.pixel(437, 592), qRgb(0, 0, 0));
  // The grey cursor at 253 over the whole height, drawn over the traces.
  EXPECT_EQ(image.pixel(253, 600), qRgb(90, 90, 90));
  EXPECT_EQ(image.pixel(253, 592), qRgb(90, 90, 90));
  EXPECT_EQ(image.pixel(253, 663), qRgb(0, 0, 0));
}

TEST(SensorGraph, NoCursorWithoutDurationAndNoReadoutsOutOfRange) {
  App();
  const auto record = MakeSensorRecord(std::vector<std::array<float, 3>>(10, {3.5f, 0.5f, -1.0f}));
  QImage clean(1024, 768, QImage::Format_RGB32);
  clean.fill(Qt::darkBlue);
  QImage image = clean.copy();
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    SensorTraces traces;
    traces.Build(record, setup::kDualProfile.gsensor_axes);
    DrawSensorGraph(painter, traces, 50, 0);
    DrawSensorReadouts(painter, clean, record, 50, setup::kDualProfile.gsensor_axes);
  }
  for (int y = 550; y < 663; ++y) {
    if (y == 550 || y == 592 || y == 634) continue;
    EXPECT_EQ(image.pixel(300, y), qRgb(0, 0, 0)) << y;
  }
  EXPECT_EQ(image.pixel(82, 670), qRgb(0, 0, 0));  // the strip was not even restored

  const auto inRange = MakeSensorRecord(std::vector<std::array<float, 3>>(10, {1.2f, 0.0f, -0.5f}));
  {
    QPainter painter(&image);
    DrawSensorReadouts(painter, clean, inRange, 50, setup::kDualProfile.gsensor_axes);
  }
  EXPECT_EQ(image.pixelColor(349, 684), QColor(Qt::darkBlue));  // strip restored from the clean skin
  std::set<QRgb> colours;
  for (int y = 663; y < 685; ++y) {
    for (int x = 80; x < 350; ++x) colours.insert(image.pixel(x, y));
  }
  EXPECT_TRUE(colours.count(qRgb(255, 255, 255)));  // X in white
  EXPECT_TRUE(colours.count(qRgb(255, 27, 38)));    // Y in red
  EXPECT_TRUE(colours.count(qRgb(0, 126, 0)));      // Z in green
}

// Drifting values with spikes, clamped at both ends now and then: the y of each sample.
std::vector<int> RandomTrace(std::uint32_t count, std::uint32_t& seed) {
  const auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  std::vector<int> ys;
  double value = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    value += (static_cast<int>(next() % 200) - 100) / 400.0;
    ys.push_back(GraphY(next() % 50 == 0 ? value * 8 : value));
  }
  return ys;
}

QImage Polyline(const QPolygon& polygon) {
  QImage image(500, 700, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawPolyline(polygon);
  return image;
}

TEST(SensorGraph, ACompressedTraceDrawsTheSamePixelsAsEverySample) {
  App();
  std::uint32_t seed = 7;
  for (int round = 0; round < 4; ++round) {
    for (const std::uint32_t count : {1u, 2u, 5u, 367u, 368u, 1000u, 36000u}) {
      const std::vector<int> ys = RandomTrace(count, seed);
      QPolygon every;
      TraceBuilder builder;
      for (std::uint32_t i = 0; i < count; ++i) {
        every.append(QPoint(GraphX(i, count), ys[i]));
        builder.Add(GraphX(i, count), ys[i]);
      }
      QPolygon compressed;
      for (const TracePoint& point : builder.Finish()) compressed.append(QPoint(point.x, point.y));
      EXPECT_LE(compressed.size(), 4 * 367 + 1);
      EXPECT_EQ(Polyline(every), Polyline(compressed)) << count << " samples, round " << round;
    }
  }
}

}  // namespace
