#pragma once
// RGB24 test frames: DIB-padded rows, either orientation, a leading guard and sentinel padding so that a
// stray write shows; the frame ends at the end of its allocation, so that AddressSanitizer sees a
// read or write past it (without ASan a trailing guard takes its place).
#include <cstddef>
#include <cstdint>
#include <vector>

class TestFrame {
public:
    static constexpr uint8_t kSentinel = 0xA5;

    // height < 0: a top-down frame. stride 0: the DIB rule (width x 3 rounded up to 4).
    TestFrame(int width, int height, int stride = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Lines() const { return height_ < 0 ? -height_ : height_; }
    int Stride() const { return stride_; }
    size_t Bytes() const { return static_cast<size_t>(stride_) * static_cast<size_t>(Lines()); }
    uint8_t* Data() { return storage_.data() + kGuard; }
    const uint8_t* Data() const { return storage_.data() + kGuard; }

    // Pixel of column x on picture line `line` (line 0 is the bottom of the picture).
    uint8_t* Pixel(int x, int line);
    const uint8_t* Pixel(int x, int line) const;

    void Fill(uint8_t blue, uint8_t green, uint8_t red);
    // Pseudo-random pixels, the same for the same seed and size in either orientation.
    void FillNoise(uint32_t seed);
    // A smooth diagonal ramp (neighbours differ little).
    void FillRamp();

    // The same picture in the other orientation.
    TestFrame Flipped() const;
    // Pixels equal (padding ignored) and same size.
    bool SamePicture(const TestFrame& other) const;
    // Guard and padding bytes still hold the sentinel.
    bool GuardsIntact() const;

private:
    static constexpr size_t kGuard = 16;
    static size_t TrailingGuard();
    size_t RowOffset(int line) const;

    int width_;
    int height_;
    int stride_;
    std::vector<uint8_t> storage_;
};
