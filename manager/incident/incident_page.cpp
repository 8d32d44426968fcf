#include "manager/incident/incident_page.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "manager/output/grab_frame.h"
#include "manager/output/qt/print_page.h"
#include "manager/output/rules/page_texts.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"

namespace incident {
namespace {

struct CollectedMessages : playback::MessageBox {
  std::string text;
  void ShowMessage(const std::string& message) override { text = message; }
};

// The channel's picture at `position`; a null picture when it has none there.
QImage PictureAt(const std::string& path, int channelNumber, std::int64_t position, std::string& error) {
  playback::CVideo video;
  video.filters.audioRenderer.clear();  // a still picture needs no sound
  playback::ResultBlock result;
  playback::ChannelSettings settings;
  settings.channelNumber = channelNumber;
  CollectedMessages messages;
  if (!playback::BuildGraph(video, &result, path, channelNumber - 1, settings, 0, messages)) {
    error = path + ": " + messages.text;
    return {};
  }
  QImage picture;
  if (position < result.duration && playback::SeekTo(video, static_cast<double>(position))) {
    picture = output::PictureFromFrame(output::GrabFrame(video));
  }
  playback::Teardown(video);
  if (picture.isNull()) error = path + ": no picture at that moment";
  return picture;
}

}  // namespace

bool WriteIncidentPage(const std::filesystem::path& pdf, const std::string& front,
                       const std::optional<std::string>& rear, std::int64_t position, const setup::Profile& profile,
                       const recording::SensorRecord& record, std::string& error) {
  const bool twoPictures = profile.print == setup::PrintVariant::TwoPicturesUnscaled;
  std::string rearError;
  const QImage rearPicture = twoPictures && rear ? PictureAt(*rear, 2, position, rearError) : QImage();
  const QImage frontPicture = PictureAt(front, 1, position, error);
  if (frontPicture.isNull()) return false;

  output::PageFacts facts;
  facts.time = output::TimeSampleAt(&record, position);
  facts.gsensor = output::GSensorSampleAt(&record, position);
  facts.speedKnots = output::GpsSpeedAt(&record, position).value_or(0.0);
  facts.printedAt = output::LocalTimeNow();
  std::vector<QImage> inSlots{frontPicture};
  if (twoPictures) inSlots.push_back(rearPicture);
  const output::PageContent content =
      output::MakePageContent(output::BuildPageTexts(facts, profile), std::move(inSlots));

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  printer.setResolution(600);
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));
  printer.setDocName(QStringLiteral("Image"));
  printer.setCreator(QStringLiteral("blackbox"));
  if (!output::PrintPage(printer, profile, content)) {
    error = "the page could not be made";
    return false;
  }
  return true;
}

}  // namespace incident
