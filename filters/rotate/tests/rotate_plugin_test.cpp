// The rotate plug-in in a real graph: the turns, their background and band, and its own
// parameter interface.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_fixture.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using plugintest::CapturedFrame;
using plugintest::ComPtr;
using plugintest::GraphResult;
using plugintest::TestVideo;

constexpr COLORREF kRed = 0x0000FF;

class RotatePluginTest : public plugintest::PluginParamsTest<IQelRotateParams> {
protected:
    RotatePluginTest()
        : PluginParamsTest(L"QelFilter_Rotate", CLSID_QelFilter_Rotate, IID_IQelRotateParams) {}

    // Turns frame 0 of the video and returns it with its input.
    bool Turn(const TestVideo& video, int angle, int method, std::vector<BYTE>* in, std::vector<BYTE>* out) {
        EXPECT_EQ(S_OK, params_->SetAngle(angle));
        EXPECT_EQ(S_OK, params_->SetMethod(method));
        EXPECT_EQ(S_OK, params_->SetBackColor(kRed));
        const GraphResult run = plugintest::PlayThrough(filter_.Get(), kQelFilterName_Rotate, video);
        EXPECT_EQ(S_OK, run.connect);
        EXPECT_EQ(S_OK, run.run);
        if (run.frames.size() != static_cast<size_t>(video.frames))
            return false;
        *in = plugintest::TestFrame(video, 0);
        *out = run.frames[0].bytes;
        return out->size() == in->size();
    }
};

struct Picture {
    const std::vector<BYTE>& bytes;
    int stride;
    const BYTE* At(int row, int x) const { return bytes.data() + row * stride + x * 3; }
};

bool Same(const Picture& a, int rowA, int xA, const Picture& b, int rowB, int xB) {
    return std::memcmp(a.At(rowA, xA), b.At(rowB, xB), 3) == 0;
}

bool IsRed(const Picture& p, int row, int x) {
    const BYTE* pixel = p.At(row, x);
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 255;
}

TestVideo Vga() {
    TestVideo video;
    video.width = 640;
    video.height = 480;
    video.frames = 2;
    return video;
}

} // namespace

TEST_F(RotatePluginTest, QuarterTurnCutLeavesTheSidesToTheBackground) {
    std::vector<BYTE> inBytes, outBytes;
    ASSERT_TRUE(Turn(Vga(), 90, kQelRotateCut, &inBytes, &outBytes));
    const Picture in{inBytes, 1920}, out{outBytes, 1920};
    for (int row : {0, 100, 479}) {
        for (int x = 0; x < 80; ++x)
            ASSERT_TRUE(IsRed(out, row, x)) << row << "," << x;
        for (int x = 560; x < 640; ++x)
            ASSERT_TRUE(IsRed(out, row, x)) << row << "," << x;
    }
    EXPECT_TRUE(Same(out, 0, 80, in, 479, 80));
    EXPECT_TRUE(Same(out, 10, 300, in, 479 - (300 - 80), 80 + 10));
}

TEST_F(RotatePluginTest, ThreeQuarterTurnCutTakesTheRightColumnFirst) {
    std::vector<BYTE> inBytes, outBytes;
    ASSERT_TRUE(Turn(Vga(), 270, kQelRotateCut, &inBytes, &outBytes));
    const Picture in{inBytes, 1920}, out{outBytes, 1920};
    EXPECT_TRUE(Same(out, 0, 80, in, 0, 559));
    EXPECT_TRUE(IsRed(out, 0, 79));
    EXPECT_TRUE(IsRed(out, 0, 560));
}

TEST_F(RotatePluginTest, ZoomShowsThePictureInTheCentredBand) {
    std::vector<BYTE> inBytes, outBytes;
    ASSERT_TRUE(Turn(Vga(), 90, kQelRotateZoom, &inBytes, &outBytes));
    const Picture in{inBytes, 1920}, out{outBytes, 1920};
    for (int row : {0, 240, 479}) {
        EXPECT_TRUE(IsRed(out, row, 139));
        EXPECT_TRUE(IsRed(out, row, 500));
        EXPECT_FALSE(IsRed(out, row, 140));
        EXPECT_FALSE(IsRed(out, row, 499));
    }
    EXPECT_TRUE(Same(out, 0, 140, in, 479, 0));
    EXPECT_TRUE(Same(out, 3, 170, in, 479 - 480 * 30 / 360, 480 * 3 / 360));
}

TEST_F(RotatePluginTest, HalfTurnOfATopDownFrame) {
    TestVideo video;
    video.width = 33;
    video.height = -19; // top-down: the height's sign must not become a negative size
    video.frames = 3;
    std::vector<BYTE> inBytes, outBytes;
    ASSERT_TRUE(Turn(video, 180, kQelRotateCut, &inBytes, &outBytes));
    const int stride = plugintest::StrideOf(video);
    const Picture in{inBytes, stride}, out{outBytes, stride};
    for (int row = 0; row < 19; ++row)
        for (int x = 0; x < 33; ++x)
            ASSERT_TRUE(Same(out, row, x, in, 18 - row, 32 - x)) << row << "," << x;
}

TEST_F(RotatePluginTest, AnAngleThatIsNoQuarterTurnPassesTheFrameThrough) {
    TestVideo video;
    video.frames = 2;
    std::vector<BYTE> inBytes, outBytes;
    ASSERT_TRUE(Turn(video, 45, kQelRotateCut, &inBytes, &outBytes));
    EXPECT_EQ(outBytes, inBytes);
}

TEST_F(RotatePluginTest, ParameterSlotsStoreWhatTheyAreGiven) {
    int value = -1;
    COLORREF color = 1;
    EXPECT_EQ(S_OK, params_->GetAngle(&value));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(S_OK, params_->GetMethod(&value));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(S_OK, params_->GetBackColor(&color));
    EXPECT_EQ(color, 0u);

    EXPECT_EQ(S_OK, params_->SetValue(7));
    EXPECT_EQ(S_OK, params_->SetValue2(-3));
    EXPECT_EQ(S_OK, params_->SetAngle(33)); // stored as given; the picture then passes through
    EXPECT_EQ(S_OK, params_->SetMethod(1));
    EXPECT_EQ(S_OK, params_->SetBackColor(0x00123456));
    EXPECT_EQ(S_OK, params_->GetValue(&value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(S_OK, params_->GetValue2(&value));
    EXPECT_EQ(value, -3);
    EXPECT_EQ(S_OK, params_->GetAngle(&value));
    EXPECT_EQ(value, 33);
    EXPECT_EQ(S_OK, params_->GetMethod(&value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(S_OK, params_->GetBackColor(&color));
    EXPECT_EQ(color, 0x00123456u);
    EXPECT_EQ(E_POINTER, params_->GetAngle(nullptr));
}
