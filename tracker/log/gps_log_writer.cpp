#include "tracker/log/gps_log_writer.h"

#include <lzo/lzo1x.h>

#include <cstdio>
#include <cstring>

#include "common/atomic_file.h"
#include "common/byte_order.h"
#include "common/lzo_library.h"
#include "common/nmea_sentence.h"
#include "tracker/log/gps_log_reader.h"
#include "tracker/log/rmc_record.h"

namespace tracker {

namespace {

using common::NmeaCoordinate;

}  // namespace

std::optional<std::string> EncodeGpsLog(std::span<const GpsChunk> chunks) {
  if (!common::LzoReady()) return std::nullopt;
  std::vector<lzo_align_t> work((LZO1X_1_MEM_COMPRESS + sizeof(lzo_align_t) - 1) / sizeof(lzo_align_t));
  std::string out;
  for (const GpsChunk& chunk : chunks) {
    if (chunk.sentences.size() * kGpsRecordSize > kGpsChunkOutputLimit) return std::nullopt;
    std::vector<unsigned char> records(chunk.sentences.size() * kGpsRecordSize, 0);
    for (std::size_t i = 0; i < chunk.sentences.size(); ++i) {
      const std::string& sentence = chunk.sentences[i];
      if (sentence.size() > kGpsRecordSize) return std::nullopt;
      std::memcpy(records.data() + i * kGpsRecordSize, sentence.data(), sentence.size());
    }
    std::vector<unsigned char> compressed(records.size() + records.size() / 16 + 64 + 3);
    lzo_uint compressed_size = compressed.size();
    if (lzo1x_1_compress(records.data(), records.size(), compressed.data(), &compressed_size, work.data()) !=
        LZO_E_OK) {
      return std::nullopt;
    }

    std::string header(kGpsChunkHeaderSize, '\0');
    header.replace(kGpsTagOffset, 3, "GPS");
    common::PutLittleEndian32(header, kSkipBeforeDataOffset, chunk.skip_before_data);
    common::PutLittleEndian32(header, kCompressedSizeOffset, static_cast<std::uint32_t>(compressed_size));
    common::PutLittleEndian32(header, kSkipAfterDataOffset, chunk.skip_after_data);

    // Filler that would read as garbage, so a reader that ignores a skip notices.
    out += header;
    out.append(chunk.skip_before_data, '\xA5');
    out.append(reinterpret_cast<const char*>(compressed.data()), compressed_size);
    out.append(chunk.skip_after_data, '\xA5');
  }
  return out;
}

bool WriteGpsLog(const std::filesystem::path& path, std::span<const GpsChunk> chunks) {
  const std::optional<std::string> bytes = EncodeGpsLog(chunks);
  return bytes && common::WriteFileAtomically(path, *bytes);
}

std::string FormatGprmcSentence(const GpsFix& fix) {
  char body[96];
  std::snprintf(body, sizeof body, "%.*sRMC,%02d%02d%02d,%c,%s,%c,%s,%c,%05.1f,,%02d%02d%02d,,",
                static_cast<int>(fix.talker.size()), fix.talker.data(), fix.hour, fix.minute, fix.second,
                fix.valid ? 'A' : 'V', NmeaCoordinate(fix.latitude, 2).c_str(), fix.latitude < 0 ? 'S' : 'N',
                NmeaCoordinate(fix.longitude, 3).c_str(), fix.longitude < 0 ? 'W' : 'E', fix.speed_knots, fix.day,
                fix.month, fix.year % 100);
  return common::NmeaSentence(body);
}

}  // namespace tracker
