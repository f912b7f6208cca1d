// The digital zoom plug-in in real graphs: test source -> plug-in -> Sample Grabber -> Null Renderer.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_fixture.h"
#include "core/zoom_engine.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace {

using plugintest::ComPtr;
using plugintest::TestVideo;

// What the zoom core makes of test frame n.
std::vector<BYTE> Zoomed(const TestVideo& video, int n, int percent) {
    const std::vector<BYTE> source = plugintest::TestFrame(video, n);
    std::vector<BYTE> target(source.size(), 0);
    const qel::imaging::PixelLayout format{video.width, video.height, plugintest::StrideOf(video), 3};
    const ZoomPlan plan = BuildZoomPlan(percent, &format);
    ApplyZoomPlan(plan, source.data(), source.size(), target.data(), target.size());
    return target;
}

// Equal in every pixel; the padding at the end of a row is no part of the picture.
bool SamePixels(const std::vector<BYTE>& a, const std::vector<BYTE>& b, const TestVideo& video) {
    if (a.size() != b.size() || a.size() != plugintest::FrameBytesOf(video))
        return false;
    const int stride = plugintest::StrideOf(video);
    const int rows = video.height < 0 ? -video.height : video.height;
    for (int row = 0; row < rows; ++row)
        if (std::memcmp(&a[row * stride], &b[row * stride], static_cast<size_t>(video.width) * 3) != 0)
            return false;
    return true;
}

class DigitalZoomPluginTest : public plugintest::PluginParamsTest<IQelDigitalZoomParams> {
protected:
    DigitalZoomPluginTest()
        : PluginParamsTest(L"QelFilter_DigitalZoom", CLSID_QelFilter_DigitalZoom, IID_IQelFilterParams) {}

    plugintest::GraphResult Play(const TestVideo& video) {
        return plugintest::PlayThrough(filter_.Get(), kQelFilterName_DigitalZoom, video);
    }

    int Zoom() {
        int percent = -1;
        EXPECT_EQ(S_OK, params_->GetZoom(&percent));
        return percent;
    }
};

TEST_F(DigitalZoomPluginTest, ANewFilterShowsTheFrameAsItIs) {
    EXPECT_EQ(Zoom(), 100);
    TestVideo video;
    video.frames = 5;
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_EQ(run.frames.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(run.frames[i].bytes, plugintest::TestFrame(video, i)) << i;
}

TEST_F(DigitalZoomPluginTest, EveryStepScalesTheCentreAsTheEngineDoes) {
    for (int percent : {150, 200, 250, 300}) {
        ASSERT_EQ(S_OK, params_->SetZoom(percent));
        EXPECT_EQ(Zoom(), percent);
        for (TestVideo video : {TestVideo{640, 480, false, 3}, TestVideo{33, -19, false, 3}}) {
            const plugintest::GraphResult run = Play(video);
            ASSERT_EQ(S_OK, run.connect);
            ASSERT_EQ(S_OK, run.run);
            ASSERT_EQ(run.frames.size(), 3u);
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(SamePixels(run.frames[i].bytes, Zoomed(video, i, percent), video))
                    << percent << "% at " << video.width << "x" << video.height << ", frame " << i;
        }
    }
}

TEST_F(DigitalZoomPluginTest, AValueThatIsNoStepShowsTheFrameAsItIs) {
    ASSERT_EQ(S_OK, params_->SetZoom(175));
    EXPECT_EQ(Zoom(), 175);
    TestVideo video;
    video.frames = 3;
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(run.frames.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(run.frames[i].bytes, plugintest::TestFrame(video, i)) << i;
}

TEST_F(DigitalZoomPluginTest, FramesTooSmallForTheStepPassThrough) {
    ASSERT_EQ(S_OK, params_->SetZoom(250));
    TestVideo video{4, 4, false, 3};
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(S_OK, run.run);
    ASSERT_EQ(run.frames.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(run.frames[i].bytes, plugintest::TestFrame(video, i)) << i;
}

TEST_F(DigitalZoomPluginTest, ANewConnectionTakesTheNewSize) {
    ASSERT_EQ(S_OK, params_->SetZoom(200));
    const TestVideo large{320, 240, false, 2};
    const TestVideo small{33, 19, false, 2};
    for (const TestVideo& video : {large, small, large}) {
        const plugintest::GraphResult run = Play(video);
        ASSERT_EQ(run.frames.size(), 2u);
        EXPECT_TRUE(SamePixels(run.frames[1].bytes, Zoomed(video, 1, 200), video)) << video.width;
    }
}

// While the stream runs, another thread keeps switching between two steps: every frame shows one
// of them whole.
TEST_F(DigitalZoomPluginTest, StepChangesWhileStreamingNeverMixInOneFrame) {
    ASSERT_EQ(S_OK, params_->SetZoom(150));
    const TestVideo video{96, 72, false, 200, 10000};
    std::atomic<bool> stop{false};
    ComPtr<IQelDigitalZoomParams> params = params_;
    std::thread setter([&] {
        for (int i = 0; !stop.load(); ++i) {
            params->SetZoom(i % 2 ? 300 : 150);
            Sleep(0);
        }
    });
    const plugintest::GraphResult run = Play(video);
    stop = true;
    setter.join();
    ASSERT_EQ(run.frames.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        const bool zoom150 = SamePixels(run.frames[i].bytes, Zoomed(video, i, 150), video);
        const bool zoom300 = SamePixels(run.frames[i].bytes, Zoomed(video, i, 300), video);
        EXPECT_TRUE(zoom150 || zoom300) << "frame " << i << " mixes two steps";
    }
}

} // namespace
