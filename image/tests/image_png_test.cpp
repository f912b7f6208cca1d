// PNG files through CImage: formats and pixels GDI+ sees, palettes, resolution, failures that keep the
// picture, memory over reloads, and copies that outlive their source.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "png_fixture.h"

using namespace Gdiplus;

namespace {

// A w x h PNG of one colour type; pixel (x, y) samples come from fill(x, y, channel).
std::string WriteTestPng(const TestFolder& folder, const std::string& name, std::uint32_t w, std::uint32_t h,
                         int colorType, int bitDepth, const std::function<unsigned(std::uint32_t, std::uint32_t, int)>& fill,
                         std::vector<std::uint8_t> palette = {}) {
    PngSpec spec = SpecFromSamples(w, h, colorType, bitDepth, fill);
    spec.paletteRgb = palette;
    const std::string path = folder.File(name);
    EXPECT_TRUE(WritePng(path, spec));
    return path;
}

unsigned Rgba(std::uint32_t x, std::uint32_t y, int c) {
    const unsigned values[4] = {x * 20 + 5, y * 30 + 7, 200 - x * 10, 128 + y * 10};
    return values[c] & 0xFF;
}

} // namespace

TEST(ImagePng, RgbaLoadsAs32BitArgbTopRowFirst) {
    TestFolder folder;
    CImage image;
    ASSERT_EQ(Ok, image.LoadFile(WriteTestPng(folder, "rgba.png", 5, 3, 6, 8, Rgba).c_str()));
    EXPECT_EQ(5u, image.Width());
    EXPECT_EQ(3u, image.Height());
    EXPECT_EQ(static_cast<int>(PixelFormat32bppARGB), image.Format());
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(Color::MakeARGB(static_cast<BYTE>(Rgba(x, y, 3)), static_cast<BYTE>(Rgba(x, y, 0)),
                                      static_cast<BYTE>(Rgba(x, y, 1)), static_cast<BYTE>(Rgba(x, y, 2))),
                      PixelOf(image, static_cast<int>(x), static_cast<int>(y)))
                << x << "," << y;
}

TEST(ImagePng, GreyWithAlphaLoadsLikeRgba) {
    TestFolder folder;
    for (int depth : {8, 16}) {
        auto grey = [depth](std::uint32_t x, std::uint32_t y, int c) {
            const unsigned v = c == 0 ? x * 40 + y : 255 - y * 50;
            return depth == 16 ? (v << 8) | 0x7F : v;
        };
        CImage image;
        const std::string name = "grey" + std::to_string(depth) + ".png";
        ASSERT_EQ(Ok, image.LoadPng(WriteTestPng(folder, name, 4, 3, 4, depth, grey).c_str())) << depth;
        EXPECT_EQ(static_cast<int>(PixelFormat32bppARGB), image.Format());
        for (std::uint32_t y = 0; y < 3; ++y)
            for (std::uint32_t x = 0; x < 4; ++x) {
                const BYTE g = static_cast<BYTE>(x * 40 + y);
                EXPECT_EQ(Color::MakeARGB(static_cast<BYTE>(255 - y * 50), g, g, g),
                          PixelOf(image, static_cast<int>(x), static_cast<int>(y)))
                    << depth << ": " << x << "," << y;
            }
    }
}

TEST(ImagePng, OneBitImagesGetTheFilesTwoColours) {
    TestFolder folder;
    const std::vector<std::uint8_t> palette = {200, 10, 20, 30, 220, 40};
    auto checker = [](std::uint32_t x, std::uint32_t y, int) { return (x + y) % 2; };
    CImage image;
    ASSERT_EQ(Ok, image.LoadPng(WriteTestPng(folder, "one.png", 9, 3, 3, 1, checker, palette).c_str()));
    EXPECT_EQ(static_cast<int>(PixelFormat1bppIndexed), image.Format());
    EXPECT_EQ(0xFFC80A14u, PixelOf(image, 0, 0));
    EXPECT_EQ(0xFF1EDC28u, PixelOf(image, 1, 0));
    EXPECT_EQ(0xFF1EDC28u, PixelOf(image, 7, 2));
    EXPECT_EQ(0xFFC80A14u, PixelOf(image, 8, 2));
}

TEST(ImagePng, IndexedAndGreyKeepPaletteAndRows) {
    TestFolder folder;
    std::vector<std::uint8_t> palette;
    for (int i = 0; i < 4; ++i)
        palette.insert(palette.end(), {static_cast<std::uint8_t>(i * 60), 0, static_cast<std::uint8_t>(255 - i * 60)});
    auto index = [](std::uint32_t x, std::uint32_t y, int) { return (x + 2 * y) % 4; };
    CImage twoBit;
    ASSERT_EQ(Ok, twoBit.LoadPng(WriteTestPng(folder, "two.png", 7, 3, 3, 2, index, palette).c_str()));
    EXPECT_EQ(4, twoBit.BitCount());
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 7; ++x) {
            const unsigned i = index(x, y, 0);
            EXPECT_EQ(Color::MakeARGB(255, static_cast<BYTE>(i * 60), 0, static_cast<BYTE>(255 - i * 60)),
                      PixelOf(twoBit, static_cast<int>(x), static_cast<int>(y)))
                << x << "," << y;
        }

    auto ramp = [](std::uint32_t x, std::uint32_t y, int) { return (x * 50 + y * 3) & 0xFF; };
    CImage grey;
    ASSERT_EQ(Ok, grey.LoadPng(WriteTestPng(folder, "grey.png", 5, 4, 0, 8, ramp).c_str()));
    EXPECT_EQ(8, grey.BitCount());
    const BYTE g = static_cast<BYTE>(ramp(4, 3, 0));
    EXPECT_EQ(Color::MakeARGB(255, g, g, g), PixelOf(grey, 4, 3)); // bottom-up rows land the right way up
}

