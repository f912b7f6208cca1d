// Whether a stopped recording holds a picture, judged from its file: only a file read to its end
// without a video chunk counts as empty; anything the reading cannot go through keeps the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_file.h"
#include "recorded_video.h"
#include "recording_checks.h"

namespace {

using avirecovery::RecordedVideo;
using namespace recordingtest;

using Bytes = std::vector<std::uint8_t>;

RecordedVideo Judge(const Bytes& bytes) {
    MemoryFile file(bytes);
    const RecordedVideo judged = avirecovery::FindRecordedVideo(file);
    EXPECT_EQ(bytes, file.Bytes()) << "judging only reads";
    return judged;
}

void SetRiffSize(Bytes& b) {
    const std::uint32_t size = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i)
        b[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
}

// The header as a multiplexer closes a recording: the data list and an index with its sizes, and
// the padding Wine's leaves behind the RIFF.
Bytes Closed(const std::vector<std::pair<const char*, std::uint32_t>>& chunks) {
    Bytes b = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    for (const auto& [id, size] : chunks)
        AppendChunk(b, id, size, 0x5A);
    const std::uint32_t movi = static_cast<std::uint32_t>(b.size() - (kDataStart - 12) - 8);
    for (int i = 0; i < 4; ++i)
        b[kDataStart - 8 + i] = static_cast<std::uint8_t>(movi >> (8 * i));
    AppendChunk(b, "idx1", 16 * static_cast<std::uint32_t>(chunks.size()), 0);
    SetRiffSize(b);
    b.insert(b.end(), 8, 0);
    return b;
}

TEST(RecordedVideo, AFileWithoutAVideoChunkIsEmpty) {
    EXPECT_EQ(RecordedVideo::None, Judge(Closed({})));
    EXPECT_EQ(RecordedVideo::None, Judge(Closed({{"01wb", 400}, {"ix01", 32}, {"JUNK", 100}})));
    Bytes unfinished = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    AppendChunk(unfinished, "01wb", 33, 1); // its pad byte too
    EXPECT_EQ(RecordedVideo::None, Judge(unfinished));
}

TEST(RecordedVideo, AnyVideoChunkInAnyPartKeepsTheFile) {
    EXPECT_EQ(RecordedVideo::Frames, Judge(Closed({{"00db", 96}})));
    EXPECT_EQ(RecordedVideo::Frames, Judge(Closed({{"01wb", 400}, {"00dc", 50}})));
    EXPECT_EQ(RecordedVideo::Frames, Judge(Closed({{"00db", 0}}))) << "a dropped frame's empty chunk";
    EXPECT_EQ(RecordedVideo::Frames, Judge(KilledRecording(1, 96, 30))) << "cut short after a frame";

    // Only the second part holds a frame.
    Bytes parts = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    AppendChunk(parts, "01wb", 400, 1);
    parts.insert(parts.end(), {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', 'X'});
    parts.insert(parts.end(), {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'm', 'o', 'v', 'i'});
    AppendChunk(parts, "00db", 96, 2);
    EXPECT_EQ(RecordedVideo::Frames, Judge(parts));

    // Inside a 'rec ' list.
    Bytes grouped = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    grouped.insert(grouped.end(), {'L', 'I', 'S', 'T', 108, 0, 0, 0, 'r', 'e', 'c', ' '});
    AppendChunk(grouped, "00db", 96, 3);
    EXPECT_EQ(RecordedVideo::Frames, Judge(grouped));
}

TEST(RecordedVideo, WhatCannotBeReadThroughIsNotCalledEmpty) {
    Bytes zeros = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    AppendChunk(zeros, "01wb", 400, 1);
    zeros.insert(zeros.end(), 300, 0); // a lost header: a frame may lie behind it
    AppendChunk(zeros, "00db", 96, 1);
    EXPECT_EQ(RecordedVideo::Unknown, Judge(zeros));

    Bytes cut = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    AppendChunk(cut, "01wb", 400, 1);
    cut.resize(cut.size() - 100);
    EXPECT_EQ(RecordedVideo::Unknown, Judge(cut)) << "a chunk cut off at the end";

    Bytes noData = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    noData.resize(kDataStart - 12);
    EXPECT_EQ(RecordedVideo::Unknown, Judge(noData)) << "no data list";

    Bytes wave = Closed({});
    wave[8] = 'W', wave[9] = 'A', wave[10] = 'V', wave[11] = 'E';
    EXPECT_EQ(RecordedVideo::Unknown, Judge(wave));
    EXPECT_EQ(RecordedVideo::Unknown, Judge(Bytes(5, 'R')));
    EXPECT_EQ(RecordedVideo::Unknown, Judge(Bytes()));
}

} // namespace
