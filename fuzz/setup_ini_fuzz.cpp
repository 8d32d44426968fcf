// Setup.ini as the setup dialog reads it from a card, for each build's profile: any text reads
// into the controls, and the file Apply then writes reads back to the same file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "manager/setup/memory_setup_controls.h"
#include "manager/setup/profile.h"
#include "manager/setup/setup_file_reader.h"
#include "manager/setup/setup_file_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const setup::Profile* profile : {&setup::kDualProfile, &setup::kParkProfile, &setup::kBrandProfile}) {
    setup::MemorySetupControls read(*profile);
    setup::ReadSetupText(*profile, text, read);
    const std::string written = setup::ApplyText(*profile, read);
    setup::MemorySetupControls again(*profile);
    setup::ReadSetupText(*profile, written, again);
    if (setup::ApplyText(*profile, again) != written) std::abort();
  }
  return 0;
}
