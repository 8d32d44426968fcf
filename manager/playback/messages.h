#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace playback {

// The codes the build's messages show as eight hex digits, and the graph-event pump returns.
// Each kind of failure keeps one fixed code, whatever GStreamer said; the values are the ones
// users and their bug reports have always seen.
using ResultCode = std::uint32_t;

inline constexpr ResultCode kOk = 0;
inline constexpr ResultCode kFailed = 0x80004005;         // an element not made or not added, a file not loaded
inline constexpr ResultCode kNotSupported = 0x80004002;   // an element lacks what its role needs
inline constexpr ResultCode kMissingObject = 0x80004003;  // no callback (or element) to work with
inline constexpr ResultCode kNotReady = 0x8000FFFF;       // the channel reports no graph events
inline constexpr ResultCode kNoFreePad = 0x80040216;      // no free pad, or no such stream
inline constexpr ResultCode kFormatsDiffer = 0x80040207;  // the pads' caps do not intersect
inline constexpr ResultCode kAlreadyLinked = 0x80040204;  // the pad is linked already
inline constexpr ResultCode kLinkRefused = 0x80040217;    // the link was refused for another reason

constexpr bool Succeeded(ResultCode code) { return (code & 0x80000000u) == 0; }

// "0x%08x" of the code.
std::string HexCode(ResultCode code);

// Where the build shows its failures: a modal message box with an OK button in the GUI,
// stderr in the command-line tool.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  // A failure's message with a plain sentence of its cause (empty when none is known), in the
  // same box: on a line of its own unless the box says otherwise.
  virtual void ShowFailure(const std::string& text, const std::string& cause) {
    ShowMessage(cause.empty() ? text : text + "\n" + cause);
  }
};

// The build's messages, one per failing step, exactly as the user sees them. "%s" stands for
// the recording's path; the texts ending in "= " are followed by the result code.
namespace messages {
inline constexpr std::string_view kFileNotFound = "File \"%s\" not found";
inline constexpr std::string_view kFileSizeImproper = "File \"%s\" 's size is improper";
inline constexpr std::string_view kCreateGraph = "CoCreateInstance() failed : CLSID_FilterGraph. error code = ";
inline constexpr std::string_view kCreateSource = "CoCreateInstance() failed : CLSID_MPCMP4Source. error code = ";
inline constexpr std::string_view kCreateVideoDecoder =
    "CoCreateInstance() failed : CLSID_DivXH264Decoder. error code = ";
inline constexpr std::string_view kCreateAudioDecoder =
    "CoCreateInstance() failed : CLSID_CoreAACAudioDecoder. error code = ";
inline constexpr std::string_view kCreateVideoRenderer =
    "CoCreateInstance() failed : CLSID_VideoMixingRenderer. error code = ";
inline constexpr std::string_view kAddSource = "AddFilter() failed : pFilterMPCMP4Source. error code = ";
inline constexpr std::string_view kAddVideoDecoder = "AddFilter() failed : DivX H.264 Decoder. error code = ";
inline constexpr std::string_view kAddVideoRenderer = "AddFilter() failed : Video Mixing Renderer. error code = ";
inline constexpr std::string_view kAddAudioDecoder = "AddFilter() failed : CoreAAC Audio Decoder. error code = ";
inline constexpr std::string_view kAddAudioRenderer = "AddFilter() failed : DirectSound Audio Renderer. error code = ";
inline constexpr std::string_view kInitializeRenderer = "InitializeVMR() failed : ";
inline constexpr std::string_view kSourceTakesNoFile = "pFilterMPCMP4Source->QueryInterface() failed : error code = ";
inline constexpr std::string_view kLoadFile = "pFSF->Load failed : error code = ";
inline constexpr std::string_view kConnectVideoDecoder =
    "[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = ";
inline constexpr std::string_view kConnectVideoRenderer =
    "[pFilterH264Decoder -> pVmr] : ConnectFilters() error code = ";
inline constexpr std::string_view kConnectAudioDecoder =
    "ConnectFilters() failed : pFilterMPCMP4Source -> pFilterACCAudioDecoder error code = ";
inline constexpr std::string_view kConnectAudioRenderer =
    "ConnectFilters() failed : pFilterACCAudioDecoder -> pDirectXAudio error code = ";
inline constexpr std::string_view kNoPositionControl = "QueryInterface() failed : IID_IMediaPosition. error code = ";
}  // namespace messages

// What kind of error stopped a pipeline's streaming, as far as a user can act on it.
enum class StreamingError {
  kOther,
  kNoAudioOutput,   // the audio sink could not open a sound device
  kMissingPlugin,   // GStreamer lacks an element or a decoder
  kDamagedMedia,    // the demuxer or a decoder could not read the data
  kUnreadableFile,  // reading the file failed (the card may have been pulled)
};

// The plain sentence for a streaming error (see recording/open_check.h for the file's own
// causes); `element` is the factory of the element that failed, when known. Empty for kOther.
[[nodiscard]] std::string CauseOfStreamingError(StreamingError error, std::string_view element = {});

// A message with its result code, or with the path in place of "%s".
std::string MessageWithCode(std::string_view text, ResultCode code);
std::string MessageWithPath(std::string_view text, const std::string& path);

}  // namespace playback
