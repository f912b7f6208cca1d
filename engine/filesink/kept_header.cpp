#include "kept_header.h"

#include <algorithm>
#include <cstring>
#include <new>

void KeptHeader::Start(std::uint64_t end) {
    Clear();
    end_ = end;
}

void KeptHeader::Clear() {
    end_ = 0;
    bytes_.clear();
    bytes_.shrink_to_fit();
    written_.clear();
    written_.shrink_to_fit();
}

bool KeptHeader::Take(std::uint64_t offset, const std::uint8_t* data, std::size_t length, std::size_t* taken) {
    *taken = 0;
    if (offset >= end_ || length == 0)
        return true;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length, end_ - offset));
    const std::size_t at = static_cast<std::size_t>(offset), to = at + count;
    try {
        if (bytes_.size() < to) {
            bytes_.resize(to);
            written_.resize(to);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(&bytes_[at], data, count);
    std::fill(written_.begin() + static_cast<std::ptrdiff_t>(at), written_.begin() + static_cast<std::ptrdiff_t>(to),
              true);
    *taken = count;
    return true;
}

void KeptHeader::Overlay(std::uint64_t offset, std::uint8_t* data, std::size_t length) const {
    for (std::uint64_t i = offset; i < bytes_.size() && i - offset < length; ++i)
        if (written_[static_cast<std::size_t>(i)])
            data[i - offset] = bytes_[static_cast<std::size_t>(i)];
}

std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> KeptHeader::Runs() const {
    std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> runs;
    for (std::size_t i = 0; i < bytes_.size();) {
        if (!written_[i]) {
            ++i;
            continue;
        }
        std::size_t to = i;
        while (to < bytes_.size() && written_[to])
            ++to;
        runs.emplace_back(i, std::vector<std::uint8_t>(bytes_.begin() + static_cast<std::ptrdiff_t>(i),
                                                       bytes_.begin() + static_cast<std::ptrdiff_t>(to)));
        i = to;
    }
    return runs;
}
