#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// A real H.264/AAC MP4 laid out as the camera writes it (ftyp, mdat in the first 4 KiB, moov
// right after mdat), made once per test process with ffmpeg and copied to `path`. The
// `userData` bytes (a top-level box, or anything else) are appended after the movie header.
// `fastStart` puts moov before mdat instead, as some editors do.
void MakeCameraClip(const std::filesystem::path& path, std::string_view userData = {}, bool fastStart = false);

// Runs a shell command; its exit status, standard output and standard error.
struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};
CommandResult RunCommand(const std::string& command);

// Quotes a word for the shell.
std::string ShellQuoted(std::string_view word);

}  // namespace testing_support
