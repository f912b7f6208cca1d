// The Windows Media writer check and the texts of a refused recording.
#include "RecordRefusal.h"

#include <windows.h>
#include <objbase.h>

#include <LiveCapTypes.h>

namespace qelapp {

namespace {

// Status bits of a capture start.
constexpr int kStatusVideoWithoutCompressor = 0x2;
constexpr int kStatusNoAudioStream = 0x4;
constexpr int kStatusAudioWithoutMuter = 0x8;
constexpr int kStatusFileNameRefused = 0x10;
constexpr int kStatusNotBuiltOrRun = 0x8000;

// The Windows Media ASF writer filter.
const CLSID kClsidAsfWriter = {0x7c23220e, 0x55bb, 0x11d3, {0x8b, 0x16, 0x00, 0xc0, 0x4f, 0xb6, 0xbd, 0x3d}};

} // namespace

bool CanWriteWindowsMedia() {
    IUnknown* writer = nullptr;
    const HRESULT hr = ::CoCreateInstance(kClsidAsfWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&writer));
    if (writer)
        writer->Release();
    return SUCCEEDED(hr);
}

const char kWindowsMediaMissingText[] =
    "This system cannot record ASF or WMV files: its Windows Media writer is missing.\n\n"
    "Choose AVI as the Video Format in Setup (Capture Format) to record.";

const char kSoundInputRefusedText[] =
    "The sound input refused the recording.\n\n"
    "Recording without sound works: switch the sound off with the microphone button and record again.";

const char kPreviewLostText[] =
    "The live picture could not be started again. Switch to the album and back to start the camera anew.";

std::string RefusalText(int status, bool windowsMediaWriterMissing) {
    std::string text;
    if (status & kStatusVideoWithoutCompressor)
        text = "Video Compression Error";
    else if (status & kStatusNoAudioStream)
        text = kSoundInputRefusedText; // says what to do, where "Audio Error" would not
    else if (status & kStatusAudioWithoutMuter)
        text = "Audio Compression Error";
    else if ((status & kStatusNotBuiltOrRun) && !(status & kStatusFileNameRefused))
        text = windowsMediaWriterMissing ? kWindowsMediaMissingText : "Unknown Error";
    else if (status & kStatusFileNameRefused)
        text = "Invalid filename.\n";
    if (!text.empty() && (status & LIVECAP_STATUS_PREVIEW_LOST))
        text += std::string("\n\n") + kPreviewLostText;
    return text;
}

} // namespace qelapp
