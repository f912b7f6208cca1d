// The provisional header's shape and the finishing of recordings cut short: what is kept, what a
// finished or foreign file keeps (everything), and a finishing interrupted and run again.
#include <gtest/gtest.h>

#include <cstring>

#include "avi_recovery.h"
#include "memory_file.h"
#include "recording_checks.h"

namespace {

using avirecovery::FinishSummary;
using avirecovery::Outcome;
using namespace recordingtest;

TEST(ProvisionalHeader, FillsTheGapExactlyAndIsMarkedUnfinished) {
    const auto header = avirecovery::ProvisionalHeader({Video(640, 480)}, kDataStart);
    ASSERT_EQ(kDataStart, header.size());
    EXPECT_TRUE(avirecovery::LooksUnfinished(header.data(), header.size()));
    EXPECT_EQ("LIST", Tag(header, kDataStart - 12));
    EXPECT_EQ(0u, U32(header, kDataStart - 8));
    EXPECT_EQ("movi", Tag(header, kDataStart - 4));
    EXPECT_EQ(640u, U32(header, 24 + 40)) << "avih width";
    EXPECT_EQ(66666u, U32(header, 24 + 8)) << "microseconds a frame";
    // Without room, a gap too small for a JUNK chunk, or a stream it cannot describe: nothing.
    EXPECT_EQ(4096u, avirecovery::ProvisionalHeader({Video(8, 4)}, 4096).size());
    EXPECT_TRUE(avirecovery::ProvisionalHeader({Video(8, 4)}, 100).empty());
    auto shortFormat = Video(8, 4);
    shortFormat.format.resize(20);
    EXPECT_TRUE(avirecovery::ProvisionalHeader({shortFormat}, kDataStart).empty());
    EXPECT_TRUE(avirecovery::ProvisionalHeader({}, kDataStart).empty());
}

TEST(ProvisionalHeader, RefusesAGapOfOneToSevenBytesBeforeMovi) {
    // The header of one video stream with a 40-byte format: 12 + 12 + 64 + 12 + 64 + 48, then 'movi'.
    const std::uint64_t bare = 12 + 12 + 64 + 12 + 64 + 48 + 12;
    EXPECT_EQ(bare, avirecovery::ProvisionalHeader({Video(8, 4)}, bare).size());
    for (std::uint64_t extra = 1; extra < 8; ++extra)
        EXPECT_TRUE(avirecovery::ProvisionalHeader({Video(8, 4)}, bare + extra).empty()) << extra;
    EXPECT_EQ(bare + 8, avirecovery::ProvisionalHeader({Video(8, 4)}, bare + 8).size());
}

TEST(FinishUnfinishedAvi, KeepsEveryWholeFrameAndCutsThePartOne) {
    MemoryFile file(KilledRecording(21, 96, 50));
    FinishSummary summary;
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
    EXPECT_EQ(21u, summary.videoFrames);
    EXPECT_EQ(50u, summary.cutBytes);
    ExpectFinished(file.Bytes(), 21, 96);
    // Finished once, it is left alone.
    const auto once = file.Bytes();
    EXPECT_EQ(Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_EQ(once, file.Bytes());
}

TEST(FinishUnfinishedAvi, OddFramesKeepTheirPadAndEmptyFramesStayInTheIndex) {
    std::vector<std::uint8_t> bytes = KilledRecording(3, 7, 0);
    AppendChunk(bytes, "00db", 0, 0); // a frame the source skipped
    MemoryFile file(bytes);
    FinishSummary summary;
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
    EXPECT_EQ(4u, summary.videoFrames);
    const auto& b = file.Bytes();
    const std::size_t moviEnd = kDataStart - 4 + U32(b, kDataStart - 8);
    ASSERT_EQ("idx1", Tag(b, moviEnd));
    EXPECT_EQ(0x10u, U32(b, moviEnd + 8 + 4)) << "a stored frame is a key frame";
    EXPECT_EQ(0u, U32(b, moviEnd + 8 + 3 * 16 + 4)) << "the empty one is not";
    EXPECT_EQ(0u, U32(b, moviEnd + 8 + 3 * 16 + 12));
}

TEST(FinishUnfinishedAvi, LeavesFinishedForeignAndHeaderlessFilesExactlyAsTheyWere) {
    // A finished file: the same recording with a real RIFF size.
    std::vector<std::uint8_t> finished = KilledRecording(5, 96, 0);
    MemoryFile finisher(finished);
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(finisher));
    finished = finisher.Bytes();
    // A file killed before any header was written: zeros where the header goes.
    std::vector<std::uint8_t> headerless(kDataStart, 0);
    AppendChunk(headerless, "00db", 96, 1);
    // RIFF size 0 but not an AVI, and an AVI with RIFF size 0 whose header another writer made.
    std::vector<std::uint8_t> wave = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    std::vector<std::uint8_t> foreign = KilledRecording(2, 96, 0);
    foreign[24 + 8 + 40] = 0;
    for (const auto& bytes : {finished, headerless, wave, foreign, std::vector<std::uint8_t>{'R', 'I'}}) {
        MemoryFile file(bytes);
        EXPECT_EQ(Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(file));
        EXPECT_EQ(bytes, file.Bytes());
    }
}

TEST(FinishUnfinishedAvi, ChunkSizesNearFourGigabytesNeitherWrapNorLoop) {
    const std::vector<std::uint8_t> killed = KilledRecording(2, 96, 0);
    // The JUNK chunk after the header list (the 'movi' list is then out of reach), and the stream
    // list inside the header list (the last one there: the walk goes on after the header list).
    const std::size_t junk = 12 + 8 + U32(killed, 16);
    const std::size_t strl = 12 + 12 + 64;
    ASSERT_EQ("JUNK", Tag(killed, junk));
    ASSERT_EQ("strl", Tag(killed, strl + 8));
    const std::uint32_t huge = 0xFFFFFFF8u;
    std::vector<std::uint8_t> bytes = killed;
    std::memcpy(&bytes[junk + 4], &huge, 4);
    MemoryFile hugeJunk(bytes);
    EXPECT_EQ(Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(hugeJunk));
    EXPECT_EQ(bytes, hugeJunk.Bytes());
    bytes = killed;
    std::memcpy(&bytes[strl + 4], &huge, 4);
    MemoryFile hugeList(bytes);
    EXPECT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(hugeList));
}

