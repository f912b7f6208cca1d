#pragma once
// Converting a position between the seeking time formats, with a fallback for graphs whose
// ConvertTimeFormat answers without writing (as Wine's does): frames and media time are then related
// through the video's frame time.
#include <windows.h>
#include <dshow.h>

// The frame time in 100 ns from IBasicVideo; 0 without a video or a frame time.
double VideoFrameTime100ns(IBasicVideo* video);

// *out is 0 on failure. The same format on both sides copies the value.
HRESULT ConvertSeekingTime(IMediaSeeking* seeking, IBasicVideo* video, LONGLONG* out, const GUID* toFormat,
                           LONGLONG value, const GUID* fromFormat);
