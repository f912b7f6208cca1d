// Stills of a played file, written by the FrameSnatch.exe stand-in that sits beside this test, and
// checked pixel by pixel against the generated clip.
#include <windows.h>
#include <dshow.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <fstream>

#include "GraphBuilder.h"
#include "bmp_file.h"
#include "qeltest/audio_device_lock.h"
#include "player_fixture.h"
#include "save_dialog_answer.h"

namespace {

using playertest::ClipSpec;
using playertest::CompareBmpWithClipFrame;
using playertest::Wide;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PlayerSnapshotTest : public playertest::PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        // The engine library starts GDI+ for the process; the test does it itself to stand alone.
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr));
        clip_ = MakeClip("clip.avi", ClipSpec(30));
    }
    void TearDown() override {
        if (gdiplus_)
            Gdiplus::GdiplusShutdown(gdiplus_);
        PlayerTest::TearDown();
    }
    ULONG_PTR gdiplus_ = 0;
    std::string clip_;
    playertest::OwnerWindow owner_;
};

TEST_F(PlayerSnapshotTest, AFrameNumberSavesThatFrame) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), Wide(clip_).c_str(), 1));
    const std::string still = folder_.File("frame10.bmp");
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(still).c_str(), 10u));
    EXPECT_EQ("", CompareBmpWithClipFrame(still, 10, 64, 48));
    const std::string other = folder_.File("frame20.bmp");
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(other).c_str(), 20u));
    EXPECT_EQ("", CompareBmpWithClipFrame(other, 20, 64, 48));
}

TEST_F(PlayerSnapshotTest, TheCurrentFrameIsSavedAfterASeek) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), Wide(clip_).c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(10000000, &TIME_FORMAT_MEDIA_TIME, 0));
    const std::string still = folder_.File("current.bmp");
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(still).c_str()));
    EXPECT_EQ("", CompareBmpWithClipFrame(still, 10, 64, 48));
}

TEST_F(PlayerSnapshotTest, AnOldStillIsReplacedOrRemovedNeverPassedOff) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), Wide(clip_).c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(20000000, &TIME_FORMAT_MEDIA_TIME, 0));
    const std::string still = folder_.File("old.bmp");
    std::ofstream(still) << "an older picture";
    ASSERT_EQ(S_OK, player.OneSnapshot(Wide(still).c_str()));
    EXPECT_EQ("", CompareBmpWithClipFrame(still, 20, 64, 48));

    // The program cannot read this source: the old file is gone and the result says not written.
    const std::string text = folder_.File("notes.txt");
    std::ofstream(text) << "not media";
    std::ofstream(still) << "an older picture";
    EXPECT_FALSE(RunFrameSnatch(Wide(text).c_str(), Wide(still).c_str(), 0.0, 64, 48));
    EXPECT_FALSE(Exists(still));
}

TEST_F(PlayerSnapshotTest, RefusedRequestsStartNothing) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), Wide(clip_).c_str(), 0));
    const std::string still = folder_.File("refused.bmp");
    EXPECT_EQ(E_INVALIDARG, player.OneSnapshot(Wide(still).c_str(), 31u)) << "past the last frame";
    EXPECT_EQ(E_INVALIDARG, player.OneSnapshot(Wide(still).c_str())) << "no media detector without the flag";
    EXPECT_EQ(E_INVALIDARG, player.OneSnapshot());
    EXPECT_FALSE(Exists(still));

    CGraphBuilder withDetector;
    ASSERT_EQ(S_OK, withDetector.Init2(owner_.Handle(), Wide(clip_).c_str(), 1));
    const std::string readOnly = folder_.File("readonly.bmp");
    std::ofstream(readOnly) << "keep";
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(E_INVALIDARG, withDetector.OneSnapshot(Wide(readOnly).c_str()));
    EXPECT_EQ(E_INVALIDARG, withDetector.OneSnapshot(L""));
    EXPECT_EQ("keep", std::string(std::istreambuf_iterator<char>(std::ifstream(readOnly).rdbuf()), {}));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PlayerSnapshotTest, AFileWithoutVideoHasNoDetector) {
    qeltest::ScopedAudioDeviceLock soundDevice;
    ASSERT_TRUE(soundDevice.Held());
    // Sound only: a WAV file renders, but the detector finds no video stream.
    const std::string wav = folder_.File("tone.wav");
    {
        std::ofstream out(wav, std::ios::binary);
        const unsigned char header[44] = {'R', 'I', 'F',  'F',  0x44, 3,   0,    0,    'W', 'A', 'V',
                                          'E', 'f', 'm',  't',  ' ',  16,  0,    0,    0,   1,   0,
                                          1,   0,   0x40, 0x1F, 0,    0,   0x80, 0x3E, 0,   0,   2,
                                          0,   16,  0,    'd',  'a',  't', 'a',  0x20, 3,   0,   0};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.write(std::string(800, '\0').data(), 800);
    }
    CGraphBuilder player;
    const HRESULT hr = player.Init(owner_.Handle(), Wide(wav).c_str(), 1);
    if (FAILED(hr))
        GTEST_SKIP() << "this machine cannot render a WAV file without a sound device (0x" << std::hex << hr
                     << ")";
    EXPECT_EQ(E_INVALIDARG, player.OneSnapshot(Wide(folder_.File("none.bmp")).c_str()));
}

TEST_F(PlayerSnapshotTest, TheJpegStillIsConvertedFromTheProgramsBitmap) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), Wide(clip_).c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(10000000, &TIME_FORMAT_MEDIA_TIME, 0));
    const std::string chosen = folder_.File("Still.JPG");
    HRESULT hr;
    {
        playertest::SaveDialogAnswer answer(chosen);
        hr = player.OneSnapshot();
        ASSERT_TRUE(answer.Answered());
    }
    ASSERT_EQ(S_OK, hr);
    const std::string jpeg = folder_.File("Still.jpg");
    ASSERT_TRUE(Exists(jpeg));
    EXPECT_FALSE(Exists(folder_.File("Still.bmp"))) << "the intermediate bitmap is removed";
    const std::vector<uint8_t> bytes = qelmedia::ReadWholeFile(jpeg);
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xD8, bytes[1]) << "a JPEG file";
    const double difference = playertest::MeanDifferenceFromClipFrame(jpeg, 10, 64, 48);
    ASSERT_GE(difference, 0);
    EXPECT_LT(difference, 6.0) << "the JPEG shows frame 10";
    EXPECT_GT(playertest::MeanDifferenceFromClipFrame(jpeg, 12, 64, 48), difference);
}

TEST_F(PlayerSnapshotTest, TheBitmapDialogSavesTheChosenFrame) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), Wide(clip_).c_str(), 1));
    const std::string chosen = folder_.File("picked.bmp");
    HRESULT hr;
    {
        playertest::SaveDialogAnswer answer(chosen);
        hr = player.OneSnapshot(20u);
        ASSERT_TRUE(answer.Answered());
    }
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ("", CompareBmpWithClipFrame(chosen, 20, 64, 48));
}

TEST_F(PlayerSnapshotTest, CancelledDialogsSaveNothing) {
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), Wide(clip_).c_str(), 1));
    {
        playertest::SaveDialogAnswer cancel("");
        EXPECT_EQ(S_FALSE, player.OneSnapshot(10u));
        EXPECT_TRUE(cancel.Answered());
    }
    {
        playertest::SaveDialogAnswer cancel("");
        EXPECT_EQ(S_FALSE, player.OneSnapshot());
        EXPECT_TRUE(cancel.Answered());
    }
}

} // namespace
