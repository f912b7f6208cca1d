#include "qelimaging/lut.h"

#include "qelimaging/cpu_features.h"
#include "qelimaging/histogram.h"
#include "lut_avx512.h"

#include <algorithm>
#include <cmath>

namespace qel::imaging {

void InitLut(Lut& lut) {
    if (lut.channels != 1) {
        lut.channels = 3;
    }
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) {
            lut.table[c][i] = static_cast<std::uint8_t>(i);
        }
    }
}

namespace {

// True when every table of the LUT maps each value to itself.
bool IsIdentity(const Lut& lut) {
    const int tables = lut.channels == 1 ? 1 : 3;
    for (int c = 0; c < tables; ++c) {
        for (int i = 0; i < 256; ++i) {
            if (lut.table[c][i] != i) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

Lut MakeIdentityLut(int channels) {
    Lut lut;
    lut.channels = channels;
    InitLut(lut);
    return lut;
}

bool ApplyLut(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
              const Region* region, const Lut& lut) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout)) {
        return false;
    }
    const Span span = ClipRegion(layout, region);
    if (span.Empty()) {
        return true;
    }
    if (IsIdentity(lut)) {
        // Settings that change nothing (contrast and brightness 0, say) cost a copy, not a lookup a byte.
        CopyPixels(source, destination, layout, span);
        return true;
    }
    const int channels = layout.channels;
    // Table for each byte of a pixel: the byte order decides which byte is red.
    const std::uint8_t* byteTable[3];
    if (channels == 3) {
        const bool single = lut.channels == 1;
        byteTable[RedIndex(layout)] = lut.table[0];
        byteTable[1] = lut.table[single ? 0 : 1];
        byteTable[BlueIndex(layout)] = lut.table[single ? 0 : 2];
    } else {
        byteTable[0] = lut.table[0];
        byteTable[1] = byteTable[2] = byteTable[0];
    }
    const bool wide = CpuHasAvx512Vbmi();
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t rowOffset = static_cast<std::size_t>(y) * layout.stride;
        const std::uint8_t* in = source + rowOffset + static_cast<std::size_t>(span.x0) * channels;
        std::uint8_t* out = destination + rowOffset + static_cast<std::size_t>(span.x0) * channels;
        int count = span.x1 - span.x0;
        if (wide) {
            // Whole pixels: a multiple of 192 bytes is a multiple of three.
            const int done = lut::ApplyByteTablesAvx512(in, out, count * channels, byteTable);
            in += done;
            out += done;
            count -= done / channels;
        }
        if (channels == 3) {
            const std::uint8_t* t0 = byteTable[0];
            const std::uint8_t* t1 = byteTable[1];
            const std::uint8_t* t2 = byteTable[2];
            for (int x = 0; x < count; ++x, in += 3, out += 3) {
                out[0] = t0[in[0]];
                out[1] = t1[in[1]];
                out[2] = t2[in[2]];
            }
        } else {
            for (int x = 0; x < count; ++x) {
                out[x] = byteTable[0][in[x]];
            }
        }
    }
    return true;
}

void ComposeLut(Lut& destination, const Lut& source) {
    const int channels = destination.channels == 1 ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        const std::uint8_t* from = source.table[source.channels == 1 ? 0 : c];
        for (int i = 0; i < 256; ++i) {
            destination.table[c][i] = from[destination.table[c][i]];
        }
    }
}

void BuildGammaLut(Lut& lut, const float gammas[]) {
    const int channels = lut.channels == 1 ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        const double gamma = gammas[c] > 0.0f ? gammas[c] : 1.0;
        lut.table[c][0] = 0;
        for (int j = 1; j < 256; ++j) {
            const double value = 255.0 * std::pow(j / 255.0, 1.0 / gamma) + 0.5;
            lut.table[c][j] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
        }
    }
}

void BuildLevelsLut(Lut& lut, const int high[], const int low[]) {
    const int channels = lut.channels == 1 ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        int lowPoint = low[c];
        int highPoint = high[c];
        CorrectLevelPoints(lowPoint, highPoint);
        const float slope = 255.0f / static_cast<float>(highPoint - lowPoint);
        for (int k = 0; k < 256; ++k) {
            int value;
            if (k < lowPoint) {
                value = 0;
            } else if (k < highPoint) {
                value = static_cast<int>(
                    std::clamp(slope * static_cast<float>(k - lowPoint) + 0.5f, 0.0f, 255.0f));
            } else {
                value = 255;
            }
            lut.table[c][k] = static_cast<std::uint8_t>(value);
        }
    }
}

} // namespace qel::imaging
