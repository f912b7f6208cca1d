// The walk over a recording cut short: runs of zeros between whole chunks (a power loss), the size
// limit of a RIFF file with its index counted, and the stop request.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "avi_recovery.h"
#include "generated_recording.h"
#include "memory_file.h"
#include "recording_checks.h"

namespace {

using avirecovery::FinishSummary;
using avirecovery::Outcome;
using namespace recordingtest;

constexpr std::uint32_t kFrame = 96;

// A chunk whose header never reached the disk: zeros where it goes, its pixels after them.
void AppendLostHeader(std::vector<std::uint8_t>& b, std::uint32_t size, std::uint8_t fill) {
    b.insert(b.end(), 8, 0);
    b.insert(b.end(), size + (size & 1), fill);
}

// The finished file holds exactly the frames whose first pixel is in fills, in that order, its index
// points at each, and its 'movi' list is one unbroken run of chunks (frames and JUNK) to the index.
void ExpectFrames(const std::vector<std::uint8_t>& b, const std::vector<std::uint8_t>& fills) {
    ASSERT_GE(b.size(), kDataStart);
    EXPECT_EQ(b.size() - 8, U32(b, 4)) << "the RIFF size covers the file";
    EXPECT_FALSE(avirecovery::LooksUnfinished(b.data(), b.size()));
    const std::size_t movi = kDataStart - 12;
    const std::size_t moviEnd = movi + 8 + U32(b, movi + 4);
    ASSERT_LE(moviEnd + 8, b.size());
    std::size_t at = kDataStart;
    while (at < moviEnd) {
        const std::string id = Tag(b, at);
        ASSERT_TRUE(id == "00db" || id == "JUNK") << "chunk '" << id << "' at " << at;
        at += 8 + U32(b, at + 4) + (U32(b, at + 4) & 1);
    }
    EXPECT_EQ(moviEnd, at) << "the chunks end where the 'movi' list ends";
    ASSERT_EQ("idx1", Tag(b, moviEnd));
    ASSERT_EQ(fills.size() * 16, U32(b, moviEnd + 4));
    for (std::size_t i = 0; i < fills.size(); ++i) {
        const std::size_t entry = moviEnd + 8 + 16 * i;
        const std::size_t chunk = movi + 8 + U32(b, entry + 8);
        ASSERT_LT(chunk + 8, b.size());
        EXPECT_EQ("00db", Tag(b, chunk)) << "entry " << i;
        EXPECT_EQ(U32(b, chunk + 4), U32(b, entry + 12)) << "entry " << i;
        EXPECT_EQ(fills[i], b[chunk + 8]) << "entry " << i;
    }
    EXPECT_EQ(fills.size(), U32(b, 24 + 24)) << "avih total frames";
}

// Frames 1..first, then what gap appends, then frames first+1..first+after (fill = frame number).
std::vector<std::uint8_t> WithGap(int first, const std::function<void(std::vector<std::uint8_t>&)>& gap, int after) {
    std::vector<std::uint8_t> file = KilledRecording(first, kFrame, 0);
    gap(file);
    for (int i = 0; i < after; ++i)
        AppendChunk(file, "00db", kFrame, static_cast<std::uint8_t>(first + 1 + i));
    KeepAsSeed(file);
    return file;
}

TEST(ZeroRuns, TheWholeChunksBehindARunOfZerosAreKept) {
    // A run inside the file, one that swallowed a frame's header (its pixels are lost with it), one
    // longer than the search's block, and one at the very start of the data.
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        std::vector<std::uint8_t> fills;
    };
    std::vector<Case> cases;
    cases.push_back({"200 zero bytes", WithGap(4, [](auto& b) { b.insert(b.end(), 200, 0); }, 3),
                     {1, 2, 3, 4, 5, 6, 7}});
    cases.push_back({"a lost header", WithGap(3, [](auto& b) { AppendLostHeader(b, kFrame, 0x44); }, 2),
                     {1, 2, 3, 4, 5}});
    cases.push_back({"300 KB of zeros", WithGap(2, [](auto& b) { b.insert(b.end(), 300 * 1024 + 6, 0); }, 2),
                     {1, 2, 3, 4}});
    cases.push_back({"zeros first", WithGap(0, [](auto& b) { b.insert(b.end(), 4096, 0); }, 2), {1, 2}});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFile file(c.file);
        FinishSummary summary;
        ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
        EXPECT_EQ(c.fills.size(), summary.videoFrames);
        EXPECT_GT(summary.zeroBytes, 0u);
        EXPECT_EQ(0u, summary.cutBytes);
        ExpectFrames(file.Bytes(), c.fills);
        const auto once = file.Bytes();
        EXPECT_EQ(Outcome::NotUnfinished, avirecovery::FinishUnfinishedAvi(file));
        EXPECT_EQ(once, file.Bytes());
    }
}

TEST(ZeroRuns, AChunkIdByChanceInsideLostPixelsIsNotTakenForAFrame) {
    // The lost frame's pixels hold "00db" with a small size, followed by more pixels, not a chunk.
    const auto file = WithGap(2, [](auto& b) {
        const std::size_t pixels = b.size() + 8;
        AppendLostHeader(b, kFrame, 0x55);
        std::memcpy(&b[pixels + 10], "00db\x04\0\0\0", 8);
    }, 2);
    MemoryFile recording(file);
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(recording));
    ExpectFrames(recording.Bytes(), {1, 2, 3, 4});
}

