// CImage pixel operations: blocks and lines, copies, thumbnails, resizing, rotation and flips, palettes
// with the nearest-colour search, colour reduction, and masking.
#include <gtest/gtest.h>

#include "image_test_support.h"

using namespace Gdiplus;

namespace {

// Reaches the protected palette search for its own checks.
class PaletteProbe : public CImage {
public:
    using CImage::CImage;
    using CImage::CreateRGBLut;
    using CImage::FindNearestMatch;
    using CImage::FindNearestMatch0;
};

std::vector<ARGB> PaletteOf(CImage& image) {
    const INT bytes = image.GetPaletteSize();
    std::vector<BYTE> buffer(static_cast<size_t>(bytes > 0 ? bytes : 0));
    auto* palette = reinterpret_cast<ColorPalette*>(buffer.data());
    if (bytes <= 0 || image.GetPalette(palette, bytes) != Ok)
        return {};
    return std::vector<ARGB>(palette->Entries, palette->Entries + palette->Count);
}

// The raw index of pixel (x, y) in an indexed image of `bits` bits.
unsigned IndexAt(CImage& image, int x, int y, int bits) {
    Rect all(0, 0, static_cast<INT>(image.Width()), static_cast<INT>(image.Height()));
    BitmapData data = {};
    if (image.LockBits(&all, ImageLockModeRead, image.GetPixelFormat(), &data) != Ok)
        return 0xFFFF;
    const BYTE* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
    unsigned value;
    if (bits == 8)
        value = row[x];
    else if (bits == 4)
        value = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    else
        value = (row[x / 8] >> (7 - x % 8)) & 1;
    image.UnlockBits(&data);
    return value;
}

bool SamePixels(CImage& a, CImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (UINT y = 0; y < a.Height(); ++y)
        for (UINT x = 0; x < a.Width(); ++x)
            if (PixelOf(a, static_cast<int>(x), static_cast<int>(y)) != PixelOf(b, static_cast<int>(x), static_cast<int>(y)))
                return false;
    return true;
}

} // namespace

TEST(ImageBlocks, RoundTripsAt24And32Bits) {
    ImagePtr image = CoordinateImage(12, 9);
    std::vector<BYTE> line(31, 0xAB);
    ASSERT_EQ(1, image->GetBlock(0, 0, 9, 0, line.data(), PixelFormat24bppRGB));
    EXPECT_EQ(0xAB, line[30]) << "30 bytes and no more";
    EXPECT_EQ(CoordinateColour(9, 0) & 0xFF, line[27]);
    EXPECT_EQ((CoordinateColour(9, 0) >> 16) & 0xFF, line[29]);

    for (int format : {PixelFormat24bppRGB, PixelFormat32bppARGB}) {
        const size_t bpp = format == PixelFormat24bppRGB ? 3 : 4;
        std::vector<BYTE> block(4 * 3 * bpp);
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<BYTE>(i * 7 + 1);
        if (bpp == 4)
            for (size_t i = 3; i < block.size(); i += 4)
                block[i] = 0xFF; // opaque, so that 32-bit ARGB keeps the colour bytes as they are
        ASSERT_EQ(1, image->PutBlock(2, 3, 5, 5, block.data(), format));
        std::vector<BYTE> back(block.size());
        ASSERT_EQ(1, image->GetBlock(2, 3, 5, 5, back.data(), format));
        EXPECT_EQ(block, back) << bpp;
    }
    std::vector<BYTE> column(3 * 9);
    ASSERT_EQ(1, image->GetVerLine(11, 0, 8, column.data(), PixelFormat24bppRGB));
    EXPECT_EQ((CoordinateColour(11, 8) >> 8) & 0xFF, column[3 * 8 + 1]);
    std::vector<BYTE> row(4 * 12, 0x55);
    ASSERT_EQ(1, image->PutHorLine(0, 0, 11, row.data(), PixelFormat32bppARGB));
    EXPECT_EQ(0x55555555u, PixelOf(*image, 11, 0));
    ASSERT_EQ(1, image->PutVerLine(0, 0, 8, column.data(), PixelFormat24bppRGB));
    ASSERT_EQ(1, image->GetHorLine(8, 0, 11, row.data(), PixelFormat32bppARGB));

    std::vector<BYTE> any(1024);
    EXPECT_EQ(0, image->GetBlock(0, 0, 1, 1, any.data(), PixelFormat8bppIndexed));
    EXPECT_EQ(0, image->GetBlock(0, 0, 12, 0, any.data(), PixelFormat24bppRGB)); // past the right edge
    EXPECT_EQ(0, image->GetBlock(5, 0, 4, 0, any.data(), PixelFormat24bppRGB));  // corners swapped
    EXPECT_EQ(0, image->PutBlock(0, 9, 0, 9, any.data(), PixelFormat24bppRGB));  // past the bottom
}

