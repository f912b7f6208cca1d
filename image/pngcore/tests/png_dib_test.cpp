// The PNG-to-DIB decoder against a reference built from the same samples the test writes: every colour
// type at every legal depth, interlaced or not; resolution; and every failure with its reason, counting
// what the allocator handed out and got back.
#include "PngDib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "png_fixture.h"

namespace {

struct CountingAllocator {
    int allocated = 0;
    int released = 0;
    PngDibAllocator Get() { return PngDibAllocator{Allocate, Release, this}; }
    static void* Allocate(std::size_t bytes, void* context) {
        ++static_cast<CountingAllocator*>(context)->allocated;
        return std::calloc(1, bytes);
    }
    static void Release(void* block, void* context) {
        ++static_cast<CountingAllocator*>(context)->released;
        std::free(block);
    }
};

// A sample value for pixel (x, y), channel c, in [0, 2^bits).
unsigned Sample(std::uint32_t x, std::uint32_t y, int c, int bits) {
    const unsigned max = (1u << bits) - 1;
    return (x * 37 + y * 101 + static_cast<unsigned>(c) * 59 + x * y * 7) % (max + 1);
}

PngSpec MakeSpec(int colorType, int bitDepth, bool interlaced, std::uint32_t width = 13, std::uint32_t height = 7) {
    PngSpec spec = SpecFromSamples(width, height, colorType, bitDepth,
                                   [bitDepth](std::uint32_t x, std::uint32_t y, int c) { return Sample(x, y, c, bitDepth); });
    spec.interlaced = interlaced;
    if (colorType == 3) {
        const int entries = 1 << bitDepth;
        for (int i = 0; i < entries; ++i) {
            spec.paletteRgb.push_back(static_cast<std::uint8_t>(i * 3 + 1));
            spec.paletteRgb.push_back(static_cast<std::uint8_t>(255 - i));
            spec.paletteRgb.push_back(static_cast<std::uint8_t>(i * 7));
        }
    }
    return spec;
}

// What the DIB must hold: depth, colour table and the bytes of every row in block order.
struct ExpectedDib {
    int depth = 0;
    std::vector<std::uint8_t> table; // RGBQUADs
    std::vector<std::uint8_t> pixels;
    std::uint32_t stride = 0;
};

ExpectedDib Reference(const PngSpec& spec) {
    ExpectedDib dib;
    const int c = spec.colorType;
    const int d = spec.bitDepth;
    const int indexBits = d == 16 ? 8 : d;
    if (c == 0 || c == 3)
        dib.depth = indexBits == 2 ? 4 : indexBits;
    else
        dib.depth = c == 2 ? 24 : 32;
    dib.stride = static_cast<std::uint32_t>((spec.width * static_cast<std::uint32_t>(dib.depth) + 31) / 32 * 4);
    if (c == 0) {
        const int entries = 1 << indexBits;
        for (int i = 0; i < entries; ++i) {
            const std::uint8_t grey = static_cast<std::uint8_t>(i * 255 / (entries - 1));
            dib.table.insert(dib.table.end(), {grey, grey, grey, 0});
        }
    } else if (c == 3) {
        for (std::size_t i = 0; i < spec.paletteRgb.size() / 3; ++i)
            dib.table.insert(dib.table.end(), {spec.paletteRgb[3 * i + 2], spec.paletteRgb[3 * i + 1], spec.paletteRgb[3 * i], 0});
    }
    const bool topDown = dib.depth == 1 || dib.depth == 24 || dib.depth == 32;
    dib.pixels.assign(static_cast<std::size_t>(dib.stride) * spec.height, 0);
    auto eight = [&](std::uint32_t x, std::uint32_t y, int channel) {
        const unsigned v = Sample(x, y, channel, d);
        return static_cast<std::uint8_t>(d == 16 ? v >> 8 : v);
    };
    for (std::uint32_t y = 0; y < spec.height; ++y) {
        std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(topDown ? y : spec.height - 1 - y) * dib.stride;
        for (std::uint32_t x = 0; x < spec.width; ++x) {
            if (c == 0 || c == 3) {
                const unsigned index = d == 16 ? Sample(x, y, 0, 16) >> 8 : Sample(x, y, 0, d);
                if (dib.depth == 8) {
                    row[x] = static_cast<std::uint8_t>(index);
                } else {
                    std::vector<std::uint8_t> packed(row, row + dib.stride);
                    PutPackedSample(packed, x, dib.depth, index);
                    std::memcpy(row, packed.data(), dib.stride);
                }
            } else if (c == 2) {
                row[3 * x] = eight(x, y, 2);
                row[3 * x + 1] = eight(x, y, 1);
                row[3 * x + 2] = eight(x, y, 0);
            } else if (c == 4) {
                row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = eight(x, y, 0);
                row[4 * x + 3] = eight(x, y, 1);
            } else {
                row[4 * x] = eight(x, y, 2);
                row[4 * x + 1] = eight(x, y, 1);
                row[4 * x + 2] = eight(x, y, 0);
                row[4 * x + 3] = eight(x, y, 3);
            }
        }
    }
    return dib;
}

struct Case {
    int colorType;
    int bitDepth;
    bool interlaced;
};

class PngDibLayout : public ::testing::TestWithParam<Case> {};

TEST_P(PngDibLayout, MatchesReference) {
    const Case param = GetParam();
    TestFolder folder;
    const std::string path = folder.File("picture.png");
    const PngSpec spec = MakeSpec(param.colorType, param.bitDepth, param.interlaced);
    ASSERT_TRUE(WritePng(path, spec));

    CountingAllocator counter;
    const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
    ASSERT_EQ(kPngDibOk, result.reason);
    ASSERT_NE(nullptr, result.block);
    const ExpectedDib expected = Reference(spec);

    const DibHeaderFields header = ReadDibHeader(result.block);
    EXPECT_EQ(13, header.width);
    EXPECT_EQ(7, header.height);
    EXPECT_EQ(expected.depth, header.bitCount);
    EXPECT_EQ(expected.stride * 7, header.sizeImage);
    EXPECT_EQ(expected.table.size() / 4, header.colorsUsed);
    EXPECT_EQ(40u + expected.table.size(), result.pixelOffset);
    ASSERT_EQ(result.pixelOffset + expected.pixels.size(), result.blockBytes);

    const auto* bytes = static_cast<const std::uint8_t*>(result.block);
    if (!expected.table.empty()) {
        EXPECT_EQ(0, std::memcmp(expected.table.data(), bytes + 40, expected.table.size())) << "colour table";
    }
    EXPECT_EQ(0, std::memcmp(expected.pixels.data(), bytes + result.pixelOffset, expected.pixels.size())) << "pixels";
    counter.Get().Release(result.block, &counter);
    EXPECT_EQ(counter.allocated, counter.released);
}

std::vector<Case> AllLegalCases() {
    const std::vector<std::pair<int, std::vector<int>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    std::vector<Case> cases;
    for (const auto& [type, list] : depths)
        for (int depth : list)
            for (bool interlaced : {false, true})
                cases.push_back({type, depth, interlaced});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return "type" + std::to_string(info.param.colorType) + "_depth" + std::to_string(info.param.bitDepth) +
           (info.param.interlaced ? "_interlaced" : "");
}

INSTANTIATE_TEST_SUITE_P(EveryColourTypeAndDepth, PngDibLayout, ::testing::ValuesIn(AllLegalCases()), CaseName);

TEST(PngDib, TwoBitPaletteKeepsIndexesInFourBitPixels) {
    TestFolder folder;
    const std::string path = folder.File("two.png");
    PngSpec spec = MakeSpec(3, 2, false, 5, 1);
    ASSERT_TRUE(WritePng(path, spec));
    CountingAllocator counter;
    const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
    ASSERT_EQ(kPngDibOk, result.reason);
    const auto* pixels = static_cast<const std::uint8_t*>(result.block) + result.pixelOffset;
    for (std::uint32_t x = 0; x < 5; ++x) {
        const unsigned stored = (pixels[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
        EXPECT_EQ(Sample(x, 0, 0, 2), stored) << "pixel " << x;
    }
    EXPECT_EQ(4u, ReadDibHeader(result.block).colorsUsed);
    std::free(result.block);
}

TEST(PngDib, ResolutionFromPhysOnlyInMetres) {
    TestFolder folder;
    PngSpec spec = MakeSpec(2, 8, false, 2, 2);
    spec.withPhys = true;
    spec.physX = 3780;
    spec.physY = 2835;
    spec.physUnit = 1;
    ASSERT_TRUE(WritePng(folder.File("metre.png"), spec));
    spec.physUnit = 0;
    ASSERT_TRUE(WritePng(folder.File("unknown.png"), spec));

    CountingAllocator counter;
    PngDibResult metre = DecodePngToDib(folder.File("metre.png").c_str(), counter.Get());
    ASSERT_EQ(kPngDibOk, metre.reason);
    EXPECT_EQ(3780, ReadDibHeader(metre.block).xPelsPerMeter);
    EXPECT_EQ(2835, ReadDibHeader(metre.block).yPelsPerMeter);
    PngDibResult unknown = DecodePngToDib(folder.File("unknown.png").c_str(), counter.Get());
    ASSERT_EQ(kPngDibOk, unknown.reason);
    EXPECT_EQ(0, ReadDibHeader(unknown.block).xPelsPerMeter);
    EXPECT_EQ(0, ReadDibHeader(unknown.block).yPelsPerMeter);
    std::free(metre.block);
    std::free(unknown.block);
}

// Each failure gives its reason, no block, and gives back whatever it took.
void ExpectFailure(const std::string& path, int reason) {
    CountingAllocator counter;
    const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
    EXPECT_EQ(reason, result.reason) << path;
    EXPECT_EQ(nullptr, result.block);
    EXPECT_EQ(counter.allocated, counter.released) << path;
}

TEST(PngDib, FailuresGiveTheirReasonAndFreeEverything) {
    TestFolder folder;
    ExpectFailure(folder.File("missing.png"), kPngDibCannotOpen);

    ASSERT_TRUE(WriteBytes(folder.File("text.png"), std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}));
    ExpectFailure(folder.File("text.png"), kPngDibReadError);

    const std::string good = folder.File("good.png");
    ASSERT_TRUE(WritePng(good, MakeSpec(6, 8, false, 64, 64)));
    const std::vector<std::uint8_t> bytes = ReadBytes(good);
    ASSERT_GT(bytes.size(), 100u);

    // Cut inside the image data: the block exists when libpng gives up.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
    ASSERT_TRUE(WriteBytes(folder.File("cut.png"), cut));
    ExpectFailure(folder.File("cut.png"), kPngDibReadError);

    // A flipped byte in the IHDR's data: its CRC no longer matches.
    std::vector<std::uint8_t> badCrc = bytes;
    badCrc[16 + 3] ^= 0x01; // width, low byte
    ASSERT_TRUE(WriteBytes(folder.File("crc.png"), badCrc));
    ExpectFailure(folder.File("crc.png"), kPngDibReadError);

    // libpng 1.6 refuses colour types 1 and 5 in its own header check.
    ASSERT_TRUE(WriteBytes(folder.File("type1.png"), CraftedPng(4, 4, 8, 1)));
    ExpectFailure(folder.File("type1.png"), kPngDibReadError);
    ASSERT_TRUE(WriteBytes(folder.File("type5.png"), CraftedPng(4, 4, 8, 5)));
    ExpectFailure(folder.File("type5.png"), kPngDibReadError);

    ExpectFailure("", kPngDibCannotOpen);
}

TEST(PngDib, HugeHeadersAreRefusedBeforeAnyAllocation) {
    TestFolder folder;
    struct {
        std::uint32_t width, height;
        int reason;
    } const cases[] = {
        {100000, 100000, kPngDibOutOfMemory},
        {20000, 20000, kPngDibOutOfMemory}, // a 1.6 GB skin background in a small file
        {12000, 9001, kPngDibOutOfMemory},  // each side allowed, the pixel count not
        {kPngDibMaxSide + 1, 1, kPngDibOutOfMemory},
        {1, kPngDibMaxSide + 1, kPngDibOutOfMemory},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File("huge.png");
        ASSERT_TRUE(WriteBytes(path, CraftedPng(c.width, c.height, 8, 6)));
        CountingAllocator counter;
        const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
        EXPECT_EQ(c.reason, result.reason) << c.width << " x " << c.height;
        EXPECT_EQ(0, counter.allocated) << c.width << " x " << c.height;
        EXPECT_LT(result.libraryPeakBytes, 1u << 20) << c.width << " x " << c.height;
    }
}

TEST(PngDib, AChunkClaimingGigabytesFailsWithoutTakingThem) {
    TestFolder folder;
    const std::string path = folder.File("bomb.png");
    ASSERT_TRUE(WriteBytes(path, ChunkBombPng()));
    CountingAllocator counter;
    const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
    EXPECT_EQ(kPngDibReadError, result.reason);
    EXPECT_EQ(0, counter.allocated);
    EXPECT_GT(result.libraryPeakBytes, 0u); // the measure is taken
    EXPECT_LT(result.libraryPeakBytes, 50u << 20);
}

TEST(PngDib, AnOrdinaryPictureKeepsLibpngSmall) {
    TestFolder folder;
    const std::string path = folder.File("photo.png");
    ASSERT_TRUE(WritePng(path, MakeSpec(6, 16, true, 640, 480)));
    CountingAllocator counter;
    const PngDibResult result = DecodePngToDib(path.c_str(), counter.Get());
    ASSERT_EQ(kPngDibOk, result.reason);
    EXPECT_LT(result.libraryPeakBytes, kPngDibMaxLibraryAllocation);
    counter.Release(result.block, &counter);
}

TEST(PngDib, SizeIsReadFromTheHeaderAlone) {
    TestFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("huge.png"), CraftedPng(20000, 30000, 8, 6)));
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ASSERT_TRUE(ReadPngSize(folder.File("huge.png").c_str(), &width, &height));
    EXPECT_EQ(20000u, width);
    EXPECT_EQ(30000u, height);

