// Fuzzes the finishing of cut-short recordings with arbitrary file contents: it must never crash,
// must leave every file it does not finish exactly as it was, and a finished file must read as
// finished (finishing it again changes nothing).
#include <cstdlib>
#include <cstring>
#include <vector>

#include "avi_recovery.h"

namespace {

class BytesFile : public avirecovery::RecoveryFile {
public:
    explicit BytesFile(std::vector<std::uint8_t> data) : bytes(std::move(data)) {}
    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
        if (offset > bytes.size() || length > bytes.size() - offset)
            return false;
        std::memcpy(data, bytes.data() + offset, length);
        return true;
    }
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
        if (offset + length > (64u << 20))
            return false; // no test file grows that far
        if (offset + length > bytes.size())
            bytes.resize(offset + length);
        std::memcpy(bytes.data() + offset, data, length);
        return true;
    }
    bool Size(std::uint64_t* size) override {
        *size = bytes.size();
        return true;
    }
    bool Truncate(std::uint64_t size) override {
        if (size > bytes.size())
            return false;
        bytes.resize(size);
        return true;
    }
    std::vector<std::uint8_t> bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> original(data, data + size);
    BytesFile file(original);
    const avirecovery::Outcome outcome = avirecovery::FinishUnfinishedAvi(file);
    if (outcome == avirecovery::Outcome::Finished) {
        if (avirecovery::LooksUnfinished(file.bytes.data(), file.bytes.size()))
            std::abort();
        const std::vector<std::uint8_t> finished = file.bytes;
        if (avirecovery::FinishUnfinishedAvi(file) != avirecovery::Outcome::NotUnfinished || file.bytes != finished)
            std::abort();
    } else if (outcome != avirecovery::Outcome::Failed && file.bytes != original) {
        std::abort();
    }
    return 0;
}
