// The PNG-to-DIB decoder. libpng reports errors by a long jump: the one function that sets the jump
// point keeps everything it must clean up in a state object owned by its caller, so the caller frees
// each resource exactly once whichever way the read ends.
#include "PngDib.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// libpng's own memory, capped per request and measured: a chunk that claims gigabytes is refused here
// instead of being allocated and zeroed. Each request carries its size in front of it.
struct LibraryMemory {
    std::size_t held = 0;
    std::size_t peak = 0;
};

constexpr std::size_t kSizePrefix = 16; // keeps the returned memory aligned as malloc's

png_voidp AllocateForLibpng(png_structp png, png_alloc_size_t bytes) {
    if (bytes > kPngDibMaxLibraryAllocation)
        return nullptr; // libpng reports its own out-of-memory
    auto* memory = static_cast<LibraryMemory*>(png_get_mem_ptr(png));
    auto* block = static_cast<unsigned char*>(std::malloc(bytes + kSizePrefix));
    if (!block)
        return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    memory->held += bytes;
    if (memory->held > memory->peak)
        memory->peak = memory->held;
    return block + kSizePrefix;
}

void FreeForLibpng(png_structp png, png_voidp pointer) {
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kSizePrefix;
    png_alloc_size_t bytes = 0;
    std::memcpy(&bytes, block, sizeof bytes);
    static_cast<LibraryMemory*>(png_get_mem_ptr(png))->held -= bytes;
    std::free(block);
}

struct DecodeState {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    unsigned char* block = nullptr;
    std::size_t blockBytes = 0;
    png_bytep* rows = nullptr;
    std::uint32_t pixelOffset = 0;
};

bool PeekPngSize(FILE* file, std::uint32_t* width, std::uint32_t* height) {
    // Signature (8), IHDR length (4) and name (4), then width and height, big-endian.
    static const unsigned char kStart[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    unsigned char head[24] = {};
    const bool read = std::fread(head, 1, sizeof head, file) == sizeof head;
    if (!read || std::memcmp(head, kStart, sizeof kStart) != 0)
        return false;
    auto be32 = [](const unsigned char* at) {
        return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
               (static_cast<std::uint32_t>(at[2]) << 8) | at[3];
    };
    *width = be32(head + 16);
    *height = be32(head + 20);
    return true;
}

// Whether a header claims more than the loader makes; such a file is refused before libpng reads it.
bool ClaimsTooMuch(FILE* file) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const bool claims = PeekPngSize(file, &width, &height) &&
                        (width > kPngDibMaxSide || height > kPngDibMaxSide ||
                         static_cast<std::uint64_t>(width) * height > kPngDibMaxPixels);
    std::rewind(file);
    return claims;
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

void PutLe16(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}
void PutLe32(unsigned char* at, std::uint32_t value) {
    PutLe16(at, value & 0xFFFF);
    PutLe16(at + 2, value >> 16);
}
std::uint32_t GetLe16(const unsigned char* at) { return at[0] | (static_cast<std::uint32_t>(at[1]) << 8); }
std::uint32_t GetLe32(const unsigned char* at) { return GetLe16(at) | (GetLe16(at + 2) << 16); }

// What the block holds for one PNG header.
struct Layout {
    std::uint32_t depth = 0;     // DIB bits per pixel
    std::uint32_t entries = 0;   // colour-table entries
    bool topDown = true;
    bool widenTwoBit = false;
};

// False for colour types the loader does not know.
bool ChooseLayout(int colorType, int bitDepth, int paletteEntries, Layout* layout) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: {
        const int bits = bitDepth == 16 ? 8 : bitDepth;
        layout->entries = 1u << bits;
        layout->depth = bits == 2 ? 4 : bits;
        layout->widenTwoBit = bits == 2;
        layout->topDown = layout->depth == 1;
        return true;
    }
    case PNG_COLOR_TYPE_PALETTE:
        layout->depth = bitDepth == 2 ? 4 : bitDepth;
        layout->widenTwoBit = bitDepth == 2;
        layout->topDown = layout->depth == 1;
        // A palette longer than the depth can index would only widen the table past what GDI+ takes.
        layout->entries = static_cast<std::uint32_t>(paletteEntries);
        if (layout->entries > (1u << bitDepth))
            layout->entries = 1u << bitDepth;
        return true;
    case PNG_COLOR_TYPE_RGB:
        layout->depth = 24;
        return true;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
    case PNG_COLOR_TYPE_RGB_ALPHA:
        layout->depth = 32;
        return true;
    default:
        return false;
    }
}

