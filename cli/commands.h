#pragma once

#include <span>
#include <string>

namespace cli {

// Each subcommand takes the arguments after its name and returns the exit code.
int RunList(std::span<const std::string> args);
int RunInfo(std::span<const std::string> args);
int RunGps(std::span<const std::string> args);
int RunGSensor(std::span<const std::string> args);
int RunSetup(std::span<const std::string> args);
int RunClock(std::span<const std::string> args);
int RunFormatPlan(std::span<const std::string> args);

}  // namespace cli
