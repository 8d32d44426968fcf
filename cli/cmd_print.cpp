#include <charconv>
#include <filesystem>
#include <iostream>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/offscreen_qt.h"
#include "cli/recording_data.h"
#include "cli/still_frame.h"
#include "common/atomic_file.h"
#include "manager/library/recording_name.h"
#include "manager/output/grab_frame.h"
#include "manager/output/qt/print_page.h"
#include "manager/output/rules/page_texts.h"
#include "manager/playback/transport.h"
#include "manager/setup/profile.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "usage: blackbox print FILE --at SECONDS -o OUT.pdf [--paper a4|letter] [--landscape] [--dpi N] "
    "[--profile dual|park|brand] [--swap]";
constexpr int kLowestDpi = 10;
constexpr int kHighestDpi = 4800;

std::optional<int> ParseDpi(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < kLowestDpi || value > kHighestDpi) {
    return std::nullopt;
  }
  return value;
}

void Warn(const std::string& message) { std::cerr << "blackbox: " << message << '\n'; }

// The picture of a channel at `target`, or a null picture (and a line on stderr) when the
// recording is shorter or gives none.
QImage PictureAt(StillChannel& channel, double target, const std::string& path) {
  if (target >= static_cast<double>(channel.result.duration)) {
    Warn(path + " ends before that moment: its picture stays white");
    return {};
  }
  if (!playback::SeekTo(channel.video, target)) {
    Warn(path + ": cannot seek: its picture stays white");
    return {};
  }
  const QImage picture = output::PictureFromFrame(output::GrabFrame(channel.video));
  if (picture.isNull()) Warn(path + ": no picture at that moment: it stays white");
  return picture;
}

}  // namespace

int RunPrint(std::span<const std::string> args) {
  std::string error;
  const auto parsed = ParseArguments(WithLongOutputOption(args), {"landscape", "swap"},
                                     {"at", "output", "paper", "dpi", "profile"}, error);
  if (!parsed) return Fail(kExitBadArguments, error);
  if (parsed->positional.size() != 1 || !parsed->options.contains("at") || !parsed->options.contains("output")) {
    return Fail(kExitBadArguments, kUsage);
  }
  const std::string& path = parsed->positional[0];
  const std::string out = parsed->Option("output", "");
  const std::string at = parsed->Option("at", "");
  const auto seconds = ParseSeconds(at);
  if (!seconds) return Fail(kExitBadArguments, "--at needs a number of seconds, 0 or more");
  const setup::Profile* profile = setup::FindProfile(parsed->Option("profile", "dual"));
  if (profile == nullptr) return Fail(kExitBadArguments, "--profile is dual, park or brand");
  const std::string paper = parsed->Option("paper", "a4");
  if (paper != "a4" && paper != "letter") return Fail(kExitBadArguments, "--paper is a4 or letter");
  const auto dpi = ParseDpi(parsed->Option("dpi", "600"));
  if (!dpi) {
    return Fail(kExitBadArguments,
                "--dpi needs a whole number from " + std::to_string(kLowestDpi) + " to " + std::to_string(kHighestDpi));
  }
  const bool swap = parsed->Has("swap");
  if (swap && !profile->has_channel_swap) return Fail(kExitBadArguments, "--swap needs the dual profile");
  if (out.empty()) return Fail(kExitBadArguments, "-o needs a file name");

  StillChannel front;
  if (!front.Open(path, 1)) return kExitUnreadable;
  if (const std::string late = front.CheckBeforeEnd(*seconds, at, path); !late.empty()) {
    return Fail(kExitBadArguments, late);
  }
  const double target = *seconds * kUnitsPerSecond;

  const auto app = StartOffscreenQt();
  QImage pictures[2];
  if (profile->print == setup::PrintVariant::TwoPicturesUnscaled) {
    const std::string companion = library::CompanionPath(path);
    StillChannel rear;
    if (!std::filesystem::exists(companion)) {
      Warn("no " + companion + ": the second picture stays white");
    } else if (rear.Open(companion, 2)) {
      pictures[1] = PictureAt(rear, target, companion);
    }
  }
  pictures[0] = PictureAt(front, target, path);
  if (pictures[0].isNull()) return Fail(kExitUnreadable, path + ": no picture at " + at + " s");

  RecordingData data = ReadRecordingData(path);
  data.record.duration = front.result.duration;
  const auto position = static_cast<std::int64_t>(target);
  output::PageFacts facts;
  facts.time = output::TimeSampleAt(&data.record, position);
  facts.gsensor = output::GSensorSampleAt(&data.record, position);
  facts.speedKnots = output::GpsSpeedAt(&data.record, position).value_or(0.0);
  facts.printedAt = output::LocalTimeNow();
  std::vector<QImage> inSlots{pictures[0]};
  if (profile->print == setup::PrintVariant::TwoPicturesUnscaled) {
    inSlots = swap ? std::vector<QImage>{pictures[1], pictures[0]} : std::vector<QImage>{pictures[0], pictures[1]};
  }
  const output::PageContent content =
      output::MakePageContent(output::BuildPageTexts(facts, *profile), std::move(inSlots));

  // The PDF is made aside and then put in place whole, so a full disk leaves no half a file.
  QTemporaryDir scratch;
  if (!scratch.isValid()) return Fail(kExitUnreadable, "no temporary folder for the page");
  const QString made = scratch.filePath(QStringLiteral("page.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(made);
  printer.setResolution(*dpi);
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(paper == "letter" ? QPageSize::Letter : QPageSize::A4));
  printer.setPageOrientation(parsed->Has("landscape") ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));
  printer.setDocName(QStringLiteral("Image"));
  printer.setCreator(QStringLiteral("blackbox"));
  const int deviceWidth = printer.width();
  const int deviceHeight = printer.height();
  if (!output::PrintPage(printer, *profile, content)) return Fail(kExitUnreadable, "the page could not be made");
  QFile pdf(made);
  if (!pdf.open(QIODevice::ReadOnly)) return Fail(kExitUnreadable, "the page could not be made");
  const QByteArray bytes = pdf.readAll();
  if (!bytes.trimmed().endsWith("%%EOF")) return Fail(kExitUnreadable, "the page could not be made whole");
  if (!common::WriteFileAtomically(out, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    return Fail(kExitUnreadable, out + ": cannot be written");
  }

  const auto page = output::VirtualPageSize(deviceWidth, deviceHeight);
  std::cout << out << ": " << (paper == "letter" ? "letter" : "A4") << ' '
            << (parsed->Has("landscape") ? "landscape" : "portrait") << ", " << *dpi << " dpi, " << deviceWidth << " x "
            << deviceHeight << " device pixels, page " << page->width << " x " << page->height << '\n';
  return kExitOk;
}

}  // namespace cli
