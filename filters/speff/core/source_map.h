#pragma once
// A per-pixel source map of the geometric effects (swirl, fish eye): for every output pixel the point
// of the input it is sampled from, with 10-bit fractions for the bilinear sample. Built once per
// format (size, stride, orientation) and strength, as byte offsets into the frame, and applied to
// every frame by RemapFrame.
//
// Entries are kept tile by tile (kTile x kTile output pixels, line by line within a tile) and frames
// are remapped in that order: the sources of one tile lie close together, so a large frame is read
// from cache instead of a whole source frame's height of lines for every output line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/effect_layout.h"

// Where one output pixel comes from, in picture coordinates (line 0 is the bottom of the picture).
struct SourcePoint {
    int x = 0;   // kNoSource: the output pixel is black
    int line = 0;
    int fx = 0;  // fraction towards the next column, in 1/1024
    int fy = 0;  // fraction towards the next line, in 1/1024
};

class CSourceMap {
public:
    static constexpr int kNoSource = -1;

    // Sizes the map for the frame and fills it: every pixel its own source, or with blank no source at
    // all. False (map empty) when the frame is too large to address this way or memory is short.
    bool Reset(const qel::imaging::PixelLayout& layout, bool blank);
    void Clear();

    bool Empty() const { return entries_.empty(); }
    const qel::imaging::PixelLayout& Layout() const { return layout_; }
    SourcePoint At(int x, int line) const;

    // Makes (sourceX, sourceLine) the source of output pixel (x, line) when it lies on the picture
    // (0..width-1, 0..lines-1) and returns true; otherwise leaves the entry as it is and returns false.
    // This is the one place where points off the picture are caught.
    bool TrySetSource(int x, int line, float sourceX, float sourceLine);

    struct Entry {
        uint32_t offset;  // of the source pixel's first byte in the frame; kNoOffset: black
        uint16_t fx;
        uint16_t fy;
    };
    static constexpr uint32_t kNoOffset = 0xFFFFFFFFu;
    static constexpr int kTile = 32;

private:
    friend bool RemapFrame(const uint8_t*, uint8_t*, const qel::imaging::PixelLayout&, const CSourceMap&);

    // Where the entry of output pixel (x, line) is kept: its band of kTile lines, its tile in the band,
    // its line in the tile (tiles at the right and top edges are narrower or lower).
    size_t Index(int x, int line) const {
        const int bandLine = line - line % kTile;
        const int tileX = x - x % kTile;
        const size_t bandLines = static_cast<size_t>(std::min(kTile, lines_ - bandLine));
        const size_t tileWidth = static_cast<size_t>(std::min(kTile, layout_.width - tileX));
        return static_cast<size_t>(bandLine) * static_cast<size_t>(layout_.width) +
               static_cast<size_t>(tileX) * bandLines + static_cast<size_t>(line % kTile) * tileWidth +
               static_cast<size_t>(x % kTile);
    }
    uint32_t OffsetOf(int x, int line) const {
        return static_cast<uint32_t>(PictureLineOffset(layout_, line) +
                                     static_cast<size_t>(x) * kEffectBytesPerPixel);
    }

    qel::imaging::PixelLayout layout_;
    int lines_ = 0; // |height|
    std::vector<Entry> entries_;
};

// Samples every output pixel from its source: Q00 + ((Q10 - Q00) fx + (Q00 + Q11 - Q10 - Q01) fxy
// + (Q01 - Q00) fy) >> 10 per channel with fxy = fx fy / 1024 (a neighbour is only read when its
// fraction is not 0, so never beyond the last column or line), results bounded to 0..255; no source
// gives black. False (nothing written) for a bad frame or a map built for another format.
bool RemapFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                const CSourceMap& map);
