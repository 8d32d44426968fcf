// blackbox-demo-card OUT: a small memory card for the demo: drf_/drr_ pairs of real H.264/AAC
// recordings with their sensor records in the camera's cause folders, and one stub.
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "manager/recording/user_data_writer.h"
#include "tools/clip_encoder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSeconds = 10;

struct DemoRecording {
  const char* folder;
  const char* name;  // channel-1 name; the drr_ companion gets the same start
  std::time_t start;
  double latitude, longitude;
};

// A drive east through Seoul, one GPS fix a second, ten G-sensor samples a second.
std::string SensorRecord(const DemoRecording& r, bool bump) {
  recording::UserDataContent content;
  for (int s = 0; s < kSeconds; ++s) {
    const double knots = 25.0 + 5.0 * std::sin(s / 3.0);
    content.times.push_back(static_cast<std::int32_t>(r.start + s));
    content.gpsSentences.push_back(
        recording::FormatRmcSentence(r.start + s, r.latitude, r.longitude + s * 0.00014, knots, 90.0));
    for (int k = 0; k < 10; ++k) {
      const float z = (bump && s == 4) ? 1.6f : 0.98f;  // a pothole for the event recording
      content.gsensor.push_back({z, 0.02f * std::sin(k * 0.6f), -0.05f});
    }
  }
  return recording::BuildUserDataBox(content);
}

bool WriteRecording(const fs::path& path, const std::string& clip, const std::string& userData) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << clip << userData;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: blackbox-demo-card OUT_FOLDER\n";
    return 1;
  }
  const fs::path card = argv[1];
  fs::create_directories(card);
  const fs::path clipPath = card / ".clip.mp4";
  tools::ClipOptions options;
  options.seconds = kSeconds;
  options.width = 320;
  options.height = 240;
  if (!tools::EncodeClip(clipPath, options)) {
    std::cerr << "blackbox-demo-card: ffmpeg could not encode the demo clip\n";
    return 2;
  }
  std::ifstream in(clipPath, std::ios::binary);
  const std::string clip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(clipPath);

  const DemoRecording recordings[] = {
      {"DCIM/Dx_0001", "drf_20100315_140000.mp4", 1268661600, 37.5665, 126.9780},
      {"DCIM/Dx_0001", "drf_20100315_140010.mp4", 1268661610, 37.5665, 126.9794},
      {"DCIM/EVENT", "drf_20100315_142530.mp4", 1268663130, 37.5651, 127.0020},
      {"DCIM/MANUAL", "drf_20100315_150000.mp4", 1268665200, 37.5700, 127.0100},
  };
  for (const DemoRecording& r : recordings) {
    const std::string userData = SensorRecord(r, std::string(r.folder).ends_with("EVENT"));
    std::string companion = r.name;
    companion.replace(0, 4, "drr_");
    if (!WriteRecording(card / r.folder / r.name, clip, userData) ||
        !WriteRecording(card / r.folder / companion, clip, userData)) {
      std::cerr << "blackbox-demo-card: cannot write into " << card << '\n';
      return 2;
    }
  }
  // A recording the camera cut off before any data: the manager deletes such stubs.
  std::ofstream(card / "DCIM/Dx_0001/drf_20100315_140020.mp4", std::ios::binary) << std::string(512, '\0');
  std::cout << "demo card written to " << card.string() << '\n';
  return 0;
}
