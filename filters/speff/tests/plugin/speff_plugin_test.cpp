// The special-effect plug-in in a real graph: every effect as its core computes it, the neutral
// cases, reconnection, and switching while frames stream.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "core/effect_factory.h"
#include "plugin_fixture.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace {

using plugintest::ComPtr;
using plugintest::GraphResult;
using plugintest::TestVideo;

// What the core makes of a frame of the test video.
std::vector<BYTE> CoreEffect(const TestVideo& video, const std::vector<BYTE>& in, int index, int strength) {
    std::vector<BYTE> out(in.size());
    std::unique_ptr<CEffect> effect = CreateEffect(index);
    if (!effect->Init(video.width, video.height, 3, 8, plugintest::StrideOf(video), kByteOrderBgr))
        return in;
    effect->SetStrength(strength);
    if (effect->Process(in.data(), out.data()) == 0)
        return in;
    effect->CopyRowPadding(in.data(), out.data());
    return out;
}

TestVideo SmallVideo(int frames = 3) {
    TestVideo video;
    video.width = 64;
    video.height = 48;
    video.frames = frames;
    return video;
}

class SpecialEffectPluginTest : public plugintest::PluginParamsTest<IQelSpecialEffectParams> {
protected:
    SpecialEffectPluginTest()
        : PluginParamsTest(L"QelFilter_SpEff", CLSID_QelFilter_SpecialEffect, IID_IQelFilterParams) {}

    GraphResult Play(const TestVideo& video) {
        GraphResult run = plugintest::PlayThrough(filter_.Get(), kQelFilterName_SpecialEffect, video);
        EXPECT_EQ(S_OK, run.connect);
        EXPECT_EQ(S_OK, run.run);
        EXPECT_EQ(static_cast<size_t>(video.frames), run.frames.size());
        return run;
    }

    // Plays the video and checks that every frame is what the core makes of it.
    void ExpectCoreResult(const TestVideo& video, int index, int strength) {
        const GraphResult run = Play(video);
        for (size_t n = 0; n < run.frames.size(); ++n) {
            const std::vector<BYTE> in = plugintest::TestFrame(video, static_cast<int>(n));
            const std::vector<BYTE> want = CoreEffect(video, in, index, strength);
            size_t firstDifference = 0;
            while (firstDifference < want.size() && firstDifference < run.frames[n].bytes.size() &&
                   want[firstDifference] == run.frames[n].bytes[firstDifference])
                ++firstDifference;
            EXPECT_TRUE(run.frames[n].bytes == want)
                << "effect " << index << " strength " << strength << " frame " << n << ": " << run.frames[n].bytes.size()
                << " bytes for " << want.size() << ", first difference at " << firstDifference
                << (run.frames[n].bytes == in ? " (the input unchanged)" : "");
        }
    }
};

TEST_F(SpecialEffectPluginTest, StartsWithNoEffectAtStrength50) {
    int effect = 0, strength = 0;
    ASSERT_EQ(S_OK, params_->GetEffect(&effect));
    ASSERT_EQ(S_OK, params_->GetStrength(&strength));
    EXPECT_EQ(-1, effect);
    EXPECT_EQ(50, strength);
    ExpectCoreResult(SmallVideo(), -1, 50);
}

TEST_F(SpecialEffectPluginTest, EveryEffectGivesWhatItsCoreComputes) {
    // Snow is random: checked on its own below.
    const std::pair<int, int> settings[] = {{0, 50}, {1, 30}, {2, 50}, {3, 60}, {4, 50},
                                            {6, 5},  {7, 80}, {7, -40}, {8, 50}};
    for (const auto& [index, strength] : settings) {
        ASSERT_EQ(S_OK, params_->SetEffect(index));
        ASSERT_EQ(S_OK, params_->SetStrength(strength));
        ExpectCoreResult(SmallVideo(2), index, strength);
    }
}

TEST_F(SpecialEffectPluginTest, SnowChangesEveryFrameDifferently) {
    ASSERT_EQ(S_OK, params_->SetEffect(5));
    ASSERT_EQ(S_OK, params_->SetStrength(100));
    const TestVideo video = SmallVideo(2);
    const GraphResult run = Play(video);
    ASSERT_EQ(2u, run.frames.size());
    EXPECT_NE(run.frames[0].bytes, plugintest::TestFrame(video, 0));
    ASSERT_EQ(S_OK, params_->SetStrength(0));
    ExpectCoreResult(video, -1, 50);  // density 0 copies
}

