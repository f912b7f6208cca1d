// PNG test files through libpng's writer and hand-made chunks.
#include "png_fixture.h"

#include <png.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    PutBe32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// The writing part, apart so that the long jump leaves no object with a destructor behind.
bool WriteWithJump(png_structp png, png_infop info, FILE* file, const PngSpec& spec, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[256];
        const int count = static_cast<int>(spec.paletteRgb.size() / 3);
        for (int i = 0; i < count && i < 256; ++i) {
            palette[i].red = spec.paletteRgb[3 * i];
            palette[i].green = spec.paletteRgb[3 * i + 1];
            palette[i].blue = spec.paletteRgb[3 * i + 2];
        }
        png_set_PLTE(png, info, palette, count);
    }
    if (spec.withPhys)
        png_set_pHYs(png, info, spec.physX, spec.physY, spec.physUnit);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool WritePng(const std::string& path, const PngSpec& spec) {
    if (spec.rows.size() != spec.height)
        return false;
    std::vector<png_bytep> rows;
    for (const auto& row : spec.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = png && info && WriteWithJump(png, info, file, spec, rows.data());
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}

int PngChannels(int colorType) {
    switch (colorType) {
    case 0: case 3: return 1;
    case 2: return 3;
    case 4: return 2;
    default: return 4;
    }
}

PngSpec SpecFromSamples(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                        const std::function<unsigned(std::uint32_t, std::uint32_t, int)>& sample) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = colorType;
    spec.bitDepth = bitDepth;
    const int channels = PngChannels(colorType);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * channels * bitDepth + 7) / 8;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (std::uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                const unsigned value = sample(x, y, c);
                const std::size_t at = static_cast<std::size_t>(x) * channels + static_cast<std::size_t>(c);
                if (bitDepth == 16) {
                    row[2 * at] = static_cast<std::uint8_t>(value >> 8);
                    row[2 * at + 1] = static_cast<std::uint8_t>(value);
                } else if (bitDepth == 8) {
                    row[at] = static_cast<std::uint8_t>(value);
                } else {
                    PutPackedSample(row, x, bitDepth, value);
                }
            }
        spec.rows.push_back(row);
    }
    return spec;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> CraftedPng(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.push_back(static_cast<std::uint8_t>(bitDepth));
    header.push_back(static_cast<std::uint8_t>(colorType));
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(out, "IHDR", header);
    // An empty zlib stream: enough for libpng to reach the image data.
    PutChunk(out, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    PutChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> ChunkBombPng() {
    std::vector<std::uint8_t> bytes = CraftedPng(23, 17, 8, 6);
    const std::vector<std::uint8_t> claim = {0x61, 0x00, 0x00, 0x0C, 't', 'E', 'X', 't', 'C', 'o', 'm', 'm',
                                             'e', 'n', 't', 0, 's', 'e', 'e', 'd'};
    const std::size_t afterHeader = 8 + 12 + 13; // signature, IHDR
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(afterHeader), claim.begin(), claim.end());
    return bytes;
}

void PutPackedSample(std::vector<std::uint8_t>& row, std::uint32_t x, int bits, unsigned value) {
    const std::uint32_t bitOffset = x * static_cast<std::uint32_t>(bits);
    const int shift = 8 - bits - static_cast<int>(bitOffset % 8);
    row[bitOffset / 8] = static_cast<std::uint8_t>(row[bitOffset / 8] | (value << shift));
}

TestFolder::TestFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
        ("qel_png_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
    path_ = folder.string();
}

TestFolder::~TestFolder() {
    std::error_code ignored; // a folder that cannot be removed is left for the system's temp cleanup
    std::filesystem::remove_all(path_, ignored);
}

std::string TestFolder::File(const std::string& name) const {
    return (std::filesystem::path(path_) / name).string();
}
