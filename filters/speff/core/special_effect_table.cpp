#include "core/special_effect_table.h"

#include <algorithm>

const SpecialEffectRow kSpecialEffectRows[kSpecialEffectRowCount] = {
    {-1, 1016, 0, 100, 0, 50, 10},     // No Effect
    {0, 1017, 0, 100, 0, 50, 10},      // Black & White
    {1, 1018, 1, 100, 0, 50, 10},      // Sepia
    {2, 1019, 0, 100, 0, 50, 10},      // Negative
    {3, 1020, 1, 100, 0, 50, 10},      // Emboss
    {4, 1021, 0, 100, 0, 50, 10},      // Fish Eye
    {5, 1022, 1, 100, 0, 50, 10},      // Snow
    {6, 1023, 1, 16, 2, 8, 1},         // Mosaic
    {7, 1024, 1, 100, -100, 0, 10},    // Swirl / Spiral
    {8, 1025, 0, 100, 0, 50, 10},      // Spotlight
};

int FindSpecialEffectRow(int effectIndex, int previousRow) {
    for (int row = 0; row < kSpecialEffectRowCount; ++row) {
        if (kSpecialEffectRows[row].effectIndex == effectIndex)
            return row;
    }
    return previousRow;
}

int BoundToRow(const SpecialEffectRow& row, int value) {
    return std::clamp(value, row.minimum, row.maximum);
}
