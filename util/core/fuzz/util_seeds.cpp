// The seeds of the skin-value and path-text fuzz harnesses: the texts these tests read, and every value
// of the default skin's settings file. Kept only when QEL_FUZZ_SEEDS is set (scripts/fuzz).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_seeds.h"

namespace {

using qel::fuzzseeds::Keep;
using qel::fuzzseeds::SeedWriter;

const char* const kSkinValues[] = {
    "10,20,30,40", " 1, -2,+3,  4", "1 ,2", "10,,20", "5px,6", "-,3", "7,", "99999999999",
    "-99999999999,2147483648", "-2147483648,2147483647", "123456789012345678901234567890", "  +7 8",
    "TRUE", "true ", "yes", "Bold|Italic", "underline|STRIKEOUT", "strikeout|underline|italic|bold",
    "Bold| Italic", "heavy|italic|", "Proof", "DRAFT", "anti-aliasing", "default", "230,234,240",
    "30,488,92,30,640,480",
};

const char* const kPaths[] = {
    "C:\\Apps\\Cam\\shot.01.jpg", "C:shot.jpg", "\\\\server\\share\\a.b\\file", "dir/sub/readme", ".profile",
    "C:\\Apps\\", "name.", "Zentrik\\buttons\\setup.png",
};

// The values (right of "=") of the default skin's settings file; none when it cannot be read.
std::vector<std::string> DefaultSkinValues() {
    std::vector<std::string> values;
    std::ifstream in(QEL_DEFAULT_SKIN_SETTINGS);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            values.push_back(line.substr(equals + 1));
    }
    return values;
}

// The path harness's head: buffer size, long-buffer flag, byte count, three divisors, own-divisors flag.
std::vector<std::uint8_t> PathSeed(std::uint8_t shortSize, bool pathSized, std::uint32_t bytes, const std::string& path) {
    SeedWriter seed;
    seed.U8(shortSize).U8(pathSized ? 1 : 0).U32(bytes).U32(1000000000u).U32(1000000u).U32(1000u).U8(bytes & 1);
    std::vector<std::uint8_t> out = seed.Bytes();
    out.insert(out.end(), path.begin(), path.end());
    return out;
}

TEST(UtilFuzzSeeds, TestTextsAndTheDefaultSkinAreKeptWhenAsked) {
    int n = 0;
    for (const char* value : kSkinValues)
        EXPECT_TRUE(Keep("skin_value_fuzz", "test" + std::to_string(n++), value)) << value;
    if (qel::fuzzseeds::Wanted()) {
        const std::vector<std::string> skin = DefaultSkinValues();
        EXPECT_FALSE(skin.empty()) << QEL_DEFAULT_SKIN_SETTINGS;
        for (std::size_t i = 0; i < skin.size(); ++i)
            EXPECT_TRUE(Keep("skin_value_fuzz", "skin" + std::to_string(i), skin[i]));
    }

    const std::uint32_t sizes[] = {0, 500, 1536, 1048577, 3u * 1073741824u, 0xFFFFFFFFu};
    n = 0;
    for (const char* path : kPaths) {
        const std::uint32_t bytes = sizes[n % 6];
        EXPECT_TRUE(Keep("path_text_fuzz", "path" + std::to_string(n), PathSeed(8, n % 2 == 0, bytes, path)));
        ++n;
    }
}

} // namespace
