#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "manager/recording/sensor_record.h"
#include "manager/setup/profile.h"

namespace incident {

// The printed page of the moment (the print command's page: A4 portrait at 600 dpi) as a PDF:
// the pictures of the front and, in a two-channel profile, the rear recording at `position`,
// and the record's samples there. Needs a running QGuiApplication; may run on any thread.
// False (and `error`) when no picture or no page could be made.
bool WriteIncidentPage(const std::filesystem::path& pdf, const std::string& front,
                       const std::optional<std::string>& rear, std::int64_t position, const setup::Profile& profile,
                       const recording::SensorRecord& record, std::string& error);

}  // namespace incident
