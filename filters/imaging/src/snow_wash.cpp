#include "snow_wash.h"

#include <algorithm>

namespace qel::imaging {

bool FitLiftTable(const Lut& lut, LiftTable& lift) {
    if (lut.channels != 1) {
        for (int c = 1; c < 3; ++c) {
            if (!std::equal(lut.table[0], lut.table[0] + 256, lut.table[c])) {
                return false;
            }
        }
    }
    const std::uint8_t* table = lut.table[0];
    for (int bonusTop = -1; bonusTop < 256; ++bonusTop) {
        const int add = table[0] - (bonusTop >= 0 ? 1 : 0);
        if (add < 0) {
            continue;
        }
        bool fits = true;
        for (int v = 0; v < 256 && fits; ++v) {
            // What the wide path computes: a saturating add, then the bonus with byte wrap-around.
            const int value = (std::min(v + add, 255) + (v <= bonusTop ? 1 : 0)) & 0xFF;
            fits = value == table[v];
        }
        if (fits) {
            lift.add = add;
            lift.bonusTop = bonusTop;
            return true;
        }
    }
    return false;
}

} // namespace qel::imaging
