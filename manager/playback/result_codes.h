#pragma once

#include <cstdint>
#include <string>

namespace playback {

// Result codes in the platform's form, shown in the build messages as eight hex digits. Each
// kind of failure keeps one fixed code, whatever GStreamer said.
using ResultCode = std::uint32_t;

inline constexpr ResultCode kOk = 0;
inline constexpr ResultCode kFailed = 0x80004005;            // E_FAIL: element not created or not added
inline constexpr ResultCode kNoInterface = 0x80004002;       // E_NOINTERFACE
inline constexpr ResultCode kNullPointer = 0x80004003;       // E_POINTER: missing element or pad
inline constexpr ResultCode kUnexpected = 0x8000FFFF;        // E_UNEXPECTED
inline constexpr ResultCode kNotFound = 0x80040216;          // VFW_E_NOT_FOUND: no free pad or stream
inline constexpr ResultCode kNoAcceptableTypes = 0x80040207; // VFW_E_NO_ACCEPTABLE_TYPES: formats differ
inline constexpr ResultCode kAlreadyConnected = 0x80040204;  // VFW_E_ALREADY_CONNECTED
inline constexpr ResultCode kCannotConnect = 0x80040217;     // VFW_E_CANNOT_CONNECT

constexpr bool Succeeded(ResultCode code) { return (code & 0x80000000u) == 0; }

// "0x%08x" of the code.
std::string HexCode(ResultCode code);

}  // namespace playback