TEST(ImagePng, ResolutionFromTheFile) {
    TestFolder folder;
    PngSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.rows = {{1, 2, 3, 4, 5, 6}};
    spec.withPhys = true;
    spec.physX = 3780;
    spec.physY = 7560;
    ASSERT_TRUE(WritePng(folder.File("dpm.png"), spec));
    CImage image;
    ASSERT_EQ(Ok, image.LoadPng(folder.File("dpm.png").c_str()));
    float x = 0;
    float y = 0;
    image.GetDPM(x, y);
    EXPECT_NEAR(3780.0f, x, 0.5f);
    EXPECT_NEAR(7560.0f, y, 1.0f);
}

TEST(ImagePng, FailuresGiveTheLoadersReasonAndKeepThePicture) {
    TestFolder folder;
    CImage image;
    ASSERT_EQ(Ok, image.LoadPng(WriteTestPng(folder, "good.png", 6, 4, 6, 8, Rgba).c_str()));
    const ARGB corner = PixelOf(image, 5, 3);

    EXPECT_EQ(8, image.LoadPng(folder.File("missing.png").c_str()));
    ASSERT_TRUE(WriteBytes(folder.File("text.png"), {'t', 'e', 'x', 't'}));
    EXPECT_EQ(5, image.LoadPng(folder.File("text.png").c_str()));
    std::vector<std::uint8_t> bytes = ReadBytes(folder.File("good.png"));
    bytes.resize(bytes.size() - 20); // into the image data and its end
    ASSERT_TRUE(WriteBytes(folder.File("cut.png"), bytes));
    EXPECT_EQ(5, image.LoadPng(folder.File("cut.png").c_str()));
    ASSERT_TRUE(WriteBytes(folder.File("huge.png"), CraftedPng(100000, 100000, 8, 6)));
    EXPECT_EQ(OutOfMemory, image.LoadPng(folder.File("huge.png").c_str()));
    ASSERT_TRUE(WriteBytes(folder.File("background.png"), CraftedPng(20000, 20000, 8, 6)));
    EXPECT_EQ(OutOfMemory, image.LoadFile(folder.File("background.png").c_str()));
    // A text chunk claiming gigabytes: libpng is refused the memory and gives up on the file.
    ASSERT_TRUE(WriteBytes(folder.File("bomb.png"), ChunkBombPng()));
    EXPECT_EQ(5, image.LoadFile(folder.File("bomb.png").c_str()));

    EXPECT_EQ(6u, image.Width());
    EXPECT_EQ(corner, PixelOf(image, 5, 3));
}

TEST(ImagePng, ReloadsLeaveCommittedMemoryFlat) {
    TestFolder folder;
    const std::string path = WriteTestPng(folder, "big.png", 256, 256, 6, 8, Rgba);
    CImage image;
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(Ok, image.LoadPng(path.c_str()));
    const size_t before = CommittedPrivateBytes();
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(Ok, image.LoadPng(path.c_str()));
    const size_t after = CommittedPrivateBytes();
    // Each load makes a 256 KiB block: leaking them would add 50 MiB.
    EXPECT_LT(after, before + 4u * 1024 * 1024) << "before " << before << " after " << after;
}

TEST(ImagePng, CopyOfALoadedPngOutlivesItsSource) {
    TestFolder folder;
    const std::string path = WriteTestPng(folder, "source.png", 8, 8, 6, 8, Rgba);
    auto* source = new CImage();
    ASSERT_EQ(Ok, source->LoadPng(path.c_str()));
    const ARGB expected = PixelOf(*source, 7, 7);
    CImage copy(source);
    delete source;
    // Overwrite freed memory so that a copy still pointing at it would show.
    std::vector<std::vector<BYTE>> churn;
    for (int i = 0; i < 64; ++i)
        churn.emplace_back(8 * 8 * 4 + 40, 0xEE);
    EXPECT_EQ(expected, PixelOf(copy, 7, 7));
    ImagePtr target = SolidImage(8, 8, 0xFF000000);
    copy.Draw(*target, 0, 0, 8, 8);
    CImage fresh;
    ASSERT_EQ(Ok, fresh.LoadPng(path.c_str()));
    ImagePtr reference = SolidImage(8, 8, 0xFF000000);
    fresh.Draw(*reference, 0, 0, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(PixelOf(*reference, x, y), PixelOf(*target, x, y)) << x << "," << y;
}
