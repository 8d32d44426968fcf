#include "manager/output/rules/snapshot_name.h"

#include <cstdio>
#include <ctime>

#include "common/path_text.h"
#include "common/text_encoding.h"

namespace output {

std::string ProposedSnapshotName(std::string_view recordingPath, std::optional<recording::TimeSample> time) {
  // Looked for in the file name only: a folder called drf_... must not put a path into the name.
  const std::u16string name = common::Utf8ToUtf16(common::FileNameOf(recordingPath));
  const std::size_t found = name.find(u"drf_");
  const std::size_t start = found == std::u16string::npos ? 0 : found;
  const std::size_t end = name.size() >= 4 ? name.size() - 4 : name.size();
  const std::u16string base = start < end ? name.substr(start, end - start) : std::u16string();

  int minute = 0;
  int second = 0;
  if (time && *time >= 0) {
    const std::time_t t = *time;
    std::tm fields{};
    if (::gmtime_r(&t, &fields) != nullptr) {
      minute = fields.tm_min;
      second = fields.tm_sec;
    }
  }
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "_%d%d.jpg", minute, second);
  return common::Utf16ToUtf8(base) + suffix;
}

std::string CompanionSnapshotPath(std::string_view chosen) { return std::string(chosen) + ".drr.jpg"; }

}  // namespace output
