// Skin pictures read bounded, in the test's own process: what is refused before any decoding and why,
// what is read, and how a skin rectangle is kept inside its window.
#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <string>

#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "large_png.h"
#include "qeltest/temp_dir.h"

namespace {

// A 24-bit BMP of width x height, every pixel blue.
bool WriteBlueBmp(const std::string& path, LONG width, LONG height) {
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, stride * static_cast<DWORD>(height), 0, 0, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + info.biSizeImage), 0, 0,
                             sizeof(BITMAPFILEHEADER) + sizeof info};
    std::string pixels(info.biSizeImage, '\0');
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x)
            pixels[y * stride + x * 3] = static_cast<char>(0xFF);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    return std::fclose(out) == 0;
}

class SkinPictures : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token_); }
    std::string File(const char* name) const { return folder_.File(name); }
    qeltest::TempDir folder_;

private:
    ULONG_PTR token_ = 0;
};

TEST_F(SkinPictures, APictureWithinItsBoundIsReadThroughTheDecoderOfItsKind) {
    ASSERT_TRUE(programtest::WriteBlackPng(File("strip.png"), 120, 30));
    ASSERT_TRUE(WriteBlueBmp(File("face.bmp"), 7, 3));
    CImage png;
    EXPECT_EQ(Gdiplus::Ok, LoadSkinPicture(&png, File("strip.png").c_str(), SIZE{120, 30}));
    EXPECT_EQ(120u, png.Width());
    EXPECT_EQ(30u, png.Height());
    CImage bmp;
    EXPECT_EQ(Gdiplus::Ok, LoadSkinPicture(&bmp, File("face.bmp").c_str()));
    EXPECT_EQ(7u, bmp.Width());
    Gdiplus::Color pixel;
    ASSERT_EQ(Gdiplus::Ok, bmp.GetPixel(0, 0, &pixel));
    EXPECT_EQ(0xFFu, pixel.GetBlue());
}

TEST_F(SkinPictures, WhatIsRefusedBeforeDecodingLeavesThePictureItHad) {
    ASSERT_TRUE(programtest::WriteBlackPng(File("strip.png"), 121, 30));
    ASSERT_TRUE(programtest::WriteBlackPng(File("huge.png"), 20000, 20000));
    ASSERT_TRUE(::CopyFileA(("Z:" QEL_REPRO_DIR "/png-chunk-bomb.png"), File("bomb.png").c_str(), FALSE));
    ASSERT_TRUE(programtest::WriteBlackPng(File("png named.bmp"), 10, 10));
    ASSERT_TRUE(WriteBlueBmp(File("bmp named.png"), 4, 4));
    ASSERT_TRUE(WriteBlueBmp(File("tall.bmp"), 4, 31));
    FILE* text = std::fopen(File("text.png").c_str(), "wb");
    ASSERT_TRUE(text);
    std::fputs("not a picture at all, only words", text);
    std::fclose(text);
    struct Case {
        const char* file;
        Gdiplus::Status status;
    };
    const Case cases[] = {
        {"strip.png", Gdiplus::ValueOverflow},      // one column wider than its use allows
        {"tall.bmp", Gdiplus::ValueOverflow},       // one row taller
        {"huge.png", Gdiplus::OutOfMemory},         // beyond what the library decodes at all
        {"png named.bmp", Gdiplus::UnknownImageFormat}, // would reach the platform's decoder
        {"bmp named.png", Gdiplus::UnknownImageFormat},
        {"text.png", Gdiplus::UnknownImageFormat},
        {"missing.png", Gdiplus::Win32Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CImage picture(2, 2, PixelFormat32bppARGB, 0xFF00FF00);
        EXPECT_EQ(c.status, LoadSkinPicture(&picture, File(c.file).c_str(), SIZE{120, 30}));
        EXPECT_EQ(2u, picture.Width()) << "the picture it had was replaced";
    }
    // The bomb's header is small: the library's own loader refuses what its chunk claims.
    CImage bomb;
    const DWORD start = ::GetTickCount();
    EXPECT_NE(Gdiplus::Ok, LoadSkinPicture(&bomb, File("bomb.png").c_str()));
    std::printf("the chunk bomb was refused in %lu ms\n", static_cast<unsigned long>(::GetTickCount() - start));
    EXPECT_EQ(0u, bomb.Width());
}

TEST(SkinPlaces, ARectangleIsMovedInsideItsWindowWholeOrRefusedWhenItCouldOnlyCoverIt) {
    const SIZE window = {850, 616};
    struct Case {
        const char* name;
        RECT place;
        BOOL placed;
        RECT want;
    };
    const Case cases[] = {
        {"inside", {10, 20, 60, 44}, TRUE, {10, 20, 60, 44}},
        {"past the right and top", {840, -30, 900, -10}, TRUE, {790, 0, 850, 20}},
        {"past the left and bottom", {-5, 600, 20, 630}, TRUE, {0, 586, 25, 616}},
        {"the window's own size", {3, 3, 853, 619}, TRUE, {0, 0, 850, 616}},
        {"empty", {900, 700, 900, 700}, TRUE, {850, 616, 850, 616}},
        {"one column wider", {0, 0, 851, 10}, FALSE, {}},
        {"one row taller", {0, 0, 10, 617}, FALSE, {}},
        {"turned over", {50, 50, 40, 60}, FALSE, {}},
        {"the 32-bit ends", {-2000000000, -50, 2147483647, 99949}, FALSE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT place = c.place;
        EXPECT_EQ(c.placed, PlaceInsideWindow(&place, window));
        const RECT want = c.placed ? c.want : c.place; // a refused place is left as it was
        EXPECT_TRUE(::EqualRect(&want, &place)) << place.left << "," << place.top << "," << place.right << "," << place.bottom;
    }
}

TEST_F(SkinPictures, EachModesWindowIsItsBackgroundsSizeAndTheOneForBothTheLargerOfEach) {
    const std::string skin = folder_.Path() + "\\skin\\default\\Zentrik";
    ASSERT_TRUE(::CreateDirectoryA((folder_.Path() + "\\skin").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((folder_.Path() + "\\skin\\default").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(skin.c_str(), nullptr));
    ASSERT_TRUE(programtest::WriteBlackPng(skin + "\\wide.png", 900, 300));
    ASSERT_TRUE(programtest::WriteBlackPng(skin + "\\tall.png", 400, 700));
    const std::string ini = skin + "\\Settings.ini";
    ::WritePrivateProfileStringA("Zentrik", "mode480x360", "Zentrik\\wide.png", ini.c_str());
    ::WritePrivateProfileStringA("Zentrik", "mode320x240", "Zentrik\\tall.png", ini.c_str());
    InitSkinPaths((folder_.Path() + "\\").c_str());
    SIZE size = SkinWindowSize(0);
    EXPECT_EQ(900, size.cx);
    EXPECT_EQ(300, size.cy);
    size = SkinWindowSize(1);
    EXPECT_EQ(400, size.cx);
    EXPECT_EQ(700, size.cy);
    size = SkinWindowSize(-1);
    EXPECT_EQ(900, size.cx);
    EXPECT_EQ(700, size.cy);
    // No readable background: the screen stands in, so a rectangle is still judged by something real.
    ::WritePrivateProfileStringA("Zentrik", "mode320x240", "Zentrik\\missing.png", ini.c_str());
    size = SkinWindowSize(1);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), size.cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), size.cy);
}

} // namespace
