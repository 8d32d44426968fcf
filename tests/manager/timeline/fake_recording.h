#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/byte_order.h"
#include "manager/recording/user_data_writer.h"

namespace testing_support {

// The boxes of a camera recording that say when it ran, around a dummy movie: a movie header
// of `seconds` (none for -1) and, when `firstStamp` is given, a sensor record with one time
// stamp a second from it (three without a movie header). Large enough not to be taken for a stub.
inline std::string FakeRecording(int seconds, std::optional<std::int32_t> firstStamp, int stampCount = -1) {
  using recording::BuildBox;
  std::string mvhd(4, '\0');              // version 0, flags
  common::AppendBigEndian32(mvhd, 0);     // creation
  common::AppendBigEndian32(mvhd, 0);     // modification
  common::AppendBigEndian32(mvhd, 1000);  // timescale
  common::AppendBigEndian32(mvhd, static_cast<std::uint32_t>(seconds * 1000));
  mvhd += std::string(80, '\0');
  std::string file = BuildBox("ftyp", "isom\0\0\0\0isom");
  file += BuildBox("mdat", std::string(1100, '\0'));
  if (seconds >= 0) file += BuildBox("moov", BuildBox("mvhd", mvhd));
  if (firstStamp) {
    recording::UserDataContent content;
    const int count = stampCount >= 0 ? stampCount : seconds > 0 ? seconds : 3;
    for (int i = 0; i < count; ++i) content.times.push_back(*firstStamp + i);
    file += recording::BuildUserDataBox(content);
  }
  return file;
}

}  // namespace testing_support
