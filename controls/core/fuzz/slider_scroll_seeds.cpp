// The seeds of the slider and scroll fuzz harness: the geometry these tests use, as the harness reads
// it. Kept only when QEL_FUZZ_SEEDS is set (scripts/fuzz).
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "fuzz_seeds.h"

namespace {

struct SliderSeed {
    int left, right, min, max, thumbWidth, pos, lastX, pointX;
};
struct ScrollSeed {
    int pos, code, thumb, scrollMax, page, oldMax, viewExtent, visible;
};

TEST(SliderScrollFuzzSeeds, TestGeometryIsKeptWhenAsked) {
    const SliderSeed sliders[] = {
        {20, 120, 0, 10, 10, 3, 50, 54},          {20, 120, 20, 30, 10, 20, 20, 120},
        {20, 120, 0, 10, 10, 8, 100, 400},        {40, 40, 0, 10, 10, 5, 40, 90},
        {20, 120, 0, 100000000, 10, 50000000, 70, 70}, {INT_MIN, INT_MAX, INT_MIN, INT_MAX, 10, 0, INT_MIN, INT_MAX},
        {12, 228, 0, 1000, 16, 250, 66, 80},
    };
    const ScrollSeed scrolls[] = {
        {0, 1, 0, 299, 100, 299, 300, 100},  {150, 3, 0, 299, 100, 299, 600, 100}, {30, 2, 0, 299, 100, 0, 300, 100},
        {10, 5, 77, 299, 100, 299, 200, 99}, {10, 7, 0, 0, 0, 299, 80, 100},      {INT_MAX - 5, 3, 0, INT_MAX, 100, 10, INT_MAX, INT_MIN},
    };
    int n = 0;
    for (const SliderSeed& s : sliders) {
        const ScrollSeed& b = scrolls[n % 6];
        qel::fuzzseeds::SeedWriter seed;
        seed.I32(s.left).I32(s.right).I32(s.min).I32(s.max).I32(s.thumbWidth).I32(s.pos).I32(s.lastX).I32(s.pointX);
        seed.I32(b.pos).U8(static_cast<std::uint8_t>(b.code)).I32(b.thumb).I32(b.scrollMax).I32(b.page);
        seed.I32(b.oldMax).I32(b.viewExtent).I32(b.visible);
        EXPECT_TRUE(qel::fuzzseeds::Keep("slider_scroll_fuzz", "test" + std::to_string(n++), seed.Bytes()));
    }
}

} // namespace
