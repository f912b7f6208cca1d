// The seeds of the user settings fuzz harness: the value texts these tests read. Kept only when
// QEL_FUZZ_SEEDS is set (scripts/fuzz).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz_seeds.h"

namespace {

TEST(UserSettingsFuzzSeeds, TestTextsAreKeptWhenAsked) {
    struct Seed {
        int number;
        int taken;
        const char* text;
    };
    const Seed seeds[] = {
        {30, 0, "0:30"},       {5, 0, "0:5"},       {125, 1, "2:5"},   {90, 0, "0:90"},     {6000, 3, "100:00"},
        {-1, 0, "-1:0"},       {0, 0, ":30"},       {1, 0, "1;30"},    {9999, 2, "640x480"}, {4, 0, "0x480"},
        {-2, 0, "640x-1"},     {2, 0, "352x288"},   {6, 0, "128x96"},  {3, 0, "32"},         {10000, 0, "C:\\Pics"},
        {5, 255, "F"},
    };
    int n = 0;
    for (const Seed& s : seeds) {
        qel::fuzzseeds::SeedWriter seed;
        seed.I32(s.number).U8(static_cast<std::uint8_t>(s.taken));
        std::vector<std::uint8_t> bytes = seed.Bytes();
        bytes.insert(bytes.end(), s.text, s.text + std::char_traits<char>::length(s.text));
        EXPECT_TRUE(qel::fuzzseeds::Keep("user_settings_fuzz", "test" + std::to_string(n++), bytes)) << s.text;
    }
}

} // namespace
