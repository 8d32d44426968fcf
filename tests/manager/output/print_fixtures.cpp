#include "tests/manager/output/print_fixtures.h"

#include <cstdlib>
#include <stdexcept>

#include "manager/recording/user_data_writer.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"
#include "tools/samplecard/clip_encoder.h"

namespace print_testing {

using testing_support::ShellQuoted;

void MakeQuarterClip(const std::filesystem::path& path, int width, int height, const Quarters& quarters,
                     std::string_view userData) {
  const std::string size = std::to_string(width / 2) + "x" + std::to_string(height / 2);
  std::string source;
  const char* labels[] = {"a", "b", "c", "d"};
  for (int i = 0; i < 4; ++i) {
    source += "color=c=0x" + quarters[i].name().mid(1).toStdString() + ":s=" + size + ":r=10[" + labels[i] + "];";
  }
  source += "[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack[out0]";
  samplecard::ClipOptions options;
  options.width = width;
  options.height = height;
  options.frameRate = 10;
  options.seconds = 2;
  options.audio = false;
  options.videoSource = source;
  const std::filesystem::path encoded = path.string() + ".encoded.mp4";
  std::filesystem::create_directories(path.parent_path());
  if (!samplecard::EncodeClip(encoded, options)) throw std::runtime_error("ffmpeg could not make " + path.string());
  testing_support::WriteFile(path, testing_support::ReadFile(encoded) + std::string(userData));
  std::filesystem::remove(encoded);
}

std::string TwoSecondUserData(std::int32_t start) {
  recording::UserDataContent content;
  for (int i = 0; i < 2; ++i) {
    content.times.push_back(start + i);
    content.gpsSentences.push_back(recording::FormatRmcSentence(start + i, 37.5, 127.0, 10.0, 90));
  }
  for (int i = 0; i < 20; ++i) content.gsensor.push_back({0.5f, -0.25f, 1.0f});
  return recording::BuildUserDataBox(content);
}

QImage RasterisePdf(const std::filesystem::path& pdf, int dpi) {
  testing_support::TempDir folder;
  const auto stem = folder / "page";
  const auto result = testing_support::RunCommand("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " " +
                                                  ShellQuoted(pdf.string()) + " " + ShellQuoted(stem.string()));
  if (result.status != 0) return {};
  return QImage(QString::fromStdString(stem.string() + ".png")).convertToFormat(QImage::Format_RGB32);
}

std::string PdfText(const std::filesystem::path& pdf) {
  return testing_support::RunCommand("pdftotext " + ShellQuoted(pdf.string()) + " -").out;
}

::testing::AssertionResult ColourNear(const QImage& image, int x, int y, const QColor& expected, int tolerance) {
  if (!image.valid(x, y)) return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is off the page";
  const QColor actual = image.pixelColor(x, y);
  if (std::abs(actual.red() - expected.red()) <= tolerance &&
      std::abs(actual.green() - expected.green()) <= tolerance &&
      std::abs(actual.blue() - expected.blue()) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << actual.name().toStdString() << ", not "
                                       << expected.name().toStdString();
}

}  // namespace print_testing
