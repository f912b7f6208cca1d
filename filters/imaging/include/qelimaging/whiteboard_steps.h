#pragma once
// The parts of the whiteboard enhancement that are worth checking one by one.
#include <cstdint>

namespace qel::imaging::whiteboard {

// White level of the clipping step: 255 at strength 0, 230 just below 50, then falling to 0 at 100;
// out-of-range strengths give 230.
int WhiteLevelForStrength(int strength);

// Side of the square blocks of the background map: the larger of height / 120 and width / 160,
// rounded up (at least 1).
int BlockSize(int width, int height);

// White-balance table of one component: a cubic spline through (0, 0), (mean, target) and (255, 255).
// A mean of 0 or 255 leaves nothing to bend and gives the identity.
void BuildBalanceTable(int mean, int target, std::uint8_t table[256]);

// Gamma table: entry j = trunc(255 (j / 255)^(1 / gamma) + 0.5); gamma <= 0 is 1, above 10 is 10.
void BuildGammaTable(float gamma, std::uint8_t table[256]);

// Flattened luma of a pixel of luma `luma` over a background of luma `background`: about
// 255 x luma / background, so the background turns white.
int FlattenLuma(int luma, int background);

// Grey-world statistics of a frame: the mean of each component (by byte position) on a grid of about
// 200 x 200 samples. Returns false when no pixel was sampled.
bool MeasureComponentMeans(const std::uint8_t* pixels, int width, int rows, int stride, int means[3]);

// The balance targets for the three means, three quarters of the way to their grey; false when the
// scene is strongly coloured ((max - min) x 100 >= max x 60) and the balance is skipped.
bool BalanceTargets(const int means[3], int targets[3]);

// Background statistics of the map cells, for the flattening.
struct BackgroundBounds {
    bool found = false; // false: no background cell, the flattening is skipped
    int lower = 0;      // M
    int upper = 0;      // N
    int floor = 0;      // Q
};

// Classifies the cells of a map (luma and saturation a cell, `count` cells) and derives the bounds of
// the background; `foreground` receives 1 for every foreground cell.
BackgroundBounds ClassifyCells(const std::uint8_t* luma, const std::uint8_t* saturation, int count,
                               std::uint8_t* foreground);

// Replaces foreground cells (in row order) by background from their visited neighbours.
void FillForeground(std::uint8_t* luma, const std::uint8_t* foreground, int columns, int rows,
                    const BackgroundBounds& bounds);

// 15 x 15 median (7 cells each side, clipped at the border) of `in` into `out`.
void MedianFilter15(const std::uint8_t* in, std::uint8_t* out, int columns, int rows);

} // namespace qel::imaging::whiteboard
