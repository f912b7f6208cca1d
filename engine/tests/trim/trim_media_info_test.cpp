// Reading a file's media information through a rendered graph, on a generated clip.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "Vostrel.h"
#include "avi_clip.h"
#include "wav_file.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

namespace {

class TrimMediaInfoTest : public qeltest::ComTest {};

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST_F(TrimMediaInfoTest, NullArgumentsGiveZeroAndLeaveTheRecord) {
    _TrimMediaInfo info = {};
    info.nWidth = 7;
    EXPECT_EQ(0, CVideoTrim::GetMediaInfo(nullptr, &info));
    EXPECT_EQ(7, info.nWidth);
    wchar_t file[] = L"C:\\none.avi";
    EXPECT_EQ(0, CVideoTrim::GetMediaInfo(file, nullptr));
}

TEST_F(TrimMediaInfoTest, ThreeSecondClipGivesLengthFramesSizeAndSeeking) {
    qeltest::TempDir dir;
    const std::string path = dir.File("clip.avi");
    qelmedia::AviClipFormat format;   // 64x48, 10 frames a second, 30 frames
    const std::vector<uint8_t> bytes = qelmedia::BuildAviClip(format);
    ASSERT_FALSE(bytes.empty());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    std::wstring wide = Widen(path);
    _TrimMediaInfo info = {};
    const int result = CVideoTrim::GetMediaInfo(&wide[0], &info);
    EXPECT_EQ(30000000, info.llDuration);
    EXPECT_EQ(30, info.llFrames);
    EXPECT_TRUE(info.bHasVideo);
    EXPECT_EQ(64, info.nWidth);
    EXPECT_EQ(48, info.nHeight);
    EXPECT_TRUE(info.bCanSeekForward);
    EXPECT_TRUE(info.bCanSeekBackward);
    // No sound: the result is the failure of the sound lookups.
    EXPECT_FALSE(info.bHasAudio);
    EXPECT_NE(0, result);
}

TEST_F(TrimMediaInfoTest, MissingFileLeavesTheRecordZero) {
    qeltest::TempDir dir;
    std::wstring wide = Widen(dir.File("absent.avi"));
    _TrimMediaInfo info = {};
    info.nWidth = 5;
    const int result = CVideoTrim::GetMediaInfo(&wide[0], &info);
    EXPECT_NE(0, result);
    EXPECT_EQ(0, info.nWidth);
    EXPECT_EQ(0, info.llDuration);
    EXPECT_FALSE(info.bHasVideo);
}

TEST_F(TrimMediaInfoTest, SoundOnlyFileHasAudioAndNoVideo) {
    qeltest::TempDir dir;
    const std::string path = dir.File("sound.wav");
    qelmedia::AviClipFormat format;   // its 3 s sound track, 8000 Hz mono
    ASSERT_TRUE(qelmedia::WriteWavFile(path, format));
    std::wstring wide = Widen(path);
    _TrimMediaInfo info = {};
    info.nBitRate = 9;
    const int result = CVideoTrim::GetMediaInfo(&wide[0], &info);
    if (result != 0 && !info.bHasAudio)
        GTEST_SKIP() << "no sound renderer here (result 0x" << std::hex << result << "): the file cannot play";
    EXPECT_EQ(0, result);
    EXPECT_TRUE(info.bHasAudio);
    EXPECT_FALSE(info.bHasVideo);
    EXPECT_EQ(0, info.nWidth);
    EXPECT_EQ(0, info.nHeight);
    EXPECT_EQ(0, info.nBitRate);
}

} // namespace
