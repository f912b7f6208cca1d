#pragma once
// RGB24 test frames: DIB-padded rows, either orientation, a leading guard and sentinel padding so that a
// stray write shows; the frame ends at the end of its allocation, so that AddressSanitizer sees a
// read or write past it (without ASan a trailing guard takes its place). For kernels that treat a
// frame as one buffer, padding and all, the padding can instead be data (zeroed, never checked).
#include <cstddef>
#include <cstdint>
#include <vector>

class TestFrame {
public:
    static constexpr uint8_t kSentinel = 0xA5;

    enum class Padding {
        Guarded,  // sentinel bytes that must stay untouched
        Data,     // part of the buffer: zeroed at first, filled and compared with the pixels
    };

    // height < 0: a top-down frame. stride 0: the DIB rule (width x 3 rounded up to 4).
    TestFrame(int width, int height, int stride = 0, Padding padding = Padding::Guarded);
    // A frame whose rows are the DIB rule plus extraPadding bytes, with the padding as data.
    static TestFrame DataPadded(int width, int height, int extraPadding = 0);
    static int DibStride(int width, int extraPadding = 0) { return (width * 3 + 3) / 4 * 4 + extraPadding; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Lines() const { return height_ < 0 ? -height_ : height_; }
    int Stride() const { return stride_; }
    static constexpr int PixelBytes() { return 3; }
    size_t Bytes() const { return static_cast<size_t>(stride_) * static_cast<size_t>(Lines()); }
    uint8_t* Data() { return storage_.data() + kGuard; }
    const uint8_t* Data() const { return storage_.data() + kGuard; }

    // Pixel of column x on picture line `line` (line 0 is the bottom of the picture).
    uint8_t* Pixel(int x, int line);
    const uint8_t* Pixel(int x, int line) const;
    // Pixel of column x on picture line y counted from the top.
    uint8_t* FromTop(int x, int y) { return Pixel(x, Lines() - 1 - y); }
    const uint8_t* FromTop(int x, int y) const { return Pixel(x, Lines() - 1 - y); }
    // Byte x * 3 of buffer row `row`, as the rows are stored whatever the orientation.
    uint8_t* AtRow(int x, int row) { return Data() + static_cast<size_t>(row) * stride_ + static_cast<size_t>(x) * 3; }
    const uint8_t* AtRow(int x, int row) const {
        return Data() + static_cast<size_t>(row) * stride_ + static_cast<size_t>(x) * 3;
    }

    void Fill(uint8_t blue, uint8_t green, uint8_t red);
    // Pseudo-random pixels, the same for the same seed and size in either orientation.
    void FillNoise(uint32_t seed);
    // A smooth diagonal ramp (neighbours differ little).
    void FillRamp();
    // Every byte of the buffer, padding included: one value, or pseudo-random bytes (the same for the
    // same seed). Meant for frames whose padding is data.
    void FillBytes(uint8_t value);
    void FillRandom(uint32_t seed);

    // The same picture in the other orientation.
    TestFrame Flipped() const;
    // Pixels equal (padding ignored) and same size.
    bool SamePicture(const TestFrame& other) const;
    // Guard bytes (and guarded padding) still hold the sentinel.
    bool GuardsIntact() const;

private:
    static constexpr size_t kGuard = 16;
    static size_t TrailingGuard();
    size_t RowOffset(int line) const;

    int width_;
    int height_;
    int stride_;
    Padding padding_;
    std::vector<uint8_t> storage_;
};
