// The generated clips must be AVI files a real demultiplexer accepts: walk the RIFF tree that the
// writer produced and check every header field, chunk and index entry against the clip it describes.
#include "avi_clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace {

using qelmedia::AviClipFormat;

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}
std::string Id(const std::vector<uint8_t>& b, size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

struct Chunk {
    std::string id;
    size_t data; // offset of the chunk's data (after id and size; for a LIST after its form type)
    uint32_t size;
};

// The chunks directly inside [begin, end), each checked to lie within it.
std::vector<Chunk> Children(const std::vector<uint8_t>& b, size_t begin, size_t end) {
    std::vector<Chunk> chunks;
    size_t at = begin;
    while (at + 8 <= end) {
        Chunk chunk{Id(b, at), at + 8, U32(b, at + 4)};
        EXPECT_LE(chunk.data + chunk.size, end) << "chunk " << chunk.id << " overruns its parent";
        chunks.push_back(chunk);
        at = chunk.data + chunk.size + (chunk.size & 1);
    }
    EXPECT_EQ(end, at) << "bytes left over after the last chunk";
    return chunks;
}

const Chunk* ListOf(const std::vector<Chunk>& chunks, const std::vector<uint8_t>& b, const char* form) {
    for (const Chunk& c : chunks)
        if (c.id == "LIST" && Id(b, c.data) == form)
            return &c;
    return nullptr;
}

class AviClipLayout : public ::testing::TestWithParam<AviClipFormat> {};

TEST_P(AviClipLayout, HeadersChunksAndIndexDescribeTheClip) {
    const AviClipFormat clip = GetParam();
    const std::vector<uint8_t> file = qelmedia::BuildAviClip(clip);
    ASSERT_GT(file.size(), 12u);
    ASSERT_EQ("RIFF", Id(file, 0));
    ASSERT_EQ(file.size() - 8, U32(file, 4));
    ASSERT_EQ("AVI ", Id(file, 8));

    const std::vector<Chunk> top = Children(file, 12, file.size());
    ASSERT_EQ(3u, top.size());
    const Chunk* hdrl = ListOf(top, file, "hdrl");
    const Chunk* movi = ListOf(top, file, "movi");
    ASSERT_TRUE(hdrl && movi);
    EXPECT_EQ("idx1", top[2].id);

    const size_t frameBytes = qelmedia::Rgb24Stride(clip.width) * clip.height;
    const uint32_t streams = clip.withAudio ? 2 : 1;
    const std::vector<Chunk> header = Children(file, hdrl->data + 4, hdrl->data + hdrl->size);
    ASSERT_EQ(1 + streams, header.size());
    ASSERT_EQ("avih", header[0].id);
    ASSERT_EQ(56u, header[0].size);
    const size_t avih = header[0].data;
    EXPECT_EQ(1000000u / clip.framesPerSecond, U32(file, avih));
    EXPECT_EQ(0x110u, U32(file, avih + 12)); // has index, interleaved
    EXPECT_EQ(static_cast<uint32_t>(clip.frameCount), U32(file, avih + 16));
    EXPECT_EQ(streams, U32(file, avih + 24));
    EXPECT_EQ(static_cast<uint32_t>(clip.width), U32(file, avih + 32));
    EXPECT_EQ(static_cast<uint32_t>(clip.height), U32(file, avih + 36));

    // Video stream: rate/scale give the frame rate, the format is a bottom-up 24-bit BI_RGB header.
    ASSERT_EQ("LIST", header[1].id);
    const std::vector<Chunk> video = Children(file, header[1].data + 4, header[1].data + header[1].size);
    ASSERT_EQ(2u, video.size());
    ASSERT_EQ("strh", video[0].id);
    EXPECT_EQ("vids", Id(file, video[0].data));
    EXPECT_EQ(1u, U32(file, video[0].data + 20));
    EXPECT_EQ(static_cast<uint32_t>(clip.framesPerSecond), U32(file, video[0].data + 24));
    EXPECT_EQ(static_cast<uint32_t>(clip.frameCount), U32(file, video[0].data + 32));
    ASSERT_EQ("strf", video[1].id);
    ASSERT_EQ(40u, video[1].size);
    EXPECT_EQ(static_cast<uint32_t>(clip.width), U32(file, video[1].data + 4));
    EXPECT_EQ(static_cast<uint32_t>(clip.height), U32(file, video[1].data + 8));
    EXPECT_EQ(24u, U16(file, video[1].data + 14));
    EXPECT_EQ(0u, U32(file, video[1].data + 16));
    EXPECT_EQ(frameBytes, U32(file, video[1].data + 20));

    const int samplesPerFrame = qelmedia::AudioSamplesPerFrame(clip);
    if (clip.withAudio) {
        const std::vector<Chunk> audio = Children(file, header[2].data + 4, header[2].data + header[2].size);
        ASSERT_EQ(2u, audio.size());
        EXPECT_EQ("auds", Id(file, audio[0].data));
        EXPECT_EQ(static_cast<uint32_t>(samplesPerFrame * clip.frameCount), U32(file, audio[0].data + 32));
        EXPECT_EQ(2u, U32(file, audio[0].data + 44)); // sample size = block align
        ASSERT_EQ(18u, audio[1].size);                // WAVEFORMATEX without extra bytes
        EXPECT_EQ(1u, U16(file, audio[1].data));      // PCM
        EXPECT_EQ(1u, U16(file, audio[1].data + 2));
        EXPECT_EQ(static_cast<uint32_t>(clip.audioSampleRate), U32(file, audio[1].data + 4));
        EXPECT_EQ(static_cast<uint32_t>(clip.audioSampleRate * 2), U32(file, audio[1].data + 8));
        EXPECT_EQ(16u, U16(file, audio[1].data + 14));
    }

    // 'movi': the frames in order with exactly the pixels of ClipFrame, sound interleaved after each.
    const std::vector<Chunk> data = Children(file, movi->data + 4, movi->data + movi->size);
    ASSERT_EQ(static_cast<size_t>(clip.frameCount) * streams, data.size());
    for (int frame = 0; frame < clip.frameCount; ++frame) {
        const Chunk& pictures = data[frame * streams];
        ASSERT_EQ("00db", pictures.id);
        ASSERT_EQ(frameBytes, pictures.size);
        const std::vector<uint8_t> expected = qelmedia::ClipFrame(frame, clip.width, clip.height);
        EXPECT_EQ(0, std::memcmp(expected.data(), file.data() + pictures.data, frameBytes))
            << "frame " << frame;
        if (clip.withAudio) {
            EXPECT_EQ("01wb", data[frame * streams + 1].id);
            EXPECT_EQ(static_cast<uint32_t>(samplesPerFrame * clip.audioBitsPerSample / 8), data[frame * streams + 1].size);
        }
    }

    // Index: one key-frame entry a chunk, offsets counted from the 'movi' form type.
    ASSERT_EQ(data.size() * 16, top[2].size);
    for (size_t i = 0; i < data.size(); ++i) {
        const size_t entry = top[2].data + 16 * i;
        EXPECT_EQ(data[i].id, Id(file, entry));
        EXPECT_EQ(0x10u, U32(file, entry + 4));
        EXPECT_EQ(data[i].data - 8, movi->data + U32(file, entry + 8)) << "index entry " << i;
        EXPECT_EQ(data[i].size, U32(file, entry + 12));
    }
}

AviClipFormat Spec(int width, int height, int fps, int frames, bool audio) {
    AviClipFormat clip;
    clip.width = width;
    clip.height = height;
    clip.framesPerSecond = fps;
    clip.frameCount = frames;
    clip.withAudio = audio;
    return clip;
}

INSTANTIATE_TEST_SUITE_P(Sizes, AviClipLayout,
                         ::testing::Values(Spec(64, 48, 10, 30, false), Spec(64, 48, 10, 30, true),
                                           Spec(33, 19, 7, 5, true), Spec(1, 1, 25, 1, false)));

TEST(AviClip, FramesAreBottomUpWithZeroedRowPadding) {
    const int width = 33, height = 19;
    const std::vector<uint8_t> frame = qelmedia::ClipFrame(4, width, height);
    const size_t stride = qelmedia::Rgb24Stride(width);
    ASSERT_EQ(100u, stride);
    ASSERT_EQ(stride * height, frame.size());
    // First stored row is the bottom picture row.
    const qelmedia::Bgr bottomLeft = qelmedia::ClipPixel(4, 0, height - 1);
    EXPECT_EQ(bottomLeft.blue, frame[0]);
    EXPECT_EQ(bottomLeft.green, frame[1]);
    EXPECT_EQ(bottomLeft.red, frame[2]);
    const qelmedia::Bgr topRight = qelmedia::ClipPixel(4, width - 1, 0);
    const size_t last = (height - 1) * stride + 3 * (width - 1);
    EXPECT_EQ(topRight.blue, frame[last]);
    EXPECT_EQ(topRight.red, frame[last + 2]);
    for (int row = 0; row < height; ++row)
        EXPECT_EQ(0, frame[row * stride + 99]) << "padding of row " << row;
}

TEST(AviClip, NeighbouringFramesDifferInEveryPixel) {
    for (int frame = 0; frame < 30; ++frame)
        EXPECT_NE(qelmedia::ClipPixel(frame, 5, 5).red, qelmedia::ClipPixel(frame + 1, 5, 5).red);
}

TEST(AviClip, UnusableSpecsGiveNoFile) {
    EXPECT_TRUE(qelmedia::BuildAviClip(Spec(0, 48, 10, 30, false)).empty());
    EXPECT_TRUE(qelmedia::BuildAviClip(Spec(64, -1, 10, 30, false)).empty());
    EXPECT_TRUE(qelmedia::BuildAviClip(Spec(64, 48, 0, 30, false)).empty());
    EXPECT_TRUE(qelmedia::BuildAviClip(Spec(64, 48, 10, 0, false)).empty());
    AviClipFormat slowAudio = Spec(64, 48, 10, 3, true);
    slowAudio.audioSampleRate = 5;
    EXPECT_TRUE(qelmedia::BuildAviClip(slowAudio).empty());
    EXPECT_FALSE(qelmedia::WriteAviClip("unused.avi", Spec(0, 0, 0, 0, false)));
}

} // namespace

