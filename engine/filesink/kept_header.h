#pragma once
// What a multiplexer writes in front of its first data while it records. A multiplexer may rewrite
// its header before it stops (an AVI 2.0 one closes its first part past about 1 GB and may write its
// indexes as it goes); on the disk that would cover the provisional header and its unfinished mark,
// and a crash after it would leave frames no repair finds. So until the recording ends these bytes
// are kept here, reads see them, and the disk holds the provisional header.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class KeptHeader {
public:
    // Keeps what is written below end (where the provisional header ends and the data begins).
    void Start(std::uint64_t end);
    // Forgets the kept bytes: the disk keeps what it holds.
    void Clear();
    bool Keeping() const { return end_ != 0; }
    std::uint64_t End() const { return end_; }

    // Keeps the part of a write at offset that lies below the end: how many of its first bytes that
    // is (0 when it starts at or past the end). False when there is no memory for them.
    bool Take(std::uint64_t offset, const std::uint8_t* data, std::size_t length, std::size_t* taken);
    // Lays the kept bytes over what a read of length bytes at offset got from the disk.
    void Overlay(std::uint64_t offset, std::uint8_t* data, std::size_t length) const;
    // The runs of bytes written, in order: what goes to the disk as the recording ends.
    std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> Runs() const;

private:
    std::uint64_t end_ = 0;
    // Grown to the last byte written; written_ tells the bytes written from those never written.
    std::vector<std::uint8_t> bytes_;
    std::vector<bool> written_;
};
