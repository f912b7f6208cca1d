#pragma once
// A recording held in memory for the finishing to work on, as the tests, the fuzz harness and the file
// sink's tests give it: reads past the end fail, writes grow it up to a cap, and writes can be made to
// fail after a count (an interrupted finishing).
#include <cstdint>
#include <cstring>
#include <vector>

#include "avi_recovery.h"

class MemoryFile : public avirecovery::RecoveryFile {
public:
    explicit MemoryFile(std::vector<std::uint8_t> bytes, std::uint64_t largest = UINT64_MAX)
        : bytes_(std::move(bytes)), largest_(largest) {}

    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            return false;
        std::memcpy(data, bytes_.data() + offset, length);
        return true;
    }
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
        if (writesLeft_ == 0 || offset > largest_ || length > largest_ - offset)
            return false;
        if (writesLeft_ > 0)
            --writesLeft_;
        if (offset + length > bytes_.size())
            bytes_.resize(offset + length);
        std::memcpy(bytes_.data() + offset, data, length);
        return true;
    }
    bool Size(std::uint64_t* size) override {
        *size = bytes_.size();
        return true;
    }
    bool Truncate(std::uint64_t size) override {
        if (size > largest_)
            return false;
        bytes_.resize(size);
        return true;
    }

    // Every later write fails after this many; -1 for no limit.
    void FailAfterWrites(int writes) { writesLeft_ = writes; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t largest_;
    int writesLeft_ = -1;
};
