#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "core/frame_overlay_core.h"
#include "test_frame.h"

namespace {

OverlayImage SolidOverlay(int width, int height, uint8_t blue, uint8_t alpha) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = blue;
        image.pixels[i + 1] = 0;
        image.pixels[i + 2] = 0;
        image.pixels[i + 3] = alpha;
    }
    return image;
}

// Stands in for the platform decoder: pictures by path, counting every decode.
class FakeDecoder : public OverlayDecoder {
public:
    void Add(const std::wstring& path, OverlayImage image) { images_[path] = std::move(image); }

    bool Decode(const std::wstring& path, OverlayImage& image) override {
        ++decodes;
        const auto found = images_.find(path);
        if (found == images_.end())
            return false;
        image = found->second;
        return true;
    }

    std::atomic<int> decodes{0};

private:
    std::map<std::wstring, OverlayImage> images_;
};

qel::imaging::PixelLayout FormatOf(const TestFrame& frame) {
    return qel::imaging::PixelLayout{frame.Width(), frame.Height(), frame.Stride(), 3};
}

// Every pixel's first byte; true when all equal value.
bool AllBlue(const TestFrame& frame, uint8_t value) {
    for (int row = 0; row < frame.Lines(); ++row)
        for (int x = 0; x < frame.Width(); ++x)
            if (frame.At(x, row)[0] != value)
                return false;
    return true;
}

bool SameFrame(const TestFrame& a, const TestFrame& b) {
    return a.Bytes() == b.Bytes() && std::memcmp(a.Data(), b.Data(), a.Bytes()) == 0;
}

class FrameOverlayTest : public ::testing::Test {
protected:
    FrameOverlayTest() : src(TestFrame::DataPadded(64, 48)), dst(TestFrame::DataPadded(64, 48)), overlay(decoder) {
        src.FillBytes(7);
        decoder.Add(L"C:\\frames\\gold.png", SolidOverlay(16, 12, 200, 255));
        decoder.Add(L"C:\\frames\\GOLD.PNG", SolidOverlay(16, 12, 201, 255));
        decoder.Add(L"C:\\frames\\blue.png", SolidOverlay(16, 12, 50, 255));
        decoder.Add(L"C:\\frames\\gold.jpg", SolidOverlay(16, 12, 99, 255));
    }

    bool BlendOnce() { return overlay.Blend(src.Data(), dst.Data(), src.Bytes()); }

    FakeDecoder decoder;
    TestFrame src;
    TestFrame dst;
    FrameOverlayCore overlay;
};

TEST_F(FrameOverlayTest, APathSetBeforeTheFormatLoadsWhenTheFormatArrives) {
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_EQ(decoder.decodes, 0);
    EXPECT_EQ(overlay.State(), OverlayLoadState::LoadWanted);
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));

    overlay.Init(FormatOf(src));
    EXPECT_EQ(decoder.decodes, 1);
    EXPECT_EQ(overlay.State(), OverlayLoadState::Ready);
    EXPECT_TRUE(BlendOnce());
    EXPECT_EQ(overlay.State(), OverlayLoadState::Idle);
    EXPECT_TRUE(AllBlue(dst, 200));
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST_F(FrameOverlayTest, WithoutAPathFramesPassUnchanged) {
    overlay.Init(FormatOf(src));
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));
    EXPECT_EQ(overlay.Path(), L"");
    EXPECT_EQ(decoder.decodes, 0);
}

TEST_F(FrameOverlayTest, TheSamePathTwiceLoadsOnce) {
    overlay.Init(FormatOf(src));
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_EQ(decoder.decodes, 1);
    EXPECT_EQ(overlay.Path(), L"C:\\frames\\gold.png");
    EXPECT_TRUE(BlendOnce());
    EXPECT_TRUE(AllBlue(dst, 200));
}

TEST_F(FrameOverlayTest, TheExtensionIsComparedLowerCased) {
    overlay.Init(FormatOf(src));
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\GOLD.PNG"));
    EXPECT_TRUE(BlendOnce());
    EXPECT_TRUE(AllBlue(dst, 201));

    // Accepted as a path, but never handed to the decoder: frames pass unchanged.
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\gold.jpg"));
    EXPECT_EQ(decoder.decodes, 1);
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));
    EXPECT_EQ(overlay.State(), OverlayLoadState::Idle);
}

TEST_F(FrameOverlayTest, AFileThatCannotBeDecodedGivesNoOverlay) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    ASSERT_TRUE(BlendOnce());
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\missing.png"));
    EXPECT_EQ(decoder.decodes, 2);
    EXPECT_EQ(overlay.State(), OverlayLoadState::Ready);
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));
    EXPECT_EQ(overlay.State(), OverlayLoadState::Idle);
}

TEST_F(FrameOverlayTest, TooLongAndEmptyPathsAreRefusedAndRemoveTheFrame) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    ASSERT_TRUE(BlendOnce());

    const std::wstring tooLong = L"C:\\" + std::wstring(253, L'x') + L".png";
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_FALSE(overlay.SetPath(tooLong.c_str()));
    EXPECT_EQ(overlay.Path(), L"");
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));

    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_FALSE(overlay.SetPath(L""));
    EXPECT_EQ(overlay.Path(), L"");
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));
}

TEST_F(FrameOverlayTest, A259CharacterPathIsAccepted) {
    const std::wstring longest = L"C:\\" + std::wstring(252, L'x') + L".png";
    ASSERT_EQ(longest.size(), 259u);
    decoder.Add(longest, SolidOverlay(4, 4, 90, 255));
    overlay.Init(FormatOf(src));
    EXPECT_TRUE(overlay.SetPath(longest.c_str()));
    EXPECT_EQ(overlay.Path(), longest);
    EXPECT_TRUE(BlendOnce());
    EXPECT_TRUE(AllBlue(dst, 90));
}