TEST(FinishUnfinishedAvi, WithoutOneWholeFrameTheFileStaysAsItWas) {
    const auto bytes = KilledRecording(0, 96, 60);
    MemoryFile file(bytes);
    EXPECT_EQ(Outcome::NoFrames, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_EQ(bytes, file.Bytes());
}

TEST(FinishUnfinishedAvi, AnInterruptedFinishingStaysMarkedAndIsRedoneWhole) {
    for (int writes = 0; writes < 5; ++writes) {
        MemoryFile file(KilledRecording(9, 96, 30));
        file.FailAfterWrites(writes);
        EXPECT_EQ(Outcome::Failed, avirecovery::FinishUnfinishedAvi(file)) << writes << " writes";
        EXPECT_TRUE(avirecovery::LooksUnfinished(file.Bytes().data(), file.Bytes().size()));
        file.FailAfterWrites(-1);
        ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file)) << writes << " writes";
        ExpectFinished(file.Bytes(), 9, 96);
    }
}

TEST(FinishUnfinishedAvi, StopsAtAChunkThatIsNoChunk) {
    std::vector<std::uint8_t> garbage = KilledRecording(3, 96, 0);
    AppendChunk(garbage, "\x01\x02zz", 96, 9);
    AppendChunk(garbage, "00db", 96, 9); // behind something that is no chunk: not this recording's
    MemoryFile noChunk(garbage);
    FinishSummary summary;
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(noChunk, &summary));
    ExpectFinished(noChunk.Bytes(), 3, 96);
}

} // namespace
