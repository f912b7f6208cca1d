#include "test_frame.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define QEL_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_TEST_ASAN 1
#endif
#endif

namespace qel::testing {

using imaging::ByteOrder;
using imaging::PixelLayout;
using imaging::Rgb;

std::vector<FrameShape> KernelShapes() {
    return {
        {33, 19},           // odd in both directions, bottom-up
        {33, -19},          // the same top-down
        {33, 19, 0, true},  // unaligned
        {33, -19, 3, true}, // unaligned, top-down, padded
        {32, 7},            // a multiple of four: no padding
        {31, 8, 5},         // one below, padded
        {63, 5},            // one below, at and one above the vector widths
        {64, 4},
        {65, -3, 0, true},
        {5, 3, 7},
        {1, 1},
        {64, 48},
    };
}

std::string ShapeName(const FrameShape& shape) {
    std::string name = std::to_string(shape.width) + "x" + std::to_string(shape.height);
    if (shape.extraPadding)
        name += "+" + std::to_string(shape.extraPadding);
    if (shape.unaligned)
        name += "u";
    return name;
}

Rgb PatternColour(int x, int y, int seed) {
    // Gradients plus a hashed component: smooth areas, hard edges and saturated colours together.
    const unsigned hash = (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u) ^
                          (static_cast<unsigned>(seed) * 83492791u);
    return Rgb{static_cast<int>((x * 7 + y * 3 + seed) % 256), static_cast<int>((hash >> 8) % 256),
               static_cast<int>((255 - y * 11 + x) & 255)};
}

std::size_t TestFrame::TrailingGuard() {
#ifdef QEL_TEST_ASAN
    return 0; // the allocation's end is the guard: AddressSanitizer reports any access past it
#else
    return kGuard;
#endif
}

TestFrame::TestFrame(const PixelLayout& layout, Padding padding, bool unaligned)
    : layout_(layout), padding_(padding), offset_(kGuard + (unaligned ? 1 : 0)) {
    storage_.assign(offset_ + Bytes() + TrailingGuard(), kSentinel);
    if (padding_ == Padding::Data) {
        std::memset(Data(), 0, Bytes());
        return;
    }
    for (int row = 0; row < Lines(); ++row)
        std::memset(At(0, row), 0, RowBytes());
}

TestFrame::TestFrame(int width, int height, int channels, int extraPadding, ByteOrder order)
    : TestFrame(
          PixelLayout{width, height, imaging::DibStride(width, channels) + extraPadding, channels, order},
          Padding::Guarded, false) {}

TestFrame::TestFrame(const FrameShape& shape, int channels, ByteOrder order)
    : TestFrame(PixelLayout{shape.width, shape.height,
                            imaging::DibStride(shape.width, channels) + shape.extraPadding, channels, order},
                Padding::Guarded, shape.unaligned) {}

TestFrame TestFrame::WithStride(int width, int height, int stride, Padding padding) {
    return TestFrame(PixelLayout{width, height, stride ? stride : DibStride(width), 3, ByteOrder::BGR},
                     padding, false);
}

TestFrame TestFrame::DataPadded(int width, int height, int extraPadding) {
    return WithStride(width, height, DibStride(width, extraPadding), Padding::Data);
}

TestFrame TestFrame::Blank() const {
    return TestFrame(layout_, Padding::Guarded, offset_ != kGuard);
}

TestFrame TestFrame::Flipped() const {
    PixelLayout flippedLayout = layout_;
    flippedLayout.height = -layout_.height;
    TestFrame flipped(flippedLayout, padding_, offset_ != kGuard);
    for (int line = 0; line < Lines(); ++line)
        std::memcpy(flipped.Pixel(0, line), Pixel(0, line), RowBytes());
    return flipped;
}

Rgb TestFrame::ColourAt(int x, int row) const {
    const std::uint8_t* p = At(x, row);
    if (layout_.channels == 1)
        return Rgb{p[0], p[0], p[0]};
    return Rgb{p[imaging::RedIndex(layout_)], p[1], p[imaging::BlueIndex(layout_)]};
}

void TestFrame::SetColour(int x, int row, Rgb colour) {
    std::uint8_t* p = At(x, row);
    if (layout_.channels == 1) {
        p[0] = static_cast<std::uint8_t>(colour.green);
        return;
    }
    p[imaging::RedIndex(layout_)] = static_cast<std::uint8_t>(colour.red);
    p[1] = static_cast<std::uint8_t>(colour.green);
    p[imaging::BlueIndex(layout_)] = static_cast<std::uint8_t>(colour.blue);
}

void TestFrame::Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    for (int row = 0; row < Lines(); ++row) {
        for (int x = 0; x < layout_.width; ++x) {
            std::uint8_t* p = At(x, row);
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

void TestFrame::Fill(const std::function<Rgb(int x, int row)>& colour) {
    for (int row = 0; row < Lines(); ++row) {
        for (int x = 0; x < layout_.width; ++x)
            SetColour(x, row, colour(x, row));
    }
}

void TestFrame::FillGrey(const std::function<int(int x, int row)>& value) {
    Fill([&](int x, int row) {
        const int v = value(x, row);
        return Rgb{v, v, v};
    });
}

void TestFrame::FillNoise(std::uint32_t seed) {
    std::uint32_t state = seed * 2654435761u + 1;
    for (int line = 0; line < Lines(); ++line) {
        std::uint8_t* bytes = Pixel(0, line);
        for (std::size_t i = 0; i < RowBytes(); ++i) {
            state = state * 1664525u + 1013904223u;
            bytes[i] = static_cast<std::uint8_t>(state >> 24);
        }
    }
}

void TestFrame::FillRamp() {
    for (int line = 0; line < Lines(); ++line) {
        for (int x = 0; x < layout_.width; ++x) {
            std::uint8_t* p = Pixel(x, line);
            p[0] = static_cast<std::uint8_t>(x * 3 + line);
            p[1] = static_cast<std::uint8_t>(x + line * 2);
            p[2] = static_cast<std::uint8_t>(128 + x - line);
        }
    }
}

void TestFrame::FillBytes(std::uint8_t value) {
    std::memset(Data(), value, Bytes());
}

void TestFrame::FillRandom(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uint8_t* bytes = Data();
    for (std::size_t i = 0; i < Bytes(); ++i)
        bytes[i] = static_cast<std::uint8_t>(random());
}

bool TestFrame::SamePicture(const TestFrame& other) const {
    if (other.Width() != Width() || other.Lines() != Lines() || other.PixelBytes() != PixelBytes())
        return false;
    for (int line = 0; line < Lines(); ++line) {
        if (std::memcmp(Pixel(0, line), other.Pixel(0, line), RowBytes()) != 0)
            return false;
    }
    return true;
}

int TestFrame::MaxDifference(const TestFrame& other) const {
    int worst = 0;
    for (int row = 0; row < Lines(); ++row) {
        const std::uint8_t* a = At(0, row);
        const std::uint8_t* b = other.At(0, row);
        for (std::size_t i = 0; i < RowBytes(); ++i)
            worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    return worst;
}

bool TestFrame::GuardsIntact() const {
    const auto sentinel = [](std::uint8_t b) { return b == kSentinel; };
    if (!std::all_of(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(offset_), sentinel) ||
        !std::all_of(storage_.begin() + static_cast<std::ptrdiff_t>(offset_ + Bytes()), storage_.end(),
                     sentinel))
        return false;
    if (padding_ == Padding::Data)
        return true;
    for (int row = 0; row < Lines(); ++row) {
        const std::uint8_t* padding = At(0, row) + RowBytes();
        if (!std::all_of(padding, At(0, row) + layout_.stride, sentinel))
            return false;
    }
    return true;
}

} // namespace qel::testing