TEST(ZeroRuns, ZerosToTheEndAreCutAndAPartFrameBehindZerosToo) {
    auto tail = KilledRecording(3, kFrame, 0);
    tail.insert(tail.end(), 5000, 0); // space the file system gave but nothing reached
    MemoryFile zeros(tail);
    FinishSummary summary;
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(zeros, &summary));
    EXPECT_EQ(5000u, summary.cutBytes);
    ExpectFrames(zeros.Bytes(), {1, 2, 3});

    auto part = WithGap(2, [](auto& b) { b.insert(b.end(), 64, 0); }, 1);
    std::vector<std::uint8_t> cut;
    AppendChunk(cut, "00db", kFrame, 0xEE);
    part.insert(part.end(), cut.begin(), cut.begin() + 40);
    MemoryFile partFrame(part);
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(partFrame, &summary));
    EXPECT_EQ(40u, summary.cutBytes);
    ExpectFrames(partFrame.Bytes(), {1, 2, 3});
}

TEST(ZeroRuns, OnlyZerosAfterTheHeaderStayAsTheyWere) {
    auto bytes = KilledRecording(0, kFrame, 0);
    bytes.insert(bytes.end(), 3000, 0);
    MemoryFile file(bytes);
    EXPECT_EQ(Outcome::NoFrames, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_EQ(bytes, file.Bytes());
}

// 160 x 120 RGB24: a small frame, so that a recording near 4 GB holds tens of thousands of them.
constexpr std::uint32_t kSmallFrame = 160 * 120 * 3;
constexpr std::uint64_t kLimit = 0xFFFFFFF0u;

std::vector<std::uint8_t> SmallFrameHeader() {
    return avirecovery::ProvisionalHeader({Video(160, 120)}, kDataStart);
}

// The most frames whose chunks, index header and index entries fit in the limit.
std::uint64_t MostFramesThatFit() { return (kLimit - kDataStart - 8) / (8 + kSmallFrame + 16); }

TEST(SizeLimit, ARecordingWhoseIndexWouldPassFourGigabytesIsLeftAsItWasAndReported) {
    // Its chunks alone fit; with their index they do not.
    const std::uint64_t frames = MostFramesThatFit() + 1;
    ASSERT_LE(kDataStart + frames * (8 + kSmallFrame), kLimit);
    GeneratedRecording file(SmallFrameHeader(), frames, kSmallFrame);
    EXPECT_EQ(Outcome::TooLarge, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_TRUE(file.Untouched());
    // Nothing changed, so a second try tells the same, and writes nothing either.
    EXPECT_EQ(Outcome::TooLarge, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_TRUE(file.Untouched());
}

TEST(SizeLimit, ARecordingThatFitsWithItsIndexIsFinishedWhole) {
    const std::uint64_t frames = MostFramesThatFit();
    GeneratedRecording file(SmallFrameHeader(), frames, kSmallFrame);
    FinishSummary summary;
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
    EXPECT_EQ(frames, summary.videoFrames);
    std::uint64_t size = 0;
    ASSERT_TRUE(file.Size(&size));
    const std::uint64_t moviEnd = file.FrameOffset(frames);
    EXPECT_EQ(moviEnd + 8 + frames * 16, size);
    EXPECT_LE(size, kLimit);
    std::uint8_t word[4];
    ASSERT_TRUE(file.ReadAt(4, word, 4));
    EXPECT_EQ(size - 8, static_cast<std::uint64_t>(word[0] | word[1] << 8 | word[2] << 16) | std::uint64_t{word[3]} << 24);
    std::uint8_t last[16];
    ASSERT_TRUE(file.ReadAt(size - 16, last, sizeof last));
    EXPECT_EQ(0, std::memcmp(last, "00db", 4));
    const std::uint64_t lastOffset = last[8] | last[9] << 8 | last[10] << 16 | std::uint64_t{last[11]} << 24;
    EXPECT_EQ(file.FrameOffset(frames - 1), kDataStart - 4 + lastOffset) << "the last entry points at the last frame";
}

// Answers the stop request true from its nth question on.
struct StopAfter {
    int questions;
    int asked = 0;
    bool operator()() { return ++asked >= questions; }
};

TEST(StopRequest, AStopAnywhereLeavesTheFileMarkedAndTheNextRunFinishesItWhole) {
    // Frames, a long run of zeros (searched in blocks) and frames again: a stop may come during the
    // survey, the search or the writing of the index.
    const auto killed = WithGap(40, [](auto& b) { b.insert(b.end(), 2 << 20, 0); }, 40);
    MemoryFile reference(killed);
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(reference));
    int stoppedDuringTheSurvey = 0, stoppedLater = 0;
    for (int questions = 1;; ++questions) {
        MemoryFile file(killed);
        StopAfter stop{questions};
        const Outcome outcome = avirecovery::FinishUnfinishedAvi(file, nullptr, std::ref(stop));
        if (outcome == Outcome::Finished) {
            EXPECT_EQ(reference.Bytes(), file.Bytes());
            break;
        }
        ASSERT_EQ(Outcome::Stopped, outcome) << questions;
        ASSERT_TRUE(avirecovery::LooksUnfinished(file.Bytes().data(), file.Bytes().size())) << questions;
        ++(file.Bytes() == killed ? stoppedDuringTheSurvey : stoppedLater);
        ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file)) << questions;
        ASSERT_EQ(reference.Bytes(), file.Bytes()) << "after a stop at question " << questions;
        ASSERT_LT(questions, 10000) << "the stop request is never heeded";
    }
    std::printf("stopped during the survey %d times, while writing %d times\n", stoppedDuringTheSurvey, stoppedLater);
    EXPECT_GT(stoppedDuringTheSurvey, 1);
    EXPECT_GT(stoppedLater, 0);
}

} // namespace
