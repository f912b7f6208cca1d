#pragma once
// The guarded frame every kernel test and frame benchmark runs on: exact-size pixel rows in either
// orientation, guard bytes before the frame and (without AddressSanitizer) after it, and sentinel
// row padding, so that a stray write shows. Under AddressSanitizer the frame ends at the end of its
// allocation, so a read or write past it fails loudly. For kernels that treat a frame as one buffer,
// padding and all, the padding can instead be data (zeroed, never checked).
//
// Rows are addressed two ways: At(x, row) in buffer order, Pixel(x, line) in picture order (line 0 is
// the bottom of the picture whatever the orientation).
#include "qelimaging/colour_cube.h"
#include "qelimaging/pixel_layout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qel::testing {

// One shape a kernel is run at.
struct FrameShape {
    int width = 0;
    int height = 0;         // negative: a top-down frame
    int extraPadding = 0;   // bytes after the DIB row
    bool unaligned = false; // pixel data one byte past an aligned address
};

// The shapes every kernel is run at: the odd size 33x19 in both orientations and unaligned, widths
// one below and above a multiple of four and of the vector widths, extra row padding, a single pixel.
std::vector<FrameShape> KernelShapes();
// "33x-19+5u" style: width x height, extra padding, u for unaligned. For test names and traces.
std::string ShapeName(const FrameShape& shape);

// A deterministic picture with gradients, edges and every kind of colour: good for comparing paths.
imaging::Rgb PatternColour(int x, int y, int seed = 0);

class TestFrame {
public:
    static constexpr std::uint8_t kSentinel = 0xA5;

    enum class Padding {
        Guarded, // sentinel bytes that must stay untouched
        Data,    // part of the buffer: zeroed at first, filled and compared with the pixels
    };

    // width x |height| pixels of `channels` bytes (1 or 3); rows padded by the DIB rule plus
    // `extraPadding` guarded bytes. Pixels start at zero.
    TestFrame(int width, int height, int channels = 3, int extraPadding = 0,
              imaging::ByteOrder order = imaging::ByteOrder::BGR);
    explicit TestFrame(const FrameShape& shape, int channels = 3,
                       imaging::ByteOrder order = imaging::ByteOrder::BGR);
    // Three bytes a pixel with rows `stride` bytes apart (0: the DIB rule).
    static TestFrame WithStride(int width, int height, int stride, Padding padding = Padding::Guarded);
    // Rows of the DIB rule plus extraPadding bytes, with the padding as data.
    static TestFrame DataPadded(int width, int height, int extraPadding = 0);
    // Bytes of a DIB row of three-byte pixels plus extraPadding.
    static int DibStride(int width, int extraPadding = 0) { return (width * 3 + 3) / 4 * 4 + extraPadding; }

    // A frame of the same layout and alignment for a kernel to write: guarded padding, pixels zero.
    TestFrame Blank() const;
    // The same picture in the other orientation.
    TestFrame Flipped() const;

    const imaging::PixelLayout& Layout() const { return layout_; }
    int Width() const { return layout_.width; }
    int Height() const { return layout_.height; }
    int Lines() const { return imaging::RowCount(layout_); }
    int Stride() const { return layout_.stride; }
    int PixelBytes() const { return layout_.channels; }
    std::size_t Bytes() const { return imaging::ImageBytes(layout_); }
    std::uint8_t* Data() { return storage_.data() + offset_; }
    const std::uint8_t* Data() const { return storage_.data() + offset_; }

    // Pixel x of buffer row `row`, as the rows are stored whatever the orientation.
    std::uint8_t* At(int x, int row) {
        return Data() + static_cast<std::size_t>(row) * layout_.stride +
               static_cast<std::size_t>(x) * layout_.channels;
    }
    const std::uint8_t* At(int x, int row) const {
        return Data() + static_cast<std::size_t>(row) * layout_.stride +
               static_cast<std::size_t>(x) * layout_.channels;
    }
    // Pixel x of picture line `line` (line 0 is the bottom of the picture).
    std::uint8_t* Pixel(int x, int line) { return At(x, BufferRow(line)); }
    const std::uint8_t* Pixel(int x, int line) const { return At(x, BufferRow(line)); }
    // Pixel x of picture line y counted from the top.
    std::uint8_t* FromTop(int x, int y) { return Pixel(x, Lines() - 1 - y); }
    const std::uint8_t* FromTop(int x, int y) const { return Pixel(x, Lines() - 1 - y); }

    // Colours by buffer row, red and blue found by the byte order (one-channel frames: grey).
    imaging::Rgb ColourAt(int x, int row) const;
    void SetColour(int x, int row, imaging::Rgb colour);

    // Every pixel one colour (bytes in buffer order), or a colour per buffer position.
    void Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red);
    void Fill(const std::function<imaging::Rgb(int x, int row)>& colour);
    void FillGrey(const std::function<int(int x, int row)>& value);
    // Pseudo-random pixels, the same for the same seed and size in either orientation.
    void FillNoise(std::uint32_t seed);
    // A smooth diagonal ramp (neighbours differ little).
    void FillRamp();
    // Every byte of the buffer, padding included: one value, or pseudo-random bytes (the same for the
    // same seed). Meant for frames whose padding is data.
    void FillBytes(std::uint8_t value);
    void FillRandom(std::uint32_t seed);

    // Guard bytes (and guarded padding) still hold the sentinel.
    bool GuardsIntact() const;
    bool PaddingIntact() const { return GuardsIntact(); } // the name the imaging tests read best with
    // Pixels equal (padding ignored) and same size, compared picture line by picture line.
    bool SamePicture(const TestFrame& other) const;
    // Every pixel byte equal to the other frame's, buffer row by buffer row (same layout).
    bool PixelsEqual(const TestFrame& other) const { return MaxDifference(other) == 0; }
    // Largest difference of any pixel byte, buffer row by buffer row.
    int MaxDifference(const TestFrame& other) const;

private:
    static constexpr std::size_t kGuard = 16;
    TestFrame(const imaging::PixelLayout& layout, Padding padding, bool unaligned);
    static std::size_t TrailingGuard();
    int BufferRow(int line) const { return layout_.height < 0 ? Lines() - 1 - line : line; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(layout_.width) * layout_.channels; }

    imaging::PixelLayout layout_;
    Padding padding_ = Padding::Guarded;
    std::size_t offset_ = kGuard; // of the frame in the storage: the leading guard, one more unaligned
    std::vector<std::uint8_t> storage_;
};

} // namespace qel::testing

// The tests outside the imaging namespace name the frame plainly.
using qel::testing::TestFrame;
