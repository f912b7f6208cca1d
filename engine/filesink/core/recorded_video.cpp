// Whether a recording's data holds a video chunk: see recorded_video.h.
#include "recorded_video.h"

#include <algorithm>

#include "riff_words.h"

namespace avirecovery {

namespace {

bool Digit(std::uint8_t c) { return c >= '0' && c <= '9'; }

// A stream chunk of a video stream: "##db" (uncompressed) or "##dc" (compressed).
bool VideoChunk(std::uint32_t id) {
    const std::uint8_t c[4] = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                               static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 24)};
    return Digit(c[0]) && Digit(c[1]) && c[2] == 'd' && (c[3] == 'b' || c[3] == 'c');
}

} // namespace

RecordedVideo FindRecordedVideo(RecoveryFile& file) {
    std::uint64_t size = 0;
    std::uint8_t head[12];
    if (!file.Size(&size) || size < 12 || !file.ReadAt(0, head, sizeof head) || Get32(head) != kRiff ||
        Get32(head + 8) != kAvi)
        return RecordedVideo::Unknown;
    // Every chunk header from the first part's header on: lists and further RIFF parts are entered,
    // everything else is stepped over. A size still unwritten (0) says nothing; the walk then goes
    // to the end of the file.
    std::uint64_t partEnd = Get32(head + 4) ? 8 + static_cast<std::uint64_t>(Get32(head + 4)) : 0;
    std::uint64_t at = 12;
    bool inData = false;
    while (at + 8 <= size) {
        if (!file.ReadAt(at, head, 8))
            return RecordedVideo::Unknown;
        const std::uint32_t id = Get32(head), chunkSize = Get32(head + 4);
        const std::uint64_t next = at + 8 + static_cast<std::uint64_t>(chunkSize);
        if (id == kList || id == kRiff) {
            if (at + 12 > size || !file.ReadAt(at, head, 12))
                return RecordedVideo::Unknown;
            const std::uint32_t type = Get32(head + 8);
            if (id == kRiff)
                partEnd = chunkSize ? next : 0;
            if (id == kList && type == kMovi)
                inData = true;
            if (type != kHdrl) {
                at += 12;
                continue;
            }
            // The header holds no stream data: over it whole.
        } else if (id == 0) {
            // Padding a writer leaves behind a closed part ends the file; unwritten space inside a
            // part hides what lies behind it.
            if (at == partEnd)
                break;
            return RecordedVideo::Unknown;
        } else if (inData && VideoChunk(id)) {
            return RecordedVideo::Frames;
        }
        if (next > size)
            return RecordedVideo::Unknown; // cut off: its kind alone is known
        at = std::min(next + (chunkSize & 1), size);
    }
    if (!inData || (at < size && at != partEnd))
        return RecordedVideo::Unknown;
    return RecordedVideo::None;
}

} // namespace avirecovery
