// The flip plug-in as the engine drives it: value 2 mirrors left to right, value 1 flips top to
// bottom, both make a half turn, and SetEnable(0) switches the flip off.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_testkit.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using plugintest::ComPtr;
using plugintest::TestVideo;

class FlipPluginTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        module_ = std::make_unique<plugintest::PluginModule>(L"QelFilter_Flip");
        ASSERT_TRUE(module_->Loaded());
        ASSERT_EQ(S_OK, module_->Register());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_Flip, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter_)));
        ASSERT_EQ(S_OK, filter_->QueryInterface(__uuidof(IQelFlipParams), reinterpret_cast<void**>(params_.GetAddressOf())));
        video_.width = 33; // rows padded to 100 bytes
        video_.height = 19;
        video_.frames = 3;
    }
    void TearDown() override {
        params_.Reset();
        filter_.Reset();
        module_.reset();
        ComTest::TearDown();
    }

    // Frame 1 through the plug-in, checked against where each pixel should have come from.
    void ExpectEachPixelFrom(bool topBottom, bool leftRight) {
        const auto run = plugintest::PlayThrough(filter_.Get(), kQelFilterName_Flip, video_);
        ASSERT_EQ(S_OK, run.connect);
        ASSERT_EQ(run.frames.size(), 3u);
        const std::vector<BYTE> in = plugintest::TestFrame(video_, 1);
        const std::vector<BYTE>& out = run.frames[1].bytes;
        ASSERT_EQ(out.size(), in.size());
        const int stride = plugintest::StrideOf(video_);
        for (int row = 0; row < 19; ++row) {
            for (int x = 0; x < 33; ++x) {
                const int fromRow = topBottom ? 18 - row : row, fromX = leftRight ? 32 - x : x;
                ASSERT_EQ(std::memcmp(&out[row * stride + x * 3], &in[fromRow * stride + fromX * 3], 3), 0)
                    << row << "," << x;
            }
        }
    }

    std::unique_ptr<plugintest::PluginModule> module_;
    ComPtr<IBaseFilter> filter_;
    ComPtr<IQelFlipParams> params_;
    TestVideo video_;
};

} // namespace

TEST_F(FlipPluginTest, NewFilterFlipsNothing) { ExpectEachPixelFrom(false, false); }

TEST_F(FlipPluginTest, SecondValueMirrorsLeftToRight) {
    ASSERT_EQ(S_OK, params_->SetEnable(TRUE)); // the engine's pass for flip bit 0
    ASSERT_EQ(S_OK, params_->SetValue2(1));
    ExpectEachPixelFrom(false, true);
}

TEST_F(FlipPluginTest, FirstValueFlipsTopToBottom) {
    ASSERT_EQ(S_OK, params_->SetValue(1));
    ExpectEachPixelFrom(true, false);
}

TEST_F(FlipPluginTest, BothValuesMakeAHalfTurn) {
    ASSERT_EQ(S_OK, params_->SetValue(1));
    ASSERT_EQ(S_OK, params_->SetValue2(1));
    ExpectEachPixelFrom(true, true);
    int value = 0;
    EXPECT_EQ(S_OK, params_->GetValue(&value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(S_OK, params_->GetValue2(&value));
    EXPECT_EQ(value, 1);
}

TEST_F(FlipPluginTest, SwitchedOffThroughSetEnableAlone) {
    ASSERT_EQ(S_OK, params_->SetValue2(1));
    ASSERT_EQ(S_OK, params_->SetEnable(FALSE));
    ExpectEachPixelFrom(false, false);
}
