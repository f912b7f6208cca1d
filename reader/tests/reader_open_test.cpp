// Opening files: the codes for missing, empty and unreadable files, the formats and kind of a clip,
// OpenFileEx's described-only sound, and the stream-flag methods on Wine's graphs.
#include <algorithm>
#include <cstring>

#include "reader_fixture.h"

namespace {

using readertest::ClipSpec;

class ReaderOpenTest : public readertest::ReaderTest {};

TEST_F(ReaderOpenTest, MissingEmptyAndUnreadableFilesGiveTheirCodes) {
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reader_->OpenFile(folder_.File("absent.avi").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reader_->OpenFile(nullptr));
    EXPECT_EQ(E_FAIL, reader_->OpenFile(MakeFile("empty.avi", {}).c_str()));
    std::vector<BYTE> noise(20000);
    unsigned state = 12345;
    for (BYTE& b : noise)
        b = static_cast<BYTE>((state = state * 1103515245u + 12345u) >> 16);
    EXPECT_EQ(ERROR_OPEN_FAILED, reader_->OpenFile(MakeFile("noise.bin", noise).c_str()));
    EXPECT_EQ(E_FAIL, reader_->HasVideo());
    EXPECT_EQ(E_FAIL, reader_->HasAudio());
    int kind = -1;
    EXPECT_EQ(S_OK, reader_->GetFileType(&kind));
    EXPECT_EQ(READER_KIND_UNKNOWN, kind) << "the trial graph finds nothing in random bytes";
    HGLOBAL frame = reinterpret_cast<HGLOBAL>(1);
    EXPECT_EQ(E_FAIL, reader_->ReadVideoFrame(-1, &frame));
    EXPECT_EQ(nullptr, frame);
}

TEST_F(ReaderOpenTest, AnAviClaimingNoStreamsIsToldByTheTrialGraph) {
    std::vector<uint8_t> clip = qelmedia::BuildAviClip(ClipSpec(false));
    ASSERT_GT(clip.size(), 60u);
    std::fill(clip.begin() + 56, clip.begin() + 60, 0); // the main header's stream count
    const HRESULT opened = reader_->OpenFile(MakeFile("nostreams.avi", clip).c_str());
    int kind = -1;
    EXPECT_EQ(S_OK, reader_->GetFileType(&kind));
    EXPECT_EQ(READER_KIND_AVI_AUDIO_ONLY, kind) << "the header walk refuses it; the trial graph finds an AVI";
    EXPECT_EQ(S_OK, opened);
}

TEST_F(ReaderOpenTest, MpegTwoWithoutItsOutsideSplitterEndsInACleanCode) {
    // An MPEG-2 sequence header and extension: kind 6, whose splitter is another vendor's filter that
    // this system does not have; neither graph can be built.
    std::vector<BYTE> mpeg2(4096, 0xFF);
    const BYTE head[] = {0, 0, 1, 0xB3, 0x14, 0x00, 0xF0, 0x13, 0, 0, 1, 0xB5, 0x14, 0x8A};
    std::copy(head, head + sizeof head, mpeg2.begin() + 8);
    EXPECT_EQ(ERROR_OPEN_FAILED, reader_->OpenFile(MakeFile("clip.m2v", mpeg2).c_str()));
    int kind = 0;
    EXPECT_EQ(S_OK, reader_->GetFileType(&kind));
    EXPECT_EQ(READER_KIND_MPEG2, kind);
    EXPECT_EQ(E_FAIL, reader_->HasVideo());
}

TEST_F(ReaderOpenTest, AClipWithSoundOpensWithBothFormats) {
    const std::string clip = MakeClip("av.avi", ClipSpec(true));
    ASSERT_EQ(S_OK, reader_->OpenFile(clip.c_str()));
    EXPECT_EQ(S_OK, reader_->HasVideo());
    EXPECT_EQ(S_OK, reader_->HasAudio());
    int kind = 0;
    EXPECT_EQ(S_OK, reader_->GetFileType(&kind));
    EXPECT_EQ(READER_KIND_AVI, kind);

    VIDEOINFO video;
    ASSERT_EQ(S_OK, reader_->GetVideoFormat(&video));
    EXPECT_EQ(64, video.bmiHeader.biWidth);
    EXPECT_EQ(48, video.bmiHeader.biHeight);
    EXPECT_EQ(24, video.bmiHeader.biBitCount);
    EXPECT_EQ(1000000, video.AvgTimePerFrame);
    const BYTE* tail = reinterpret_cast<const BYTE*>(&video) + sizeof(VIDEOINFOHEADER);
    EXPECT_EQ(std::vector<BYTE>(sizeof video - sizeof(VIDEOINFOHEADER), 0), std::vector<BYTE>(tail, tail + sizeof video - sizeof(VIDEOINFOHEADER)));

    WAVEFORMATEX audio;
    ASSERT_EQ(S_OK, reader_->GetAudioFormat(&audio));
    EXPECT_EQ(WAVE_FORMAT_PCM, audio.wFormatTag);
    EXPECT_EQ(1, audio.nChannels);
    EXPECT_EQ(8000u, audio.nSamplesPerSec);
    EXPECT_EQ(2, audio.nBlockAlign);
    EXPECT_EQ(16, audio.wBitsPerSample);

    double seconds = 0;
    EXPECT_EQ(S_OK, reader_->get_Duration(&seconds, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(3.0, seconds);
    EXPECT_EQ(S_OK, reader_->get_Duration(&seconds, READER_STREAM_BOTH));
    EXPECT_DOUBLE_EQ(3.0, seconds);
}

TEST_F(ReaderOpenTest, OpenFileExDescribesTheSoundWithoutKeepingItsGraph) {
    const std::string clip = MakeClip("av.avi", ClipSpec(true));
    ASSERT_EQ(S_OK, reader_->OpenFileEx(clip.c_str()));
    EXPECT_EQ(S_OK, reader_->HasVideo());
    EXPECT_EQ(S_OK, reader_->HasAudio());
    WAVEFORMATEX audio;
    ASSERT_EQ(S_OK, reader_->GetAudioFormat(&audio));
    EXPECT_EQ(8000u, audio.nSamplesPerSec);
    EXPECT_EQ(16, audio.wBitsPerSample);
    HGLOBAL data = nullptr;
    LONG bytes = -1;
    EXPECT_EQ(E_FAIL, reader_->ReadAudioData(0.5, 1.0, &data, &bytes)) << "no sound graph to read from";
    EXPECT_EQ(nullptr, data);
    readertest::GlobalBlock frame;
    EXPECT_EQ(S_OK, reader_->ReadVideoFrame(-3, frame.Out()));
    EXPECT_EQ("", readertest::CompareFrameBlock(frame.Get(), 3, 64, 48));
}

TEST_F(ReaderOpenTest, FormatQueriesZeroTheirOutputWithoutTheStream) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("silent.avi", ClipSpec(false)).c_str()));
    WAVEFORMATEX audio;
    std::memset(&audio, 0xCC, sizeof audio);
    EXPECT_EQ(E_FAIL, reader_->GetAudioFormat(&audio));
    EXPECT_EQ(0u, audio.nSamplesPerSec);
    EXPECT_EQ(0, audio.wFormatTag);
    EXPECT_EQ(E_FAIL, reader_->GetFileType(nullptr));
    EXPECT_EQ(E_NOTIMPL, reader_->Reserved1(1, 2));
    EXPECT_EQ(E_NOTIMPL, reader_->Reserved2(3));
    EXPECT_EQ(E_NOTIMPL, reader_->put_PrerollTime(1.0, READER_STREAM_VIDEO));
}

