// The photo frame plug-in in real graphs: test source -> plug-in -> Sample Grabber -> Null Renderer,
// with PNG pictures written for each test.
#include "QelFilterParams.h"
#include "QelPluginIds.h"
#include "plugin_fixture.h"
#include "png_writer.h"

#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using plugintest::ComPtr;
using plugintest::TestVideo;
using pngtest::Argb;

constexpr int kWidth = 64, kHeight = 48;

// Columns 0-15 transparent, 16-31 white at alpha 128, 32-63 opaque: red in the top row, blue below.
std::vector<Argb> FramePicture() {
    std::vector<Argb> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (x < 16)
                pixels.push_back({0, 0, 0, 0});
            else if (x < 32)
                pixels.push_back({128, 255, 255, 255});
            else
                pixels.push_back(y == 0 ? Argb{255, 255, 0, 0} : Argb{255, 0, 0, 255});
        }
    return pixels;
}

// Pixel (x, y), y counted from the top of the picture, of a frame in the test video's layout.
const BYTE* PictureAt(const std::vector<BYTE>& frame, const TestVideo& video, int x, int y) {
    const int rows = video.height < 0 ? -video.height : video.height;
    const int row = video.height > 0 ? rows - 1 - y : y;
    return &frame[static_cast<size_t>(row) * plugintest::StrideOf(video) + static_cast<size_t>(x) * 3];
}

class PhotoFramePluginTest : public plugintest::PluginParamsTest<IQelPhotoFrameParams> {
protected:
    PhotoFramePluginTest()
        : PluginParamsTest(L"QelFilter_PhotoFrame", CLSID_QelFilter_PhotoFrame, IID_IQelFilterParams) {}

    void SetUp() override {
        PluginParamsTest::SetUp();
        if (HasFatalFailure())
            return;
        picture_ = File("frame.png");
        ASSERT_TRUE(pngtest::WritePng(picture_, kWidth, kHeight, FramePicture()));
    }

    std::wstring File(const char* name) {
        const std::string path = folder_.File(name);
        return std::wstring(path.begin(), path.end());
    }

    std::wstring Path() {
        wchar_t path[kQelFramePathChars] = {L'?'};
        EXPECT_EQ(S_OK, params_->GetFramePath(path));
        return path;
    }

    plugintest::GraphResult Play(const TestVideo& video) {
        return plugintest::PlayThrough(filter_.Get(), kQelFilterName_PhotoFrame, video);
    }

    // Every frame of the run equals its source frame.
    static void ExpectUnchanged(const plugintest::GraphResult& run, const TestVideo& video) {
        ASSERT_EQ(run.frames.size(), static_cast<size_t>(video.frames));
        for (int i = 0; i < video.frames; ++i)
            EXPECT_EQ(run.frames[i].bytes, plugintest::TestFrame(video, i)) << "frame " << i;
    }

    qeltest::TempDir folder_;
    std::wstring picture_;
};

TEST_F(PhotoFramePluginTest, BlendsTheFrameUprightOverBothOrientations) {
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    EXPECT_EQ(Path(), picture_);
    for (int height : {kHeight, -kHeight}) {
        const TestVideo video{kWidth, height, false, 2};
        const plugintest::GraphResult run = Play(video);
        ASSERT_EQ(S_OK, run.run);
        ASSERT_EQ(run.frames.size(), 2u);
        const std::vector<BYTE> source = plugintest::TestFrame(video, 1);
        const std::vector<BYTE>& out = run.frames[1].bytes;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const BYTE* in = PictureAt(source, video, x, y);
                const BYTE* got = PictureAt(out, video, x, y);
                BYTE expected[3];
                if (x < 16) {
                    std::copy(in, in + 3, expected);
                } else if (x < 32) {
                    for (int c = 0; c < 3; ++c)
                        expected[c] = static_cast<BYTE>((in[c] * 127 + 255 * 128) / 255);
                } else {
                    const BYTE red[3] = {0, 0, 255}, blue[3] = {255, 0, 0};
                    std::copy(y == 0 ? red : blue, (y == 0 ? red : blue) + 3, expected);
                }
                ASSERT_TRUE(std::equal(expected, expected + 3, got)) << "height " << height << " at " << x << "," << y;
            }
    }
}

