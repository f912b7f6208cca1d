#pragma once
// The walk over the 'movi' data of a recording cut short: its whole chunks in order, past runs of
// zeros that an interrupted write (a power loss) leaves between whole chunks.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "avi_recovery.h"

namespace avirecovery {

struct MoviChunk {
    std::uint64_t offset = 0; // of its header
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    int stream = -1; // the stream it belongs to; -1 for JUNK, LIST and index chunks
};

// Unreadable: a further RIFF part (or what follows an index inside the data) that is not one the
// walk can go on through; the file is then left as it was.
enum class WalkEnd { Done, Refused, Stopped, Failed, Unreadable };

// A span of the file from its first byte to the first byte after it.
using Spans = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

struct WalkResult {
    WalkEnd end = WalkEnd::Done;
    std::uint64_t moviEnd = 0;      // where the last whole chunk ends (its pad byte included, even
                                    // when the file ends one byte short of it)
    std::uint64_t skippedBytes = 0; // zeros passed over between whole chunks
    // The headers between one part's data and the next ('idx1', 'RIFF' 'AVIX', 'LIST' 'movi' and
    // JUNK between them): a recording past about 1 GB goes on in further RIFF parts. Finishing
    // makes each a JUNK chunk, so that the whole file reads as one part.
    Spans partBoundaries;
};

// Where runs of zeros were passed: from the run's start to the next whole chunk. A second walk over
// the same file replays them instead of searching again, so it keeps exactly the same chunks even
// once the bytes behind the last one have been overwritten.
using ZeroRuns = Spans;

class MoviWalk {
public:
    // streamCount: the streams the header describes; only their chunks count as frames.
    MoviWalk(RecoveryFile& file, std::size_t streamCount, const std::function<bool()>& stopRequested)
        : file_(file), streamCount_(streamCount), stopRequested_(stopRequested) {}

    // Walks from `from` up to `end` (the file's size), calling keep for every whole chunk; keep answers
    // false to refuse the file (the walk then ends Refused). It goes on through the headers of further
    // RIFF parts; it ends at an 'idx1' no part follows (an index an interrupted finishing left), at a
    // chunk or part header cut off by the end, and at anything that is no chunk.
    // With replay, the zero runs of an earlier walk are taken from there, else they are recorded there.
    WalkResult Walk(std::uint64_t from, std::uint64_t end, ZeroRuns* runs, bool replay,
                    const std::function<bool(const MoviChunk&)>& keep);

private:
    bool Stop();
    // The chunk a header names, or false when it is none this walk keeps.
    bool Classify(std::uint32_t id, MoviChunk* chunk) const;
    // After zeros only a chunk of the recording's own streams (or JUNK) is taken up again: any other
    // id there is more likely a coincidence inside a frame.
    bool OwnStreamChunk(std::uint32_t id) const;
    enum class Search { Found, None, Stopped, Failed };
    // The next whole chunk after a run of zeros starting at `at`, at an even distance from it.
    Search FindAfterZeros(std::uint64_t at, std::uint64_t end, std::uint64_t* found);
    // What follows a chunk of size at `at`: a chunk header, zeros and the end all confirm it as a
    // chunk (a chunk id by chance inside a frame's pixels is followed by more pixels).
    enum class Follower { Chunk, NoChunk, Unreadable };
    Follower Follows(std::uint64_t at, std::uint32_t size, std::uint64_t end);
    // The headers from `at` (an 'idx1' or a 'RIFF') to the data of the next part's 'movi' list.
    // Whole: *next is where that data starts. Cut: the end comes inside them, all as expected so far.
    // NoPart: no 'RIFF' word where the part would start. Unreadable: a 'RIFF' there that is not an
    // 'AVIX' part with its 'movi' list.
    enum class Boundary { Whole, Cut, NoPart, Unreadable, Failed };
    Boundary PartBoundary(std::uint64_t at, std::uint64_t end, std::uint64_t* next);

    RecoveryFile& file_;
    std::size_t streamCount_;
    std::function<bool()> stopRequested_;
    unsigned polls_ = 0;
};

} // namespace avirecovery
