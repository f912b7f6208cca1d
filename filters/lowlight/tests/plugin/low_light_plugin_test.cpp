// The low-light plug-in in a real graph, and its one-slider page.
#include "core/low_light_frame.h"
#include "strength_plugin_testkit.h"

#include <gtest/gtest.h>

namespace strengthtest {
namespace {

void Brighten(const BYTE* source, BYTE* destination, int width, int height, int stride, int strength) {
    CLowLightFrame lowLight;
    lowLight.SetStrength(strength);
    ASSERT_TRUE(lowLight.Process(source, destination, qel::imaging::PixelLayout{width, height, stride, 3}));
}

class LowLightPluginTest : public StrengthPluginTest {
protected:
    LowLightPluginTest() : StrengthPluginTest(kQelPlugins[3]) {}
};

TEST_F(LowLightPluginTest, BrightensEveryFrameAsItsCoreDoes) {
    plugintest::TestVideo video;
    video.frames = 6;
    EXPECT_GT(ExpectFramesFromKernel(Brighten, 50, video), 0);
    video.width = 33;
    video.height = -19;
    EXPECT_GT(ExpectFramesFromKernel(Brighten, 100, video), 0);
    ExpectFramesFromKernel(Brighten, 0, video);
    ExpectFramesFromKernel(Brighten, 26, video);
}

TEST_F(LowLightPluginTest, CameraSizedFramesAreBrightened) {
    plugintest::TestVideo video;
    video.width = 640;
    video.height = 480;
    video.frames = 2;
    EXPECT_EQ(2, ExpectFramesFromKernel(Brighten, 75, video));
}

TEST_F(LowLightPluginTest, StrengthChangedBetweenRunsIsDerivedAnew) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    ComPtr<IQelStrengthParams> params = ParamsOf(filter.Get());
    ASSERT_TRUE(params);
    int strength = 0;
    ASSERT_EQ(S_OK, params->GetStrength(&strength));
    EXPECT_EQ(50, strength);
    plugintest::TestVideo video;
    video.frames = 1;
    const std::vector<BYTE> input = plugintest::TestFrame(video, 0);
    const int stride = plugintest::StrideOf(video);
    for (int value : {100, 10}) {
        ASSERT_EQ(S_OK, params->SetStrength(value));
        const plugintest::GraphResult run = plugintest::PlayThrough(filter.Get(), plugin_.filterName, video);
        ASSERT_EQ(1u, run.frames.size());
        std::vector<BYTE> expected(input);
        Brighten(input.data(), expected.data(), video.width, video.height, stride, value);
        EXPECT_TRUE(expected == run.frames[0].bytes) << "strength " << value;
    }
}

TEST_F(LowLightPluginTest, PageClampsSendsRestoresAndApplies) {
    ExpectPageBehaviour();
    EXPECT_EQ(L"Filter Property of Low Light", PageTitle());
}

} // namespace
} // namespace strengthtest