TEST_F(PhotoFramePluginTest, ANewConnectionRescalesTheFrameToItsSize) {
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    const TestVideo first{kWidth, kHeight, false, 1};
    ASSERT_EQ(Play(first).frames.size(), 1u);
    const TestVideo smaller{33, 19, false, 2};
    const plugintest::GraphResult run = Play(smaller);
    ASSERT_EQ(run.frames.size(), 2u);
    const std::vector<BYTE> source = plugintest::TestFrame(smaller, 1);
    for (int y = 0; y < 19; ++y) {
        EXPECT_TRUE(std::equal(PictureAt(source, smaller, 0, y), PictureAt(source, smaller, 0, y) + 3,
                               PictureAt(run.frames[1].bytes, smaller, 0, y)))
            << "transparent column, row " << y;
        const BYTE* right = PictureAt(run.frames[1].bytes, smaller, 32, y);
        EXPECT_EQ(right[1], 0) << "opaque column, row " << y;
        EXPECT_EQ(right[0] + right[2], 255) << "opaque column, row " << y;
    }
}

TEST_F(PhotoFramePluginTest, TheExtensionIsTakenInAnyCaseButMustBePng) {
    const std::wstring upper = File("FRAME.PNG");
    ASSERT_TRUE(pngtest::WritePng(upper, kWidth, kHeight, FramePicture()));
    const TestVideo video{kWidth, kHeight, false, 2};
    ASSERT_EQ(S_OK, params_->SetFramePath(upper.c_str()));
    const plugintest::GraphResult shown = Play(video);
    ASSERT_EQ(shown.frames.size(), 2u);
    EXPECT_NE(shown.frames[1].bytes, plugintest::TestFrame(video, 1));

    const std::wstring jpg = File("frame.jpg");
    ASSERT_TRUE(pngtest::WritePng(jpg, kWidth, kHeight, FramePicture()));  // a PNG under another name
    ASSERT_EQ(S_OK, params_->SetFramePath(jpg.c_str()));
    EXPECT_EQ(Path(), jpg);
    ExpectUnchanged(Play(video), video);
}

TEST_F(PhotoFramePluginTest, ATooLongPathRemovesTheFrame) {
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    std::wstring tooLong = File("");
    tooLong += std::wstring(260 - tooLong.size() - 4, L'x') + L".png";
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_EQ(S_OK, params_->SetFramePath(tooLong.c_str()));
    EXPECT_EQ(Path(), L"");
    const TestVideo video{kWidth, kHeight, false, 2};
    ExpectUnchanged(Play(video), video);
}

TEST_F(PhotoFramePluginTest, ANullPathIsRefusedAndTheFrameStays) {
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    EXPECT_EQ(E_POINTER, params_->SetFramePath(nullptr));
    EXPECT_EQ(Path(), picture_);
    EXPECT_EQ(E_POINTER, params_->GetFramePath(nullptr));
    const TestVideo video{kWidth, kHeight, false, 1};
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(run.frames.size(), 1u);
    EXPECT_NE(run.frames[0].bytes, plugintest::TestFrame(video, 0));
}

// The file is read once per path: writing another picture under the same name and setting the
// same path again changes nothing.
TEST_F(PhotoFramePluginTest, TheSamePathTwiceLoadsOnce) {
    const TestVideo video{kWidth, kHeight, false, 1};
    ASSERT_EQ(Play(video).frames.size(), 1u);  // connected once: the format is known
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    const std::vector<Argb> clear(kWidth * kHeight, Argb{0, 0, 0, 0});
    ASSERT_TRUE(pngtest::WritePng(picture_, kWidth, kHeight, clear));
    ASSERT_EQ(S_OK, params_->SetFramePath(picture_.c_str()));
    const plugintest::GraphResult run = Play(video);
    ASSERT_EQ(run.frames.size(), 1u);
    EXPECT_NE(run.frames[0].bytes, plugintest::TestFrame(video, 0)) << "the picture was read again";
}

TEST_F(PhotoFramePluginTest, WithoutAPathFramesPassUnchanged) {
    EXPECT_EQ(Path(), L"");
    const TestVideo video{kWidth, kHeight, false, 3};
    ExpectUnchanged(Play(video), video);
}

} // namespace
