// The walk over a cut-short recording's 'movi' data: see movi_walk.h.
#include "movi_walk.h"

#include <algorithm>

#include "riff_words.h"

namespace avirecovery {

namespace {

// The stop request is asked every this many steps (a step reads a chunk header or a block).
constexpr unsigned kStepsPerPoll = 4;
// A run of zeros is searched through in blocks of this size.
constexpr std::size_t kSearchBlock = 64 * 1024;

bool Digit(char c) { return c >= '0' && c <= '9'; }
bool Lower(char c) { return c >= 'a' && c <= 'z'; }

} // namespace

bool MoviWalk::Stop() {
    if (!stopRequested_)
        return false;
    return polls_++ % kStepsPerPoll == 0 && stopRequested_();
}

bool MoviWalk::Classify(std::uint32_t id, MoviChunk* chunk) const {
    const char c[4] = {static_cast<char>(id), static_cast<char>(id >> 8), static_cast<char>(id >> 16),
                       static_cast<char>(id >> 24)};
    chunk->id = id;
    chunk->stream = -1;
    if (id == kJunk || id == kList)
        return true;
    if (c[0] == 'i' && c[1] == 'x' && Digit(c[2]) && Digit(c[3]))
        return true; // an AVI 2.0 stream index the multiplexer writes between the frames
    if (!Digit(c[0]) || !Digit(c[1]) || !Lower(c[2]) || !Lower(c[3]))
        return false;
    const std::size_t stream = static_cast<std::size_t>((c[0] - '0') * 10 + (c[1] - '0'));
    if (stream < streamCount_)
        chunk->stream = static_cast<int>(stream);
    return true; // a stream the header does not describe is walked over, not indexed
}

bool MoviWalk::OwnStreamChunk(std::uint32_t id) const {
    MoviChunk chunk;
    return Classify(id, &chunk) && (chunk.stream >= 0 || id == kJunk);
}

MoviWalk::Follower MoviWalk::Follows(std::uint64_t at, std::uint32_t size, std::uint64_t end) {
    const std::uint64_t follower = at + 8 + size + (size & 1);
    if (follower + 8 > end)
        return Follower::Chunk; // the file ends with it, or with a chunk cut off after it
    std::uint8_t head[8];
    if (!file_.ReadAt(follower, head, sizeof head))
        return Follower::Unreadable;
    const std::uint32_t next = Get32(head);
    MoviChunk unused;
    return next == 0 || next == kIdx1 || next == kRiff || Classify(next, &unused) ? Follower::Chunk
                                                                                 : Follower::NoChunk;
}

MoviWalk::Boundary MoviWalk::PartBoundary(std::uint64_t at, std::uint64_t end, std::uint64_t* next) {
    std::uint8_t head[12];
    // Reads the header at p; false when the end comes first.
    auto headerAt = [&](std::uint64_t p, std::size_t length, bool* failed) {
        if (p + length > end)
            return false;
        *failed = !file_.ReadAt(p, head, length);
        return !*failed;
    };
    bool failed = false;
    std::uint64_t p = at;
    // The first part's own index, as its multiplexer may write it when the part is closed, and
    // padding behind it.
    for (bool first = true;; first = false) {
        if (!headerAt(p, 8, &failed))
            return failed ? Boundary::Failed : Boundary::Cut;
        const std::uint32_t id = Get32(head), size = Get32(head + 4);
        if (id == kRiff)
            break;
        if (!(id == kJunk || (first && id == kIdx1)))
            return Boundary::NoPart;
        p += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    if (!headerAt(p, 12, &failed))
        return failed ? Boundary::Failed : Boundary::Cut;
    if (Get32(head + 8) != kAvix)
        return Boundary::Unreadable;
    for (p += 12;;) {
        if (!headerAt(p, 8, &failed))
            return failed ? Boundary::Failed : Boundary::Cut;
        const std::uint32_t id = Get32(head), size = Get32(head + 4);
        if (id == kList)
            break;
        if (id != kJunk)
            return Boundary::Unreadable;
        p += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    if (!headerAt(p, 12, &failed))
        return failed ? Boundary::Failed : Boundary::Cut;
    if (Get32(head + 8) != kMovi)
        return Boundary::Unreadable;
    *next = p + 12;
    return Boundary::Whole;
}

MoviWalk::Search MoviWalk::FindAfterZeros(std::uint64_t at, std::uint64_t end, std::uint64_t* found) {
    std::vector<std::uint8_t> block(kSearchBlock);
    std::uint64_t from = at + 2; // chunks start at even distances from one another
    while (from + 8 <= end) {
        if (Stop())
            return Search::Stopped;
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(kSearchBlock, end - from));
        if (!file_.ReadAt(from, block.data(), length))
            return Search::Failed;
        std::size_t i = 0;
        for (; i + 8 <= length; i += 2) {
            const std::uint32_t id = Get32(&block[i]);
            if (id == 0 || !OwnStreamChunk(id))
                continue;
            const std::uint32_t size = Get32(&block[i + 4]);
            const std::uint64_t offset = from + i;
            if (offset + 8 + size > end)
                continue;
            const Follower follower = Follows(offset, size, end);
            if (follower == Follower::Unreadable)
                return Search::Failed;
            if (follower == Follower::NoChunk)
                continue;
            *found = offset;
            return Search::Found;
        }
        from += i;
    }
    return Search::None;
}

WalkResult MoviWalk::Walk(std::uint64_t from, std::uint64_t end, ZeroRuns* runs, bool replay,
                          const std::function<bool(const MoviChunk&)>& keep) {
    WalkResult result;
    result.moviEnd = from;
    std::size_t replayed = 0;
    std::uint64_t at = from;
    while (at + 8 <= end) {
        if (Stop()) {
            result.end = WalkEnd::Stopped;
            return result;
        }
        std::uint8_t head[8];
        if (!file_.ReadAt(at, head, sizeof head)) {
            result.end = WalkEnd::Failed;
            return result;
        }
        const std::uint32_t id = Get32(head), size = Get32(head + 4);
        if (id == kIdx1 || id == kRiff) {
            std::uint64_t next = 0;
            switch (PartBoundary(at, end, &next)) {
            case Boundary::Whole: break;
            case Boundary::Failed: result.end = WalkEnd::Failed; return result;
            case Boundary::Unreadable: result.end = WalkEnd::Unreadable; return result;
            case Boundary::Cut:
            case Boundary::NoPart: return result; // the recording ends before them
            }
            result.partBoundaries.emplace_back(at, next);
            at = next;
            result.moviEnd = at;
            continue;
        }
        if (id == 0) {
            // Unwritten space: the next whole chunk, when there is one, goes on the recording.
            std::uint64_t next = 0;
            if (replay) {
                if (replayed >= runs->size() || (*runs)[replayed].first != at)
                    break;
                next = (*runs)[replayed++].second;
            } else {
                const Search search = FindAfterZeros(at, end, &next);
                if (search == Search::Stopped || search == Search::Failed) {
                    result.end = search == Search::Stopped ? WalkEnd::Stopped : WalkEnd::Failed;
                    return result;
                }
                if (search == Search::None)
                    break; // zeros to the end: the recording ends with the chunk before them
                runs->emplace_back(at, next);
            }
            result.skippedBytes += next - at;
            at = next;
            continue;
        }
        MoviChunk chunk;
        if (!Classify(id, &chunk) || at + 8 + size > end)
            break; // no chunk, or the one the interruption cut off
        chunk.offset = at;
        chunk.size = size;
        if (!keep(chunk)) {
            result.end = WalkEnd::Refused;
            return result;
        }
        at += 8 + static_cast<std::uint64_t>(size) + (size & 1); // may pass the end by a missing pad byte
        result.moviEnd = at;
    }
    return result;
}

} // namespace avirecovery