TEST(ImageCopies, CopyKeepsPalettePixelsAndResolution) {
    CImage indexed(7, 5, PixelFormat8bppIndexed, 0);
    RGBQUAD table[256] = {};
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
    ASSERT_EQ(1, indexed.SetPalette(table));
    ASSERT_EQ(1, indexed.SetDPI(150, 75));
    ImagePtr copy(indexed.Copy());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(static_cast<int>(PixelFormat8bppIndexed), copy->Format());
    EXPECT_EQ(PaletteOf(indexed), PaletteOf(*copy));
    float x = 0;
    float y = 0;
    copy->GetDPI(x, y);
    EXPECT_FLOAT_EQ(150, x);
    EXPECT_FLOAT_EQ(75, y);

    ImagePtr colour = CoordinateImage(9, 6);
    ImagePtr whole(colour->Copy(0, 0, 100, 100));
    ASSERT_NE(nullptr, whole);
    EXPECT_TRUE(SamePixels(*colour, *whole));
    Rect area(5, 2, 10, 10); // cut at the right and bottom edges
    ImagePtr part(colour->Copy(area));
    ASSERT_NE(nullptr, part);
    EXPECT_EQ(4u, part->Width());
    EXPECT_EQ(4u, part->Height());
    EXPECT_EQ(CoordinateColour(5, 2), PixelOf(*part, 0, 0));
    EXPECT_EQ(CoordinateColour(8, 5), PixelOf(*part, 3, 3));

    ASSERT_EQ(1, colour->CloneRect(1, 1, 3, 2));
    EXPECT_EQ(3u, colour->Width());
    EXPECT_EQ(CoordinateColour(1, 1), PixelOf(*colour, 0, 0));
    EXPECT_EQ(0, colour->CloneRect(10, 10, 5, 5));
    EXPECT_EQ(3u, colour->Width());

    CImage empty;
    EXPECT_EQ(nullptr, empty.Copy());
}

TEST(ImageCopies, ThumbnailsAndResizing) {
    ImagePtr image = SolidImage(100, 50, 0xFF00A0FF);
    ImagePtr thumbnail(image->GetPropThumbnail(160, 120, 0, InterpolationModeHighQualityBicubic));
    ASSERT_NE(nullptr, thumbnail);
    EXPECT_EQ(100u, thumbnail->Width());
    EXPECT_EQ(50u, thumbnail->Height());
    EXPECT_EQ(static_cast<int>(PixelFormat24bppRGB), thumbnail->Format());
    ImagePtr enlarged(image->GetPropThumbnail(160, 120, 1, InterpolationModeHighQualityBicubic));
    ASSERT_NE(nullptr, enlarged);
    EXPECT_EQ(160u, enlarged->Width());
    EXPECT_EQ(80u, enlarged->Height());

    ImagePtr line = SolidImage(1000, 1, 0xFF000000);
    ImagePtr thin(line->GetPropThumbnail(160, 120, 0, InterpolationModeHighQualityBicubic));
    ASSERT_NE(nullptr, thin);
    EXPECT_EQ(160u, thin->Width());
    EXPECT_EQ(1u, thin->Height());

    // A thumbnail starts opaque white under a transparent picture.
    ImagePtr clear = SolidImage(10, 10, 0);
    ImagePtr onWhite(clear->GetThumbnail(5, 5, InterpolationModeHighQualityBicubic, PixelFormat24bppRGB));
    ASSERT_NE(nullptr, onWhite);
    EXPECT_EQ(0xFFFFFFFFu, PixelOf(*onWhite, 2, 2));

    ImagePtr resized(clear->GetResizeImage(20, 8, 0xFF0000FF, InterpolationModeHighQualityBicubic));
    ASSERT_NE(nullptr, resized);
    EXPECT_EQ(20u, resized->Width());
    EXPECT_EQ(static_cast<int>(PixelFormat32bppARGB), resized->Format());
    EXPECT_EQ(0xFF0000FFu, PixelOf(*resized, 10, 4));
}

