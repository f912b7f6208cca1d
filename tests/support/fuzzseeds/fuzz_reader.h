#pragma once
// The other side of SeedWriter (fuzz_seeds.h): a libFuzzer harness reads fixed-size little-endian
// numbers from the front of its input, zeros once the input runs out, and may take the rest as text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qel::fuzzseeds {

// A harness's own check: libFuzzer reports an abort as a finding, with the input that caused it.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

class FuzzReader {
public:
    FuzzReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::int32_t I32() { return Get<std::int32_t>(); }
    std::uint32_t U32() { return Get<std::uint32_t>(); }
    std::int64_t I64() { return Get<std::int64_t>(); }
    double F64() { return Get<double>(); }
    std::uint8_t U8() { return Get<std::uint8_t>(); }
    std::size_t Left() const { return size_ - at_; }
    // The unread bytes as a string (it may hold nul characters), consuming them.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return rest;
    }

private:
    template <typename T>
    T Get() {
        T value{};
        const std::size_t take = Left() < sizeof(T) ? Left() : sizeof(T);
        if (take)
            std::memcpy(&value, data_ + at_, take);
        at_ += take;
        return value;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace qel::fuzzseeds
