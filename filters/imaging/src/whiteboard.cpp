#include "qelimaging/whiteboard.h"

#include "qelimaging/cpu_features.h"
#include "qelimaging/whiteboard_steps.h"
#include "byte_slices.h"
#include "whiteboard_avx2.h"
#include "whiteboard_avx512.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

namespace qel::imaging {

namespace whiteboard {

namespace {

// Flattened luma for every (background, luma) pair: a ratio in the log domain, so the per-pixel work
// is one lookup.
struct FlattenTable {
    std::uint8_t value[256][256]; // [background][luma]

    FlattenTable() {
        float logs[256];
        logs[0] = 100.0f * std::log(1.0f / 510.0f);
        for (int k = 1; k < 256; ++k) {
            logs[k] = 100.0f * std::log(static_cast<float>(k) / 255.0f);
        }
        std::uint8_t exps[1300];
        for (int i = 0; i < 1300; ++i) {
            const double v = 255.0 * std::exp((i - 650) / 100.0);
            exps[i] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
        }
        for (int b = 0; b < 256; ++b) {
            for (int y = 0; y < 256; ++y) {
                const int index = static_cast<int>(logs[y] - logs[b] + 650.0f);
                value[b][y] = exps[std::clamp(index, 0, 1299)];
            }
        }
    }
};

const FlattenTable& Flatten() {
    static const FlattenTable table;
    return table;
}

inline std::uint8_t Bound(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The rebuild of a flattened pixel as lookups: the clamp of every sum it can give, and the green term
// (3 Cr + Cb - 3) / 6 (rounded toward zero) of every colour difference pair.
struct RebuildTables {
    static constexpr int kClampBias = 512;  // flat + difference lies within -255..510
    static constexpr int kGreenBias = 1024; // 3 Cr + Cb - 3 lies within -1023..1017
    std::uint8_t clamp[1024];
    std::int16_t green[2048];

    RebuildTables() {
        for (int i = 0; i < 1024; ++i) {
            clamp[i] = Bound(i - kClampBias);
        }
        for (int i = 0; i < 2048; ++i) {
            green[i] = static_cast<std::int16_t>((i - kGreenBias) / 6);
        }
    }
};

const RebuildTables& Rebuild() {
    static const RebuildTables tables;
    return tables;
}

// Components are 0..255, so unsigned arithmetic (a multiplication for the division) is exact.
inline int Luma(int blue, int green, int red) {
    return static_cast<int>(static_cast<unsigned>(blue + 6 * green + 3 * red + 5) / 10u);
}

// The background map: one cell per block of the (balanced) frame, writing filled in, median smoothed.
struct BackgroundMap {
    int block = 1;
    int columns = 0;
    int rows = 0;
    std::unique_ptr<std::uint8_t[]> storage; // luma, saturation, foreground marks, smoothed map
    std::uint8_t* luma = nullptr;
    std::uint8_t* saturation = nullptr;
    std::uint8_t* foreground = nullptr;
    std::uint8_t* smoothed = nullptr;

    bool Allocate(int width, int height) {
        block = BlockSize(width, height);
        columns = (width + block - 1) / block;
        rows = (height + block - 1) / block;
        const std::size_t cells = static_cast<std::size_t>(columns) * rows;
        storage.reset(new (std::nothrow) std::uint8_t[cells * 4]);
        if (!storage) {
            return false;
        }
        luma = storage.get();
        saturation = luma + cells;
        foreground = saturation + cells;
        smoothed = foreground + cells;
        return true;
    }
};

struct PixelOrder {
    int blue;
    int red;
};

// Samples one pixel a block through the balance tables; false when there is no background to flatten.
bool BuildBackground(const WhiteboardImage& image, const std::uint8_t balance[3][256], PixelOrder order,
                     BackgroundMap& map) {
    for (int cy = 0; cy < map.rows; ++cy) {
        const std::uint8_t* row = image.source + static_cast<std::size_t>(cy) * map.block * image.stride;
        for (int cx = 0; cx < map.columns; ++cx) {
            const std::uint8_t* p = row + static_cast<std::size_t>(cx) * map.block * 3;
            const int c0 = balance[0][p[0]], c1 = balance[1][p[1]], c2 = balance[2][p[2]];
            const int blue = order.blue == 0 ? c0 : c2;
            const int red = order.red == 0 ? c0 : c2;
            const int high = std::max({c0, c1, c2});
            const int low = std::min({c0, c1, c2});
            const int i = cy * map.columns + cx;
            map.luma[i] = static_cast<std::uint8_t>(Luma(blue, c1, red));
            map.saturation[i] =
                static_cast<std::uint8_t>(high == 0 ? 0 : ((high - low) * 510 + high) / (2 * high));
        }
    }
    const int cells = map.columns * map.rows;
    const BackgroundBounds bounds = ClassifyCells(map.luma, map.saturation, cells, map.foreground);
    if (!bounds.found) {
        return false;
    }
    FillForeground(map.luma, map.foreground, map.columns, map.rows, bounds);
    MedianFilter15(map.luma, map.smoothed, map.columns, map.rows);
    return true;
}

} // namespace

int FlattenLuma(int luma, int background) {
    return Flatten().value[std::clamp(background, 0, 255)][std::clamp(luma, 0, 255)];
}

} // namespace whiteboard

int EnhanceWhiteboard(const WhiteboardImage* image, const WhiteboardParams* params,
                      WhiteboardProgress progress) {
    using namespace whiteboard;
    if (image == nullptr || params == nullptr || image->source == nullptr || image->destination == nullptr ||
        image->bytesPerPixel != 3 || image->bitsPerChannel != 8) {
        return kWhiteboardBadArguments;
    }
    const int width = image->width;
    const int rows = std::abs(image->height);
    if (width <= 0 || rows <= 0 || image->height == INT32_MIN ||
        image->stride < static_cast<long long>(width) * 3) {
        return kWhiteboardBadArguments;
    }
    const PixelOrder order = image->componentOrder == 1 ? PixelOrder{0, 2} : PixelOrder{2, 0};
    auto report = [progress](int percent) {
        if (progress != nullptr) {
            progress(percent);
        }
    };

    // Step 1: grey-world balance tables (identity when the scene is strongly coloured).
    std::uint8_t balance[3][256];
    int means[3];
    int targets[3];
    const bool balanced = MeasureComponentMeans(image->source, width, rows, image->stride, means) &&
                          BalanceTargets(means, targets);
    for (int c = 0; c < 3; ++c) {
        BuildBalanceTable(balanced ? means[c] : 0, balanced ? targets[c] : 0, balance[c]);
    }
    report(20);

    // Step 2: the background map, measured on the balanced frame before anything is written.
    BackgroundMap map;
    if (!map.Allocate(width, rows)) {
        return kWhiteboardStepFailed;
    }
    const bool flatten = BuildBackground(*image, balance, order, map);
    report(50);

    // Steps 3 and 4: near-grey pixels above the white level turn white, then the gamma curve.
    std::uint8_t gamma[256];
    BuildGammaTable(0.6f, gamma);
    const int level = WhiteLevelForStrength(params->strength);
    std::uint8_t clipThenGamma[256];
    for (int i = 0; i < 256; ++i) {
        clipThenGamma[i] = gamma[i <= level ? i : 255];
    }
    report(70);

    // One pass over the pixels runs every step: each is a per-pixel mapping once the tables and the map
    // stand, and reading a pixel before writing it keeps an in-place frame right.
    std::unique_ptr<int[]> cellOfColumn(new (std::nothrow) int[width]);
    if (!cellOfColumn) {
        return kWhiteboardStepFailed;
    }
    for (int x = 0; x < width; ++x) {
        cellOfColumn[x] = std::min(x / map.block, map.columns - 1);
    }
    const auto& flattenTable = Flatten();
    const RebuildTables& rebuild = Rebuild();
    const std::uint8_t* clamp = rebuild.clamp + RebuildTables::kClampBias;
    const std::int16_t* greenTerm = rebuild.green + RebuildTables::kGreenBias;

    // The widest pass takes whole byte tables and each row of map cells as it stands.
    const bool avx512 = CpuHasAvx512Vbmi();
    WhiteboardPlaneTables planeTables{{balance[0], balance[1], balance[2]},
                                      &flattenTable.value[0][0],
                                      nullptr,
                                      map.block,
                                      gamma,
                                      level,
                                      flatten,
                                      order.blue,
                                      order.red};

    // The wide pass looks its byte tables up in slices of sixteen entries.
    const bool avx2 = !avx512 && CpuHasAvx2();
    ByteSlices balanceSlices[3];
    ByteSlices gammaSlices;
    if (avx2) {
        for (int c = 0; c < 3; ++c) {
            BuildByteSlices(balance[c], balanceSlices[c]);
        }
        BuildByteSlices(gamma, gammaSlices);
    }
    WhiteboardSliceTables sliceTables{{&balanceSlices[0], &balanceSlices[1], &balanceSlices[2]},
                                      &flattenTable.value[0][0],
                                      nullptr,
                                      map.block,
                                      map.columns,
                                      &gammaSlices,
                                      level,
                                      flatten,
                                      order.blue == 0};

    for (int y = 0; y < rows; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * image->stride;
        const std::uint8_t* in = image->source + offset;
        std::uint8_t* out = image->destination + offset;
        const int mapRowIndex = std::min(y / map.block, map.rows - 1);
        const std::uint8_t* mapRow = map.smoothed + static_cast<std::size_t>(mapRowIndex) * map.columns;
        int x = 0;
        if (avx512) {
            planeTables.backgroundRow = mapRow;
            x = EnhanceWhiteboardRowAvx512(in, out, width, planeTables);
            in += 3 * x;
            out += 3 * x;
        } else if (avx2) {
            sliceTables.backgroundRow = mapRow;
            x = EnhanceWhiteboardRowAvx2(in, out, width, sliceTables);
            in += 3 * x;
            out += 3 * x;
        }
        for (; x < width; ++x, in += 3, out += 3) {
            int c[3] = {balance[0][in[0]], balance[1][in[1]], balance[2][in[2]]};
            if (flatten) {
                const int blue = c[order.blue];
                const int red = c[order.red];
                const int luma = Luma(blue, c[1], red);
                const int chromaBlue = blue - luma;
                const int chromaRed = red - luma;
                const int flat = flattenTable.value[mapRow[cellOfColumn[x]]][luma];
                c[order.blue] = clamp[flat + chromaBlue];
                c[order.red] = clamp[flat + chromaRed];
                c[1] = clamp[flat - greenTerm[3 * chromaRed + chromaBlue - 3]];
            }
            const int spread = std::max(c[0], std::max(c[1], c[2])) - std::min(c[0], std::min(c[1], c[2]));
            // Coloured ink keeps its colour: only near-grey pixels are clipped to white.
            const std::uint8_t* table = spread > 25 ? gamma : clipThenGamma;
            out[0] = table[c[0]];
            out[1] = table[c[1]];
            out[2] = table[c[2]];
        }
    }
    report(90);
    return kWhiteboardOk;
}

} // namespace qel::imaging
