// The audio range arithmetic: sizes, the collection window, and cutting with silence padding.
#include "audio_cut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qelreader {
namespace {

const PcmLayout kMono16 = {8000, 2, 16};
const PcmLayout kMono8 = {8000, 1, 8};

std::vector<uint8_t> Ramp(size_t bytes) {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(i * 7 + 1);
    return out;
}

TEST(AudioRange, SizesAreWholeTruncatedBlocks) {
    EXPECT_EQ(16000u, RangeBytes(0.0, 1.0, kMono16));
    EXPECT_EQ(8000u, RangeBytes(0.5, 1.5, kMono8));
    EXPECT_EQ(2u, RangeBytes(0.0, 0.000199, kMono16)) << "1.59 samples -> 1 block";
    EXPECT_EQ(0u, RangeBytes(1.0, 1.0, kMono16));
    EXPECT_EQ(0u, RangeBytes(2.0, 1.0, kMono16));
    EXPECT_EQ(0u, RangeBytes(0.0, std::numeric_limits<double>::quiet_NaN(), kMono16));
    const PcmLayout absurd = {4000000000u, 65535, 16}; // a damaged header's rate and block size
    EXPECT_EQ(std::numeric_limits<size_t>::max(), RangeBytes(0.0, 200000.0, absurd)) << "pinned, not wrapped";
}

TEST(AudioRange, WindowCapacityRoundsHalfUp) {
    EXPECT_EQ(16000u, WindowCapacity(10000000, kMono16));
    EXPECT_EQ(2u, WindowCapacity(625, kMono16)) << "0.5 samples round up";
    EXPECT_EQ(0u, WindowCapacity(624, kMono16));
    EXPECT_EQ(0u, WindowCapacity(0, kMono16));
    EXPECT_EQ(0u, WindowCapacity(-5, kMono16));
    EXPECT_EQ(0u, WindowCapacity(std::numeric_limits<int64_t>::max(), kMono16)) << "too large to hold";
}

TEST(AudioCut, CopiesFromTheOffsetOfTheStartWithinTheCollection) {
    const std::vector<uint8_t> collected = Ramp(32000); // 2 s from t = 1.0
    const std::vector<uint8_t> cut = CutRange(collected, 1.0, 1.5, 2.0, kMono16);
    ASSERT_EQ(8000u, cut.size());
    EXPECT_EQ(std::vector<uint8_t>(collected.begin() + 8000, collected.begin() + 16000), cut);
}

TEST(AudioCut, NeverReadsPastTheCollection) {
    const std::vector<uint8_t> collected = Ramp(1000);
    const std::vector<uint8_t> cut = CutRange(collected, 0.0, 0.05, 0.1, kMono16); // 800 bytes from 800
    ASSERT_EQ(800u, cut.size());
    EXPECT_EQ(std::vector<uint8_t>(collected.begin() + 200, collected.end()), cut) << "moved back to fit";
    EXPECT_EQ(1000u, CutRange(collected, 0.0, 0.0, 5.0, kMono16).size()) << "clipped to the collection";
    const PcmLayout absurd = {4000000000u, 65535, 16};
    EXPECT_EQ(collected, CutRange(collected, 0.0, 0.0, 200000.0, absurd)) << "a huge range takes it all";
}

TEST(AudioCut, ALateFirstSampleIsPaddedWithTheFormatsSilence) {
    const std::vector<uint8_t> collected = Ramp(16000);
    const std::vector<uint8_t> cut16 = CutRange(collected, 0.25, 0.0, 0.5, kMono16);
    ASSERT_EQ(8000u, cut16.size());
    for (size_t i = 0; i < 4000; ++i)
        ASSERT_EQ(0, cut16[i]) << i;
    EXPECT_EQ(std::vector<uint8_t>(collected.begin(), collected.begin() + 4000),
              std::vector<uint8_t>(cut16.begin() + 4000, cut16.end()));

    const std::vector<uint8_t> cut8 = CutRange(collected, 0.25, 0.0, 0.5, kMono8);
    ASSERT_EQ(4000u, cut8.size());
    for (size_t i = 0; i < 2000; ++i)
        ASSERT_EQ(0x80, cut8[i]) << i;
    EXPECT_EQ(collected[0], cut8[2000]);
    // Silence longer than the range fills it all.
    const std::vector<uint8_t> all = CutRange(collected, 5.0, 0.0, 0.5, kMono8);
    ASSERT_EQ(4000u, all.size());
    EXPECT_EQ(std::vector<uint8_t>(4000, 0x80), all);
}

TEST(AudioCut, InvalidTimesOrNoDataCutNothing) {
    const std::vector<uint8_t> collected = Ramp(100);
    EXPECT_TRUE(CutRange({}, 0.0, 0.0, 1.0, kMono16).empty());
    EXPECT_TRUE(CutRange(collected, -1.0, 0.0, 1.0, kMono16).empty()) << "no sample was collected";
    EXPECT_TRUE(CutRange(collected, 0.0, -0.5, 1.0, kMono16).empty());
    EXPECT_TRUE(CutRange(collected, 0.0, 1.0, 0.5, kMono16).empty());
    EXPECT_TRUE(CutRange(collected, 0.0, 0.0, 1.0, PcmLayout{8000, 0, 16}).empty());
    // An empty range wholly before the first sample: nothing to pad (no write into an empty block).
    EXPECT_TRUE(CutRange(collected, 5.0, 1.0, 1.0, kMono16).empty());
    EXPECT_TRUE(CutRange(collected, 5.0, 1.0, 1.00001, kMono16).empty()) << "less than one block";
}

TEST(AudioCut, SilenceByteFollowsTheSampleSize) {
    EXPECT_EQ(0x80, SilenceByte(kMono8));
    EXPECT_EQ(0, SilenceByte(kMono16));
}

} // namespace
} // namespace qelreader
