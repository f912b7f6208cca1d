#include "core/rotate_kernel.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

struct Frame {
    const std::uint8_t* in;
    std::uint8_t* out;
    int w;
    int h;
    std::int64_t stride; // negative for the bottom-up view of a top-down frame
    std::int64_t padding; // bytes after the pixels of each row
    std::uint8_t back[3];

    const std::uint8_t* InPixel(std::int64_t row, std::int64_t column) const { return in + row * stride + column * 3; }
    std::uint8_t* OutRow(int row) const { return out + row * stride; }

    // Whole runs of background are laid by doubling copies of the first pixel, not pixel by pixel.
    void Background(std::uint8_t* pixel, int count) const {
        if (count <= 0)
            return;
        pixel[0] = back[0];
        pixel[1] = back[1];
        pixel[2] = back[2];
        const std::int64_t total = std::int64_t{count} * 3;
        for (std::int64_t done = 3; done < total; done *= 2)
            std::memcpy(pixel + done, pixel, static_cast<size_t>(std::min(done, total - done)));
    }
    void CopyPadding(int row) const {
        const std::int64_t used = std::int64_t{w} * 3;
        if (padding > 0)
            std::memcpy(out + row * stride + used, in + row * stride + used, static_cast<size_t>(padding));
    }
};

inline void Put(std::uint8_t* to, const std::uint8_t* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

void Rotate180(const Frame& f) {
    for (int i = 0; i < f.h; ++i) {
        std::uint8_t* out = f.OutRow(i);
        const std::uint8_t* in = f.InPixel(f.h - 1 - i, f.w - 1);
        for (int x = 0; x < f.w; ++x, out += 3, in -= 3)
            Put(out, in);
        f.CopyPadding(i);
    }
}

// Output row i, column k (c <= k < c + H) takes input row H-1-(k-c), column c+i (90 degrees) or
// input row k-c, column W-1-c-i (270 degrees). In a portrait frame (c < 0) the source column leaves
// the frame for some rows: those rows are background, so the centred square is turned.
void RotateQuarterCut(const Frame& f, bool ninety) {
    const int c = (f.w - f.h) / 2; // truncation toward zero, as trunc((W - H) x 0.5)
    const int first = std::max(0, c);
    const int end = std::min(f.w, c + f.h);
    for (int i = 0; i < f.h; ++i) {
        std::uint8_t* out = f.OutRow(i);
        const int column = ninety ? c + i : f.w - 1 - c - i;
        if (column < 0 || column >= f.w || first >= end) {
            f.Background(out, f.w);
        } else {
            f.Background(out, first);
            if (ninety) {
                const std::uint8_t* in = f.InPixel(f.h - 1 - (first - c), column);
                for (int k = first; k < end; ++k, in -= f.stride)
                    Put(out + k * 3, in);
            } else {
                const std::uint8_t* in = f.InPixel(first - c, column);
                for (int k = first; k < end; ++k, in += f.stride)
                    Put(out + k * 3, in);
            }
            f.Background(out + end * 3, f.w - end);
        }
        f.CopyPadding(i);
    }
}

// The whole picture shrunk, nearest neighbour, into a centred band g = H*H/W columns wide, with the
// ratio m = H/g taken as exact integer quotients. Where g does not divide H*H evenly, trunc(m*i)
// can pass the last column: the source column is clamped so that nothing is read outside.
void RotateQuarterZoom(const Frame& f, bool ninety) {
    const std::int64_t band = std::int64_t{f.h} * f.h / f.w; // g
    if (band <= 0) { // a band of no columns: nothing of the picture is shown
        for (int i = 0; i < f.h; ++i) {
            f.Background(f.OutRow(i), f.w);
            f.CopyPadding(i);
        }
        return;
    }
    const std::int64_t bandStart = (f.w - band) / 2; // h
    const int first = static_cast<int>(std::max<std::int64_t>(0, bandStart));
    const int end = static_cast<int>(std::min<std::int64_t>(f.w, bandStart + band));
    // Band column j takes source position trunc(H (j - h) / g): stepping j adds H to the numerator, so
    // quotient and remainder advance by H / g and H mod g, without a division a pixel.
    const std::int64_t stepQuotient = f.h / band, stepRemainder = f.h % band;
    const std::int64_t firstNumerator = std::int64_t{f.h} * (first - bandStart);
    for (int i = 0; i < f.h; ++i) {
        std::uint8_t* out = f.OutRow(i);
        const std::int64_t scaled = std::min<std::int64_t>(std::int64_t{f.h} * i / band, f.w - 1);
        const std::int64_t column = ninety ? scaled : f.w - 1 - scaled;
        f.Background(out, first);
        std::int64_t quotient = firstNumerator / band, remainder = firstNumerator % band;
        for (int j = first; j < end; ++j) {
            const std::int64_t along = std::min<std::int64_t>(quotient, f.h - 1);
            const std::int64_t row = ninety ? f.h - 1 - along : along;
            Put(out + j * 3, f.InPixel(row, column));
            quotient += stepQuotient;
            remainder += stepRemainder;
            if (remainder >= band) {
                remainder -= band;
                ++quotient;
            }
        }
        f.Background(out + end * 3, f.w - end);
        f.CopyPadding(i);
    }
}

} // namespace

bool RotateFrame(const std::uint8_t* source, std::uint8_t* destination,
                 const qel::imaging::PixelLayout& layout, const RotateParams& params) {
    const int width = layout.width;
    const int height = layout.height;
    const int stride = layout.stride;
    if (!source || !destination || layout.channels != 3 || width <= 0 || height == 0 || stride <= 0)
        return false;
    if (height == std::numeric_limits<int>::min()) // no positive row count
        return false;
    if (std::int64_t{stride} < std::int64_t{width} * 3)
        return false;

    const int rows = height < 0 ? -height : height;
    // A top-down frame is turned through a bottom-up view of it (last row first, negative stride),
    // so that the picture turns the same way on screen, sampled the same way, in both orientations.
    const std::int64_t last = std::int64_t{stride} * (rows - 1);
    const bool topDown = height < 0;
    Frame f{topDown ? source + last : source,
            topDown ? destination + last : destination,
            width,
            rows,
            topDown ? -std::int64_t{stride} : std::int64_t{stride},
            std::int64_t{stride} - std::int64_t{width} * 3,
            {static_cast<std::uint8_t>(params.backColor >> 16), static_cast<std::uint8_t>(params.backColor >> 8),
             static_cast<std::uint8_t>(params.backColor)}};

    const int angle = params.angle;
    switch (angle) {
    case 180:
        Rotate180(f);
        break;
    case 90:
    case 270:
        if (params.method == kRotateZoom)
            RotateQuarterZoom(f, angle == 90);
        else
            RotateQuarterCut(f, angle == 90);
        break;
    default: // 0, and any angle that is no turn of ours: the frame as it is, padding included
        std::memcpy(destination, source, static_cast<size_t>(std::int64_t{stride} * rows));
        break;
    }
    return true;
}
