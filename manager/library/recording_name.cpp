#include "manager/library/recording_name.h"

#include <algorithm>

#include "common/path_text.h"
#include "common/text_encoding.h"

namespace library {
namespace {

constexpr std::size_t kDisplayedNameLength = 19;
constexpr std::size_t kCauseWindow = 18;
constexpr std::size_t kSortKeyLength = 23;

using common::FileNameOf;
using common::FolderOf;

// `length` characters from `start` of the displayed part of the name (its first 19
// characters), with `mark` inserted at the two indexes; an index past the end appends.
std::string SplitField(std::string_view path, std::size_t start, std::size_t length, char16_t mark, std::size_t first,
                       std::size_t second) {
  std::u16string name = common::Utf8ToUtf16(FileNameOf(path));
  name.resize(std::min(name.size(), kDisplayedNameLength));
  std::u16string field = start < name.size() ? name.substr(start, length) : std::u16string();
  field.insert(std::min(first, field.size()), 1, mark);
  field.insert(std::min(second, field.size()), 1, mark);
  return common::Utf16ToUtf8(field);
}

}  // namespace

bool HasRecordingExtension(std::string_view name) { return name.ends_with(kRecordingExtension); }

std::string RecordingDateText(std::string_view path) { return SplitField(path, 4, 8, u'-', 4, 7); }

std::string RecordingTimeText(std::string_view path) { return SplitField(path, 13, 6, u':', 2, 5); }

std::string_view RecordingCause(std::string_view path) {
  const std::string_view tail = common::LastUtf16Units(FolderOf(path), kCauseWindow);
  if (tail.find("EVENT") != std::string_view::npos) return "SENS";
  if (tail.find("MANUAL") != std::string_view::npos) return "MANUAL";
  if (tail.find("Dx_") != std::string_view::npos) return "CONTINUOUS";
  if (tail.find("CONTINUOUS") != std::string_view::npos) return "CONTINUOUS";
  return "UNKNOWN";
}

std::string_view RecordingSortKey(std::string_view path) { return common::LastUtf16Units(path, kSortKeyLength); }

std::string CompanionPath(std::string_view path) {
  std::string result(path);
  // Only in the name: a folder called drf_backup is the same folder for both channels.
  const std::size_t name = path.size() - FileNameOf(path).size();
  for (std::size_t at = result.find(kChannel1Prefix, name); at != std::string::npos;
       at = result.find(kChannel1Prefix, at + kChannel2Prefix.size())) {
    result.replace(at, kChannel1Prefix.size(), kChannel2Prefix);
  }
  return result;
}

}  // namespace library
