// Argument checks and derived values of the trim editor.
#include "TrimChecks.h"

namespace qeltrim {

namespace {
constexpr std::int64_t kUnitsPerSecond = 10000000;
constexpr std::uint32_t kMaxOutputFrameRate = 30;
} // namespace

bool AreClipTimesValid(std::int64_t timelineStart, std::int64_t timelineStop, std::int64_t mediaStart,
                       std::int64_t mediaStop) {
    return mediaStart < mediaStop && timelineStart < timelineStop;
}

MixRange MixRangeForClip(std::int64_t timelineStart, std::int64_t mediaStart, std::int64_t mediaStop) {
    return {timelineStart, timelineStart - mediaStart + mediaStop};
}

std::pair<double, double> MixRangeSeconds(const MixRange& range) {
    return {static_cast<double>(range.start / kUnitsPerSecond), static_cast<double>(range.end / kUnitsPerSecond)};
}

bool IsOutputFrameRateAllowed(std::uint32_t framesPerSecond) {
    return framesPerSecond != 0 && framesPerSecond <= kMaxOutputFrameRate;
}

OutputLayout OutputLayoutFor(int pixelFormat) {
    switch (pixelFormat) {
    case 1: return {OutputSubtype::kRgb555, 16};
    case 2: return {OutputSubtype::kRgb24, 24};
    case 3: return {OutputSubtype::kArgb32, 32};
    default: return {OutputSubtype::kKeep, 0};
    }
}

std::int64_t FrameImageBytes(int planes, std::int32_t width, std::int32_t height, int bitsPerPixel) {
    return static_cast<std::int64_t>(planes) * width * height * bitsPerPixel / 8;
}

bool IsOutputNameLengthAllowed(std::size_t length) {
    return length <= kMaxOutputNameLength;
}

} // namespace qeltrim
