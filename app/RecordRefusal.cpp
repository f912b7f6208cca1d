// The Windows Media writer check and the texts of a refused recording.
#include "RecordRefusal.h"

#include <windows.h>
#include <objbase.h>

namespace qelapp {

namespace {

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

} // namespace qelapp
