// TempMO.ini and TempMS.ini, the last folders the manager remembers: any bytes give a folder
// in valid UTF-8 of bounded length, or nothing.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "manager/library/last_folder_file.h"
#include "manager/setup/temp_ms_file.h"

namespace {

bool ValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : c >> 5 == 0x6 ? 2 : c >> 4 == 0xE ? 3 : c >> 3 == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if (static_cast<unsigned char>(text[i + k]) >> 6 != 0x2) return false;
    }
    i += length;
  }
  return true;
}

void Check(const std::optional<std::string>& folder, std::size_t maxUnits) {
  // A UTF-16 code unit never needs more than three bytes of UTF-8.
  if (folder && (!ValidUtf8(*folder) || folder->size() > 3 * maxUnits)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(library::LastFolderFromBytes(bytes), library::kLastFolderMaxRead);
  Check(setup::TempMsFolderFromBytes(bytes), setup::kTempMsMaxBytes / 2);
  return 0;
}
