// Time-format conversion shared by the file player and the trim editor.
#include "SeekingTime.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr LONGLONG kNotConverted = LLONG_MIN;

bool SameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

} // namespace

double VideoFrameTime100ns(IBasicVideo* video) {
    REFTIME seconds = 0;
    if (!video || FAILED(video->get_AvgTimePerFrame(&seconds)) || !(seconds > 0))
        return 0;
    return seconds * 1e7;
}

HRESULT ConvertSeekingTime(IMediaSeeking* seeking, IBasicVideo* video, LONGLONG* out, const GUID* toFormat,
                           LONGLONG value, const GUID* fromFormat) {
    *out = 0;
    if (SameGuid(*toFormat, *fromFormat)) {
        *out = value;
        return S_OK;
    }
    LONGLONG converted = kNotConverted;
    const HRESULT hr = seeking->ConvertTimeFormat(&converted, toFormat, value, fromFormat);
    if (SUCCEEDED(hr) && converted != kNotConverted) {
        *out = converted;
        return hr;
    }
    // Answered without converting (or refused): relate frames and media time ourselves.
    const double frameTime = VideoFrameTime100ns(video);
    if (frameTime > 0) {
        if (SameGuid(*fromFormat, TIME_FORMAT_MEDIA_TIME) && SameGuid(*toFormat, TIME_FORMAT_FRAME)) {
            *out = std::llround(static_cast<double>(value) / frameTime);
            return S_OK;
        }
        if (SameGuid(*fromFormat, TIME_FORMAT_FRAME) && SameGuid(*toFormat, TIME_FORMAT_MEDIA_TIME)) {
            *out = std::llround(static_cast<double>(value) * frameTime);
            return S_OK;
        }
    }
    return FAILED(hr) ? hr : E_FAIL;
}