namespace {

TEST(AviClipSound, EightBitRampTracksCarryTheirSamplesInOrder) {
    AviClipFormat clip = Spec(8, 4, 10, 3, true);
    clip.audioBitsPerSample = 8;
    clip.audioRamp = true;
    const std::vector<uint8_t> file = qelmedia::BuildAviClip(clip);
    ASSERT_FALSE(file.empty());
    const int perFrame = qelmedia::AudioSamplesPerFrame(clip);
    const std::vector<uint8_t> track = qelmedia::ClipAudioBytes(clip, 0, perFrame * clip.frameCount);
    ASSERT_EQ(static_cast<size_t>(perFrame * clip.frameCount), track.size()) << "one byte a sample";
    EXPECT_EQ(0, track[39]);
    EXPECT_EQ(1, track[40]);
    // Each sound chunk holds the next slice of the track.
    for (int frame = 0; frame < clip.frameCount; ++frame) {
        const std::vector<uint8_t> slice = qelmedia::ClipAudioBytes(clip, frame * perFrame, perFrame);
        const auto at = std::search(file.begin(), file.end(), slice.begin(), slice.end());
        EXPECT_NE(file.end(), at) << "slice of frame " << frame;
    }
    AviClipFormat odd = clip;
    odd.audioBitsPerSample = 12;
    EXPECT_TRUE(qelmedia::BuildAviClip(odd).empty());
}

TEST(AviClipSound, SixteenBitRampNamesEverySample) {
    AviClipFormat clip = Spec(8, 4, 10, 3, true);
    clip.audioRamp = true;
    const std::vector<uint8_t> bytes = qelmedia::ClipAudioBytes(clip, 1000, 2);
    ASSERT_EQ(4u, bytes.size());
    EXPECT_EQ(static_cast<uint16_t>(7000), static_cast<uint16_t>(bytes[0] | bytes[1] << 8));
    EXPECT_EQ(static_cast<uint16_t>(7007), static_cast<uint16_t>(bytes[2] | bytes[3] << 8));
}

} // namespace
