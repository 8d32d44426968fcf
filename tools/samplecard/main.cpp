// samplecard OUT [--seed N] [--preset small|demo|large] [--days N] [--seconds S]
// Writes a memory card of the camera: recordings, GPS logs, stubs and the settings folder.
// samplecard OUT --bad [--seed N]
// Writes a card of damaged things instead: cut and random recordings, FIFOs, link loops, bad
// logs and trip databases, for trying the programs on hostile input.
#include <charconv>
#include <chrono>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/samplecard/bad_card.h"
#include "tools/samplecard/card.h"

namespace {

int Usage() {
  std::cerr << "usage: samplecard OUT [--seed N] [--preset small|demo|large] [--days N] [--seconds S]\n"
               "       samplecard OUT --bad [--seed N]\n";
  return 1;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::uint64_t seed = 1;
  samplecard::Preset preset = samplecard::Preset::Small;
  int days = 0, seconds = 0;
  bool bad = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seed" && hasValue) {
      if (!ParseNumber(argv[++i], seed)) return Usage();
    } else if (arg == "--preset" && hasValue) {
      const auto named = samplecard::PresetNamed(argv[++i]);
      if (!named) return Usage();
      preset = *named;
    } else if (arg == "--bad") {
      bad = true;
    } else if (arg == "--days" && hasValue) {
      if (!ParseNumber(argv[++i], days) || days < 1) return Usage();
    } else if (arg == "--seconds" && hasValue) {
      if (!ParseNumber(argv[++i], seconds) || seconds < 1) return Usage();
    } else if (!arg.starts_with("--") && out.empty()) {
      out = arg;
    } else {
      return Usage();
    }
  }
  if (out.empty()) return Usage();
  if (bad) {
    try {
      const auto manifest = samplecard::WriteBadCard(out, seed);
      for (const auto& item : manifest.items) std::cout << item.path.string() << ": " << item.what << '\n';
    } catch (const std::exception& error) {
      std::cerr << "samplecard: " << error.what() << '\n';
      return 2;
    }
    return 0;
  }

  samplecard::CardOptions options = samplecard::PresetOptions(preset);
  options.seed = seed;
  if (days > 0) options.days = days;
  if (seconds > 0) {
    options.recordingSeconds = seconds;
    if (options.recordings == 0) options.recordings = 6;  // the large preset's recordings are optional
  }
  const auto started = std::chrono::steady_clock::now();
  try {
    const auto manifest =
        samplecard::WriteCard(out, options, [](std::string_view line) { std::cerr << "samplecard: " << line << '\n'; });
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "card written to " << out << ": " << manifest.recordings.size() << " recordings, "
              << manifest.stubs.size() << " stubs, " << manifest.logs.size() << " GPS log files with "
              << manifest.validFixes << " fixes, in " << elapsed << " s\n";
  } catch (const std::exception& error) {
    std::cerr << "samplecard: " << error.what() << '\n';
    return 2;
  }
  return 0;
}
