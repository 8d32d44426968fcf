#include "manager/library/last_folder_file.h"

#include "common/atomic_file.h"
#include "common/file_reader.h"
#include "common/text_encoding.h"

namespace library {

bool WriteLastFolder(const std::filesystem::path& file, std::string_view folder) {
  const std::u16string units = common::Utf8ToUtf16(folder);
  const std::u16string_view written =
      units.size() <= kLastFolderMaxWrite ? std::u16string_view(units) : std::u16string_view();
  std::error_code ignored;  // the config folder may not exist yet; any other trouble shows in the write
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  return common::WriteFileAtomically(file, common::Utf16ToLittleEndianBytes(written));
}

std::optional<std::string> ReadLastFolder(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = common::ReadFileRange(file, 0, 2 * (kLastFolderMaxRead + 1));
  if (!bytes) return std::nullopt;
  return LastFolderFromBytes(*bytes);
}

std::string LastFolderFromBytes(std::string_view bytes) {
  std::u16string units = common::LittleEndianBytesToUtf16(bytes.substr(0, 2 * (kLastFolderMaxRead + 1)));
  // The text ends at the first zero unit, and at most 259 units are taken.
  units = units.substr(0, std::min(units.find(u'\0'), kLastFolderMaxRead));
  return common::Utf16ToUtf8(units);
}

}  // namespace library
