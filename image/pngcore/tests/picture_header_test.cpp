// The size a picture claims, read from its header before anything decodes it: each kind the skin may
// name, the headers that lie about their layout, and the limits a claimed size is judged by.
#include "PictureHeader.h"

#include <gtest/gtest.h>

#include <vector>

#include "PngDib.h"
#include "png_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLe(Bytes& bytes, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A BMP file header and an info header of infoBytes, sized width x height (26 bytes and more).
Bytes Bmp(std::uint32_t infoBytes, std::int32_t width, std::int32_t height) {
    Bytes bytes(14 + 40, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe(bytes, 14, infoBytes, 4);
    if (infoBytes == 12) {
        PutLe(bytes, 18, static_cast<std::uint32_t>(width), 2);
        PutLe(bytes, 20, static_cast<std::uint32_t>(height), 2);
    } else {
        PutLe(bytes, 18, static_cast<std::uint32_t>(width), 4);
        PutLe(bytes, 22, static_cast<std::uint32_t>(height), 4);
    }
    return bytes;
}

// A JPEG start, an application segment, then the given bytes.
Bytes Jpeg(const Bytes& after) {
    Bytes bytes = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x06, 'J', 'F', 'I', 'F'};
    bytes.insert(bytes.end(), after.begin(), after.end());
    return bytes;
}

// A frame header segment with the given marker: precision 8, height, width, one component.
Bytes Frame(std::uint8_t marker, std::uint16_t width, std::uint16_t height) {
    return {0xFF, marker, 0x00, 0x0B, 0x08, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
            static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 0x01, 0x01, 0x11, 0x00};
}

class PictureHeaders : public ::testing::Test {
protected:
    // Writes bytes to a file and reads its header back; kind and size land in header.
    bool Read(const Bytes& bytes) {
        const std::string path = folder.File("picture");
        EXPECT_TRUE(WriteBytes(path, bytes));
        return ReadPictureHeader(path.c_str(), &header);
    }
    TestFolder folder;
    PictureHeader header;
};

TEST_F(PictureHeaders, APngGivesTheSizeItsWriterGaveAndAHugeClaimIsReadWithoutDecoding) {
    const std::string path = folder.File("real.png");
    ASSERT_TRUE(WritePng(path, SpecFromSamples(13, 7, 6, 8, [](std::uint32_t, std::uint32_t, int) { return 1u; })));
    ASSERT_TRUE(ReadPictureHeader(path.c_str(), &header));
    EXPECT_EQ(PictureKind::kPng, header.kind);
    EXPECT_EQ(13u, header.width);
    EXPECT_EQ(7u, header.height);

    ASSERT_TRUE(Read(CraftedPng(20000, 20000, 8, 6)));
    EXPECT_EQ(20000u, header.width);
    EXPECT_EQ(20000u, header.height);
    // The chunk bomb's header is small and honest: what it claims later is the loader's affair.
    ASSERT_TRUE(Read(ChunkBombPng()));
    EXPECT_EQ(PictureKind::kPng, header.kind);
}

TEST_F(PictureHeaders, ABmpGivesItsSidesFromEitherHeaderAndRowsTopFirstCountAsTheirHeight) {
    ASSERT_TRUE(Read(Bmp(40, 640, 480)));
    EXPECT_EQ(PictureKind::kBmp, header.kind);
    EXPECT_EQ(640u, header.width);
    EXPECT_EQ(480u, header.height);
    ASSERT_TRUE(Read(Bmp(40, 640, -480)));
    EXPECT_EQ(480u, header.height);
    ASSERT_TRUE(Read(Bmp(124, 30000, 2))); // a version 5 header
    EXPECT_EQ(30000u, header.width);
    ASSERT_TRUE(Read(Bmp(12, 300, 200))); // the 16-bit core header
    EXPECT_EQ(300u, header.width);
    EXPECT_EQ(200u, header.height);
}

TEST_F(PictureHeaders, AJpegGivesTheSizeOfItsFirstFrameHeaderPastOtherSegmentsAndFillBytes) {
    Bytes table = {0xFF, 0xC4, 0x00, 0x04, 0x00, 0x00}; // a Huffman table shares the frame markers' range
    Bytes after = table;
    after.insert(after.end(), {0xFF, 0xFF}); // fill bytes before the next marker
    const Bytes frame = Frame(0xC2, 4000, 3000); // progressive
    after.insert(after.end(), frame.begin() + 1, frame.end());
    ASSERT_TRUE(Read(Jpeg(after)));
    EXPECT_EQ(PictureKind::kJpeg, header.kind);
    EXPECT_EQ(4000u, header.width);
    EXPECT_EQ(3000u, header.height);
}

TEST_F(PictureHeaders, AGifGivesItsScreenSize) {
    ASSERT_TRUE(Read({'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x10, 0x00, 0x00}));
    EXPECT_EQ(PictureKind::kGif, header.kind);
    EXPECT_EQ(20000u, header.width);
    EXPECT_EQ(16u, header.height);
}

TEST_F(PictureHeaders, AFileThatGivesNoSizeIsNotReadAndLeavesNoKind) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes pngWithoutHeader = CraftedPng(10, 10, 8, 6);
    pngWithoutHeader[12] = 'X'; // the first chunk is not the header
    Bytes cutHeader = CraftedPng(10, 10, 8, 6);
    cutHeader.resize(20);
    Bytes cutFrame = Jpeg(Frame(0xC0, 10, 10));
    cutFrame.resize(cutFrame.size() - 7);
    const Case cases[] = {
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
        {"empty", {}},
        {"png cut in its header", cutHeader},
        {"png whose first chunk is not its header", pngWithoutHeader},
        {"bmp of no width", Bmp(40, 0, 10)},
        {"bmp with an unknown header", Bmp(8, 10, 10)},
        {"jpeg scan before any frame", Jpeg({0xFF, 0xDA, 0x00, 0x02})},
        {"jpeg ending before any frame", Jpeg({0xFF, 0xD9})},
        {"jpeg cut inside its frame header", cutFrame},
        {"jpeg segment longer than the file", Jpeg({0xFF, 0xE1, 0xFF, 0xFF, 0x00})},
        {"jpeg segment length below its own size", Jpeg({0xFF, 0xE1, 0x00, 0x01})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Read(c.bytes));
        EXPECT_EQ(PictureKind::kUnknown, header.kind);
        EXPECT_EQ(0u, header.width);
    }
    EXPECT_FALSE(ReadPictureHeader(folder.File("missing.png").c_str(), &header));
    EXPECT_FALSE(ReadPictureHeader(nullptr, &header));
}

TEST(PictureDecodeLimits, BothSidesAndThePixelCountAreBoundedWithTheLoadersFigures) {
    EXPECT_TRUE(WithinDecodeLimits(1, 1));
    EXPECT_FALSE(WithinDecodeLimits(0, 10));
    EXPECT_FALSE(WithinDecodeLimits(10, 0));
    EXPECT_TRUE(WithinDecodeLimits(kPngDibMaxSide, 1));
    EXPECT_FALSE(WithinDecodeLimits(kPngDibMaxSide + 1, 1));
    EXPECT_FALSE(WithinDecodeLimits(1, kPngDibMaxSide + 1));
    EXPECT_TRUE(WithinDecodeLimits(12000, 9000));
    EXPECT_FALSE(WithinDecodeLimits(12000, 9001));
    EXPECT_FALSE(WithinDecodeLimits(20000, 20000));
    EXPECT_FALSE(WithinDecodeLimits(0xFFFFFFFFu, 0xFFFFFFFFu)); // no wrap in the product
}

} // namespace
