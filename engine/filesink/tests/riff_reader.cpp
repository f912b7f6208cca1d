#include "riff_reader.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace rifftest {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
bool Is(const std::uint8_t* p, const char* fourcc) {
    return std::memcmp(p, fourcc, 4) == 0;
}

struct Walker {
    const std::vector<std::uint8_t>& bytes;
    AviSummary& out;
    int videoStream = -1;
    int streamIndex = -1;
    bool inVideoStrl = false;
    bool ok = true;

    // 'NNdb' or 'NNdc' of the first video stream.
    bool IsVideoChunk(const std::uint8_t* id) const {
        if (videoStream < 0 || id[2] != 'd' || (id[3] != 'b' && id[3] != 'c'))
            return false;
        return (id[0] - '0') * 10 + (id[1] - '0') == videoStream;
    }

    void Walk(size_t begin, size_t end, bool inMovi) {
        size_t at = begin;
        while (at + 8 <= end) {
            const std::uint8_t* chunk = &bytes[at];
            const std::uint32_t size = U32(chunk + 4);
            const size_t body = at + 8;
            if (size > end - body) {
                ok = false;
                return;
            }
            if (Is(chunk, "LIST") && size >= 4) {
                const std::uint8_t* form = &bytes[body];
                if (Is(form, "strl")) {
                    ++streamIndex;
                    inVideoStrl = false;
                }
                Walk(body + 4, body + size, inMovi || Is(form, "movi"));
            } else if (Is(chunk, "avih") && size >= 40) {
                out.headerFrames = U32(&bytes[body + 16]);
                out.streams = U32(&bytes[body + 24]);
            } else if (Is(chunk, "strh") && size >= 36) {
                if (Is(&bytes[body], "vids") && videoStream < 0) {
                    videoStream = streamIndex;
                    inVideoStrl = true;
                    out.videoStreamLength = U32(&bytes[body + 32]);
                }
            } else if (Is(chunk, "strf") && inVideoStrl && size >= 40) {
                out.width = static_cast<std::int32_t>(U32(&bytes[body + 4]));
                out.height = static_cast<std::int32_t>(U32(&bytes[body + 8]));
                out.bitCount = static_cast<std::uint16_t>(bytes[body + 14] | bytes[body + 15] << 8);
                inVideoStrl = false;
            } else if (Is(chunk, "idx1")) {
                out.hasIndex = true;
                for (size_t entry = body; entry + 16 <= body + size; entry += 16) {
                    const std::uint8_t* id = &bytes[entry];
                    if (IsVideoChunk(id)) {
                        ++out.indexedFrames;
                        if (U32(id + 12) == 0)
                            ++out.indexedEmptyFrames;
                    }
                }
            } else if (inMovi && IsVideoChunk(chunk)) {
                if (out.storedFrames == 0)
                    out.firstFrameBytes = size;
                ++out.storedFrames;
                out.frameOffsets.push_back(body);
            }
            at = body + size + (size & 1);
        }
    }
};

} // namespace

AviSummary ReadAvi(const std::vector<std::uint8_t>& bytes) {
    AviSummary out;
    if (bytes.size() < 12 || !Is(&bytes[0], "RIFF") || !Is(&bytes[8], "AVI "))
        return out;
    out.riffAvi = true;
    const std::uint32_t riffSize = U32(&bytes[4]);
    Walker walker{bytes, out};
    const size_t end = riffSize <= bytes.size() - 8 ? 8 + riffSize : bytes.size();
    walker.ok = riffSize <= bytes.size() - 8;
    walker.Walk(12, end, false);
    out.complete = walker.ok && riffSize >= 4;
    return out;
}

AviSummary ReadAviFile(const std::wstring& path, std::vector<std::uint8_t>* whole) {
    std::vector<std::uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return AviSummary();
    std::uint8_t buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    AviSummary summary = ReadAvi(bytes);
    if (whole)
        *whole = std::move(bytes);
    return summary;
}

} // namespace rifftest