TEST(ImageRotation, RightAnglesAndFlipsAtEightTwentyFourAndThirtyTwoBits) {
    const struct {
        float angle;
        int flipX;
        int flipY;
        RotateFlipType expected;
    } cases[] = {{90, 1, 0, Rotate90FlipX},        {-90, 0, 0, Rotate270FlipNone}, {-360, 1, 0, RotateNoneFlipX},
                 {720, 0, 1, RotateNoneFlipY},     {0, 1, 1, Rotate180FlipNone},  {90, 1, 1, Rotate270FlipNone},
                 {180, 1, 1, RotateNoneFlipNone},  {270, 1, 1, Rotate90FlipNone}, {450.5f, 0, 0, Rotate90FlipNone},
                 {-180, 0, 1, Rotate180FlipY}};
    for (int format : {PixelFormat8bppIndexed, PixelFormat24bppRGB, PixelFormat32bppARGB}) {
        ImagePtr source = CoordinateImage(5, 3);
        for (const auto& c : cases) {
            ImagePtr image(format == PixelFormat32bppARGB ? source->Copy() : new CImage(5, 3, format, 0));
            if (format == PixelFormat24bppRGB)
                source->Draw(*image, 0, 0, 5, 3);
            if (format == PixelFormat8bppIndexed) {
                // Indexes 0..14 row by row, so every pixel's place shows.
                Rect all(0, 0, 5, 3);
                BitmapData data = {};
                ASSERT_EQ(Ok, image->LockBits(&all, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < 5; ++x)
                        static_cast<BYTE*>(data.Scan0)[y * data.Stride + x] = static_cast<BYTE>(y * 5 + x);
                image->UnlockBits(&data);
            }
            ImagePtr reference(image->Copy());
            ASSERT_EQ(Ok, reference->RotateFlip(c.expected));
            ASSERT_EQ(1, image->Rotate90xFlip(c.angle, c.flipX, c.flipY, 0)) << c.angle;
            EXPECT_TRUE(SamePixels(*reference, *image)) << std::hex << format << std::dec << " angle " << c.angle
                                                        << " flips " << c.flipX << c.flipY;
        }
        ImagePtr unchanged(source->Copy());
        EXPECT_EQ(0, unchanged->Rotate90xFlip(45, 0, 0, 0));
        EXPECT_TRUE(SamePixels(*source, *unchanged));
    }
}

TEST(ImageRotation, FlipsMirrorTheImage) {
    ImagePtr image = CoordinateImage(4, 3);
    ASSERT_EQ(1, image->Flip(1, 0));
    EXPECT_EQ(CoordinateColour(3, 0), PixelOf(*image, 0, 0));
    ASSERT_EQ(1, image->Flip(0, 1));
    EXPECT_EQ(CoordinateColour(3, 2), PixelOf(*image, 0, 0));
    ASSERT_EQ(1, image->Flip(1, 1));
    EXPECT_EQ(CoordinateColour(0, 0), PixelOf(*image, 0, 0));
    ASSERT_EQ(1, image->Flip(0, 0));
    EXPECT_EQ(CoordinateColour(0, 0), PixelOf(*image, 0, 0));
}

TEST(ImageRotation, BoundingRectangles) {
    CImage image(200, 100, PixelFormat24bppRGB, 0);
    EXPECT_EQ(CRect(0, 0, 100, 200), image.GetRotateRect(90, 1, 1));
    EXPECT_EQ(CRect(0, 0, 200, 100), image.GetRotateRect(-180, 1, 1));
    EXPECT_EQ(CRect(0, 0, 50, 100), image.GetRotateRect(270, 0.5f, 0.5f));
    const CRect tilted = image.GetRotateRect(45, 1, 1);
    // Corners (0,0), (141,141), (71,212), (-71,71): a box about 212 square starting left of 0 (the
    // region's scan conversion decides the last pixel at the pointed ends).
    EXPECT_NEAR(-71, tilted.left, 1);
    EXPECT_NEAR(0, tilted.top, 1);
    EXPECT_NEAR(212, tilted.Width(), 1);
    EXPECT_NEAR(212, tilted.Height(), 1);
}

TEST(ImageRotation, RotatedCopies) {
    ImagePtr image = CoordinateImage(6, 2);
    ImagePtr quarter(image->GetRotateImage(-270, PixelFormat32bppARGB));
    ASSERT_NE(nullptr, quarter);
    EXPECT_EQ(2u, quarter->Width());
    EXPECT_EQ(6u, quarter->Height());
    EXPECT_EQ(CoordinateColour(0, 1), PixelOf(*quarter, 0, 0)); // 90 clockwise: the bottom row comes left

    ImagePtr square = SolidImage(40, 40, 0xFFFF0000);
    ImagePtr tilted(square->GetRotateImage(45, PixelFormat32bppARGB));
    ASSERT_NE(nullptr, tilted);
    EXPECT_NEAR(57, static_cast<int>(tilted->Width()), 1);
    EXPECT_EQ(0xFFFF0000u, PixelOf(*tilted, static_cast<int>(tilted->Width()) / 2, static_cast<int>(tilted->Height()) / 2));
    EXPECT_EQ(0u, PixelOf(*tilted, 1, 1) >> 24); // the corners stay transparent

    ImagePtr same(image->GetRescaleRotateImage(6, 2, 360, PixelFormat24bppRGB));
    ASSERT_NE(nullptr, same);
    EXPECT_TRUE(SamePixels(*image, *same));
    ImagePtr turned(image->GetRescaleRotateImage(12, 4, 90, PixelFormat24bppRGB));
    ASSERT_NE(nullptr, turned);
    EXPECT_EQ(4u, turned->Width());
    EXPECT_EQ(12u, turned->Height());
    ImagePtr scaledTilt(square->GetRescaleRotateImage(80, 40, 30, PixelFormat32bppARGB));
    ASSERT_NE(nullptr, scaledTilt);
    const CRect expected = square->GetRotateRect(30, 2, 1);
    EXPECT_EQ(static_cast<UINT>(expected.Width()), scaledTilt->Width());
    EXPECT_EQ(static_cast<UINT>(expected.Height()), scaledTilt->Height());
}

TEST(ImagePalette, NearestMatchStopsAtTheFirstCloseEntry) {
    PaletteProbe image(4, 4, PixelFormat8bppIndexed, 0);
    RGBQUAD table[256] = {};
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{0, 0, 0, 0};
    table[3] = RGBQUAD{0, 0, 254, 0}; // close to pure red: distance 3
    table[4] = RGBQUAD{0, 0, 255, 0}; // exactly red, but after the early stop
    table[9] = RGBQUAD{255, 0, 0, 0}; // pure blue
    ASSERT_EQ(1, image.SetPalette(table));
    ASSERT_EQ(1, image.CreateRGBLut());
    EXPECT_EQ(3, image.FindNearestMatch0(255, 0, 0));
    EXPECT_EQ(9, image.FindNearestMatch0(0, 0, 250));
    EXPECT_EQ(0, image.FindNearestMatch0(10, 10, 10));
    EXPECT_EQ(3, image.FindNearestMatch(255, 0, 0));
    EXPECT_EQ(9, image.FindNearestMatch(0, 0, 255));

    PaletteProbe colour(2, 2, PixelFormat24bppRGB, 0);
    EXPECT_EQ(0, colour.CreateRGBLut());
    EXPECT_EQ(0, colour.FindNearestMatch0(255, 0, 0));
    PaletteProbe mono(2, 2, PixelFormat1bppIndexed, 0);
    EXPECT_EQ(0, mono.CreateRGBLut());
}

TEST(ImagePalette, ColourTablesReplaceEntries) {
    CImage four(3, 3, PixelFormat4bppIndexed, 0);
    RGBQUAD table[16];
    for (int i = 0; i < 16; ++i)
        table[i] = RGBQUAD{static_cast<BYTE>(i * 16), 1, 2, 0};
    ASSERT_EQ(1, four.ColorTable2Palette(table));
    const std::vector<ARGB> palette = PaletteOf(four);
    ASSERT_EQ(16u, palette.size());
    EXPECT_EQ(Color::MakeARGB(255, 2, 1, 0xF0), palette[15]);
    CImage colour(3, 3, PixelFormat24bppRGB, 0);
    EXPECT_EQ(0, colour.ColorTable2Palette(table));
    EXPECT_EQ(0, colour.SetPalette(table));
}

TEST(ImageReduction, OneBitThresholdsGreyAtHalf) {
    ImagePtr image = SolidImage(10, 2, 0xFF808080); // grey 128
    std::vector<ARGB> darker(10, 0xFF7F7F7F);       // grey 127
    image->PutHorLine(1, 0, 9, reinterpret_cast<BYTE*>(darker.data()), PixelFormat32bppARGB);
    ImagePtr reduced(image->ReduceColor(PixelFormat1bppIndexed));
    ASSERT_NE(nullptr, reduced);
    EXPECT_EQ(static_cast<int>(PixelFormat1bppIndexed), reduced->Format());
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(1u, IndexAt(*reduced, x, 0, 1)) << x;
        EXPECT_EQ(0u, IndexAt(*reduced, x, 1, 1)) << x;
    }
}

