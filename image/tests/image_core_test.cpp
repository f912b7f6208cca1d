// CImage construction, loading by file name, saving by ending, resolution and pixel formats.
#include <gtest/gtest.h>

#include "EncoderChoice.h"
#include "image_test_support.h"
#include "png_fixture.h"
#include "test_resources.h"

using namespace Gdiplus;

namespace {

// Any image saved as a BMP file, for the stream loaders.
std::string SavedBmp(const TestFolder& folder, const std::string& name, int width, int height) {
    ImagePtr image = SolidImage(width, height, 0xFF336699);
    const std::string path = folder.File(name);
    EXPECT_EQ(1, image->Save(path.c_str(), nullptr));
    return path;
}

} // namespace

TEST(ImagePixelFormats, BitCountsBothWays) {
    const struct {
        int bits;
        int format;
    } table[] = {{1, PixelFormat1bppIndexed}, {4, PixelFormat4bppIndexed}, {8, PixelFormat8bppIndexed},
                 {16, 0}, {24, PixelFormat24bppRGB}, {32, PixelFormat32bppARGB}, {48, PixelFormat48bppRGB},
                 {64, 0}, {2, 0}, {0, 0}, {-1, 0}};
    for (const auto& row : table)
        EXPECT_EQ(row.format, BitCountToPixelFormat(row.bits)) << row.bits;

    const struct {
        int format;
        int bits;
    } counts[] = {{PixelFormat16bppRGB555, 16}, {PixelFormat16bppRGB565, 16}, {PixelFormat32bppPARGB, 32},
                  {PixelFormat32bppRGB, 32}, {PixelFormat8bppIndexed, 8}, {PixelFormat1bppIndexed, 1}};
    for (const auto& row : counts) {
        CImage image(3, 3, row.format, 0);
        ASSERT_EQ(Ok, image.GetLastStatus()) << std::hex << row.format;
        EXPECT_EQ(row.bits, image.BitCount()) << std::hex << row.format;
    }
    CImage odd(13, 2, PixelFormat24bppRGB, 0);
    EXPECT_EQ(40, odd.BytesPerLine());
}

TEST(ImageConstruction, NullSourcesGiveAnEmptyImageWithAFailureStatus) {
    CImage fromNothing;
    EXPECT_EQ(0u, fromNothing.Width());
    EXPECT_NE(Ok, fromNothing.GetLastStatus());
    CImage fromNullImage(static_cast<CImage*>(nullptr));
    EXPECT_EQ(0u, fromNullImage.Height());
    CImage fromNullBlock(static_cast<void*>(nullptr));
    EXPECT_EQ(0u, fromNullBlock.Width());
    EXPECT_NE(Ok, fromNullBlock.GetLastStatus());
    CImage fromMissingFile("Z:\\no\\such\\file.bmp");
    EXPECT_EQ(0u, fromMissingFile.Width());
    EXPECT_NE(Ok, fromMissingFile.GetLastStatus());
}

TEST(ImageConstruction, ColourFillIsExactWithoutBlending) {
    CImage image(5, 3, PixelFormat32bppARGB, 0x80112233);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(0x80112233u, PixelOf(image, x, y)) << x << "," << y;
    Color colour(0x01FEDCBA);
    EXPECT_EQ(1, image.FillColor(colour));
    EXPECT_EQ(0x01FEDCBAu, PixelOf(image, 4, 2));
}

TEST(ImageConstruction, CallersPixelMemoryIsShared) {
    std::vector<DWORD> pixels(4 * 2, 0xFF000000);
    CImage image(4, 2, 16, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data()));
    ASSERT_EQ(4u, image.Width());
    pixels[5] = 0xFF00FF00; // (1, 1)
    EXPECT_EQ(0xFF00FF00u, PixelOf(image, 1, 1));
    Color red(0xFFFF0000);
    image.FillColor(red);
    EXPECT_EQ(0xFFFF0000u, pixels[0]);
}

TEST(ImageConstruction, GlobalBlockIsTakenOver) {
    TestFolder folder;
    const std::vector<std::uint8_t> encoded = ReadBytes(SavedBmp(folder, "block.bmp", 6, 4));
    ASSERT_FALSE(encoded.empty());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, encoded.size());
    ASSERT_NE(nullptr, block);
    memcpy(GlobalLock(block), encoded.data(), encoded.size());
    GlobalUnlock(block);
    {
        CImage image(static_cast<void*>(block));
        EXPECT_EQ(6u, image.Width());
        EXPECT_EQ(4u, image.Height());
        EXPECT_EQ(0xFF336699u, PixelOf(image, 5, 3));
    }
    // The stream freed the block with the image: the handle is no longer valid.
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(block));
}

