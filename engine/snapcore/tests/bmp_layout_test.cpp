#include "BmpLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(BmpLayout, FileHeaderOfA640x480Frame) {
    std::vector<std::uint8_t> header(kBmpFileHeaderBytes + 1, 0xEE);
    ASSERT_TRUE(MakeBmpFileHeader(921600, header.data()));
    // 921,654 = 0x000E1036; the bits start at 54 = 0x36.
    const std::vector<std::uint8_t> expected = {'B', 'M', 0x36, 0x10, 0x0E, 0x00, 0, 0, 0, 0, 0x36, 0, 0, 0};
    EXPECT_EQ(expected, std::vector<std::uint8_t>(header.begin(), header.begin() + kBmpFileHeaderBytes));
    EXPECT_EQ(0xEE, header.back());
}

TEST(BmpLayout, SizesThatDoNotFitTheFieldAreRefused) {
    std::uint8_t header[kBmpFileHeaderBytes] = {};
    EXPECT_TRUE(MakeBmpFileHeader(UINT32_MAX - 54, header));
    EXPECT_EQ(0xFF, header[2]);
    EXPECT_EQ(0xFF, header[5]);
    std::uint8_t untouched[kBmpFileHeaderBytes] = {};
    EXPECT_FALSE(MakeBmpFileHeader(UINT32_MAX - 53, untouched));
    EXPECT_EQ(0, untouched[0]);
    EXPECT_FALSE(MakeBmpFileHeader(0, nullptr));
}

TEST(BmpLayout, AnEmptyFrameIsJustTheHeaders) {
    std::uint8_t header[kBmpFileHeaderBytes] = {};
    ASSERT_TRUE(MakeBmpFileHeader(0, header));
    EXPECT_EQ(54, header[2]);
    EXPECT_EQ(0, header[3]);
}

} // namespace
