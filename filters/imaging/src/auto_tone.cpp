#include "qelimaging/auto_tone.h"

#include <algorithm>

namespace qel::imaging {

namespace autotone {

namespace {

constexpr std::uint8_t kBrightening[256] = {
    0,   3,   4,   6,   8,   10,  11,  13,  14,  16,  17,  19,  20,  21,  23,  24,  25,  27,  28,  29,
    31,  32,  33,  34,  36,  37,  38,  39,  40,  42,  43,  44,  45,  46,  48,  49,  50,  51,  52,  53,
    54,  56,  57,  58,  59,  60,  61,  62,  63,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,
    76,  77,  78,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,
    97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116,
    117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128, 128, 129, 130, 131, 132, 133, 134, 135,
    136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 145, 146, 147, 148, 149, 150, 151, 152, 153, 154,
    155, 156, 157, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 168, 169, 170, 171, 172,
    173, 174, 175, 176, 177, 177, 178, 179, 180, 181, 182, 183, 184, 185, 185, 186, 187, 188, 189, 190,
    191, 192, 193, 193, 194, 195, 196, 197, 198, 199, 200, 200, 201, 202, 203, 204, 205, 206, 207, 207,
    208, 209, 210, 211, 212, 213, 213, 214, 215, 216, 217, 218, 219, 219, 220, 221, 222, 223, 224, 225,
    225, 226, 227, 228, 229, 230, 231, 231, 232, 233, 234, 235, 236, 237, 237, 238, 239, 240, 241, 242,
    242, 243, 244, 245, 246, 247, 247, 248, 249, 250, 251, 252, 252, 253, 254, 255,
};

// Calls visit(pixel) for every point of the sampling grid.
template <typename Visit>
void ForEachSample(const std::uint8_t* pixels, const PixelLayout& layout, const SampleGrid& grid,
                   Visit visit) {
    const int rows = RowCount(layout);
    for (int y = 0; y <= rows - grid.rowStep; y += grid.rowStep) {
        const std::uint8_t* row = pixels + static_cast<std::size_t>(y) * layout.stride;
        for (int x = 0; x <= layout.width - grid.columnStep; x += grid.columnStep) {
            visit(row + static_cast<std::size_t>(x) * 3);
        }
    }
}

// Smallest i with i >= n or i x i >= n: the rounded-up square root.
int CeilSqrt(int n) {
    int i = 0;
    while (i < n && i * i < n) {
        ++i;
    }
    return i;
}

// The levels window: the darkest and brightest levels that more than 1/128 of the samples pass.
void MeasureLevels(const int histograms[3][256], int samples, int& low, int& high) {
    const int cut = samples >> 7;
    low = 255;
    high = -1;
    for (int c = 0; c < 3; ++c) {
        int componentLow = 255;
        for (int v = 0, run = 0; v < 256; ++v) {
            run += histograms[c][v];
            if (run > cut) {
                componentLow = v;
                break;
            }
        }
        int componentHigh = -1;
        for (int v = 255, run = 0; v >= 0; --v) {
            run += histograms[c][v];
            if (run > cut) {
                componentHigh = v;
                break;
            }
        }
        low = std::min(low, componentLow);
        high = std::max(high, componentHigh);
    }
}

// Equalisation curve from the levelled luma histogram; false when there is nothing to equalise.
bool BuildEqualisation(const int lumaHistogram[256], std::uint8_t equalisation[256]) {
    int weights[64];
    int total = 0;
    for (int group = 0; group < 64; ++group) {
        const int count = lumaHistogram[4 * group] + lumaHistogram[4 * group + 1] +
                          lumaHistogram[4 * group + 2] + lumaHistogram[4 * group + 3];
        weights[group] = CeilSqrt(count);
        total += weights[group];
    }
    if (total == 0) {
        return false;
    }
    int curveStorage[65]; // curve[-1] .. curve[63]
    int* curve = curveStorage + 1;
    curve[-1] = 0;
    int running = 0;
    for (int j = 0; j < 64; ++j) {
        running += weights[j] * 256 / total;
        curve[j] = std::min(256, running);
    }
    if (curve[63] != 256 && curve[63] > 0) {
        for (int j = -1; j < 63; ++j) {
            curve[j] = kBrightening[curve[j] * 255 / curve[63]];
        }
        curve[63] = 256;
    }
    int table[256];
    for (int x = 0; x < 64; ++x) {
        table[x] = curve[-1] + ((x * (curve[15] - curve[-1])) >> 6);
    }
    for (int k = 17; k <= 48; ++k) {
        for (int i = 0; i < 4; ++i) {
            table[4 * (k - 1) + i] = curve[k - 2] + ((i * (curve[k - 1] - curve[k - 2])) >> 2);
        }
    }
    for (int x = 192; x < 256; ++x) {
        table[x] = curve[47] + (((x - 192) * (256 - curve[47])) >> 6);
    }
    for (int x = 0; x < 256; ++x) {
        equalisation[x] = static_cast<std::uint8_t>(std::clamp(table[x], 0, 255));
    }
    return true;
}

int HueInto384(int hue) {
    hue %= 384;
    return hue < 0 ? hue + 384 : hue;
}

int HueChannel(int lower, int upper, int hue) {
    const int h = HueInto384(hue);
    int value;
    if (h < 64) {
        value = lower + (((upper - lower) * h) >> 6);
    } else if (h < 192) {
        value = upper;
    } else if (h < 256) {
        value = lower + (((upper - lower) * (256 - h)) >> 6);
    } else {
        value = lower;
    }
    return std::clamp(value, 0, 255);
}

// Saturation on a 0..128 scale (HSL).
int Saturation128(int high, int low) {
    if (high == low) {
        return 0;
    }
    const int sum = high + low;
    return sum >= 256 ? (high - low) * 128 / (510 - sum) : (high - low) * 128 / sum;
}

} // namespace

const std::uint8_t* BrighteningCurve() {
    return kBrightening;
}

SampleGrid MakeSampleGrid(int width, int rows) {
    SampleGrid grid;
    grid.rowStep = (std::max(rows, 0) >> 7) + 1;
    grid.columnStep = (std::max(width, 0) >> 7) + 1;
    grid.count = (std::max(rows, 0) / grid.rowStep) * (std::max(width, 0) / grid.columnStep);
    return grid;
}

void BuildToneTable(const std::uint8_t* pixels, const PixelLayout& layout, int strength,
                    std::uint8_t table[256]) {
    const SampleGrid grid = MakeSampleGrid(layout.width, RowCount(layout));
    int histograms[3][256] = {};
    ForEachSample(pixels, layout, grid, [&](const std::uint8_t* p) {
        ++histograms[0][p[0]];
        ++histograms[1][p[1]];
        ++histograms[2][p[2]];
    });
    int low, high;
    MeasureLevels(histograms, grid.count, low, high);
    const int range = high - low;
    const bool flat = range < 10;
    if (range < 200) {
        // Widen a narrow window about its middle, so that a dull picture is not stretched to extremes.
        const int centre = low + range / 2;
        const int half = (range * 72 / 200 + 128) / 2;
        low = std::max(0, centre - half);
        high = std::min(255, centre + half);
    }
    std::uint8_t levels[256];
    for (int x = 0; x < 256; ++x) {
        int value;
        if (x < low) {
            value = 0;
        } else if (x < high) {
            value = (x - low) * 255 / (high - low);
        } else {
            value = 255;
        }
        levels[x] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }

    std::uint8_t corrected[256];
    std::copy(levels, levels + 256, corrected);
    if (!flat) {
        int lumaHistogram[256] = {};
        ForEachSample(pixels, layout, grid, [&](const std::uint8_t* p) {
            ++lumaHistogram[(levels[p[2]] + 2 * levels[p[1]] + levels[p[0]]) >> 2];
        });
        std::uint8_t equalisation[256];
        if (BuildEqualisation(lumaHistogram, equalisation)) {
            for (int x = 0; x < 256; ++x) {
                corrected[x] = equalisation[levels[x]];
            }
        }
    }
    for (int x = 0; x < 256; ++x) {
        const long long blended = x + static_cast<long long>(corrected[x] - x) * strength / 100;
        table[x] = static_cast<std::uint8_t>(std::clamp<long long>(blended, 0, 255));
    }
}

Rgb RaiseSaturation(Rgb colour, int gain) {
    const int p = colour.red, q = colour.green, r = colour.blue;
    const int high = std::max({p, q, r});
    const int low = std::min({p, q, r});
    if (high == low) {
        return colour;
    }
    const int sum = high + low;
    const int saturation = Saturation128(high, low);
    const int spread = high - low;
    int hue;
    if (p == high) {
        hue = (q - r) * 64 / spread;
    } else if (q == high) {
        hue = (r - p) * 64 / spread + 128;
    } else {
        hue = (p - q) * 64 / spread + 256;
    }
    hue = HueInto384(hue);
    const int raised = std::min(128, saturation + ((gain * saturation) >> 7));
    const int lightness = (sum + 1) >> 1;
    const int upper = sum >= 256 ? lightness + ((((255 - lightness) * raised) + 64) >> 7)
                                 : ((lightness * (raised + 128)) + 64) >> 7;
    const int lower = sum - upper;
    return Rgb{HueChannel(lower, upper, hue + 128), HueChannel(lower, upper, hue),
               HueChannel(lower, upper, hue - 128)};
}

int EnhanceGain(const std::uint8_t* pixels, const PixelLayout& layout, const std::uint8_t* tone) {
    const SampleGrid grid = MakeSampleGrid(layout.width, RowCount(layout));
    int histogram[129] = {};
    ForEachSample(pixels, layout, grid, [&](const std::uint8_t* sample) {
        const std::uint8_t p[3] = {tone ? tone[sample[0]] : sample[0], tone ? tone[sample[1]] : sample[1],
                                   tone ? tone[sample[2]] : sample[2]};
        ++histogram[Saturation128(std::max({p[0], p[1], p[2]}), std::min({p[0], p[1], p[2]}))];
    });
    // The saturation that the most colourful 1.5 % of the samples reach.
    const int cut = std::max(1, grid.count / 67);
    int level = 0;
    for (int bin = 127, run = 0; bin >= 0; --bin) {
        run += histogram[bin];
        if (run > cut) {
            level = bin;
            break;
        }
    }
    if (level == 0) {
        return -1;
    }
    return std::min(96, (16384 - 128 * level) / level);
}

void BuildEnhanceCubeForGain(int gain, int strength, ColourCube& cube) {
    InitCube(cube);
    if (gain < 0) {
        return;
    }
    for (auto& node : cube.nodes) {
        const Rgb raised = RaiseSaturation(Rgb{node[0], node[1], node[2]}, gain);
        node[0] = static_cast<std::uint8_t>(raised.red);
        node[1] = static_cast<std::uint8_t>(raised.green);
        node[2] = static_cast<std::uint8_t>(raised.blue);
    }
    if (strength == 50) {
        return;
    }
    const long long factor = static_cast<long long>(strength) * 128 / 100;
    ColourCube identity;
    InitCube(identity);
    for (int n = 0; n < ColourCube::kNodes; ++n) {
        for (int c = 0; c < 3; ++c) {
            const long long base = identity.nodes[n][c];
            const long long change = (cube.nodes[n][c] - base) * factor;
            // Arithmetic shift: a negative change rounds down.
            const long long shifted = change >= 0 ? change >> 6 : -((-change + 63) >> 6);
            cube.nodes[n][c] = static_cast<std::uint8_t>(std::clamp<long long>(base + shifted, 0, 255));
        }
    }
}

void BuildEnhanceCube(const std::uint8_t* pixels, const PixelLayout& layout, int strength, ColourCube& cube,
                      const std::uint8_t* tone) {
    BuildEnhanceCubeForGain(EnhanceGain(pixels, layout, tone), strength, cube);
}

} // namespace autotone

bool AutoCorrectFrame(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                      int strength, AutoCorrection correction, EnhanceTables* kept) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    if (strength == 0) {
        // No correction at all: not even the cube's rounding may touch the picture.
        CopyFramePixels(source, destination, layout);
        return true;
    }
    Lut tone;
    tone.channels = 1;
    autotone::BuildToneTable(source, layout, strength, tone.table[0]);
    if (correction == AutoCorrection::Enhance && kept != nullptr) {
        // The cube is measured on the toned samples, and the frame goes through table and cube at once.
        const int gain = autotone::EnhanceGain(source, layout, tone.table[0]);
        if (!kept->built || kept->gain != gain || kept->strength != strength) {
            autotone::BuildEnhanceCubeForGain(gain, strength, kept->cube);
            BuildCubeCells(kept->cube, kept->cells);
            kept->gain = gain;
            kept->strength = strength;
            kept->built = true;
        }
        return ApplyLutAndCube(source, destination, layout, nullptr, tone, kept->cube, &kept->cells);
    }
    // Neither step can fail once the arguments passed the checks above.
    if (!ApplyLut(source, destination, layout, nullptr, tone)) {
        return false;
    }
    if (correction == AutoCorrection::Enhance) {
        ColourCube cube;
        autotone::BuildEnhanceCube(destination, layout, strength, cube);
        return ApplyCube(destination, destination, layout, nullptr, cube);
    }
    return true;
}

} // namespace qel::imaging