TEST(ImageConstruction, ProgramResourceAndGdiSources) {
    CImage resource(static_cast<UINT>(IDB_FOUR_BY_TWO), static_cast<HINSTANCE>(nullptr));
    ASSERT_EQ(4u, resource.Width());
    EXPECT_EQ(2u, resource.Height());
    EXPECT_EQ(0xFFFF0000u, PixelOf(resource, 0, 0));
    EXPECT_EQ(0xFF0000FFu, PixelOf(resource, 2, 0));
    EXPECT_EQ(0xFF000000u, PixelOf(resource, 3, 1));

    HBITMAP gdiBitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_FOUR_BY_TWO),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, gdiBitmap);
    CImage fromGdi(gdiBitmap, static_cast<HPALETTE>(nullptr));
    EXPECT_EQ(4u, fromGdi.Width());
    EXPECT_EQ(0xFF00FF00u, PixelOf(fromGdi, 1, 0));
    DeleteObject(gdiBitmap);

    CImage missing(static_cast<UINT>(999), static_cast<HINSTANCE>(nullptr));
    EXPECT_EQ(0u, missing.Width());
    EXPECT_EQ(0, missing.SetBitmap(static_cast<UINT>(998), static_cast<HINSTANCE>(nullptr)));
}

TEST(ImageLoading, LoaderChosenByTheLastThreeLetters) {
    TestFolder folder;
    CImage image;
    // The missing-file codes tell the loaders apart: 8 from the PNG loader, 7 from the stream.
    EXPECT_EQ(8, image.LoadFile(folder.File("photo.PNG").c_str()));
    EXPECT_EQ(8, image.LoadFile(folder.File("photo.png").c_str()));
    EXPECT_EQ(Win32Error, image.LoadFile(folder.File("photo.jpeg").c_str()));
    EXPECT_EQ(Win32Error, image.LoadFile(folder.File("photo").c_str()));
    EXPECT_EQ(FileNotFound, image.LoadFile(""));
    EXPECT_EQ(FileNotFound, image.LoadFile(nullptr));
    // Shorter than three letters: the stream path, never a read before the string.
    EXPECT_EQ(Win32Error, image.LoadFile("a"));
    EXPECT_EQ(Win32Error, image.LoadFile("pn"));
}

