// Recordings in the AVI 2.0 layout cut short: an extended header and super indexes in the header,
// standard indexes ('ix##') between the frames, sound beside the video, and further 'AVIX' parts
// past the first. Every whole frame of every part must come back, or the file stay as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "avi_recovery.h"
#include "memory_file.h"
#include "recording_checks.h"

namespace {

using avirecovery::FinishSummary;
using avirecovery::Outcome;
using namespace recordingtest;

using Bytes = std::vector<std::uint8_t>;

avirecovery::StreamDescription Sound() {
    avirecovery::StreamDescription sound;
    sound.video = false;
    Bytes format; // PCM, 1 channel, 8000 a second, 16 bits
    format.push_back(1), format.push_back(0), format.push_back(1), format.push_back(0);
    Append32(format, 8000);
    Append32(format, 16000);
    format.push_back(2), format.push_back(0), format.push_back(16), format.push_back(0);
    format.push_back(0), format.push_back(0);
    sound.format = format;
    return sound;
}

Bytes Chunk(const char* id, const Bytes& data) {
    Bytes b(id, id + 4);
    Append32(b, static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0);
    return b;
}

Bytes List(const char* type, const Bytes& inside) {
    Bytes data(type, type + 4);
    data.insert(data.end(), inside.begin(), inside.end());
    return Chunk("LIST", data);
}

// The provisional header of these streams, with what an AVI 2.0 header carries besides: a super
// index in each stream list and an extended header, both as yet unwritten.
Bytes Avi2Header(const std::vector<avirecovery::StreamDescription>& streams) {
    const Bytes plain = avirecovery::ProvisionalHeader(streams, kDataStart);
    const std::size_t hdrlEnd = 12 + 8 + U32(plain, 16);
    Bytes hdrl(plain.begin() + 24, plain.begin() + 24 + 64); // 'avih'
    for (std::size_t at = 24 + 64; at < hdrlEnd; at += 8 + U32(plain, at + 4)) {
        Bytes strl(plain.begin() + static_cast<std::ptrdiff_t>(at + 12),
                   plain.begin() + static_cast<std::ptrdiff_t>(at + 8 + U32(plain, at + 4)));
        Bytes superIndex(24 + 16 * 32, 0);
        superIndex[0] = 4; // four words an entry
        const Bytes indx = Chunk("indx", superIndex);
        strl.insert(strl.end(), indx.begin(), indx.end());
        const Bytes list = List("strl", strl);
        hdrl.insert(hdrl.end(), list.begin(), list.end());
    }
    const Bytes odml = List("odml", Chunk("dmlh", Bytes(248, 0)));
    hdrl.insert(hdrl.end(), odml.begin(), odml.end());
    Bytes header(plain.begin(), plain.begin() + 12);
    const Bytes list = List("hdrl", hdrl);
    header.insert(header.end(), list.begin(), list.end());
    const std::size_t gap = kDataStart - 12 - header.size();
    const Bytes junk = Chunk("JUNK", Bytes(gap - 8, 0));
    header.insert(header.end(), junk.begin(), junk.end());
    header.insert(header.end(), {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'm', 'o', 'v', 'i'});
    EXPECT_EQ(kDataStart, header.size());
    return header;
}

// A recording as the multiplexer lays it out, with where each stream chunk lies.
struct Layout {
    Bytes file;
    struct Stored {
        std::string id;
        std::uint8_t fill;
        std::size_t end; // of its data (a missing pad byte after it does no harm)
    };
    std::vector<Stored> stored;
    std::vector<std::size_t> boundaries; // where each further part's headers begin

