#include "large_png.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace programtest {
namespace {

using Bytes = std::vector<unsigned char>;

void PutBe32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

bool WriteChunk(FILE* file, const char type[4], const Bytes& data) {
    Bytes chunk;
    PutBe32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    PutBe32(chunk, static_cast<std::uint32_t>(crc));
    return std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
}

} // namespace

bool WriteBlackPng(const std::string& path, std::uint32_t width, std::uint32_t height) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file || std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, file.get()) != 8)
        return false;
    Bytes header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0}); // 8-bit grey, no interlace
    if (!WriteChunk(file.get(), "IHDR", header))
        return false;
    z_stream stream = {};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK)
        return false;
    const Bytes row(width + 1, 0); // filter byte 0, then black
    Bytes out(1 << 20);
    bool written = true;
    for (std::uint32_t y = 0; y <= height && written; ++y) {
        const bool last = y == height;
        stream.next_in = const_cast<Bytef*>(row.data());
        stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
        int status = Z_OK;
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            const size_t made = out.size() - stream.avail_out;
            if (made)
                written = WriteChunk(file.get(), "IDAT", Bytes(out.begin(), out.begin() + static_cast<long>(made)));
        } while (written && (stream.avail_out == 0 || (last && status != Z_STREAM_END)));
    }
    deflateEnd(&stream);
    return written && WriteChunk(file.get(), "IEND", Bytes());
}

} // namespace programtest
