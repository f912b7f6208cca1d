#include "test_frame.h"

#include <algorithm>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QEL_TEST_ASAN 1
#endif
#ifdef QEL_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace qel::imaging::testing {

TestFrame::TestFrame(int width, int height, int channels, int extraPadding, ByteOrder order) {
    layout_.width = width;
    layout_.height = height;
    layout_.channels = channels;
    layout_.order = order;
    layout_.stride = DibStride(width, channels) + extraPadding;
    storage_.assign(ImageBytes(layout_) + kGuardBytes, kMarker);
    Protect();
}

TestFrame::TestFrame(const TestFrame& other) : layout_(other.layout_) {
    const_cast<TestFrame&>(other).Unprotect();
    storage_ = other.storage_;
    const_cast<TestFrame&>(other).Protect();
    Protect();
}

TestFrame::~TestFrame() {
    Unprotect();
}

void TestFrame::Protect() {
#ifdef QEL_TEST_ASAN
    ASAN_POISON_MEMORY_REGION(storage_.data() + ImageBytes(layout_), kGuardBytes);
#endif
}

void TestFrame::Unprotect() {
#ifdef QEL_TEST_ASAN
    ASAN_UNPOISON_MEMORY_REGION(storage_.data() + ImageBytes(layout_), kGuardBytes);
#endif
}

Rgb TestFrame::ColourAt(int x, int y) const {
    const std::uint8_t* p = At(x, y);
    if (layout_.channels == 1) {
        return Rgb{p[0], p[0], p[0]};
    }
    return Rgb{p[RedIndex(layout_)], p[1], p[BlueIndex(layout_)]};
}

void TestFrame::SetColour(int x, int y, Rgb colour) {
    std::uint8_t* p = At(x, y);
    if (layout_.channels == 1) {
        p[0] = static_cast<std::uint8_t>(colour.green);
        return;
    }
    p[RedIndex(layout_)] = static_cast<std::uint8_t>(colour.red);
    p[1] = static_cast<std::uint8_t>(colour.green);
    p[BlueIndex(layout_)] = static_cast<std::uint8_t>(colour.blue);
}

void TestFrame::Fill(const std::function<Rgb(int x, int y)>& colour) {
    for (int y = 0; y < RowCount(layout_); ++y) {
        for (int x = 0; x < layout_.width; ++x) {
            SetColour(x, y, colour(x, y));
        }
    }
}

void TestFrame::FillGrey(const std::function<int(int x, int y)>& value) {
    Fill([&](int x, int y) {
        const int v = value(x, y);
        return Rgb{v, v, v};
    });
}

bool TestFrame::PaddingIntact() const {
    const std::size_t rowBytes = static_cast<std::size_t>(layout_.width) * layout_.channels;
    for (int y = 0; y < RowCount(layout_); ++y) {
        const std::uint8_t* row = Data() + static_cast<std::size_t>(y) * layout_.stride;
        for (std::size_t i = rowBytes; i < static_cast<std::size_t>(layout_.stride); ++i) {
            if (row[i] != kMarker) {
                return false;
            }
        }
    }
    const_cast<TestFrame*>(this)->Unprotect();
    const bool guardIntact = std::all_of(storage_.begin() + static_cast<std::ptrdiff_t>(ImageBytes(layout_)),
                                         storage_.end(), [](std::uint8_t b) { return b == kMarker; });
    const_cast<TestFrame*>(this)->Protect();
    return guardIntact;
}

int TestFrame::MaxDifference(const TestFrame& other) const {
    int worst = 0;
    const std::size_t rowBytes = static_cast<std::size_t>(layout_.width) * layout_.channels;
    for (int y = 0; y < RowCount(layout_); ++y) {
        const std::uint8_t* a = Data() + static_cast<std::size_t>(y) * layout_.stride;
        const std::uint8_t* b = other.Data() + static_cast<std::size_t>(y) * other.layout_.stride;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            worst = std::max(worst, std::abs(a[i] - b[i]));
        }
    }
    return worst;
}

bool TestFrame::PixelsEqual(const TestFrame& other) const {
    return MaxDifference(other) == 0;
}

Rgb PatternColour(int x, int y, int seed) {
    // Gradients plus a hashed component: smooth areas, hard edges and saturated colours together.
    const unsigned hash = (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u) ^
                          (static_cast<unsigned>(seed) * 83492791u);
    return Rgb{static_cast<int>((x * 7 + y * 3 + seed) % 256), static_cast<int>((hash >> 8) % 256),
               static_cast<int>((255 - y * 11 + x) & 255)};
}

std::vector<FrameShape> KernelShapes() {
    return {{33, 19, 0}, {33, -19, 0}, {32, 7, 0}, {31, 8, 5}, {1, 1, 0}, {5, 3, 7}, {64, 48, 0}};
}

} // namespace qel::imaging::testing
