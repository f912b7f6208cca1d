// The sound-only file must be a WAV that a real parser accepts: check its header against the clip and
// its samples against the clip's sound track.
#include "wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::string Id(const std::vector<uint8_t>& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

TEST(WavFileTest, HeaderDescribesTheClipsSoundTrackAndTheDataIsIt) {
    qelmedia::AviClipFormat clip;   // 3 s at 8000 Hz, 16 bits
    const std::vector<uint8_t> wav = qelmedia::BuildWavFile(clip);
    ASSERT_EQ(44u + 3 * 8000 * 2, wav.size());
    EXPECT_EQ("RIFF", Id(wav, 0));
    EXPECT_EQ(wav.size() - 8, U32(wav, 4));
    EXPECT_EQ("WAVE", Id(wav, 8));
    EXPECT_EQ("fmt ", Id(wav, 12));
    EXPECT_EQ(1u, U16(wav, 20));
    EXPECT_EQ(1u, U16(wav, 22));
    EXPECT_EQ(8000u, U32(wav, 24));
    EXPECT_EQ(16000u, U32(wav, 28));
    EXPECT_EQ(2u, U16(wav, 32));
    EXPECT_EQ(16u, U16(wav, 34));
    EXPECT_EQ("data", Id(wav, 36));
    EXPECT_EQ(3u * 8000 * 2, U32(wav, 40));
    const std::vector<uint8_t> pcm = qelmedia::ClipAudioBytes(clip, 0, 3 * 8000);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), wav.begin() + 44));
}

TEST(WavFileTest, OddByteCountsArePaddedAndBadFormatsRefused) {
    qelmedia::AviClipFormat clip;
    clip.audioBitsPerSample = 8;
    clip.audioSampleRate = 11;   // 1 sample a frame at 10 fps: 30 bytes
    clip.frameCount = 31;        // 31 bytes: one pad byte
    const std::vector<uint8_t> wav = qelmedia::BuildWavFile(clip);
    ASSERT_EQ(44u + 31 + 1, wav.size());
    EXPECT_EQ(31u, U32(wav, 40));
    EXPECT_EQ(0, wav.back());
    clip.audioBitsPerSample = 12;
    EXPECT_TRUE(qelmedia::BuildWavFile(clip).empty());
}

} // namespace
