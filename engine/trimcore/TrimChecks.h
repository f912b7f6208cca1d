#pragma once
// The trim editor's argument checks and the values derived from a clip's times and the output format.
#include <cstddef>
#include <cstdint>
#include <utility>

namespace qeltrim {

// Both pairs must run forward (signed compare); equal ends are refused.
bool AreClipTimesValid(std::int64_t timelineStart, std::int64_t timelineStop, std::int64_t mediaStart,
                       std::int64_t mediaStop);

// Where a mix overlay covers a clip on the timeline: from the clip's timeline start for the length of
// the media range used.
struct MixRange {
    std::int64_t start, end;
};
MixRange MixRangeForClip(std::int64_t timelineStart, std::int64_t mediaStart, std::int64_t mediaStop);

// The low-light plug-in's range in whole seconds: each end divided as an integer (toward zero).
std::pair<double, double> MixRangeSeconds(const MixRange& range);

// Output frame rates accepted for a render.
bool IsOutputFrameRateAllowed(std::uint32_t framesPerSecond);

// The uncompressed layouts an output pixel format selects: 1 RGB555, 2 RGB24, 3 ARGB32.
enum class OutputSubtype { kKeep, kRgb555, kRgb24, kArgb32 };
struct OutputLayout {
    OutputSubtype subtype;
    int bitsPerPixel;   // 0 with kKeep
};
OutputLayout OutputLayoutFor(int pixelFormat);

// Bytes of one uncompressed frame.
std::int64_t FrameImageBytes(int planes, std::int32_t width, std::int32_t height, int bitsPerPixel);

// Output file names must fit a 260-character path buffer with its terminator.
constexpr std::size_t kMaxOutputNameLength = 259;
bool IsOutputNameLengthAllowed(std::size_t length);

} // namespace qeltrim