TEST_F(ReaderOpenTest, StreamFlagsSelectGraphsAndMissingOnesAnswer87) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("silent.avi", ClipSpec(false)).c_str()));
    double seconds = -1;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->get_Duration(&seconds, READER_STREAM_AUDIO));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->get_Duration(&seconds, 0));
    EXPECT_EQ(S_OK, reader_->get_Duration(&seconds, READER_STREAM_BOTH)) << "the stream that is there answers";
    EXPECT_DOUBLE_EQ(3.0, seconds);

    // Both flags without sound: the picture is positioned all the same, the answer is 87.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->put_CurrentPosition(1.5, READER_STREAM_BOTH));
    EXPECT_EQ(S_OK, reader_->get_CurrentPosition(&seconds, READER_STREAM_BOTH));
    EXPECT_DOUBLE_EQ(1.5, seconds);
    EXPECT_EQ(S_OK, reader_->put_CurrentPosition(9.0, READER_STREAM_VIDEO)) << "clamped to the duration";
    EXPECT_EQ(S_OK, reader_->get_CurrentPosition(&seconds, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(3.0, seconds);
    EXPECT_EQ(S_OK, reader_->put_CurrentPosition(-2.0, READER_STREAM_VIDEO));
    EXPECT_EQ(S_OK, reader_->get_CurrentPosition(&seconds, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(0.0, seconds);

    EXPECT_EQ(S_OK, reader_->put_StopTime(2.0, READER_STREAM_VIDEO));
    EXPECT_EQ(S_OK, reader_->get_StopTime(&seconds, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(2.0, seconds);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->get_StopTime(&seconds, READER_STREAM_AUDIO));
    EXPECT_EQ(0.0, seconds) << "the output is cleared first";

    double rate = 0;
    EXPECT_EQ(S_OK, reader_->get_Rate(&rate, READER_STREAM_VIDEO));
    EXPECT_DOUBLE_EQ(1.0, rate);
    EXPECT_EQ(E_NOTIMPL, reader_->put_Rate(1.0, READER_STREAM_BOTH)) << "the sound graph has no seeking";
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->put_Rate(1.0, 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reader_->get_Rate(&rate, READER_STREAM_AUDIO));
}

// Uncompressed clips pass through no decoder, so both names are empty: their lengths are 0 and a
// buffer given for one is left as it was, without even a terminator.
TEST_F(ReaderOpenTest, EmptyFilterNamesHaveNoLengthAndWriteNothing) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("av.avi", ClipSpec(true)).c_str()));
    EXPECT_EQ(E_FAIL, reader_->GetStreamFilterNames(nullptr, nullptr, nullptr, nullptr));
    int videoLength = -1, audioLength = -1;
    ASSERT_EQ(S_OK, reader_->GetStreamFilterNames(nullptr, &videoLength, nullptr, &audioLength));
    EXPECT_EQ(0, videoLength);
    EXPECT_EQ(0, audioLength);
    char video[8];
    std::memset(video, 'x', sizeof video);
    int given = 4;
    EXPECT_EQ(S_OK, reader_->GetStreamFilterNames(video, &given, nullptr, nullptr));
    EXPECT_EQ(std::string(8, 'x'), std::string(video, 8));
    EXPECT_EQ(4, given) << "the length given stays";
}

TEST_F(ReaderOpenTest, AnOpenReplacesTheLastFileAndKeepsNothingOfIt) {
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("av.avi", ClipSpec(true)).c_str()));
    ASSERT_EQ(S_OK, reader_->OpenFile(MakeClip("silent.avi", ClipSpec(false)).c_str()));
    EXPECT_EQ(S_OK, reader_->HasVideo());
    EXPECT_EQ(E_FAIL, reader_->HasAudio());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reader_->OpenFile(folder_.File("gone.avi").c_str()));
    EXPECT_EQ(E_FAIL, reader_->HasVideo());
}

} // namespace
