// The seeds of the audio cut fuzz harness: the formats and ranges these tests cut, as the harness
// reads them, with a short collection. Kept only when QEL_FUZZ_SEEDS is set (scripts/fuzz).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_seeds.h"

namespace {

TEST(AudioCutFuzzSeeds, TestRangesAreKeptWhenAsked) {
    struct Seed {
        std::uint32_t rate, blockAlign, bits;
        std::int64_t window;
        double firstTime, start, end;
        std::size_t collected;
    };
    const Seed seeds[] = {
        {8000, 2, 16, 10000000, 1.0, 1.5, 2.0, 200}, {8000, 1, 8, 625, 0.25, 0.0, 0.5, 100},
        {8000, 2, 16, 0, 0.0, 0.05, 0.1, 100},        {8000, 1, 8, 10000000, 5.0, 0.0, 0.5, 64},
        {44100, 4, 16, 5000000, 0.0, 0.0, 5.0, 256},  {8000, 2, 16, 10000000, 5.0, 1.0, 1.0, 32},
        {4000000000u, 65535, 16, 1, 0.0, 0.0, 200000.0, 16},
    };
    int n = 0;
    for (const Seed& s : seeds) {
        qel::fuzzseeds::SeedWriter seed;
        seed.U32(s.rate).U32(s.blockAlign).U32(s.bits).I64(s.window).F64(s.firstTime).F64(s.start).F64(s.end);
        std::vector<std::uint8_t> bytes = seed.Bytes();
        for (std::size_t i = 0; i < s.collected; ++i)
            bytes.push_back(static_cast<std::uint8_t>(i * 7 + 1));
        EXPECT_TRUE(qel::fuzzseeds::Keep("audio_cut_fuzz", "test" + std::to_string(n++), bytes));
    }
}

} // namespace
