#pragma once

#include <span>
#include <string>

#include "tracker/log/track_document.h"

namespace cli {

// Each subcommand takes the arguments after its name and returns the exit code.
int RunList(std::span<const std::string> args);
int RunInfo(std::span<const std::string> args);
int RunGps(std::span<const std::string> args);
int RunGSensor(std::span<const std::string> args);
int RunSetup(std::span<const std::string> args);
int RunClock(std::span<const std::string> args);
int RunFormatPlan(std::span<const std::string> args);
int RunTrips(std::span<const std::string> args);
int RunPoints(std::span<const std::string> args);
int RunFrame(std::span<const std::string> args);
int RunPrint(std::span<const std::string> args);
int RunPlay(std::span<const std::string> args);
int RunSave(std::span<const std::string> args);
int RunRoute(std::span<const std::string> args);
int RunPage(std::span<const std::string> args);
int RunExport(std::span<const std::string> args);
int RunFind(std::span<const std::string> args);
int RunEvents(std::span<const std::string> args);
int RunIncident(std::span<const std::string> args);

}  // namespace cli
