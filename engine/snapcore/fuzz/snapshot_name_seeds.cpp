// The seeds of the snapshot name fuzz harness: the names these tests plan. Kept only when
// QEL_FUZZ_SEEDS is set (scripts/fuzz).
#include <gtest/gtest.h>

#include <string>

#include "fuzz_seeds.h"

namespace {

TEST(SnapshotNameFuzzSeeds, TestNamesAreKeptWhenAsked) {
    const std::string names[] = {
        "C:\\shots\\shot.bmp", "SHOT.BMP", "C:\\shots\\shot.jpg", "shot.png", "shot.tif", "shot.gif",
        "shot.jpeg", "shot.TIFF", "shot.xyz", ".png", "a", "bmp",
        std::string(255, 'a') + ".bmp", std::string(250, 'a') + ".jpg",
    };
    int n = 0;
    for (const std::string& name : names)
        EXPECT_TRUE(qel::fuzzseeds::Keep("snapshot_name_fuzz", "name" + std::to_string(n++), name));
}

} // namespace
