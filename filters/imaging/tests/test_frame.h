#pragma once
// Frames for the imaging tests: exact-size pixel rows with padding filled by a marker, and guard bytes
// after the buffer (poisoned under AddressSanitizer, so that a read past the end fails loudly; checked
// by value everywhere, so that a write past the end fails too).
#include "qelimaging/colour_cube.h"
#include "qelimaging/pixel_layout.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qel::imaging::testing {

class TestFrame {
public:
    static constexpr std::uint8_t kMarker = 0xA5;
    static constexpr std::size_t kGuardBytes = 64;

    // width x |height| pixels of `channels` bytes; rows padded by the DIB rule plus `extraPadding` bytes.
    TestFrame(int width, int height, int channels = 3, int extraPadding = 0,
              ByteOrder order = ByteOrder::BGR);
    ~TestFrame();
    TestFrame(const TestFrame& other);
    TestFrame& operator=(const TestFrame&) = delete;

    const PixelLayout& Layout() const { return layout_; }
    std::uint8_t* Data() { return storage_.data(); }
    const std::uint8_t* Data() const { return storage_.data(); }
    std::uint8_t* At(int x, int y) {
        return Data() + static_cast<std::size_t>(y) * layout_.stride + x * layout_.channels;
    }
    const std::uint8_t* At(int x, int y) const {
        return Data() + static_cast<std::size_t>(y) * layout_.stride + x * layout_.channels;
    }

    Rgb ColourAt(int x, int y) const;
    void SetColour(int x, int y, Rgb colour);
    void Fill(const std::function<Rgb(int x, int y)>& colour);
    void FillGrey(const std::function<int(int x, int y)>& value); // one-channel frames

    // True when no padding byte and no guard byte changed.
    bool PaddingIntact() const;
    // True when every pixel byte equals the other frame's (same layout).
    bool PixelsEqual(const TestFrame& other) const;
    // Largest difference of any pixel byte.
    int MaxDifference(const TestFrame& other) const;

private:
    void Protect();
    void Unprotect();

    PixelLayout layout_;
    std::vector<std::uint8_t> storage_;
};

// A deterministic picture with gradients, edges and every kind of colour: good for comparing paths.
Rgb PatternColour(int x, int y, int seed = 0);

// The sizes and layouts every kernel is run at: odd sizes, widths around a multiple of four, extra row
// padding, both orientations, a single pixel.
struct FrameShape {
    int width;
    int height;
    int extraPadding;
};
std::vector<FrameShape> KernelShapes();

} // namespace qel::imaging::testing
