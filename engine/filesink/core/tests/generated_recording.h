#pragma once
// A cut-short recording of any length without holding it: the provisional header, then `frames`
// frame chunks of `frameSize` bytes computed on demand. Writes are kept aside (small ones only: the
// finishing's index and sizes), so that a recording near 4 GB costs only what is written to it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "avi_recovery.h"

class GeneratedRecording : public avirecovery::RecoveryFile {
public:
    GeneratedRecording(std::vector<std::uint8_t> header, std::uint64_t frames, std::uint32_t frameSize)
        : header_(std::move(header)), frameSize_(frameSize),
          size_(header_.size() + frames * (8 + static_cast<std::uint64_t>(frameSize))) {}

    bool ReadAt(std::uint64_t offset, void* data, std::size_t length) override {
        if (offset > size_ || length > size_ - offset)
            return false;
        auto* out = static_cast<std::uint8_t*>(data);
        for (std::size_t i = 0; i < length; ++i)
            out[i] = Original(offset + i);
        for (const auto& [at, bytes] : written_) {
            const std::uint64_t from = std::max(at, offset), to = std::min(at + bytes.size(), offset + length);
            if (from < to)
                std::memcpy(out + (from - offset), bytes.data() + (from - at), static_cast<std::size_t>(to - from));
        }
        return true;
    }
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t length) override {
        const auto* in = static_cast<const std::uint8_t*>(data);
        written_[offset].assign(in, in + length); // the finishing never writes one place twice
        size_ = std::max<std::uint64_t>(size_, offset + length);
        return true;
    }
    bool Size(std::uint64_t* size) override {
        *size = size_;
        return true;
    }
    bool Truncate(std::uint64_t size) override {
        size_ = size;
        ++truncations_;
        return true;
    }

    bool Untouched() const { return written_.empty() && truncations_ == 0; }
    std::uint64_t FrameOffset(std::uint64_t frame) const { return header_.size() + frame * (8 + std::uint64_t{frameSize_}); }

private:
    std::uint8_t Original(std::uint64_t at) const {
        if (at < header_.size())
            return header_[static_cast<std::size_t>(at)];
        const std::uint64_t inData = at - header_.size(), stride = 8 + std::uint64_t{frameSize_};
        const std::uint64_t within = inData % stride;
        static const std::uint8_t kId[4] = {'0', '0', 'd', 'b'};
        if (within < 4)
            return kId[within];
        if (within < 8)
            return static_cast<std::uint8_t>(frameSize_ >> (8 * (within - 4)));
        return static_cast<std::uint8_t>(inData / stride + 1);
    }

    std::vector<std::uint8_t> header_;
    std::uint32_t frameSize_;
    std::uint64_t size_;
    std::map<std::uint64_t, std::vector<std::uint8_t>> written_;
    int truncations_ = 0;
};
