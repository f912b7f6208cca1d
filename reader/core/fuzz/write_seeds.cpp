// Writes the recogniser's fuzz seed corpus (the test fixtures and a generated clip) into a folder.
#include <cstdio>
#include <fstream>
#include <string>

#include "avi_clip.h"
#include "kind_fixtures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    int written = 0;
    auto write = [&](const std::string& name, const kindtest::Bytes& bytes) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        written += out.good() ? 1 : 0;
    };
    qelmedia::AviClipSpec spec;
    spec.frameCount = 2;
    spec.width = 8;
    spec.height = 4;
    spec.withAudio = true;
    write("clip.avi", qelmedia::BuildAviClip(spec));
    write("dv.avi", kindtest::AviWithStreams({{"auds", ""}, {"vids", "dvsd"}}));
    write("iavs.avi", kindtest::AviWithStreams({{"iavs", "dvsd"}}));
    kindtest::AviOptions junk;
    junk.junkAfterFirstStream = 16;
    write("junk.avi", kindtest::AviWithStreams({{"auds", ""}, {"vids", "DIB "}}, junk));
    write("mpeg2.mpg", kindtest::SequenceHeader(true));
    write("pack.mpg", kindtest::PackHeader(0x44));
    write("ts.mpg", kindtest::TransportPackets(20));
    std::printf("%d seeds written to %s\n", written, folder.c_str());
    return written == 7 ? 0 : 1;
}
