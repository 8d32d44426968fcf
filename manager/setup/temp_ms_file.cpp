#include "manager/setup/temp_ms_file.h"

#include "common/atomic_file.h"
#include "common/file_reader.h"
#include "common/text_encoding.h"

namespace setup {

std::optional<std::string> ReadTempMsFile(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = common::ReadFileRange(path, 0, kTempMsMaxBytes);
  if (!bytes) return std::nullopt;
  return TempMsFolderFromBytes(*bytes);
}

std::optional<std::string> TempMsFolderFromBytes(std::string_view bytes) {
  std::u16string units = common::LittleEndianBytesToUtf16(bytes.substr(0, kTempMsMaxBytes));
  if (const auto nul = units.find(u'\0'); nul != std::u16string::npos) units.resize(nul);
  if (units.empty()) return std::nullopt;
  return common::Utf16ToUtf8(units);
}

bool WriteTempMsFile(const std::filesystem::path& path, std::string_view chosen_folder) {
  std::error_code ignored;  // the config folder may not exist yet; any other trouble shows in the write
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  return common::WriteFileAtomically(path, common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(chosen_folder)));
}

}  // namespace setup
