#pragma once
// The arithmetic of the reader's audio ranges: how large the collection window's buffer is, how many
// bytes a range holds, and how a range is cut out of what the audio graph delivered (padding with
// silence where the delivery began late). Platform-neutral.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qelreader {

struct PcmLayout {
    uint32_t samplesPerSecond = 0;
    uint32_t blockAlign = 0;
    uint32_t bitsPerSample = 0;
};

// The byte that means silence: 0x80 for 8-bit PCM (unsigned), else 0.
uint8_t SilenceByte(const PcmLayout& layout);

// Bytes of the range [start, end) seconds: whole blocks, truncated; 0 for an empty or bad range, the
// largest size_t when the count does not fit it.
size_t RangeBytes(double start, double end, const PcmLayout& layout);

// Capacity of the collection buffer for a window of window100ns units (rounded half up to whole
// blocks); 0 for an empty window or one too large to hold.
size_t WindowCapacity(int64_t window100ns, const PcmLayout& layout);

// Cuts [start, end) out of the collected buffer whose first sample lies at firstTime seconds. The
// result is at most the buffer's size; empty when the times are not valid or nothing was collected.
std::vector<uint8_t> CutRange(const std::vector<uint8_t>& collected, double firstTime, double start, double end,
                              const PcmLayout& layout);

} // namespace qelreader
