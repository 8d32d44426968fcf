#include "manager/setup/temp_ms_file.h"

#include <fstream>

#include "common/atomic_file.h"
#include "common/text_encoding.h"

namespace setup {

std::optional<std::string> ReadTempMsFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes(kTempMsMaxBytes, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  std::u16string units = common::LittleEndianBytesToUtf16(bytes);
  if (const auto nul = units.find(u'\0'); nul != std::u16string::npos) units.resize(nul);
  if (units.empty()) return std::nullopt;
  return common::Utf16ToUtf8(units);
}

bool WriteTempMsFile(const std::filesystem::path& path, std::string_view chosen_folder) {
  return common::WriteFileAtomically(path, common::Utf16ToLittleEndianBytes(common::Utf8ToUtf16(chosen_folder)));
}

}  // namespace setup
