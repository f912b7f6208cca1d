// The date and time plug-in in real graphs: test source -> plug-in -> Sample Grabber -> Null Renderer.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_fixture.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace {

using plugintest::ComPtr;
using plugintest::TestVideo;

// Where a frame differs from its source, in picture pixels (row 0 at the top), and in what colour.
struct Changes {
    int count = 0;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool allColour = true;
};

Changes ChangesOf(const std::vector<BYTE>& frame, const TestVideo& video, int n, const BYTE bgr[3]) {
    const std::vector<BYTE> source = plugintest::TestFrame(video, n);
    const int stride = plugintest::StrideOf(video);
    const int rows = video.height < 0 ? -video.height : video.height;
    Changes changes;
    for (int y = 0; y < rows; ++y) {
        const int row = video.height > 0 ? rows - 1 - y : y;
        for (int x = 0; x < video.width; ++x) {
            const size_t at = static_cast<size_t>(row) * stride + static_cast<size_t>(x) * 3;
            if (std::memcmp(&frame[at], &source[at], 3) == 0)
                continue;
            ++changes.count;
            changes.left = std::min(changes.left, x);
            changes.top = std::min(changes.top, y);
            changes.right = std::max(changes.right, x);
            changes.bottom = std::max(changes.bottom, y);
            if (std::memcmp(&frame[at], bgr, 3) != 0)
                changes.allColour = false;
        }
    }
    return changes;
}

const BYTE kWhite[3] = {255, 255, 255};

class DateTimePluginTest : public plugintest::PluginParamsTest<IQelDateTimeParams> {
protected:
    DateTimePluginTest()
        : PluginParamsTest(L"QelFilter_DateTime", CLSID_QelFilter_DateTime, IID_IQelFilterParams) {}

    plugintest::GraphResult Play(const TestVideo& video, const std::function<void()>& connected = nullptr) {
        return plugintest::PlayThrough(filter_.Get(), kQelFilterName_DateTime, video, connected);
    }
};

TEST_F(DateTimePluginTest, DefaultsAreWhiteTahomaAtTheStartPosition) {
    BYTE r = 0, g = 0, b = 0;
    ASSERT_EQ(S_OK, params_->GetColor(&r, &g, &b));
    EXPECT_EQ(r + g + b, 3 * 255);
    LOGFONTA font{};
    ASSERT_EQ(S_OK, params_->GetFont(&font));
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    int alignment = -1, padding = -1;
    ASSERT_EQ(S_OK, params_->GetAlignment(&alignment, &padding));
    EXPECT_EQ(alignment, 0);
    EXPECT_EQ(padding, 1);
}

// At 640 x 480 with the 12-pixel font the stamp ends 5 pixels from the right and bottom edges.
TEST_F(DateTimePluginTest, TheStampLandsBottomRightFivePixelsInBothOrientations) {
    for (int height : {480, -480}) {
        const TestVideo video{640, height, false, 2};
        const plugintest::GraphResult run = Play(video);
        ASSERT_EQ(S_OK, run.run);
        ASSERT_EQ(run.frames.size(), 2u);
        const Changes changes = ChangesOf(run.frames[1].bytes, video, 1, kWhite);
        ASSERT_GT(changes.count, 100) << height;
        EXPECT_TRUE(changes.allColour);
        EXPECT_LE(changes.right, 634) << height;
        EXPECT_GE(changes.right, 620) << height;
        EXPECT_LE(changes.bottom, 474) << height;
        EXPECT_GE(changes.bottom, 460) << height;
        EXPECT_GE(changes.left, 400) << height;
        EXPECT_GE(changes.top, 440) << height;

        int alignment = -1, padding = -1;
        ASSERT_EQ(S_OK, params_->GetAlignment(&alignment, &padding));
        EXPECT_EQ(alignment, 9);
        EXPECT_EQ(padding, 5);
        POINT start{};
        ASSERT_EQ(S_OK, params_->GetStartPosition(&start));  // the last place drawn at
        EXPECT_LE(start.x, changes.left);
        EXPECT_LE(start.y, changes.top);
        EXPECT_GT(start.x, 400);
    }
}

TEST_F(DateTimePluginTest, ANegativeStartPositionCutsTheBoxAtTheLeftAndTop) {
    const TestVideo video{320, 240, false, 2};
    const plugintest::GraphResult run = Play(video, [&] {
        const POINT start{-10, -5};
        EXPECT_EQ(S_OK, params_->SetStartPosition(&start));
    });
    ASSERT_EQ(run.frames.size(), 2u);
    const Changes changes = ChangesOf(run.frames[1].bytes, video, 1, kWhite);
    ASSERT_GT(changes.count, 20);
    EXPECT_LE(changes.left, 2);
    EXPECT_LE(changes.top, 6);
    EXPECT_LT(changes.right, 200);
    EXPECT_LT(changes.bottom, 20);
}

TEST_F(DateTimePluginTest, ANewConnectionPutsTheStampBackBottomRight) {
    const TestVideo video{320, 240, false, 1};
    const plugintest::GraphResult first = Play(video, [&] {
        const POINT start{0, 0};
        EXPECT_EQ(S_OK, params_->SetStartPosition(&start));
    });
    EXPECT_EQ(S_OK, first.run);
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(run.frames.size(), 1u);
    const Changes changes = ChangesOf(run.frames[0].bytes, video, 0, kWhite);
    ASSERT_GT(changes.count, 20);
    EXPECT_GT(changes.left, 100);
    EXPECT_GT(changes.top, 200);
}

TEST_F(DateTimePluginTest, TheColourAndAlignmentAreThoseSet) {
    const TestVideo video{320, 240, false, 1};
    const plugintest::GraphResult run = Play(video, [&] {
        EXPECT_EQ(S_OK, params_->SetColor(0x1FF, 0, 128));  // red keeps its low 8 bits
        EXPECT_EQ(S_OK, params_->SetAlignment(1, 7));
    });
    ASSERT_EQ(run.frames.size(), 1u);
    const BYTE colour[3] = {128, 0, 255};
    const Changes changes = ChangesOf(run.frames[0].bytes, video, 0, colour);
    ASSERT_GT(changes.count, 20);
    EXPECT_TRUE(changes.allColour);
    EXPECT_GE(changes.left, 7);
    EXPECT_GE(changes.top, 7);
    EXPECT_LT(changes.left, 12);
    EXPECT_LT(changes.bottom, 40);
}

// A frame narrower than the text wraps it onto more lines, cut at the frame's edges.
TEST_F(DateTimePluginTest, ATextWiderThanTheFrameWraps) {
    const TestVideo video{64, 48, false, 1};
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(run.frames.size(), 1u);
    const Changes changes = ChangesOf(run.frames[0].bytes, video, 0, kWhite);
    ASSERT_GT(changes.count, 20);
    EXPECT_GE(changes.bottom - changes.top, 14) << "more than one line";
}

TEST_F(DateTimePluginTest, TheStampStillShowsAfterTwentyThousandFrames) {
    const TestVideo video{96, 72, false, 20000, 10000};
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_EQ(run.frames.size(), 20000u);
    EXPECT_GT(ChangesOf(run.frames.back().bytes, video, 19999, kWhite).count, 20);
}

TEST_F(DateTimePluginTest, NullPointersAreRefused) {
    EXPECT_EQ(E_POINTER, params_->SetFont(nullptr));
    EXPECT_EQ(E_POINTER, params_->SetStartPosition(nullptr));
    EXPECT_EQ(E_POINTER, params_->GetStartPosition(nullptr));
    EXPECT_EQ(E_POINTER, params_->GetFont(nullptr));
}

} // namespace
