#pragma once

namespace common {

// Starts the LZO library once per process (any thread may ask first). False when the library
// does not work on this machine; then nothing may be compressed or decompressed.
bool LzoReady();

}  // namespace common