// Widens one row of 2-bit pixels, stored packed at the start of the row, to 4 bits per pixel in place.
// Output byte k takes pixels 2k and 2k+1 from input byte k / 2, so walking down from the last output
// byte reads every input byte before anything overwrites it.
void WidenTwoBitRow(unsigned char* row, std::uint32_t width) {
    const std::uint32_t outBytes = (width + 1) / 2;
    for (std::uint32_t k = outBytes; k-- > 0;) {
        const std::uint32_t first = 2 * k;
        const unsigned in = row[first / 4];
        const unsigned high = (in >> (6 - 2 * (first % 4))) & 3;
        unsigned low = 0;
        if (first + 1 < width)
            low = (in >> (6 - 2 * ((first + 1) % 4))) & 3;
        row[k] = static_cast<unsigned char>((high << 4) | low);
    }
}

void FillColourTable(DecodeState* s, int colorType, const Layout& layout) {
    unsigned char* table = s->block + kDibHeaderBytes;
    if (colorType == PNG_COLOR_TYPE_GRAY) {
        for (std::uint32_t i = 0; i < layout.entries; ++i) {
            const unsigned char grey = static_cast<unsigned char>(i * 255 / (layout.entries - 1));
            table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = grey;
        }
    } else if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(s->png, s->info, &palette, &count);
        for (std::uint32_t i = 0; i < layout.entries && i < static_cast<std::uint32_t>(count); ++i) {
            table[4 * i] = palette[i].blue;
            table[4 * i + 1] = palette[i].green;
            table[4 * i + 2] = palette[i].red;
        }
    }
}

// Reads the file into a new block. Long jumps from libpng land here; everything they could leave
// behind is in *s, which the caller releases.
int ReadPicture(DecodeState* s, const PngDibAllocator& allocator) {
    if (setjmp(png_jmpbuf(s->png)))
        return kPngDibReadError;

    png_init_io(s->png, s->file);
    png_read_info(s->png, s->info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(s->png, s->info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);

    int paletteEntries = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        png_get_PLTE(s->png, s->info, &palette, &paletteEntries);
    }
    Layout layout;
    if (!ChooseLayout(colorType, bitDepth, paletteEntries, &layout))
        return kPngDibUnsupported;

    if (colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        png_set_bgr(s->png);
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(s->png);
        png_set_bgr(s->png);
    }
    if (bitDepth == 16)
        png_set_strip_16(s->png);
    png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);

    std::int32_t xPerMetre = 0;
    std::int32_t yPerMetre = 0;
    png_uint_32 resX = 0;
    png_uint_32 resY = 0;
    int unit = 0;
    if (png_get_valid(s->png, s->info, PNG_INFO_pHYs) && png_get_pHYs(s->png, s->info, &resX, &resY, &unit) &&
        unit == PNG_RESOLUTION_METER && resX <= 0x7FFFFFFF && resY <= 0x7FFFFFFF) {
        xPerMetre = static_cast<std::int32_t>(resX);
        yPerMetre = static_cast<std::int32_t>(resY);
    }

    const std::uint64_t stride = DibStride(width, layout.depth);
    const std::uint64_t pixelOffset = kDibHeaderBytes + 4ull * layout.entries;
    const std::uint64_t imageBytes = stride * height; // both below 2^32: no overflow in 64 bits
    if (stride == 0 || static_cast<std::uint64_t>(width) * height > kPngDibMaxPixels ||
        imageBytes > kPngDibMaxBlockBytes - pixelOffset)
        return kPngDibOutOfMemory;
    // libpng's own row length must fit the rows we hand it.
    if (png_get_rowbytes(s->png, s->info) > stride)
        return kPngDibReadError;

    s->blockBytes = static_cast<std::size_t>(pixelOffset + imageBytes);
    s->block = static_cast<unsigned char*>(allocator.Allocate(s->blockBytes, allocator.context));
    if (!s->block)
        return kPngDibOutOfMemory;
    s->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (height ? height : 1)));
    if (!s->rows)
        return kPngDibOutOfMemory;
    s->pixelOffset = static_cast<std::uint32_t>(pixelOffset);

    FillColourTable(s, colorType, layout);
    unsigned char* pixels = s->block + pixelOffset;
    for (png_uint_32 j = 0; j < height; ++j) {
        const png_uint_32 place = layout.topDown ? j : height - 1 - j;
        s->rows[j] = pixels + static_cast<std::size_t>(place) * stride;
    }
    png_read_image(s->png, s->rows);
    png_read_end(s->png, nullptr);
    if (layout.widenTwoBit) {
        for (png_uint_32 j = 0; j < height; ++j)
            WidenTwoBitRow(s->rows[j], width);
    }

    unsigned char* header = s->block;
    PutLe32(header, kDibHeaderBytes);
    PutLe32(header + 4, width);
    PutLe32(header + 8, height);
    PutLe16(header + 12, 1);
    PutLe16(header + 14, layout.depth);
    PutLe32(header + 16, 0);
    PutLe32(header + 20, static_cast<std::uint32_t>(imageBytes));
    PutLe32(header + 24, static_cast<std::uint32_t>(xPerMetre));
    PutLe32(header + 28, static_cast<std::uint32_t>(yPerMetre));
    PutLe32(header + 32, layout.entries);
    PutLe32(header + 36, 0);
    return kPngDibOk;
}

} // namespace

