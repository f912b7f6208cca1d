// The whiteboard plug-in in a real graph, and its page.
#include "strength_plugin_testkit.h"

#include "qelimaging/whiteboard.h"

#include <gtest/gtest.h>

namespace strengthtest {
namespace {

void Whiteboard(const BYTE* source, BYTE* destination, int width, int height, int stride, int strength) {
    const qel::imaging::WhiteboardImage image{width, height, stride, 3, 8, 1, source, destination};
    qel::imaging::WhiteboardParams params{};
    params.strength = strength;
    ASSERT_EQ(qel::imaging::kWhiteboardOk, qel::imaging::EnhanceWhiteboard(&image, &params, nullptr));
}

class WhiteboardPluginTest : public StrengthPluginTest {
protected:
    WhiteboardPluginTest() : StrengthPluginTest(kQelPlugins[0]) {}
};

TEST_F(WhiteboardPluginTest, EnhancesEveryFrameOfTheGraphAsTheRoutineDoes) {
    plugintest::TestVideo video;
    video.frames = 12;
    EXPECT_EQ(12, ExpectFramesFromKernel(Whiteboard, 50, video));
    video.width = 33;   // odd width: padded rows
    video.height = -19; // top-down
    EXPECT_GT(ExpectFramesFromKernel(Whiteboard, 100, video), 0);
}

TEST_F(WhiteboardPluginTest, HandsAStrengthOutsideTheRangeOnAsItIs) {
    ComPtr<IBaseFilter> filter = Create();
    ASSERT_TRUE(filter);
    ComPtr<IQelStrengthParams> params = ParamsOf(filter.Get());
    ASSERT_TRUE(params);
    int strength = 0;
    ASSERT_EQ(S_OK, params->GetStrength(&strength));
    EXPECT_EQ(50, strength);
    ASSERT_EQ(S_OK, params->SetStrength(250));
    ASSERT_EQ(S_OK, params->GetStrength(&strength));
    EXPECT_EQ(250, strength);
    plugintest::TestVideo video;
    video.frames = 4;
    EXPECT_GT(ExpectFramesFromKernel(Whiteboard, 250, video), 0);
}

TEST_F(WhiteboardPluginTest, PageClampsSendsRestoresAndApplies) {
    ExpectPageBehaviour();
    EXPECT_EQ(L"Filter Property of Whiteboard", PageTitle());
}

} // namespace
} // namespace strengthtest
