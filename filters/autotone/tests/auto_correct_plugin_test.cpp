// The auto tone and auto enhance plug-ins in a real graph, and their pages.
#include "strength_plugin_testkit.h"

#include "qelimaging/auto_tone.h"

#include <gtest/gtest.h>

namespace strengthtest {
namespace {

using qel::imaging::AutoCorrection;

template <AutoCorrection correction>
void Correct(const BYTE* source, BYTE* destination, int width, int height, int stride, int strength) {
    const qel::imaging::PixelLayout layout{width, height, stride, 3, qel::imaging::ByteOrder::BGR};
    ASSERT_TRUE(qel::imaging::AutoCorrectFrame(source, destination, layout, strength, correction));
}

class AutoTonePluginTest : public StrengthPluginTest {
protected:
    AutoTonePluginTest() : StrengthPluginTest(kQelPlugins[1]) {}
};

class AutoEnhancePluginTest : public StrengthPluginTest {
protected:
    AutoEnhancePluginTest() : StrengthPluginTest(kQelPlugins[2]) {}
};

TEST_F(AutoTonePluginTest, CorrectsEveryFrameOfTheGraphFromItsOwnStatistics) {
    plugintest::TestVideo video;
    video.frames = 10;
    EXPECT_GT(ExpectFramesFromKernel(Correct<AutoCorrection::Tone>, 100, video), 0);
    video.width = 33;
    video.height = -19;
    ExpectFramesFromKernel(Correct<AutoCorrection::Tone>, 70, video);
}

TEST_F(AutoTonePluginTest, StrengthZeroLeavesEveryFrameUnchanged) {
    plugintest::TestVideo video;
    video.frames = 6;
    EXPECT_EQ(0, ExpectFramesFromKernel(Correct<AutoCorrection::Tone>, 0, video));
}

TEST_F(AutoTonePluginTest, PageClampsSendsRestoresAndApplies) {
    ExpectPageBehaviour();
    EXPECT_EQ(L"Filter Property of Auto Tone", PageTitle());
}

TEST_F(AutoEnhancePluginTest, CorrectsToneAndColourOfEveryFrame) {
    plugintest::TestVideo video;
    video.frames = 10;
    EXPECT_GT(ExpectFramesFromKernel(Correct<AutoCorrection::Enhance>, 50, video), 0);
    video.width = 33;
    video.height = -19;
    ExpectFramesFromKernel(Correct<AutoCorrection::Enhance>, 100, video);
}

TEST_F(AutoEnhancePluginTest, StrengthZeroLeavesEveryFrameUnchanged) {
    plugintest::TestVideo video;
    video.frames = 6;
    EXPECT_EQ(0, ExpectFramesFromKernel(Correct<AutoCorrection::Enhance>, 0, video));
}

TEST_F(AutoEnhancePluginTest, PageClampsSendsRestoresAndApplies) {
    ExpectPageBehaviour();
    EXPECT_EQ(L"Filter Property of Auto Enhance", PageTitle());
}

} // namespace
} // namespace strengthtest