std::uint64_t DibStride(std::uint32_t width, std::uint32_t bits) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return stride > 0xFFFFFFFFull ? 0 : stride;
}

PngDibResult DecodePngToDib(const char* path, const PngDibAllocator& allocator) {
    PngDibResult result;
    DecodeState state;
    LibraryMemory memory;
    state.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning, &memory,
                                         AllocateForLibpng, FreeForLibpng);
    if (state.png) {
        png_set_user_limits(state.png, kPngDibMaxSide, kPngDibMaxSide);
        png_set_chunk_malloc_max(state.png, kPngDibMaxLibraryAllocation);
        state.info = png_create_info_struct(state.png);
    }
    if (!state.png || !state.info) {
        result.reason = kPngDibOutOfMemory;
    } else if (!path || !(state.file = std::fopen(path, "rb"))) {
        result.reason = kPngDibCannotOpen;
    } else if (ClaimsTooMuch(state.file)) {
        result.reason = kPngDibOutOfMemory;
    } else {
        result.reason = ReadPicture(&state, allocator);
    }

    if (state.png)
        png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr, nullptr);
    if (state.file)
        std::fclose(state.file);
    std::free(state.rows);
    result.libraryPeakBytes = memory.peak;
    if (result.reason == kPngDibOk) {
        result.block = state.block;
        result.blockBytes = state.blockBytes;
        result.pixelOffset = state.pixelOffset;
    } else if (state.block) {
        allocator.Release(state.block, allocator.context);
    }
    return result;
}

bool ReadPngSize(const char* path, std::uint32_t* width, std::uint32_t* height) {
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return false;
    const bool read = PeekPngSize(file, width, height);
    std::fclose(file);
    return read;
}

DibHeaderFields ReadDibHeader(const void* block) {
    const unsigned char* at = static_cast<const unsigned char*>(block);
    DibHeaderFields fields;
    fields.width = static_cast<std::int32_t>(GetLe32(at + 4));
    fields.height = static_cast<std::int32_t>(GetLe32(at + 8));
    fields.bitCount = static_cast<std::uint16_t>(GetLe16(at + 14));
    fields.sizeImage = GetLe32(at + 20);
    fields.xPelsPerMeter = static_cast<std::int32_t>(GetLe32(at + 24));
    fields.yPelsPerMeter = static_cast<std::int32_t>(GetLe32(at + 28));
    fields.colorsUsed = GetLe32(at + 32);
    return fields;
}
