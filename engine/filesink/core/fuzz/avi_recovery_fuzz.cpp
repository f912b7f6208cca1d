// Fuzzes the finishing of cut-short recordings (and the judging of stopped ones) with arbitrary file
// contents: it must never crash, must leave every file it does not finish exactly as it was, a
// finished file must read as finished (finishing it again changes nothing), and a finishing stopped
// part way and run again must give exactly the file an uninterrupted one gives.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "avi_recovery.h"
#include "memory_file.h"
#include "recorded_video.h"

// No test file grows past 64 MB: a larger write is refused rather than allocated.
constexpr std::uint64_t kLargestFile = 64u << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> original(data, data + size);
    MemoryFile file(original, kLargestFile);
    avirecovery::FindRecordedVideo(file); // the judge of a stopped recording reads the same files
    if (file.Bytes() != original)
        std::abort();
    const avirecovery::Outcome outcome = avirecovery::FinishUnfinishedAvi(file);
    if (outcome == avirecovery::Outcome::Stopped)
        std::abort(); // nobody asked it to stop
    if (outcome == avirecovery::Outcome::Finished) {
        if (avirecovery::LooksUnfinished(file.Bytes().data(), file.Bytes().size()))
            std::abort();
        const std::vector<std::uint8_t> finished = file.Bytes();
        if (avirecovery::FinishUnfinishedAvi(file) != avirecovery::Outcome::NotUnfinished || file.Bytes() != finished)
            std::abort();
        // Stopped at a question the input picks, then run again to the end.
        MemoryFile resumed(original, kLargestFile);
        int questions = 1 + (size ? data[size - 1] % 8 : 0);
        const avirecovery::Outcome first =
            avirecovery::FinishUnfinishedAvi(resumed, nullptr, [&questions] { return --questions <= 0; });
        if (first == avirecovery::Outcome::Stopped &&
            avirecovery::FinishUnfinishedAvi(resumed) != avirecovery::Outcome::Finished)
            std::abort();
        if (first != avirecovery::Outcome::Failed && resumed.Bytes() != finished)
            std::abort();
    } else if (outcome != avirecovery::Outcome::Failed && file.Bytes() != original) {
        std::abort();
    }
    return 0;
}
