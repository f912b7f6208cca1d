#pragma once
// The little-endian words and four-character codes of RIFF files, as the repair reads and writes them.
#include <cstdint>
#include <vector>

namespace avirecovery {

constexpr std::uint32_t Fourcc(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

constexpr std::uint32_t kRiff = Fourcc("RIFF"), kAvi = Fourcc("AVI "), kList = Fourcc("LIST"),
                        kHdrl = Fourcc("hdrl"), kAvih = Fourcc("avih"), kStrl = Fourcc("strl"),
                        kStrh = Fourcc("strh"), kStrf = Fourcc("strf"), kJunk = Fourcc("JUNK"),
                        kMovi = Fourcc("movi"), kIdx1 = Fourcc("idx1"), kVids = Fourcc("vids"),
                        kAuds = Fourcc("auds"), kRec = Fourcc("rec "),
                        kAvix = Fourcc("AVIX"), kOdml = Fourcc("odml"), kDmlh = Fourcc("dmlh"),
                        kIndx = Fourcc("indx");

// In the main header's first reserved word: the provisional header is ours, so finishing may touch it.
constexpr std::uint32_t kOwnTag = Fourcc("QelR");

// 32-bit sizes and index offsets: no finished file may pass this.
constexpr std::uint64_t kLargestRiff = 0xFFFFFFF0u;

inline std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

} // namespace avirecovery
