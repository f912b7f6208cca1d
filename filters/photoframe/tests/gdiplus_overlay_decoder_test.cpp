#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/frame_overlay_core.h"
#include "gdiplus_overlay_decoder.h"
#include "test_frame.h"
#include "png_writer.h"
#include "qeltest/temp_dir.h"

namespace {

using pngtest::Argb;
using pngtest::WritePng;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

const uint8_t* OverlayPixel(const OverlayImage& image, int x, int rowFromBottom) {
    return &image.pixels[(static_cast<size_t>(rowFromBottom) * image.width + x) * 4];
}

// Top row: transparent red, half-transparent green, opaque blue; bottom row: opaque white.
const std::vector<Argb> kThreeAlphas = {
    {0, 255, 0, 0},       {128, 0, 255, 0},     {255, 0, 0, 255},
    {255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255},
};

class CountingDecoder : public OverlayDecoder {
public:
    bool Decode(const std::wstring& path, OverlayImage& image) override {
        ++decodes;
        return real.Decode(path, image);
    }
    CGdiplusOverlayDecoder real;
    int decodes = 0;
};

class GdiplusDecoderTest : public ::testing::Test {
protected:
    std::wstring File(const char* name) { return Wide(folder.File(name)); }
    qeltest::TempDir folder;
};

TEST_F(GdiplusDecoderTest, DecodesAlphaWithTheTopRowAtTheTop) {
    const std::wstring path = File("alphas.png");
    ASSERT_TRUE(WritePng(path, 3, 2, kThreeAlphas));
    CGdiplusOverlayDecoder decoder;
    OverlayImage image;
    ASSERT_TRUE(decoder.Decode(path, image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    // Row 1 counted from the bottom is the picture's top row.
    EXPECT_EQ(OverlayPixel(image, 0, 1)[3], 0);
    const uint8_t* half = OverlayPixel(image, 1, 1);
    EXPECT_EQ(half[3], 128);
    EXPECT_EQ(half[1], 255);
    EXPECT_EQ(half[0], 0);
    const uint8_t* opaque = OverlayPixel(image, 2, 1);
    EXPECT_EQ(opaque[3], 255);
    EXPECT_EQ(opaque[0], 255);  // blue
    EXPECT_EQ(opaque[2], 0);    // red
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(std::memcmp(OverlayPixel(image, x, 0), "\xFF\xFF\xFF\xFF", 4), 0) << x;
}

TEST_F(GdiplusDecoderTest, BlendsOverTheVideoWithItsTopRowAtTheTop) {
    const std::wstring path = File("alphas.png");
    ASSERT_TRUE(WritePng(path, 3, 2, kThreeAlphas));
    CountingDecoder decoder;
    FrameOverlayCore overlay(decoder);
    TestFrame video = TestFrame::DataPadded(3, 2);  // bottom-up, black
    TestFrame out = TestFrame::DataPadded(3, 2);
    overlay.Init(qel::imaging::PixelLayout{3, 2, video.Stride(), 3});
    ASSERT_TRUE(overlay.SetPath(path.c_str()));
    ASSERT_TRUE(overlay.Blend(video.Data(), out.Data(), video.Bytes()));
    EXPECT_EQ(std::memcmp(out.FromTop(0, 0), "\0\0\0", 3), 0);      // transparent: the video
    EXPECT_EQ(std::memcmp(out.FromTop(1, 0), "\0\x80\0", 3), 0);    // half green over black
    EXPECT_EQ(std::memcmp(out.FromTop(2, 0), "\xFF\0\0", 3), 0);    // opaque blue
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(std::memcmp(out.FromTop(x, 1), "\xFF\xFF\xFF", 3), 0) << x;
    EXPECT_EQ(decoder.decodes, 1);
}

TEST_F(GdiplusDecoderTest, TheFrameIsStretchedOverTheVideo) {
    // Left half transparent, right half opaque red, 8 x 8.
    std::vector<Argb> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.push_back(x < 4 ? Argb{0, 0, 0, 0} : Argb{255, 255, 0, 0});
    const std::wstring path = File("halves.PNG");
    ASSERT_TRUE(WritePng(path, 8, 8, pixels));
    CountingDecoder decoder;
    FrameOverlayCore overlay(decoder);
    TestFrame video = TestFrame::DataPadded(640, 480);
    video.FillBytes(40);
    TestFrame out = TestFrame::DataPadded(640, 480);
    overlay.Init(qel::imaging::PixelLayout{640, 480, video.Stride(), 3});
    ASSERT_TRUE(overlay.SetPath(path.c_str()));
    ASSERT_TRUE(overlay.Blend(video.Data(), out.Data(), video.Bytes()));
    for (int y : {0, 239, 479}) {
        EXPECT_EQ(std::memcmp(out.FromTop(0, y), "\x28\x28\x28", 3), 0) << y;
        EXPECT_EQ(std::memcmp(out.FromTop(200, y), "\x28\x28\x28", 3), 0) << y;
        EXPECT_EQ(std::memcmp(out.FromTop(639, y), "\0\0\xFF", 3), 0) << y;
    }
    EXPECT_TRUE(out.GuardsIntact());
}

TEST_F(GdiplusDecoderTest, TheSamePathTwiceLoadsOnce) {
    const std::wstring path = File("alphas.png");
    ASSERT_TRUE(WritePng(path, 3, 2, kThreeAlphas));
    CountingDecoder decoder;
    FrameOverlayCore overlay(decoder);
    overlay.Init(qel::imaging::PixelLayout{3, 2, 12, 3});
    ASSERT_TRUE(overlay.SetPath(path.c_str()));
    ASSERT_TRUE(overlay.SetPath(path.c_str()));
    EXPECT_EQ(decoder.decodes, 1);
}

// A PNG under another extension is not taken, nor a 260-character path, nor what GDI+ cannot read.
TEST_F(GdiplusDecoderTest, OtherFilesGiveNoOverlay) {
    const std::wstring jpg = File("really_a_png.jpg");
    ASSERT_TRUE(WritePng(jpg, 3, 2, kThreeAlphas));
    const std::wstring garbage = File("garbage.png");
    std::ofstream(std::string(garbage.begin(), garbage.end()), std::ios::binary) << "not a picture";
    const std::wstring missing = File("missing.png");
    std::wstring tooLong = File("");
    tooLong += std::wstring(260 - tooLong.size() - 4, L'x') + L".png";
    ASSERT_EQ(tooLong.size(), 260u);

    for (const std::wstring& path : {jpg, garbage, missing, tooLong}) {
        CountingDecoder decoder;
        FrameOverlayCore overlay(decoder);
        TestFrame video = TestFrame::DataPadded(3, 2);
        video.FillBytes(9);
        TestFrame out = TestFrame::DataPadded(3, 2);
        overlay.Init(qel::imaging::PixelLayout{3, 2, video.Stride(), 3});
        overlay.SetPath(path.c_str());
        EXPECT_FALSE(overlay.Blend(video.Data(), out.Data(), video.Bytes()));
        EXPECT_EQ(std::memcmp(out.Data(), video.Data(), video.Bytes()), 0);
    }
    CGdiplusOverlayDecoder decoder;
    OverlayImage image;
    EXPECT_FALSE(decoder.Decode(garbage, image));
    EXPECT_FALSE(decoder.Decode(missing, image));
    EXPECT_TRUE(image.empty());
}

}  // namespace
