#pragma once
// Decodes a PNG file into a packed DIB: a 40-byte BITMAPINFOHEADER, a colour table of RGBQUADs and the
// pixel rows, all in one zero-filled block that the caller's allocator supplies, so the pixels are
// decoded straight into their final place. Platform-neutral (libpng and the C runtime only).
//
// Depth, colour table and row order by PNG colour type:
//   0 grey        the bit depth (16 read as 8, 2 widened to 4), a grey ramp of 2^depth entries;
//                 depth 1 top row first, 4 and 8 bottom row first
//   2 RGB         24 bits, blue-green-red, top row first
//   3 palette     the bit depth (2 widened to 4), the file's palette; rows as for grey
//   4 grey+alpha  32 bits, blue-green-red-alpha (grey copied to all three), top row first
//   6 RGB+alpha   32 bits, blue-green-red-alpha, top row first
// Sixteen-bit samples are reduced to eight. The resolution comes from pHYs when its unit is the metre.
#include <cstddef>
#include <cstdint>

// Failure reasons, with the values of the GDI+ Status the image library hands on.
enum PngDibReason : int {
    kPngDibOk = 0,
    kPngDibOutOfMemory = 3,   // no reader, no memory, or a picture larger than the limits below
    kPngDibReadError = 5,     // libpng reported an error (not a PNG, cut data, bad CRC, ...)
    kPngDibUnsupported = 7,   // a colour type the loader does not know
    kPngDibCannotOpen = 8,    // the file cannot be opened
};

// Where the block comes from: Allocate returns zero-filled memory of the given size or null;
// Release gives back a block that Allocate returned.
struct PngDibAllocator {
    void* (*Allocate)(std::size_t bytes, void* context);
    void (*Release)(void* block, void* context);
    void* context;
};

constexpr std::uint32_t kDibHeaderBytes = 40;
// The largest block the loader makes: GDI+ addresses rows with 32-bit strides and the header's
// image size field is 32 bits.
constexpr std::uint64_t kPngDibMaxBlockBytes = 0x7FFFFFFF;
// What a skin or a photo needs, with a margin (a 50-megapixel camera gives 8660 x 5774): a small file
// whose header claims more is refused before its pixels are allocated.
constexpr std::uint32_t kPngDibMaxSide = 12000;
constexpr std::uint64_t kPngDibMaxPixels = 12000ull * 9000ull;
// The most libpng may ask for at once (a text or profile chunk, a row, the inflate window): a chunk
// claiming more is skipped as libpng skips any damaged ancillary chunk, or ends the read.
constexpr std::size_t kPngDibMaxLibraryAllocation = 8u * 1024u * 1024u;

struct PngDibResult {
    void* block = nullptr;          // from the allocator; null on failure
    std::size_t blockBytes = 0;
    std::uint32_t pixelOffset = 0;  // 40 + 4 x colour-table entries
    int reason = kPngDibOk;
    std::size_t libraryPeakBytes = 0; // the most libpng's own memory held at once during the read
};

// The DIB row length in bytes, (width x bits + 31) / 32 x 4, or 0 when it does not fit 32 bits.
std::uint64_t DibStride(std::uint32_t width, std::uint32_t bits);

// Decodes the file at path. On failure nothing stays allocated and the file is closed.
PngDibResult DecodePngToDib(const char* path, const PngDibAllocator& allocator);

// Width and height from the file's header (its IHDR) without decoding; false when the file cannot be
// opened or does not start as a PNG. For refusing a picture by its size before its pixels are made.
bool ReadPngSize(const char* path, std::uint32_t* width, std::uint32_t* height);

// The fields of the header at the start of a block (little-endian, as the platform lays them out).
struct DibHeaderFields {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t sizeImage;
    std::int32_t xPelsPerMeter;
    std::int32_t yPelsPerMeter;
    std::uint32_t colorsUsed;
};
DibHeaderFields ReadDibHeader(const void* block);
