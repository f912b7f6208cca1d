// Compressor lists and choice: Wine offers three video compressors and no audio compressor.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

namespace enginetest {
namespace {

class CompressorsTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
        ASSERT_EQ(0, engine.EnumVideoCprFilter());
    }
    std::vector<std::wstring> VideoCompressorNames() {
        std::vector<std::wstring> names;
        for (int i = 0; i < engine.GetCprNum(DEVICE_VIDEO); ++i) {
            WCHAR name[128] = {0};
            int hasPages = -1;
            EXPECT_TRUE(engine.GetCprCap(DEVICE_VIDEO, i, name, 127, &hasPages));
            EXPECT_TRUE(hasPages == 0 || hasPages == 1);
            names.push_back(name);
        }
        return names;
    }
    int IndexOf(const std::wstring& name) {
        const auto names = VideoCompressorNames();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return static_cast<int>(i);
        return -1;
    }
    HostWindow host;
    EngineProbe engine;
};

TEST_F(CompressorsTest, ListsWinesVideoCompressorsAndNoAudioCompressor) {
    const auto names = VideoCompressorNames();
    EXPECT_GE(names.size(), 3u);
    EXPECT_NE(-1, IndexOf(L"Cinepak Video codec"));
    EXPECT_NE(-1, IndexOf(L"Wine MS-RLE video codec"));
    EXPECT_NE(-1, IndexOf(L"Wine Video 1 video codec"));
    EXPECT_EQ(static_cast<HRESULT>(1168), engine.EnumAudioCprFilter());
    EXPECT_EQ(0, engine.GetCprNum(DEVICE_AUDIO));
    EXPECT_EQ(0, engine.GetCprNum(static_cast<DeviceType>(9))); // any type but 1 reads the audio list
}

TEST_F(CompressorsTest, NameIsCutToTheGivenLengthAndTerminated) {
    WCHAR name[8];
    wmemset(name, L'#', 8);
    int hasPages = -1;
    ASSERT_TRUE(engine.GetCprCap(DEVICE_VIDEO, 0, name, 4, &hasPages));
    EXPECT_EQ(4u, wcslen(name));
    EXPECT_EQ(VideoCompressorNames()[0].substr(0, 4), std::wstring(name));
    EXPECT_EQ(L'#', name[5]);
}

TEST_F(CompressorsTest, GetCprCapRefusesBadArguments) {
    WCHAR name[32];
    int hasPages = 0;
    const int count = engine.GetCprNum(DEVICE_VIDEO);
    EXPECT_FALSE(engine.GetCprCap(DEVICE_VIDEO, 0, nullptr, 31, &hasPages));
    EXPECT_FALSE(engine.GetCprCap(DEVICE_VIDEO, 0, name, 31, nullptr));
    EXPECT_FALSE(engine.GetCprCap(DEVICE_VIDEO, -1, name, 31, &hasPages));
    EXPECT_FALSE(engine.GetCprCap(DEVICE_VIDEO, count, name, 31, &hasPages));
    EXPECT_FALSE(engine.GetCprCap(DEVICE_AUDIO, 0, name, 31, &hasPages));
}

TEST_F(CompressorsTest, ChoosingByIndexChecksTheIndex) {
    int hasPages = 5;
    const int count = engine.GetCprNum(DEVICE_VIDEO);
    EXPECT_FALSE(engine.SetCprByIndex(DEVICE_VIDEO, count, &hasPages));
    EXPECT_FALSE(engine.SetCprByIndex(DEVICE_VIDEO, -2, &hasPages));
    EXPECT_FALSE(engine.SetCprByIndex(DEVICE_AUDIO, 0, &hasPages));
    EXPECT_EQ(5, hasPages);
    // -1 removes the current one (none here) and reports no pages.
    EXPECT_TRUE(engine.SetCprByIndex(DEVICE_VIDEO, -1, &hasPages));
    EXPECT_EQ(0, hasPages);
    EXPECT_TRUE(engine.SetCprByIndex(DEVICE_AUDIO, -1, nullptr));
    EXPECT_EQ(-1, engine.m_nCurVideoCpr);
}

TEST_F(CompressorsTest, ChoosingByNameFindsTheExactNameOnly) {
    int index = -7;
    int hasPages = 5;
    EXPECT_FALSE(engine.SetCprByName(DEVICE_VIDEO, L"cinepak video codec", &index, &hasPages));
    EXPECT_FALSE(engine.SetCprByName(DEVICE_VIDEO, L"No Such Codec", &index, &hasPages));
    EXPECT_EQ(-7, index);
    // A null name removes the compressor.
    EXPECT_TRUE(engine.SetCprByName(DEVICE_VIDEO, nullptr, &index, &hasPages));
    EXPECT_EQ(0, hasPages);

    // Without a camera the trial connection cannot be made: the compressor is not kept, but the
    // index of the name is reported.
    const int rle = IndexOf(L"Wine MS-RLE video codec");
    ASSERT_NE(-1, rle);
    EXPECT_FALSE(engine.SetCprByName(DEVICE_VIDEO, L"Wine MS-RLE video codec", &index, &hasPages));
    EXPECT_EQ(rle, index);
    EXPECT_EQ(-1, engine.m_nCurVideoCpr);
    EXPECT_FALSE(engine.SetCprByIndex(DEVICE_VIDEO, rle, &hasPages));
    EXPECT_EQ(-1, engine.m_nCurVideoCpr);
}

} // namespace
} // namespace enginetest
