#include "frame_fixture.h"

#include <cstring>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define QEL_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_TEST_ASAN 1
#endif
#endif

size_t TestFrame::TrailingGuard() {
#ifdef QEL_TEST_ASAN
    return 0;
#else
    return kGuard;
#endif
}

TestFrame::TestFrame(int width, int height, int stride, Padding padding)
    : width_(width), height_(height), stride_(stride ? stride : DibStride(width)), padding_(padding) {
    storage_.assign(kGuard + Bytes() + TrailingGuard(), kSentinel);
    if (padding_ == Padding::Data) {
        std::memset(Data(), 0, Bytes());
        return;
    }
    for (int line = 0; line < Lines(); ++line)
        std::memset(Pixel(0, line), 0, static_cast<size_t>(width_) * 3);
}

TestFrame TestFrame::DataPadded(int width, int height, int extraPadding) {
    return TestFrame(width, height, DibStride(width, extraPadding), Padding::Data);
}

size_t TestFrame::RowOffset(int line) const {
    const int row = height_ < 0 ? Lines() - 1 - line : line;
    return static_cast<size_t>(row) * static_cast<size_t>(stride_);
}

uint8_t* TestFrame::Pixel(int x, int line) {
    return Data() + RowOffset(line) + static_cast<size_t>(x) * 3;
}

const uint8_t* TestFrame::Pixel(int x, int line) const {
    return Data() + RowOffset(line) + static_cast<size_t>(x) * 3;
}

void TestFrame::Fill(uint8_t blue, uint8_t green, uint8_t red) {
    for (int line = 0; line < Lines(); ++line) {
        for (int x = 0; x < width_; ++x) {
            uint8_t* p = Pixel(x, line);
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

void TestFrame::FillNoise(uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    for (int line = 0; line < Lines(); ++line) {
        for (int x = 0; x < width_ * 3; ++x) {
            state = state * 1664525u + 1013904223u;
            Pixel(0, line)[x] = static_cast<uint8_t>(state >> 24);
        }
    }
}

void TestFrame::FillRamp() {
    for (int line = 0; line < Lines(); ++line) {
        for (int x = 0; x < width_; ++x) {
            uint8_t* p = Pixel(x, line);
            p[0] = static_cast<uint8_t>(x * 3 + line);
            p[1] = static_cast<uint8_t>(x + line * 2);
            p[2] = static_cast<uint8_t>(128 + x - line);
        }
    }
}

void TestFrame::FillBytes(uint8_t value) { std::memset(Data(), value, Bytes()); }

void TestFrame::FillRandom(uint32_t seed) {
    std::mt19937 random(seed);
    uint8_t* bytes = Data();
    for (size_t i = 0; i < Bytes(); ++i)
        bytes[i] = static_cast<uint8_t>(random());
}

TestFrame TestFrame::Flipped() const {
    TestFrame flipped(width_, -height_, stride_, padding_);
    for (int line = 0; line < Lines(); ++line)
        std::memcpy(flipped.Pixel(0, line), Pixel(0, line), static_cast<size_t>(width_) * 3);
    return flipped;
}

bool TestFrame::SamePicture(const TestFrame& other) const {
    if (other.width_ != width_ || other.Lines() != Lines())
        return false;
    for (int line = 0; line < Lines(); ++line) {
        if (std::memcmp(Pixel(0, line), other.Pixel(0, line), static_cast<size_t>(width_) * 3) != 0)
            return false;
    }
    return true;
}

bool TestFrame::GuardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i) {
        if (storage_[i] != kSentinel)
            return false;
    }
    for (size_t i = kGuard + Bytes(); i < storage_.size(); ++i) {
        if (storage_[i] != kSentinel)
            return false;
    }
    if (padding_ == Padding::Data)
        return true;
    const size_t rowBytes = static_cast<size_t>(width_) * 3;
    for (int row = 0; row < Lines(); ++row) {
        const uint8_t* padding = Data() + static_cast<size_t>(row) * stride_ + rowBytes;
        for (size_t i = 0; i < static_cast<size_t>(stride_) - rowBytes; ++i) {
            if (padding[i] != kSentinel)
                return false;
        }
    }
    return true;
}
