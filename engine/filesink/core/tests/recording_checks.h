#pragma once
// What the repair's tests share: cut-short recordings built in memory (each kept as a fuzz seed when
// asked) and the checks of a finished one.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "avi_recovery.h"

namespace recordingtest {

inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::string Tag(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&b[at]), 4);
}
inline void Append32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void AppendChunk(std::vector<std::uint8_t>& b, const char* id, std::uint32_t size, std::uint8_t fill) {
    b.insert(b.end(), id, id + 4);
    Append32(b, size);
    b.insert(b.end(), size + (size & 1), fill);
}

inline avirecovery::StreamDescription Video(std::int32_t width, std::int32_t height) {
    avirecovery::StreamDescription video;
    video.format.assign(40, 0);
    std::vector<std::uint8_t> h;
    Append32(h, 40);
    Append32(h, static_cast<std::uint32_t>(width));
    Append32(h, static_cast<std::uint32_t>(height));
    h.push_back(1), h.push_back(0), h.push_back(24), h.push_back(0);
    Append32(h, 0);
    Append32(h, static_cast<std::uint32_t>(width * height * 3));
    std::memcpy(video.format.data(), h.data(), h.size());
    video.frameTime = 666666; // 15 a second
    return video;
}

constexpr std::uint64_t kDataStart = 2048 + 12; // where a multiplexer's first data chunk goes

// With QEL_FUZZ_SEEDS set, every cut-short recording the suite builds is kept there as a fuzz seed.
inline void KeepAsSeed(const std::vector<std::uint8_t>& file) {
    const char* seeds = std::getenv("QEL_FUZZ_SEEDS");
    if (!seeds || !*seeds)
        return;
    const std::string folder = std::string(seeds) + "/avi_recovery_fuzz";
    std::filesystem::create_directories(folder);
    const std::size_t key = std::hash<std::string>()(std::string(file.begin(), file.end()));
    std::ofstream(folder + "/seed" + std::to_string(key) + ".avi", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

// A recording killed after frames whole frames of size bytes, with part of one more on the disk.
inline std::vector<std::uint8_t> KilledRecording(int frames, std::uint32_t size, std::size_t partial) {
    std::vector<std::uint8_t> file = avirecovery::ProvisionalHeader({Video(8, 4)}, kDataStart);
    for (int i = 0; i < frames; ++i)
        AppendChunk(file, "00db", size, static_cast<std::uint8_t>(i + 1));
    std::vector<std::uint8_t> cut;
    AppendChunk(cut, "00db", size, 0xEE);
    file.insert(file.end(), cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(partial));
    KeepAsSeed(file);
    return file;
}

// The finished file's sizes, lengths and index, checked against frames of size bytes.
inline void ExpectFinished(const std::vector<std::uint8_t>& b, std::uint32_t frames, std::uint32_t size) {
    ASSERT_GE(b.size(), kDataStart);
    EXPECT_EQ("RIFF", Tag(b, 0));
    EXPECT_EQ(b.size() - 8, U32(b, 4)) << "the RIFF size covers the file";
    EXPECT_EQ(frames, U32(b, 24 + 24)) << "avih total frames";
    const std::size_t movi = kDataStart - 12;
    EXPECT_EQ("LIST", Tag(b, movi));
    EXPECT_EQ("movi", Tag(b, movi + 8));
    const std::size_t moviEnd = movi + 8 + U32(b, movi + 4);
    EXPECT_EQ(kDataStart + frames * (8 + size + (size & 1)), moviEnd);
    ASSERT_EQ("idx1", Tag(b, moviEnd));
    ASSERT_EQ(frames * 16, U32(b, moviEnd + 4));
    EXPECT_EQ(moviEnd + 8 + frames * 16, b.size());
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::size_t entry = moviEnd + 8 + 16 * i;
        EXPECT_EQ("00db", Tag(b, entry));
        const std::size_t chunk = movi + 8 + U32(b, entry + 8);
        EXPECT_EQ("00db", Tag(b, chunk)) << "entry " << i << " points at its chunk";
        EXPECT_EQ(size, U32(b, entry + 12));
        if (size) {
            EXPECT_EQ(static_cast<std::uint8_t>(i + 1), b[chunk + 8]) << "frame " << i << " in order";
        }
    }
    // The stream header's length (strh data: after RIFF, hdrl list, avih, strl list and 'strh').
    const std::size_t strh = 12 + 12 + 64 + 12 + 8;
    EXPECT_EQ("vids", Tag(b, strh));
    EXPECT_EQ(frames, U32(b, strh + 32)) << "strh length";
}

} // namespace recordingtest