TEST(ImageLoading, StreamLoadsAndKeepsThePictureOnFailure) {
    TestFolder folder;
    CImage image;
    ASSERT_EQ(Ok, image.LoadFile(SavedBmp(folder, "picture.bmp", 9, 7).c_str()));
    EXPECT_EQ(9u, image.Width());

    ASSERT_TRUE(WriteBytes(folder.File("empty.jpg"), {}));
    EXPECT_EQ(Win32Error, image.LoadFile(folder.File("empty.jpg").c_str()));
    ASSERT_TRUE(WriteBytes(folder.File("text.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'}));
    EXPECT_NE(Ok, image.LoadFile(folder.File("text.jpg").c_str()));
    EXPECT_EQ(9u, image.Width());
    EXPECT_EQ(7u, image.Height());
    EXPECT_EQ(0xFF336699u, PixelOf(image, 8, 6));

    // LoadPng judges the extension first and leaves the picture alone.
    EXPECT_EQ(FileNotFound, image.LoadPng(folder.File("a.bmp").c_str()));
    EXPECT_EQ(GenericError, image.LoadPng(""));
    EXPECT_EQ(9u, image.Width());
}

TEST(ImageLoading, PathLoadersReplaceOrKeep) {
    TestFolder folder;
    CImage image(SavedBmp(folder, "first.bmp", 3, 3).c_str());
    ASSERT_EQ(3u, image.Width());
    EXPECT_EQ(1, image.Load(SavedBmp(folder, "second.bmp", 5, 2).c_str()));
    EXPECT_EQ(5u, image.Width());
    EXPECT_EQ(0, image.Open(folder.File("missing.bmp").c_str()));
    EXPECT_NE(Ok, image.GetLastStatus());
    EXPECT_EQ(5u, image.Width());
}

TEST(ImageSaving, EncoderFollowsTheEndingCheckedBySignature) {
    TestFolder folder;
    ImagePtr image = SolidImage(8, 6, 0xFF204080);
    const struct {
        const char* name;
        const char* signature;
    } cases[] = {{"a.txt", "BM"}, {"a", "BM"}, {"a.bmp", "BM"}, {"a.tiff", "II*"}, {"a.TIF", "II*"},
                 {"a.png", "\x89PNG"}, {"a.jpg", "\xFF\xD8\xFF"}, {"aJPEG", "\xFF\xD8\xFF"}};
    for (const auto& c : cases) {
        const std::string path = folder.File(c.name);
        ASSERT_EQ(1, image->Save(path.c_str(), nullptr)) << c.name;
        const std::string start = FileStart(path, 4);
        const std::string expected(c.signature);
        if (expected == "II*")
            EXPECT_TRUE(start == std::string("II*\0", 4) || start == std::string("MM\0*", 4)) << c.name;
        else
            EXPECT_EQ(expected, start.substr(0, expected.size())) << c.name;
    }
    // GIF from an 8-bit indexed image (the platform's GIF encoder writes 24-bit ones wrongly).
    CImage indexed(8, 6, PixelFormat8bppIndexed, 0);
    ASSERT_EQ(1, indexed.Save(folder.File("a.gif").c_str(), nullptr));
    EXPECT_EQ("GIF8", FileStart(folder.File("a.gif"), 4));

    ASSERT_EQ(1, image->SaveFile(folder.File("q.jpeg").c_str(), 90));
    EXPECT_EQ("\xFF\xD8\xFF", FileStart(folder.File("q.jpeg"), 3));
    ASSERT_EQ(1, image->SaveFile(folder.File("q.png").c_str(), 90));
    EXPECT_EQ("\x89PNG", FileStart(folder.File("q.png"), 4));
    ASSERT_EQ(1, image->SaveJpg(folder.File("default.dat").c_str(), -1));
    EXPECT_EQ("\xFF\xD8\xFF", FileStart(folder.File("default.dat"), 3));

    EXPECT_EQ(0, image->SaveAdd(folder.File("multi.tif").c_str()));
    CImage empty;
    EXPECT_EQ(0, empty.Save(folder.File("empty.bmp").c_str(), nullptr));
    EXPECT_EQ(0, image->Save(folder.File("no\\such\\folder\\a.bmp").c_str(), nullptr));
}

TEST(ImageSaving, JpegQualityIsOneLongEncoderQualityParameter) {
    // The platform here ignores the quality, so the parameter block itself is what is checked.
    int quality = 90;
    EncoderParameters parameters;
    MakeJpegQualityParameters(&quality, &parameters);
    const GUID encoderQuality = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
    EXPECT_EQ(1u, parameters.Count);
    EXPECT_TRUE(IsEqualGUID(encoderQuality, parameters.Parameter[0].Guid));
    EXPECT_EQ(1u, parameters.Parameter[0].NumberOfValues);
    EXPECT_EQ(4u, static_cast<ULONG>(parameters.Parameter[0].Type));
    EXPECT_EQ(&quality, parameters.Parameter[0].Value);

    EXPECT_STREQ(L"image/jpeg", EncoderMimeTypeForPath("x.JPG"));
    EXPECT_STREQ(L"image/gif", EncoderMimeTypeForPath("xgif"));
    EXPECT_STREQ(L"image/bmp", EncoderMimeTypeForPath(nullptr));
}

TEST(ImageResolution, DotsPerMetreAndInch) {
    CImage image(4, 4, PixelFormat24bppRGB, 0);
    ASSERT_EQ(1, image.SetDPM(3780, 3780));
    float x = 0;
    float y = 0;
    image.GetDPI(x, y);
    EXPECT_NEAR(96.01f, x, 0.01f);
    EXPECT_NEAR(96.01f, y, 0.01f);
    image.GetDPM(x, y);
    EXPECT_NEAR(3780.0f, x, 0.5f);
    EXPECT_NEAR(3780.0f, y, 0.5f);

    CImage other(2, 2, PixelFormat24bppRGB, 0);
    ASSERT_EQ(1, other.SetDPI(150, 72));
    ASSERT_EQ(1, image.SetResolution(&other));
    image.GetResolution(x, y);
    EXPECT_FLOAT_EQ(150.0f, x);
    EXPECT_FLOAT_EQ(72.0f, y);
    EXPECT_EQ(0, image.SetResolution(static_cast<CImage*>(nullptr)));
}

TEST(ImageConstruction, CopyConstructorClonesIndependently) {
    ImagePtr source = CoordinateImage(6, 5);
    CImage copy(source.get());
    ASSERT_EQ(6u, copy.Width());
    Color black(0xFF000000);
    source->FillColor(black);
    EXPECT_EQ(CoordinateColour(5, 4), PixelOf(copy, 5, 4));
}
