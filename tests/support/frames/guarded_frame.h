// Frame buffers for kernel tests: rows may be padded, and the bytes after the last row are a guard
// that a test checks after the kernel ran. Natively AddressSanitizer guards the end instead, so the
// pixels end exactly at the allocation's end and any read past it fails loudly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace frametest {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr std::size_t kGuardBytes = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr std::size_t kGuardBytes = 0;
#else
inline constexpr std::size_t kGuardBytes = 64;
#endif
#else
inline constexpr std::size_t kGuardBytes = 64;
#endif

inline constexpr std::uint8_t kGuardValue = 0xA5;

// Row stride of a DIB: whole rows of pixels rounded up to four bytes, plus optional extra padding.
inline int DibStride(int width, int bytesPerPixel, int extraPadding = 0) {
    return (width * bytesPerPixel + 3) / 4 * 4 + extraPadding;
}

class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t size)
        : size_(size), storage_(new std::uint8_t[size + kGuardBytes]) {
        std::memset(storage_.get(), 0, size_);
        std::memset(storage_.get() + size_, kGuardValue, kGuardBytes);
    }

    std::uint8_t* data() { return storage_.get(); }
    const std::uint8_t* data() const { return storage_.get(); }
    std::size_t size() const { return size_; }

    bool GuardIntact() const {
        for (std::size_t i = 0; i < kGuardBytes; ++i)
            if (storage_[size_ + i] != kGuardValue)
                return false;
        return true;
    }

    void FillRandom(unsigned seed) {
        std::mt19937 random(seed);
        for (std::size_t i = 0; i < size_; ++i)
            storage_[i] = static_cast<std::uint8_t>(random());
    }

    void Fill(std::uint8_t value) { std::memset(storage_.get(), value, size_); }

private:
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> storage_;
};

// A frame of width x |height| pixels; height < 0 marks a top-down frame as in a BITMAPINFOHEADER.
class GuardedFrame : public GuardedBuffer {
public:
    GuardedFrame(int width, int height, int bytesPerPixel, int extraPadding = 0)
        : GuardedBuffer(static_cast<std::size_t>(DibStride(width, bytesPerPixel, extraPadding)) *
                        static_cast<std::size_t>(std::abs(height))),
          width_(width), height_(height), bytesPerPixel_(bytesPerPixel),
          stride_(DibStride(width, bytesPerPixel, extraPadding)) {}

    int width() const { return width_; }
    int height() const { return height_; }
    int rows() const { return std::abs(height_); }
    int stride() const { return stride_; }
    int bytesPerPixel() const { return bytesPerPixel_; }

    // Pixel (x, y) counted in buffer rows, whatever the orientation.
    std::uint8_t* At(int x, int bufferRow) {
        return data() + static_cast<std::size_t>(bufferRow) * stride_ + static_cast<std::size_t>(x) * bytesPerPixel_;
    }
    const std::uint8_t* At(int x, int bufferRow) const {
        return data() + static_cast<std::size_t>(bufferRow) * stride_ + static_cast<std::size_t>(x) * bytesPerPixel_;
    }

    // Pixel (x, y) counted from the top of the picture.
    std::uint8_t* AtPicture(int x, int y) { return At(x, height_ > 0 ? rows() - 1 - y : y); }
    const std::uint8_t* AtPicture(int x, int y) const { return At(x, height_ > 0 ? rows() - 1 - y : y); }

private:
    int width_;
    int height_;
    int bytesPerPixel_;
    int stride_;
};

}  // namespace frametest