TEST_F(SpecialEffectPluginTest, IndicesOutsideTheNineGiveNoEffectButAreReported) {
    for (int index : {9, -5}) {
        ASSERT_EQ(S_OK, params_->SetEffect(index));
        int reported = 0;
        params_->GetEffect(&reported);
        EXPECT_EQ(index, reported);
        ExpectCoreResult(SmallVideo(1), -1, 50);
    }
}

TEST_F(SpecialEffectPluginTest, ChoicesMadeBeforeConnectingApplyOnceConnected) {
    ASSERT_EQ(S_OK, params_->SetEffect(6));
    ASSERT_EQ(S_OK, params_->SetStrength(4));
    ExpectCoreResult(SmallVideo(), 6, 4);
}

TEST_F(SpecialEffectPluginTest, AReconnectionKeepsTheEffectForTheNewFormat) {
    ASSERT_EQ(S_OK, params_->SetEffect(7));
    ASSERT_EQ(S_OK, params_->SetStrength(90));
    ExpectCoreResult(SmallVideo(1), 7, 90);
    TestVideo odd;
    odd.width = 33;  // padded rows
    odd.height = -19;  // top-down
    odd.frames = 2;
    ExpectCoreResult(odd, 7, 90);
    int effect = 0;
    params_->GetEffect(&effect);
    EXPECT_EQ(7, effect);
}

TEST_F(SpecialEffectPluginTest, CameraSizedFramesAreProcessed) {
    TestVideo vga;
    vga.width = 640;
    vga.height = 480;
    vga.frames = 2;
    ASSERT_EQ(S_OK, params_->SetEffect(8));
    ExpectCoreResult(vga, 8, 50);
}

// Ten thousand switches of effect and strength from one thread while frames stream: no crash, and
// every frame is its input through one whole effect at one strength.
TEST_F(SpecialEffectPluginTest, SwitchingTenThousandTimesWhileStreamingGivesWholeEffects) {
    const std::pair<int, int> settings[] = {{-1, 50}, {0, 50}, {1, 50}, {2, 50}, {3, 50}, {3, 20},
                                            {4, 20},  {6, 20}, {6, 7},  {7, 7},  {7, 90}, {8, 90}};
    TestVideo video = SmallVideo(400);
    video.width = 32;
    video.height = 24;
    std::vector<std::vector<std::vector<BYTE>>> expected;  // [frame][setting]
    for (int n = 0; n < video.frames; ++n) {
        const std::vector<BYTE> in = plugintest::TestFrame(video, n);
        expected.emplace_back();
        for (const auto& [index, strength] : settings)
            expected.back().push_back(CoreEffect(video, in, index, strength));
    }

    std::atomic<bool> switching{true};
    std::atomic<int> completedRuns{0};
    std::vector<GraphResult> runs;
    std::thread streaming([&] {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        do {
            runs.push_back(plugintest::PlayThrough(filter_.Get(), kQelFilterName_SpecialEffect, video));
            ++completedRuns;
        } while (switching);
        if (SUCCEEDED(com))
            CoUninitialize();
    });
    // At least ten thousand switches, and on until two whole runs streamed while switching.
    int switches = 0;
    for (; switches < 10000 || completedRuns < 3; ++switches) {
        const auto& [index, strength] = settings[static_cast<size_t>(switches) % std::size(settings)];
        params_->SetEffect(index);
        params_->SetStrength(strength);
    }
    switching = false;
    streaming.join();

    size_t frames = 0, unmatched = 0;
    std::vector<bool> seen(std::size(settings), false);
    for (const GraphResult& run : runs) {
        EXPECT_EQ(S_OK, run.connect);
        EXPECT_EQ(S_OK, run.run);
        for (const plugintest::CapturedFrame& frame : run.frames) {
            const int n = static_cast<int>(frame.start / video.frameTime);
            ASSERT_TRUE(frame.timeResult == S_OK && n >= 0 && n < video.frames);
            bool matched = false;
            for (size_t k = 0; k < std::size(settings); ++k) {
                if (expected[static_cast<size_t>(n)][k] == frame.bytes) {
                    matched = true;
                    seen[k] = true;
                }
            }
            unmatched += matched ? 0 : 1;
            ++frames;
        }
    }
    EXPECT_GT(frames, 0u);
    EXPECT_GT(std::count(seen.begin(), seen.end(), true), 1) << "the effect switched while frames streamed";
    EXPECT_EQ(0u, unmatched) << "of " << frames << " frames in " << runs.size() << " runs, " << switches
                             << " switches";
}

}  // namespace