// Every pixel gets the index of its colour in the new image's palette (whatever palette GDI+ gave it),
// packed at the format's depth.
class IndexedReduction : public ::testing::TestWithParam<int> {};

TEST_P(IndexedReduction, PixelsTakeTheirPaletteIndexes) {
    const int format = GetParam();
    const int bits = format == PixelFormat4bppIndexed ? 4 : 8;
    CImage probe(1, 1, format, 0);
    const std::vector<ARGB> palette = PaletteOf(probe);
    ASSERT_GE(palette.size(), 2u);
    // Entries whose colour appears once in the palette, so the expected index is unambiguous.
    std::vector<unsigned> unique;
    for (unsigned i = 0; i < palette.size() && unique.size() < 9; ++i) {
        int same = 0;
        for (ARGB entry : palette)
            same += (entry & 0xFFFFFF) == (palette[i] & 0xFFFFFF);
        // Channels on multiples of 8 survive the table's 5-bit quantisation exactly.
        const ARGB c = palette[i];
        if (same == 1 && (c & 0x070707) == 0)
            unique.push_back(i);
    }
    ASSERT_GE(unique.size(), 2u);
    const int width = 7;
    ImagePtr image = SolidImage(width, 2, 0xFF000000);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 2; ++y) {
            ARGB colour = palette[unique[static_cast<size_t>(x + y) % unique.size()]] | 0xFF000000;
            image->PutBlock(x, y, x, y, reinterpret_cast<BYTE*>(&colour), PixelFormat32bppARGB);
        }
    ImagePtr reduced(image->ReduceColor(format));
    ASSERT_NE(nullptr, reduced);
    EXPECT_EQ(format, reduced->Format());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(unique[static_cast<size_t>(x + y) % unique.size()], IndexAt(*reduced, x, y, bits)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(FourAndEightBits, IndexedReduction,
                         ::testing::Values(static_cast<int>(PixelFormat4bppIndexed), static_cast<int>(PixelFormat8bppIndexed)));

TEST(ImageReduction, OtherFormatsAreRefused) {
    ImagePtr image = SolidImage(4, 4, 0xFF112233);
    EXPECT_EQ(nullptr, image->ReduceColor(PixelFormat24bppRGB));
    EXPECT_EQ(nullptr, image->ReduceColor(0));
}

TEST(ImageMask, PixelsOutsideTheRegionAreCleared) {
    for (int format : {PixelFormat24bppRGB, PixelFormat32bppARGB, PixelFormat8bppIndexed}) {
        CImage image(10, 8, format, 0);
        if (format == PixelFormat8bppIndexed) {
            std::vector<BYTE> ones(80, 0);
            Rect all(0, 0, 10, 8);
            BitmapData data = {};
            ASSERT_EQ(Ok, image.LockBits(&all, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
            for (int y = 0; y < 8; ++y)
                memset(static_cast<BYTE*>(data.Scan0) + y * data.Stride, 7, 10);
            image.UnlockBits(&data);
        } else {
            Color fill(0xFFC0FFEE);
            image.FillColor(fill);
        }
        HRGN region = CreateRectRgn(2, 3, 6, 5);
        EXPECT_EQ(0, image.SetMaskregion(region, 0));
        DeleteObject(region);
        const int bits = format == PixelFormat8bppIndexed ? 8 : 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
                if (bits == 8)
                    EXPECT_EQ(inside ? 7u : 0u, IndexAt(image, x, y, 8)) << x << "," << y;
                else if (format == PixelFormat32bppARGB)
                    EXPECT_EQ(inside ? 0xFFC0FFEEu : 0u, PixelOf(image, x, y)) << x << "," << y;
                else
                    EXPECT_EQ(inside ? 0xFFC0FFEEu : 0xFF000000u, PixelOf(image, x, y)) << x << "," << y;
            }
    }
    CImage other(4, 4, PixelFormat16bppRGB565, 0);
    HRGN region = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(13, other.SetMaskregion(region, 0));
    DeleteObject(region);
}
