// The seeds of the PNG decoder's fuzz harness: the kinds of file these tests decode (every colour type
// at every legal depth, interlaced or not, with a resolution, a palette, and the crafted headers), kept
// as files only when QEL_FUZZ_SEEDS is set (scripts/fuzz). Either way each must be writable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz_seeds.h"
#include "png_fixture.h"

namespace {

PngSpec SmallSpec(int colorType, int bitDepth, bool interlaced) {
    PngSpec spec = SpecFromSamples(9, 5, colorType, bitDepth, [bitDepth](std::uint32_t x, std::uint32_t y, int c) {
        return (x * 37 + y * 101 + static_cast<unsigned>(c) * 59) % (1u << bitDepth);
    });
    spec.interlaced = interlaced;
    if (colorType == 3) {
        for (int i = 0; i < (1 << bitDepth); ++i)
            spec.paletteRgb.insert(spec.paletteRgb.end(), {static_cast<std::uint8_t>(i * 3), 200, static_cast<std::uint8_t>(i)});
    }
    spec.withPhys = interlaced;
    spec.physX = 3780;
    spec.physY = 2835;
    return spec;
}

TEST(PngDibFuzzSeeds, EveryKindOfTestFileIsWrittenAndKeptWhenAsked) {
    TestFolder folder;
    const std::vector<std::pair<int, std::vector<int>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    int kept = 0;
    for (const auto& [type, list] : depths) {
        for (int depth : list) {
            for (bool interlaced : {false, true}) {
                const std::string name =
                    "type" + std::to_string(type) + "_" + std::to_string(depth) + (interlaced ? "i" : "") + ".png";
                ASSERT_TRUE(WritePng(folder.File(name), SmallSpec(type, depth, interlaced))) << name;
                const std::vector<std::uint8_t> bytes = ReadBytes(folder.File(name));
                ASSERT_GT(bytes.size(), 8u) << name;
                EXPECT_TRUE(qel::fuzzseeds::Keep("png_dib_fuzz", name, bytes)) << name;
                ++kept;
            }
        }
    }
    EXPECT_EQ(30, kept);
    EXPECT_TRUE(qel::fuzzseeds::Keep("png_dib_fuzz", "type1.png", CraftedPng(4, 4, 8, 1)));
    EXPECT_TRUE(qel::fuzzseeds::Keep("png_dib_fuzz", "huge.png", CraftedPng(100000, 100000, 8, 6)));
    EXPECT_TRUE(qel::fuzzseeds::Keep("png_dib_fuzz", "wide.png", CraftedPng(70000, 1, 16, 6)));
}

} // namespace
