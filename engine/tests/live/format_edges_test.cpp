// Format paths on formats no camera here offers: no frame time, and a width above 640 that is not one
// of the compatibility sizes.
#include <gtest/gtest.h>

#include "engine_probe.h"
#include "fake_stream_config.h"

namespace enginetest {
namespace {

// The engine holds the fake as its capture pin's configuration for the test's scope.
class HeldConfig {
public:
    HeldConfig(EngineProbe& engine, FakeStreamConfig& config) : engine_(engine) {
        config.AddRef();
        engine_.m_pVideoConfig = &config;
    }
    ~HeldConfig() {
        if (engine_.m_pVideoConfig)
            engine_.m_pVideoConfig->Release();
        engine_.m_pVideoConfig = nullptr;
    }

private:
    EngineProbe& engine_;
};

TEST(FormatEdgesTest, AFormatWithoutAFrameTimeKeepsThePreviousRate) {
    EngineProbe engine;
    FakeStreamConfig config({{640, 480, 0}, {320, 240, 666666}});
    HeldConfig held(engine, config);
    _LiteCapVideoInfo info = {};
    ASSERT_TRUE(engine.GetVideoFormat(0, &info));
    EXPECT_EQ(15, info.nFrameRate);
    EXPECT_EQ(15, engine.m_nFrameRate);
    ASSERT_TRUE(engine.GetVideoFormat(1, &info));
    EXPECT_EQ(15, info.nFrameRate); // 10,000,000 / 666,666
    ASSERT_TRUE(engine.GetVideoInfo(&info));
    EXPECT_EQ(640, info.nWidth);
    EXPECT_EQ(15, info.nFrameRate);
    EXPECT_FALSE(engine.GetVideoFormat(2, &info)) << "the index equals the capability count";
}

TEST(FormatEdgesTest, SetVideoFormatNeedsAStoppedEngineAndARate) {
    EngineProbe engine;
    FakeStreamConfig config({{640, 480, 333333}});
    HeldConfig held(engine, config);
    _LiteCapVideoInfo info = {320, 240, 30, 24, 0, MEDIASUBTYPE_RGB24};
    EXPECT_FALSE(engine.SetVideoFormat(&info)) << "a clean engine has no preview to stop";
    engine.m_state = LIVE_CAPTURING;
    EXPECT_FALSE(engine.SetVideoFormat(&info));
    EXPECT_EQ(0, config.SetFormatCalls()) << "nothing changes while capturing";
    engine.m_state = LIVE_STOPPED;
    info.nFrameRate = -5;
    EXPECT_FALSE(engine.SetVideoFormat(&info));
    info.nFrameRate = 30;
    EXPECT_TRUE(engine.SetVideoFormat(&info));
    EXPECT_EQ(333333, config.Current().frameTime);
    EXPECT_EQ(320, config.Current().width);
}

TEST(FormatEdgesTest, TheResolutionSwitchLeavesOtherWideFormatsAlone) {
    EngineProbe engine;
    FakeStreamConfig config({{1600, 1200, 333333}});
    HeldConfig held(engine, config);
    engine.SetFlipCompatibility(1);
    engine.m_state = LIVE_STOPPED;
    EXPECT_TRUE(engine.xChangeReslution(0));
    EXPECT_EQ(0, config.SetFormatCalls());
    EXPECT_FALSE(engine.m_bResolutionLowered);
    EXPECT_FALSE(engine.xChangeReslution(1));

    engine.m_state = LIVE_CAPTURING; // not stopped: no switch
    FakeStreamConfig wide({{1024, 768, 333333}});
    HeldConfig again(engine, wide);
    EXPECT_FALSE(engine.xChangeReslution(0));
    engine.m_state = LIVE_STOPPED;
    EXPECT_TRUE(engine.xChangeReslution(0));
    EXPECT_EQ(640, wide.Current().width);
    EXPECT_TRUE(engine.xChangeReslution(1));
    EXPECT_EQ(1024, wide.Current().width);
    EXPECT_EQ(768, wide.Current().height);
}

} // namespace
} // namespace enginetest
