#pragma once
// A per-pixel source map of the geometric effects (swirl, fish eye): for every output pixel the point
// of the input it is sampled from, with 10-bit fractions for the bilinear sample. Built once per
// format and strength; applied to every frame by RemapFrame.
#include <cstddef>
#include <cstdint>
#include <vector>

struct SourceMapEntry {
    int32_t x;     // source column; kNoSource: the output pixel is black
    int32_t line;  // source line (line 0 is the bottom of the picture)
    uint16_t fx;   // fraction towards the next column, in 1/1024
    uint16_t fy;   // fraction towards the next line, in 1/1024
};

class CSourceMap {
public:
    static constexpr int32_t kNoSource = -1;

    // Sizes the map for width x lines and fills it: every pixel its own source, or with blank no
    // source at all. False (map empty) when the size does not fit or memory is short.
    bool Reset(int width, int lines, bool blank);
    void Clear();

    bool Empty() const { return entries_.empty(); }
    int Width() const { return width_; }
    int Lines() const { return lines_; }
    const SourceMapEntry* Entries() const { return entries_.data(); }
    const SourceMapEntry& At(int x, int line) const { return entries_[Index(x, line)]; }

    // Makes (sourceX, sourceLine) the source of output pixel (x, line) when it lies on the picture
    // (0..width-1, 0..lines-1) and returns true; otherwise leaves the entry as it is and returns false.
    bool TrySetSource(int x, int line, float sourceX, float sourceLine);

private:
    size_t Index(int x, int line) const {
        return static_cast<size_t>(line) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }

    int width_ = 0;
    int lines_ = 0;
    std::vector<SourceMapEntry> entries_;
};

// Samples every output pixel from its source: Q00 + ((Q10 - Q00) fx + (Q00 + Q11 - Q10 - Q01) fxy
// + (Q01 - Q00) fy) >> 10 per channel with fxy = fx fy / 1024, a neighbour beyond the last column or
// line replaced by the pixel itself, results bounded to 0..255; no source gives black. False (nothing
// written) for a bad frame or a map of another size.
bool RemapFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride, const CSourceMap& map);
