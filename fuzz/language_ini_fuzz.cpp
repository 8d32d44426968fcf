// A language file next to the program: any bytes read as UTF-8 or UTF-16 text, and a value
// comes back for keys that are there and the fallback for keys that are not.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "manager/language/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)language::ReadIniString(text, "English", "SEARCH_FOLDER", "Search folder");
  (void)language::ReadIniString(text, "Korean", "FACTORY_SETTING_SUCCEED", "");
  // A key no file has: the fallback, cut and trimmed as always.
  if (language::ReadIniString(text, "English", "NO SUCH KEY\x01", "fallback  ") != "fallback") std::abort();
  return 0;
}
