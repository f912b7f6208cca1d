// media_kind_seeds: writes the seed files of the media_kind_fuzz harness (the recogniser's test fixtures
// and a generated clip) into $QEL_FUZZ_SEEDS/media_kind_fuzz. A tool, not a test: scripts/fuzz runs it
// beside the programs that keep their tests' inputs as seeds. Without a seed folder it writes nothing and
// exits 77; any file it cannot write fails it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "avi_clip.h"
#include "kind_fixtures.h"

namespace {

constexpr int kNoSeedFolder = 77;

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

} // namespace

int main() {
    const char* seeds = std::getenv("QEL_FUZZ_SEEDS");
    if (!seeds || !*seeds) {
        std::printf("media_kind_seeds: QEL_FUZZ_SEEDS names no folder, nothing to write\n");
        return kNoSeedFolder;
    }
    const std::string folder = std::string(seeds) + "/media_kind_fuzz";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "media_kind_seeds: cannot make %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return 1;
    }
    int failures = 0;
    for (const auto& [name, bytes] : SeedFiles()) {
        const std::string path = folder + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (bytes.empty() || !out) {
            std::fprintf(stderr, "media_kind_seeds: %s not written (%zu bytes)\n", path.c_str(),
                         bytes.size());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
