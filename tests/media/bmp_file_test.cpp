#include "bmp_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "avi_clip.h"

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP laid out as the engine's grabber callback writes it.
std::vector<uint8_t> MakeBmp(int width, int height, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> file(54 + rows.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(rows.size() + 54));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    std::copy(rows.begin(), rows.end(), file.begin() + 54);
    return file;
}

TEST(Bmp24, ReadsBothOrientationsAsBottomUpRows) {
    const int width = 33, height = 19;
    const std::vector<uint8_t> bottomUp = qelmedia::ClipFrame(2, width, height);
    qelmedia::Bmp24 image;
    std::string why;
    ASSERT_TRUE(qelmedia::ParseBmp24(MakeBmp(width, height, bottomUp), &image, &why)) << why;
    EXPECT_EQ(width, image.width);
    EXPECT_EQ(height, image.height);
    EXPECT_TRUE(image.bottomUp);
    EXPECT_EQ(bottomUp.size() + 54, image.fileSizeField);
    EXPECT_EQ(bottomUp, qelmedia::BottomUpRows(image));

    // The same picture stored top-down (negative height): rows reversed in the file.
    const size_t stride = qelmedia::Rgb24Stride(width);
    std::vector<uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::copy(bottomUp.begin() + row * stride, bottomUp.begin() + (row + 1) * stride,
                  topDown.begin() + (height - 1 - row) * stride);
    ASSERT_TRUE(qelmedia::ParseBmp24(MakeBmp(width, -height, topDown), &image, &why)) << why;
    EXPECT_FALSE(image.bottomUp);
    EXPECT_EQ(bottomUp, qelmedia::BottomUpRows(image));
}

TEST(Bmp24, RefusesDamagedFiles) {
    const std::vector<uint8_t> good = MakeBmp(4, 2, std::vector<uint8_t>(24, 7));
    qelmedia::Bmp24 image;
    std::string why;
    EXPECT_FALSE(qelmedia::ParseBmp24(std::vector<uint8_t>(good.begin(), good.begin() + 53), &image, &why));
    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    EXPECT_FALSE(qelmedia::ParseBmp24(truncated, &image, &why));
    EXPECT_EQ("pixel data shorter than the header's size", why);
    std::vector<uint8_t> wrongDepth = good;
    wrongDepth[28] = 32;
    EXPECT_FALSE(qelmedia::ParseBmp24(wrongDepth, &image, &why));
    std::vector<uint8_t> noSignature = good;
    noSignature[0] = 'X';
    EXPECT_FALSE(qelmedia::ParseBmp24(noSignature, &image, &why));
    std::vector<uint8_t> hugeOffset = good;
    Put32(hugeOffset, 10, 0xFFFFFFF0u);
    EXPECT_FALSE(qelmedia::ParseBmp24(hugeOffset, &image, &why));
}

TEST(Bmp24, MissingFileReadsEmpty) {
    EXPECT_TRUE(qelmedia::ReadWholeFile("no-such-file.bmp").empty());
}

} // namespace
