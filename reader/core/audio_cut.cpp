#include "audio_cut.h"

#include <cmath>
#include <cstring>

namespace qelreader {
namespace {

// Whole blocks in seconds x rate, truncated; 0 for negative, not-a-number or unrepresentable values.
size_t BlocksIn(double seconds, const PcmLayout& layout) {
    const double samples = seconds * static_cast<double>(layout.samplesPerSecond);
    if (!(samples > 0) || samples >= 1e15)
        return 0;
    return static_cast<size_t>(samples);
}

// Bytes of whole blocks, pinned at the largest size instead of wrapping for absurd formats.
size_t BytesIn(double seconds, const PcmLayout& layout) {
    const size_t blocks = BlocksIn(seconds, layout);
    if (layout.blockAlign != 0 && blocks > SIZE_MAX / layout.blockAlign)
        return SIZE_MAX;
    return blocks * layout.blockAlign;
}

} // namespace

uint8_t SilenceByte(const PcmLayout& layout) { return layout.bitsPerSample == 8 ? 0x80 : 0; }

size_t RangeBytes(double start, double end, const PcmLayout& layout) {
    return BytesIn(end - start, layout);
}

size_t WindowCapacity(int64_t window100ns, const PcmLayout& layout) {
    if (window100ns <= 0 || layout.blockAlign == 0)
        return 0;
    const double samples = std::floor(static_cast<double>(layout.samplesPerSecond) *
                                      static_cast<double>(window100ns) * 1e-7 + 0.5);
    if (!(samples > 0) || samples * layout.blockAlign > 1e12)
        return 0;
    return static_cast<size_t>(samples) * layout.blockAlign;
}

std::vector<uint8_t> CutRange(const std::vector<uint8_t>& collected, double firstTime, double start, double end,
                              const PcmLayout& layout) {
    if (collected.empty() || !(start >= 0) || !(start <= end) || !(firstTime >= 0) || layout.blockAlign == 0)
        return {};
    const size_t capacity = collected.size();
    size_t size = RangeBytes(start, end, layout);
    if (size > capacity)
        size = capacity;
    std::vector<uint8_t> block(size, 0);
    if (size == 0)
        return block; // an empty block has no memory to copy or pad into
    const double offset = start - firstTime;
    if (offset >= 0) {
        size_t from = BytesIn(offset, layout);
        if (from > capacity - size)
            from = capacity - size;
        std::memcpy(block.data(), collected.data() + from, size);
    } else {
        size_t silence = BytesIn(-offset, layout);
        if (silence > size)
            silence = size;
        std::memset(block.data(), SilenceByte(layout), silence);
        if (size > silence)
            std::memcpy(block.data() + silence, collected.data(), size - silence);
    }
    return block;
}

} // namespace qelreader