    void Frame(const char* id, std::uint32_t size, std::uint8_t fill) {
        AppendChunk(file, id, size, fill);
        stored.push_back({id, fill, file.size() - (size & 1)});
    }
    void StandardIndex(const char* id, int entries) {
        Bytes data(24 + 8 * entries, 0x3C);
        data[0] = 2; // two words an entry
        const Bytes chunk = Chunk(id, data);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    // The first part's index and the next part's headers, their sizes written or not (0).
    void NextPart(bool sizesWritten, bool withIndex) {
        boundaries.push_back(file.size());
        if (withIndex) {
            const Bytes index = Chunk("idx1", Bytes(16 * 3, 0x11));
            file.insert(file.end(), index.begin(), index.end());
        }
        riffAt_ = file.size();
        file.insert(file.end(), {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', 'X'});
        file.insert(file.end(), {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'm', 'o', 'v', 'i'});
        sizesWritten_ = sizesWritten;
    }
    // Writes the last part's sizes where the multiplexer wrote them.
    void ClosePart() {
        if (!sizesWritten_ || !riffAt_)
            return;
        const std::uint32_t riff = static_cast<std::uint32_t>(file.size() - riffAt_ - 8);
        std::memcpy(&file[riffAt_ + 4], &riff, 4);
        const std::uint32_t movi = riff - 12;
        std::memcpy(&file[riffAt_ + 16], &movi, 4);
    }

private:
    std::size_t riffAt_ = 0;
    bool sizesWritten_ = false;
};

constexpr std::uint32_t kFrame = 96, kSound = 45; // an odd sound chunk: a pad byte follows

// Video and sound interleaved with a standard index every few chunks, over three parts.
Layout ThreeParts(bool sizesWritten, bool withIndex) {
    Layout r;
    r.file = Avi2Header({Video(8, 4), Sound()});
    std::uint8_t fill = 1;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            r.ClosePart();
            r.NextPart(sizesWritten, withIndex && part == 1);
        }
        const int frames = part == 0 ? 5 : 7;
        for (int i = 0; i < frames; ++i) {
            r.Frame("00db", kFrame, fill++);
            if (i % 2 == 1)
                r.Frame("01wb", kSound, fill++);
            if (i % 3 == 2)
                r.StandardIndex(i % 2 ? "ix01" : "ix00", 3);
        }
    }
    r.ClosePart();
    return r;
}

// The finished file reads as one AVI part: an unbroken run of known chunks from the data's start to
// the index, the index naming exactly the expected stream chunks in order, the header's counts.
void ExpectWhole(const Bytes& b, const std::vector<Layout::Stored>& expected, const std::string& where) {
    SCOPED_TRACE(where);
    ASSERT_GE(b.size(), kDataStart);
    EXPECT_FALSE(avirecovery::LooksUnfinished(b.data(), b.size()));
    EXPECT_EQ(b.size() - 8, U32(b, 4)) << "the RIFF size covers the file";
    const std::size_t movi = kDataStart - 12;
    const std::size_t moviEnd = movi + 8 + U32(b, movi + 4);
    ASSERT_LE(moviEnd + 8, b.size());
    for (std::size_t at = kDataStart; at < moviEnd;) {
        const std::string id = Tag(b, at);
        ASSERT_TRUE(id == "00db" || id == "01wb" || id == "ix00" || id == "ix01" || id == "JUNK")
            << "chunk '" << id << "' at " << at;
        at += 8 + U32(b, at + 4) + (U32(b, at + 4) & 1);
        ASSERT_LE(at, moviEnd) << "a chunk runs past the 'movi' list";
    }
    ASSERT_EQ("idx1", Tag(b, moviEnd));
    ASSERT_EQ(expected.size() * 16, U32(b, moviEnd + 4));
    std::uint32_t frames = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t entry = moviEnd + 8 + 16 * i;
        const std::size_t chunk = movi + 8 + U32(b, entry + 8);
        ASSERT_LT(chunk + 8, b.size());
        EXPECT_EQ(expected[i].id, Tag(b, entry)) << "entry " << i;
        EXPECT_EQ(expected[i].id, Tag(b, chunk)) << "entry " << i;
        EXPECT_EQ(expected[i].fill, b[chunk + 8]) << "entry " << i;
        frames += expected[i].id == "00db";
    }
    EXPECT_EQ(frames, U32(b, 24 + 24)) << "avih total frames";
    const std::size_t hdrlEnd = 12 + 8 + U32(b, 16);
    for (std::size_t at = 24; at + 4 <= hdrlEnd; ++at)
        ASSERT_NE("indx", Tag(b, at)) << "an unwritten super index is left for readers to trust";
    const std::size_t dmlh = hdrlEnd - 248;
    ASSERT_EQ("dmlh", Tag(b, dmlh - 8));
    EXPECT_EQ(frames, U32(b, dmlh)) << "dmlh total frames";
}

std::vector<Layout::Stored> WholeBefore(const Layout& r, std::size_t cut) {
    std::vector<Layout::Stored> whole;
    for (const Layout::Stored& chunk : r.stored) {
        if (chunk.end <= cut)
            whole.push_back(chunk);
    }
    return whole;
}

// Cut at every byte from the data's start to the end: exactly the whole chunks come back.
void ExpectEveryCutFinishes(const Layout& r) {
    KeepAsSeed(r.file);
    for (std::size_t cut = kDataStart; cut <= r.file.size(); ++cut) {
        const Bytes original(r.file.begin(), r.file.begin() + static_cast<std::ptrdiff_t>(cut));
        MemoryFile file(original);
        FinishSummary summary;
        const Outcome outcome = avirecovery::FinishUnfinishedAvi(file, &summary);
        const std::vector<Layout::Stored> whole = WholeBefore(r, cut);
        const std::string where = "cut at " + std::to_string(cut) + " of " + std::to_string(r.file.size());
        if (whole.empty()) {
            EXPECT_EQ(Outcome::NoFrames, outcome) << where;
            EXPECT_EQ(original, file.Bytes()) << where;
            continue;
        }
        ASSERT_EQ(Outcome::Finished, outcome) << where;
        EXPECT_EQ(whole.size(), summary.chunks) << where;
        ExpectWhole(file.Bytes(), whole, where);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(RecordingParts, EveryCutOfAThreePartRecordingKeepsEveryWholeChunk) {
    ExpectEveryCutFinishes(ThreeParts(false, false));
}

TEST(RecordingParts, PartsWithTheirSizesWrittenAndTheFirstPartsIndexComeBackWhole) {
    ExpectEveryCutFinishes(ThreeParts(true, true));
    ExpectEveryCutFinishes(ThreeParts(false, true));
}

TEST(RecordingParts, FiveFramesInTheFirstPartAndSevenInTheNextAllComeBack) {
    for (const bool sizes : {false, true}) {
        Layout r;
        r.file = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
        for (std::uint8_t i = 1; i <= 5; ++i)
            r.Frame("00db", kFrame, i);
        r.NextPart(sizes, false);
        for (std::uint8_t i = 6; i <= 12; ++i)
            r.Frame("00db", kFrame, i);
        r.ClosePart();
        MemoryFile file(r.file);
        FinishSummary summary;
        ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file, &summary));
        EXPECT_EQ(12u, summary.videoFrames) << (sizes ? "sizes written" : "sizes unwritten");
        EXPECT_EQ(0u, summary.cutBytes);
        const Bytes& b = file.Bytes();
        EXPECT_EQ("JUNK", Tag(b, r.boundaries[0])) << "the part's headers are padding now";
        EXPECT_EQ(16u, U32(b, r.boundaries[0] + 4));
    }
}

TEST(RecordingParts, APartThatCannotBeReadLeavesTheFileAsItWas) {
    struct Case {
        const char* what;
        const char* riffType;
        const char* listType;
    };
    const Case cases[] = {{"another RIFF form", "WAVE", "movi"}, {"a part without its data list", "AVIX", "rec "}};
    for (const Case& c : cases) {
        Layout r;
        r.file = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
        for (std::uint8_t i = 1; i <= 3; ++i)
            r.Frame("00db", kFrame, i);
        r.NextPart(false, false);
        std::memcpy(&r.file[r.boundaries[0] + 8], c.riffType, 4);
        std::memcpy(&r.file[r.boundaries[0] + 20], c.listType, 4);
        for (std::uint8_t i = 4; i <= 5; ++i)
            r.Frame("00db", kFrame, i);
        KeepAsSeed(r.file);
        MemoryFile file(r.file);
        EXPECT_EQ(Outcome::UnreadablePart, avirecovery::FinishUnfinishedAvi(file)) << c.what;
        EXPECT_EQ(r.file, file.Bytes()) << c.what;
    }
    // Behind the first part's index, something that is no part.
    Layout r;
    r.file = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    for (std::uint8_t i = 1; i <= 3; ++i)
        r.Frame("00db", kFrame, i);
    r.NextPart(false, true);
    std::memcpy(&r.file[r.boundaries[0] + 8 + 48 + 8], "AVI ", 4);
    MemoryFile file(r.file);
    EXPECT_EQ(Outcome::UnreadablePart, avirecovery::FinishUnfinishedAvi(file));
    EXPECT_EQ(r.file, file.Bytes());
}

TEST(RecordingParts, AFinishingInterruptedAtAnyWriteIsRedoneToTheSameFile) {
    const Layout r = ThreeParts(false, true);
    MemoryFile reference(r.file);
    ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(reference));
    for (int writes = 0;; ++writes) {
        MemoryFile file(r.file);
        file.FailAfterWrites(writes);
        const Outcome first = avirecovery::FinishUnfinishedAvi(file);
        if (first == Outcome::Finished)
            break; // every write made: nothing left to interrupt
        ASSERT_EQ(Outcome::Failed, first) << writes << " writes";
        EXPECT_TRUE(avirecovery::LooksUnfinished(file.Bytes().data(), file.Bytes().size())) << writes << " writes";
        file.FailAfterWrites(-1);
        ASSERT_EQ(Outcome::Finished, avirecovery::FinishUnfinishedAvi(file)) << writes << " writes";
        EXPECT_EQ(reference.Bytes(), file.Bytes()) << "redone after " << writes << " writes";
        ASSERT_LT(writes, 200) << "the finishing never ends";
    }
}

} // namespace
