// The contrast/brightness plug-in in a real graph: every frame through the table its core builds,
// new values picked up between frames.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "core/contrast_brightness_frame.h"
#include "plugin_fixture.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plugintest::ComPtr;
using plugintest::GraphResult;
using plugintest::TestVideo;

class ContrastBrightnessPluginTest : public plugintest::PluginParamsTest<IQelContrastBrightnessParams> {
protected:
    ContrastBrightnessPluginTest()
        : PluginParamsTest(L"QelFilter_CB", CLSID_QelFilter_ContrastBrightness, IID_IQelFilterParams) {}

    // Plays the video at the values and checks every frame against the core; how many changed.
    int ExpectCoreResult(const TestVideo& video, int contrast, int brightness) {
        EXPECT_EQ(S_OK, params_->SetContrast(contrast));
        EXPECT_EQ(S_OK, params_->SetBrightness(brightness));
        const GraphResult run = plugintest::PlayThrough(filter_.Get(), kQelFilterName_ContrastBrightness, video);
        EXPECT_EQ(S_OK, run.connect);
        EXPECT_EQ(S_OK, run.run);
        EXPECT_EQ(static_cast<size_t>(video.frames), run.frames.size());
        CContrastBrightnessFrame core;
        core.SetValues(contrast, brightness);
        int changed = 0;
        for (const plugintest::CapturedFrame& frame : run.frames) {
            const int n = static_cast<int>(frame.start / video.frameTime);
            const std::vector<BYTE> input = plugintest::TestFrame(video, n);
            std::vector<BYTE> expected(input.size());
            EXPECT_TRUE(core.Process(
                input.data(), expected.data(),
                qel::imaging::PixelLayout{video.width, video.height, plugintest::StrideOf(video), 3}));
            EXPECT_TRUE(expected == frame.bytes) << "contrast " << contrast << " brightness " << brightness << " frame " << n;
            changed += frame.bytes != input ? 1 : 0;
        }
        return changed;
    }
};

TEST_F(ContrastBrightnessPluginTest, StartsAtZeroAndZeroWhichLeavesFramesUnchanged) {
    int contrast = -1, brightness = -1;
    ASSERT_EQ(S_OK, params_->GetContrast(&contrast));
    ASSERT_EQ(S_OK, params_->GetBrightness(&brightness));
    EXPECT_EQ(0, contrast);
    EXPECT_EQ(0, brightness);
    TestVideo video;
    video.frames = 4;
    EXPECT_EQ(0, ExpectCoreResult(video, 0, 0));
}

TEST_F(ContrastBrightnessPluginTest, EveryFrameGoesThroughTheTableOfTheValues) {
    TestVideo video;
    video.frames = 3;
    EXPECT_EQ(3, ExpectCoreResult(video, 100, 0));
    EXPECT_EQ(3, ExpectCoreResult(video, -50, 20));
    video.width = 33;
    video.height = -19;
    EXPECT_EQ(3, ExpectCoreResult(video, 30, -70));
    video.width = 1280;
    video.height = 720;
    video.frames = 2;
    EXPECT_EQ(2, ExpectCoreResult(video, 0, 100));
}

TEST_F(ContrastBrightnessPluginTest, ValuesOutsideTheRangeAreStoredAndFollowTheFormula) {
    TestVideo video;
    video.frames = 1;
    ExpectCoreResult(video, 250, -400);
    int contrast = 0;
    params_->GetContrast(&contrast);
    EXPECT_EQ(250, contrast);
}

}  // namespace
