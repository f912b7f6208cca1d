// Finishing a recording that kept the provisional header: see avi_recovery.h.
#include "avi_recovery.h"

#include <algorithm>

#include "movi_walk.h"
#include "riff_words.h"

namespace avirecovery {

namespace {

constexpr std::size_t kAvihReserved = 40;
constexpr std::uint32_t kAviifKeyframe = 0x10;
constexpr std::size_t kMainHeaderBytes = 56, kStreamHeaderBytes = 56, kIndexEntryBytes = 16;
// Offsets inside the two headers (after their chunk header) that finishing rewrites.
constexpr std::size_t kAvihTotalFrames = 16, kStrhLength = 32, kStrhSampleSize = 44;
// The index goes to the file in pieces of this size: it is never held whole.
constexpr std::size_t kIndexBlock = 64 * 1024;

// Where the header's fields lie, found by walking it.
struct Layout {
    std::uint64_t moviList = 0;              // the 'LIST' of 'movi'
    std::uint64_t avih = 0;                  // the main header's data
    std::vector<std::uint64_t> streamHeaders; // each 'strh' data, in stream order
    std::vector<bool> videoStreams;
    std::vector<std::uint32_t> sampleSizes;   // each 'strh' sample size (0: a chunk is a sample)
    std::uint64_t dmlh = 0;                  // the AVI 2.0 extended header's data, when there is one
    std::vector<std::uint64_t> superIndexes; // each 'indx' chunk of the stream lists
};

// The 'indx' chunks among a stream list's chunks, from `at` to `end`.
bool FindSuperIndexes(RecoveryFile& file, std::uint64_t at, std::uint64_t end, Layout* layout) {
    while (at + 8 <= end) {
        std::uint8_t chunk[8];
        if (!file.ReadAt(at, chunk, sizeof chunk))
            return false;
        const std::uint32_t size = Get32(chunk + 4);
        if (Get32(chunk) == kIndx)
            layout->superIndexes.push_back(at);
        at += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    return true;
}

// The 'dmlh' chunk inside a 'LIST' 'odml', from `at` to `end`.
bool FindExtendedHeader(RecoveryFile& file, std::uint64_t at, std::uint64_t end, Layout* layout) {
    while (at + 8 <= end) {
        std::uint8_t chunk[8];
        if (!file.ReadAt(at, chunk, sizeof chunk))
            return false;
        const std::uint32_t size = Get32(chunk + 4);
        if (Get32(chunk) == kDmlh && size >= 4)
            layout->dmlh = at + 8;
        at += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    return true;
}

bool ReadHeaderLayout(RecoveryFile& file, std::uint64_t fileSize, Layout* layout) {
    std::uint64_t at = 12;
    while (at + 12 <= fileSize) {
        std::uint8_t head[12];
        if (!file.ReadAt(at, head, sizeof head))
            return false;
        const std::uint32_t id = Get32(head), size = Get32(head + 4), type = Get32(head + 8);
        if (id == kList && type == kMovi) {
            // Its size may be written already: a finishing that was cut short before the RIFF size.
            layout->moviList = at;
            return layout->avih != 0;
        }
        if (id == kList && type == kHdrl) {
            const std::uint64_t end = at + 8 + static_cast<std::uint64_t>(size);
            std::uint64_t inner = at + 12;
            while (inner + 8 <= end) {
                std::uint8_t chunk[12];
                if (!file.ReadAt(inner, chunk, sizeof chunk))
                    return false;
                const std::uint32_t innerId = Get32(chunk), innerSize = Get32(chunk + 4);
                // A list's chunks are looked for inside the header and the file only.
                const std::uint64_t listEnd =
                    std::min({inner + 8 + static_cast<std::uint64_t>(innerSize), end, fileSize});
                if (innerId == kAvih && innerSize >= kMainHeaderBytes) {
                    std::uint8_t tag[4];
                    if (!file.ReadAt(inner + 8 + kAvihReserved, tag, sizeof tag))
                        return false;
                    if (Get32(tag) != kOwnTag)
                        return false; // another writer's header: not ours to touch
                    layout->avih = inner + 8;
                }
                if (innerId == kList && Get32(chunk + 8) == kStrl) {
                    std::uint8_t strh[8 + kStreamHeaderBytes];
                    if (!file.ReadAt(inner + 12, strh, sizeof strh))
                        return false;
                    if (Get32(strh) != kStrh || Get32(strh + 4) < kStreamHeaderBytes)
                        return false;
                    layout->streamHeaders.push_back(inner + 20);
                    layout->videoStreams.push_back(Get32(strh + 8) == kVids);
                    layout->sampleSizes.push_back(Get32(strh + 8 + kStrhSampleSize));
                    if (!FindSuperIndexes(file, inner + 12, listEnd, layout))
                        return false;
                }
                if (innerId == kList && Get32(chunk + 8) == kOdml && !FindExtendedHeader(file, inner + 12, listEnd, layout))
                    return false;
                inner += 8 + static_cast<std::uint64_t>(innerSize) + (innerSize & 1); // never wraps
            }
        }
        at += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    return false;
}

bool Write32(RecoveryFile& file, std::uint64_t offset, std::uint32_t value) {
    std::vector<std::uint8_t> bytes;
    Put32(bytes, value);
    return file.WriteAt(offset, bytes.data(), bytes.size());
}

Outcome OutcomeOf(WalkEnd end) {
    switch (end) {
    case WalkEnd::Refused: return Outcome::TooLarge;
    case WalkEnd::Stopped: return Outcome::Stopped;
    case WalkEnd::Failed: return Outcome::Failed;
    case WalkEnd::Unreadable: return Outcome::UnreadablePart;
    case WalkEnd::Done: break;
    }
    return Outcome::Finished;
}

// The index entries of a second walk, written behind 'idx1' piece by piece.
class IndexWriter {
public:
    IndexWriter(RecoveryFile& file, std::uint64_t entriesAt, std::uint64_t indexBase)
        : file_(file), at_(entriesAt), indexBase_(indexBase) {}
    bool Add(const MoviChunk& chunk) {
        Put32(pending_, chunk.id);
        Put32(pending_, chunk.size ? kAviifKeyframe : 0);
        Put32(pending_, static_cast<std::uint32_t>(chunk.offset - indexBase_));
        Put32(pending_, chunk.size);
        ++entries_;
        return pending_.size() < kIndexBlock || Flush();
    }
    bool Flush() {
        if (pending_.empty())
            return true;
        if (!file_.WriteAt(at_, pending_.data(), pending_.size()))
            return false;
        at_ += pending_.size();
        pending_.clear();
        return true;
    }
    std::uint64_t Entries() const { return entries_; }

private:
    RecoveryFile& file_;
    std::uint64_t at_;
    std::uint64_t indexBase_;
    std::uint64_t entries_ = 0;
    std::vector<std::uint8_t> pending_;
};

} // namespace

Outcome FinishUnfinishedAvi(RecoveryFile& file, FinishSummary* summary, const std::function<bool()>& stopRequested) {
    FinishSummary local;
    FinishSummary& done = summary ? *summary : local;
    done = FinishSummary{};
    std::uint64_t fileSize = 0;
    std::uint8_t head[12];
    if (!file.Size(&fileSize))
        return Outcome::Failed;
    if (fileSize < 12 || !file.ReadAt(0, head, sizeof head) || !LooksUnfinished(head, sizeof head))
        return Outcome::NotUnfinished;
    Layout layout;
    if (!ReadHeaderLayout(file, fileSize, &layout) || layout.streamHeaders.empty())
        return Outcome::NotUnfinished;

    // First the survey: which chunks are kept, and whether they and their index fit in a RIFF file.
    // Nothing is written until the whole file is known to be finishable.
    const std::uint64_t moviData = layout.moviList + 12;
    const std::uint64_t indexBase = layout.moviList + 8; // idx1 offsets count from the 'movi' tag
    MoviWalk walk(file, layout.streamHeaders.size(), stopRequested);
    ZeroRuns zeroRuns;
    // Per stream: chunks, or samples where the stream has a fixed sample size.
    std::vector<std::uint64_t> lengths(layout.streamHeaders.size(), 0);
    std::uint64_t entries = 0;
    const WalkResult survey = walk.Walk(moviData, fileSize, &zeroRuns, false, [&](const MoviChunk& chunk) {
        const std::uint64_t kept = entries + (chunk.stream >= 0 ? 1 : 0);
        const std::uint64_t chunkEnd = chunk.offset + 8 + chunk.size + (chunk.size & 1);
        if (chunkEnd + 8 + kept * kIndexEntryBytes > kLargestRiff)
            return false;
        entries = kept;
        if (chunk.stream >= 0) {
            const std::size_t stream = static_cast<std::size_t>(chunk.stream);
            const std::uint32_t sampleSize = layout.sampleSizes[stream];
            lengths[stream] += sampleSize ? chunk.size / sampleSize : 1;
            ++done.chunks;
            if (layout.videoStreams[stream])
                ++done.videoFrames;
        }
        return true;
    });
    if (survey.end != WalkEnd::Done)
        return OutcomeOf(survey.end);
    if (done.chunks == 0)
        return Outcome::NoFrames;
    const std::uint64_t moviEnd = survey.moviEnd;
    const std::uint64_t indexBytes = entries * kIndexEntryBytes;
    const std::uint64_t finalSize = moviEnd + 8 + indexBytes;
    if (finalSize > kLargestRiff)
        return Outcome::TooLarge; // part headers at the end, behind the last frame, pass the limit
    done.cutBytes = fileSize > moviEnd ? fileSize - moviEnd : 0;
    done.zeroBytes = survey.skippedBytes;

    // The index first (a second walk over the same chunks, replaying the zero runs), the runs
    // become JUNK chunks, the sizes follow, and the RIFF size (the mark) comes last: an
    // interruption anywhere before leaves the file marked, and a later run redoes it whole.
    // A last chunk of odd size may lack its pad byte; the index goes behind it all the same.
    const bool padMissing = moviEnd > fileSize;
    if (!file.Truncate(padMissing ? fileSize : moviEnd))
        return Outcome::Failed;
    const std::uint8_t pad = 0;
    if (padMissing && !file.WriteAt(fileSize, &pad, 1))
        return Outcome::Failed;
    std::vector<std::uint8_t> idx1;
    Put32(idx1, kIdx1);
    Put32(idx1, static_cast<std::uint32_t>(indexBytes));
    if (!file.WriteAt(moviEnd, idx1.data(), idx1.size()))
        return Outcome::Failed;
    IndexWriter index(file, moviEnd + 8, indexBase);
    const WalkResult written = walk.Walk(moviData, moviEnd, &zeroRuns, true, [&index](const MoviChunk& chunk) {
        return chunk.stream < 0 || index.Add(chunk);
    });
    if (written.end == WalkEnd::Refused)
        return Outcome::Failed; // an index write failed
    if (written.end != WalkEnd::Done)
        return OutcomeOf(written.end);
    if (!index.Flush() || index.Entries() != entries)
        return Outcome::Failed;
    auto asJunk = [&file](const Spans& spans) {
        for (const auto& span : spans) {
            const std::uint64_t length = span.second - span.first;
            if (length < 8)
                continue; // no room for a chunk header: the index still finds every frame
            std::vector<std::uint8_t> junk;
            Put32(junk, kJunk);
            Put32(junk, static_cast<std::uint32_t>(length - 8));
            if (!file.WriteAt(span.first, junk.data(), junk.size()))
                return false;
        }
        return true;
    };
    if (!asJunk(zeroRuns) || !asJunk(survey.partBoundaries))
        return Outcome::Failed;
    // A super index is written only as the multiplexer stops: a reader that trusted one left
    // unwritten would find no frame, where the index built here finds them all.
    for (const std::uint64_t superIndex : layout.superIndexes) {
        if (!Write32(file, superIndex, kJunk))
            return Outcome::Failed;
    }
    std::uint32_t totalFrames = 0;
    for (std::size_t i = 0; i < layout.streamHeaders.size(); ++i) {
        const std::uint32_t length = static_cast<std::uint32_t>(lengths[i]);
        if (!Write32(file, layout.streamHeaders[i] + kStrhLength, length))
            return Outcome::Failed;
        if (layout.videoStreams[i] && totalFrames == 0)
            totalFrames = length;
    }
    if ((layout.dmlh && !Write32(file, layout.dmlh, totalFrames)) ||
        !Write32(file, layout.avih + kAvihTotalFrames, totalFrames) ||
        !Write32(file, layout.moviList + 4, static_cast<std::uint32_t>(moviEnd - indexBase)) ||
        !Write32(file, 4, static_cast<std::uint32_t>(finalSize - 8)))
        return Outcome::Failed;
    return Outcome::Finished;
}

} // namespace avirecovery
