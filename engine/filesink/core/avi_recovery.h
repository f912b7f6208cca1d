#pragma once
// Keeping an AVI recording that ended without its writer's closing steps (a crash, a kill).
// A multiplexer writes the file's header and index only as it stops; until then the head of the file
// is a gap. While recording, the file sink fills that gap with a provisional header that describes
// the streams, names itself in the main header's first reserved word and marks the file unfinished
// (RIFF and 'movi' sizes 0); the multiplexer's own header
// replaces it at a normal stop. A file still marked so later is finished here: the whole chunks of
// 'movi' are kept (also those behind a run of zeros an interrupted write left, and those of the
// further 'AVIX' parts a multiplexer writes past about 1 GB), an 'idx1' index is built from them and
// the sizes and lengths are written. The part headers become JUNK, so that the file reads as one
// part to every reader, up to the 4 GB a RIFF size holds.
// Platform-neutral: bytes in, bytes out, through RecoveryFile.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace avirecovery {

// One stream as the multiplexer numbers them (its connected inputs in order).
struct StreamDescription {
    bool video = true;
    // Video: the BITMAPINFOHEADER (with any colour table); audio: the WAVEFORMATEX.
    std::vector<std::uint8_t> format;
    // Video: the frame time in 100-ns units (0: unknown, taken as 30 a second).
    std::int64_t frameTime = 0;
};

// The provisional header for a file whose first data chunk starts at dataStart: exactly dataStart
// bytes, ending with an unfinished 'LIST' 'movi' header. Empty when the streams cannot be described
// (no stream, a format too short) or do not fit in front of dataStart.
std::vector<std::uint8_t> ProvisionalHeader(const std::vector<StreamDescription>& streams, std::uint64_t dataStart);

// The file to finish. Reads and writes are whole or fail.
class RecoveryFile {
public:
    virtual ~RecoveryFile() = default;
    virtual bool ReadAt(std::uint64_t offset, void* data, std::size_t length) = 0;
    virtual bool WriteAt(std::uint64_t offset, const void* data, std::size_t length) = 0;
    virtual bool Size(std::uint64_t* size) = 0;
    virtual bool Truncate(std::uint64_t size) = 0;
};

enum class Outcome {
    NotUnfinished, // not a file marked unfinished: left exactly as it was
    Finished,      // made whole
    NoFrames,      // marked unfinished, but not one whole chunk reached the disk: left as it was
    TooLarge,      // its whole chunks and their index do not fit in a RIFF file's 32-bit sizes: left as
                   // it was (finishing it would drop frames)
    UnreadablePart, // a further RIFF part (or data behind an index) it cannot read: left as it was
    Stopped,       // the stop request came first; the file is still marked unfinished (a later try
                   // finishes it), and unless the index was being written, left as it was
    Failed,        // a read or write failed; the file is still marked unfinished (a later try redoes it)
};

struct FinishSummary {
    std::uint32_t chunks = 0;      // stream chunks kept
    std::uint32_t videoFrames = 0; // of them, video frames (empty ones included)
    std::uint64_t cutBytes = 0;    // a partly written chunk (and any zeros) cut off the end
    std::uint64_t zeroBytes = 0;   // runs of zeros passed over between whole chunks (kept as JUNK)
};

// Finishes a file marked unfinished. Safe to run again after an interruption: the file stays marked
// until its last write. stopRequested (when given) is asked now and then during the walk over the
// file; true ends the finishing (Outcome::Stopped).
Outcome FinishUnfinishedAvi(RecoveryFile& file, FinishSummary* summary = nullptr,
                            const std::function<bool()>& stopRequested = {});

// Whether the first 12 bytes of a file may mark it unfinished ("RIFF", size 0, "AVI "): a cheap
// first look; only FinishUnfinishedAvi tells for sure.
bool LooksUnfinished(const std::uint8_t* head, std::size_t length);

} // namespace avirecovery