    ASSERT_TRUE(WriteBytes(folder.File("text.png"), std::vector<std::uint8_t>(40, 'x')));
    EXPECT_FALSE(ReadPngSize(folder.File("text.png").c_str(), &width, &height));
    const std::vector<std::uint8_t> cut = CraftedPng(5, 5, 8, 6);
    ASSERT_TRUE(WriteBytes(folder.File("cut.png"), std::vector<std::uint8_t>(cut.begin(), cut.begin() + 20)));
    EXPECT_FALSE(ReadPngSize(folder.File("cut.png").c_str(), &width, &height));
    EXPECT_FALSE(ReadPngSize(folder.File("missing.png").c_str(), &width, &height));
    EXPECT_FALSE(ReadPngSize(nullptr, &width, &height));
}

TEST(PngDib, AllocatorRefusalIsOutOfMemory) {
    TestFolder folder;
    ASSERT_TRUE(WritePng(folder.File("small.png"), MakeSpec(2, 8, false, 4, 4)));
    PngDibAllocator refusing{[](std::size_t, void*) -> void* { return nullptr; }, [](void*, void*) {}, nullptr};
    EXPECT_EQ(kPngDibOutOfMemory, DecodePngToDib(folder.File("small.png").c_str(), refusing).reason);
}

TEST(PngDib, StrideIsTheDibRowLength) {
    EXPECT_EQ(4u, DibStride(1, 1));
    EXPECT_EQ(8u, DibStride(33, 1));
    EXPECT_EQ(40u, DibStride(13, 24));
    EXPECT_EQ(0u, DibStride(0xFFFFFFFF, 32)); // does not fit 32 bits
}

} // namespace
