// libFuzzer harness of the reader's audio ranges: the input is an audio format as a damaged file's
// header may give it, a collection window, the time of the first collected sample, a requested range
// and the collected bytes. The cut must stay within what was collected and hold whole blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio_cut.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelreader;
    qel::fuzzseeds::FuzzReader in(data, size);
    PcmLayout layout;
    layout.samplesPerSecond = in.U32();
    layout.blockAlign = in.U32();
    layout.bitsPerSample = in.U32();
    const std::int64_t window = in.I64();
    const double firstTime = in.F64();
    const double start = in.F64();
    const double end = in.F64();
    const std::string rest = in.Rest();
    const std::vector<std::uint8_t> collected(rest.begin(), rest.end());

    const std::size_t capacity = WindowCapacity(window, layout);
    Check(capacity == 0 || (layout.blockAlign != 0 && capacity % layout.blockAlign == 0));
    const std::size_t bytes = RangeBytes(start, end, layout);
    Check(layout.blockAlign == 0 || bytes == SIZE_MAX || bytes % layout.blockAlign == 0);

    const std::vector<std::uint8_t> cut = CutRange(collected, firstTime, start, end, layout);
    Check(cut.size() <= collected.size());
    Check(cut.size() <= bytes);
    const std::uint8_t silence = SilenceByte(layout);
    Check(silence == 0 || silence == 0x80);
    return 0;
}