// Setting the path that was in use before a refused one loads it again.
TEST_F(FrameOverlayTest, ThePreviousPathLoadsAgainAfterARefusedOne) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    ASSERT_FALSE(overlay.SetPath(L""));
    EXPECT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_EQ(decoder.decodes, 2);
    EXPECT_TRUE(BlendOnce());
    EXPECT_TRUE(AllBlue(dst, 200));
}

TEST_F(FrameOverlayTest, ANullPathIsRefusedAndChangesNothing) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    EXPECT_FALSE(overlay.SetPath(nullptr));
    EXPECT_EQ(overlay.Path(), L"C:\\frames\\gold.png");
    EXPECT_TRUE(BlendOnce());
    EXPECT_TRUE(AllBlue(dst, 200));
}

// After a format change the kept picture is rescaled to the new size before the next blend reads it.
TEST_F(FrameOverlayTest, AFormatChangeRescalesBeforeTheNextBlend) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    ASSERT_TRUE(BlendOnce());

    for (auto size : {std::pair<int, int>{33, 19}, {1280, -720}, {1, 1}}) {
        TestFrame other = TestFrame::DataPadded(size.first, size.second);
        other.FillBytes(9);
        TestFrame out = TestFrame::DataPadded(size.first, size.second);
        overlay.Init(FormatOf(other));
        EXPECT_TRUE(overlay.Blend(other.Data(), out.Data(), other.Bytes())) << size.first;
        EXPECT_TRUE(AllBlue(out, 200)) << size.first;
        EXPECT_TRUE(out.GuardsIntact());
    }
    EXPECT_EQ(decoder.decodes, 1);
}

TEST_F(FrameOverlayTest, ForgettingTheFormatDropsTheFrameUntilTheNextFormat) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    ASSERT_TRUE(BlendOnce());
    overlay.Forget();
    EXPECT_FALSE(BlendOnce());
    EXPECT_TRUE(SameFrame(dst, src));
    overlay.Init(FormatOf(src));
    EXPECT_EQ(decoder.decodes, 2);
    EXPECT_TRUE(BlendOnce());
}

TEST_F(FrameOverlayTest, ASampleShorterThanTheFormatIsCopiedNotBlended) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    TestFrame shortSrc = TestFrame::DataPadded(64, 20);
    shortSrc.FillBytes(3);
    TestFrame shortDst = TestFrame::DataPadded(64, 20);
    EXPECT_FALSE(overlay.Blend(shortSrc.Data(), shortDst.Data(), shortSrc.Bytes()));
    EXPECT_TRUE(SameFrame(shortDst, shortSrc));
    EXPECT_TRUE(shortDst.GuardsIntact());
}

// A decoded picture arrives top-down; its first row must end up at the top of the picture.
TEST_F(FrameOverlayTest, TheDecodedTopRowLandsAtTheTopOfBothOrientations) {
    const uint8_t decoded[2 * 4 * 2] = {
        40, 0, 0, 255, 40, 0, 0, 255,  // top row
        80, 0, 0, 255, 80, 0, 0, 255,  // bottom row
    };
    OverlayImage image;
    ASSERT_TRUE(ImportOverlay(decoded, 2, 2, 8, OverlayRowOrder::TopDown, image));
    decoder.Add(L"C:\\frames\\rows.png", image);
    for (int height : {2, -2}) {
        TestFrame video = TestFrame::DataPadded(2, height);
        TestFrame out = TestFrame::DataPadded(2, height);
        overlay.Init(FormatOf(video));
        ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\rows.png"));
        ASSERT_TRUE(overlay.Blend(video.Data(), out.Data(), video.Bytes()));
        EXPECT_EQ(out.FromTop(0, 0)[0], 40) << height;
        EXPECT_EQ(out.FromTop(1, 1)[0], 80) << height;
    }
}

// While another thread keeps changing the path (and refusing one), every frame is either unchanged
// or covered by exactly one of the pictures; a freed or half-swapped buffer would show (or trip ASan).
TEST_F(FrameOverlayTest, PathChangesDuringBlendsNeverTearOrFreeTheLiveFrame) {
    overlay.Init(FormatOf(src));
    ASSERT_TRUE(overlay.SetPath(L"C:\\frames\\gold.png"));
    std::atomic<bool> stop{false};
    std::thread setter([&] {
        const wchar_t* paths[] = {L"C:\\frames\\blue.png", L"", L"C:\\frames\\gold.png"};
        for (int i = 0; !stop.load(); ++i)
            overlay.SetPath(paths[i % 3]);
    });
    int gold = 0, blue = 0, unchanged = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int frame = 0; (gold == 0 || blue == 0 || unchanged == 0 || frame < 2000) &&
                        std::chrono::steady_clock::now() < deadline;
         ++frame) {
        if (frame % 64 == 0)
            std::this_thread::yield();  // let the setter in, whatever the scheduler
        if (BlendOnce()) {
            if (AllBlue(dst, 200))
                ++gold;
            else if (AllBlue(dst, 50))
                ++blue;
            else
                ADD_FAILURE() << "frame " << frame << " mixes two pictures";
        } else if (SameFrame(dst, src)) {
            ++unchanged;
        } else {
            ADD_FAILURE() << "frame " << frame << " changed without an overlay";
        }
    }
    stop = true;
    setter.join();
    EXPECT_TRUE(dst.GuardsIntact());
    EXPECT_GT(gold, 0);
    EXPECT_GT(blue, 0);
    EXPECT_GT(unchanged, 0);
}

}  // namespace
