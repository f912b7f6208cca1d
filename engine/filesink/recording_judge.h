#pragma once
// Whether a stopped recording holds a picture, read from its file (see recorded_video.h).
#include <windows.h>

#include "recorded_video.h"

// Reads the file named without holding it against its writers (they may still have it open);
// Unknown when it cannot be opened or read.
avirecovery::RecordedVideo RecordedVideoOf(const WCHAR* path);
