#include "qelimaging/whiteboard.h"

#include "qelimaging/cpu_features.h"
#include "qelimaging/whiteboard_steps.h"
#include "whiteboard_avx2.h"
#include "whiteboard_avx512.h"
#include "whiteboard_row.h"

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
    WhiteboardRowTables tables{{balance[0], balance[1], balance[2]},
                               &Flatten().value[0][0],
                               nullptr,
                               map.block,
                               map.columns,
                               gamma,
                               clipThenGamma,
                               level,
                               flatten,
                               order.blue == 0,
                               {},
                               nullptr};
    // The widest pass takes whole byte tables; the AVX2 pass looks them up in slices of sixteen entries.
    const bool avx512 = CpuHasAvx512Vbmi();
    const bool avx2 = !avx512 && CpuHasAvx2();
    ByteSlices balanceSlices[3];
    ByteSlices gammaSlices;
    if (avx2) {
        for (int c = 0; c < 3; ++c) {
            BuildByteSlices(balance[c], balanceSlices[c]);
            tables.balanceSlices[c] = &balanceSlices[c];
        }
        BuildByteSlices(gamma, gammaSlices);
        tables.gammaSlices = &gammaSlices;
    }
    for (int y = 0; y < rows; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * image->stride;
        const std::uint8_t* in = image->source + offset;
        std::uint8_t* out = image->destination + offset;
        const int mapRow = std::min(y / map.block, map.rows - 1);
        tables.backgroundRow = map.smoothed + static_cast<std::size_t>(mapRow) * map.columns;
        int done = 0;
        if (avx512) {
            done = EnhanceWhiteboardRowAvx512(in, out, width, tables);
        } else if (avx2) {
            done = EnhanceWhiteboardRowAvx2(in, out, width, tables);
        }
        EnhanceWhiteboardRow(in, out, done, width, tables);
    }
    report(90);
    return kWhiteboardOk;
}

} // namespace qel::imaging
