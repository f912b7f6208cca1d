// The recogniser's fuzz seeds: the test fixtures and a generated clip. With QEL_FUZZ_SEEDS set, each is
// kept there as a seed of the media_kind_fuzz harness; either way every fixture must be buildable.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "avi_clip.h"
#include "kind_fixtures.h"

namespace {

std::vector<std::pair<std::string, kindtest::Bytes>> SeedFiles() {
    qelmedia::AviClipFormat clip;
    clip.frameCount = 2;
    clip.width = 8;
    clip.height = 4;
    clip.withAudio = true;
    kindtest::AviOptions junk;
    junk.junkAfterFirstStream = 16;
    return {
        {"clip.avi", qelmedia::BuildAviClip(clip)},
        {"dv.avi", kindtest::AviWithStreams({{"auds", ""}, {"vids", "dvsd"}})},
        {"iavs.avi", kindtest::AviWithStreams({{"iavs", "dvsd"}})},
        {"junk.avi", kindtest::AviWithStreams({{"auds", ""}, {"vids", "DIB "}}, junk)},
        {"mpeg2.mpg", kindtest::SequenceHeader(true)},
        {"pack.mpg", kindtest::PackHeader(0x44)},
        {"ts.mpg", kindtest::TransportPackets(20)},
    };
}

TEST(MediaKindSeeds, EveryFixtureIsBuiltAndKeptWhenAsked) {
    const auto files = SeedFiles();
    ASSERT_EQ(files.size(), 7u);
    for (const auto& [name, bytes] : files)
        EXPECT_FALSE(bytes.empty()) << name;

    const char* seeds = std::getenv("QEL_FUZZ_SEEDS");
    if (!seeds || !*seeds)
        return;
    const std::string folder = std::string(seeds) + "/media_kind_fuzz";
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << folder << "/" << name;
    }
}

} // namespace
