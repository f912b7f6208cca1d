#include "effects/source_map.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "effects/frame_geometry.h"

bool CSourceMap::Reset(int width, int lines, bool blank) {
    Clear();
    if (width <= 0 || lines <= 0)
        return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(lines);
    if (count / static_cast<size_t>(width) != static_cast<size_t>(lines) ||
        count > std::numeric_limits<size_t>::max() / sizeof(SourceMapEntry))
        return false;
    try {
        entries_.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    width_ = width;
    lines_ = lines;
    SourceMapEntry* entry = entries_.data();
    for (int line = 0; line < lines; ++line) {
        for (int x = 0; x < width; ++x, ++entry)
            *entry = blank ? SourceMapEntry{kNoSource, 0, 0, 0} : SourceMapEntry{x, line, 0, 0};
    }
    return true;
}

void CSourceMap::Clear() {
    std::vector<SourceMapEntry>().swap(entries_);
    width_ = 0;
    lines_ = 0;
}

bool CSourceMap::TrySetSource(int x, int line, float sourceX, float sourceLine) {
    // The negated tests also refuse NaN.
    if (!(sourceX >= 0.0f && sourceX <= static_cast<float>(width_ - 1)) ||
        !(sourceLine >= 0.0f && sourceLine <= static_cast<float>(lines_ - 1)))
        return false;
    const int sx = std::min(static_cast<int>(sourceX), width_ - 1);
    const int sy = std::min(static_cast<int>(sourceLine), lines_ - 1);
    const int fx = std::clamp(static_cast<int>((sourceX - static_cast<float>(sx)) * 1024.0f), 0, 1023);
    const int fy = std::clamp(static_cast<int>((sourceLine - static_cast<float>(sy)) * 1024.0f), 0, 1023);
    entries_[Index(x, line)] = SourceMapEntry{sx, sy, static_cast<uint16_t>(fx), static_cast<uint16_t>(fy)};
    return true;
}

bool RemapFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride, const CSourceMap& map) {
    FrameGeometry g;
    if (!src || !dst || !FrameGeometry::Make(width, height, kEffectBytesPerPixel, stride, &g) ||
        map.Width() != g.width || map.Lines() != g.lines)
        return false;
    std::vector<size_t> lineOffsets;
    try {
        lineOffsets.resize(static_cast<size_t>(g.lines));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int line = 0; line < g.lines; ++line)
        lineOffsets[line] = g.LineOffset(line);

    const SourceMapEntry* entry = map.Entries();
    for (int line = 0; line < g.lines; ++line) {
        uint8_t* out = dst + lineOffsets[line];
        for (int x = 0; x < g.width; ++x, ++entry, out += 3) {
            if (entry->x == CSourceMap::kNoSource) {
                out[0] = out[1] = out[2] = 0;
                continue;
            }
            const size_t column = static_cast<size_t>(entry->x) * kEffectBytesPerPixel;
            const size_t nextColumn = entry->x + 1 < g.width ? 3 : 0;
            const int nextLine = entry->line + 1 < g.lines ? entry->line + 1 : entry->line;
            const uint8_t* q00 = src + lineOffsets[entry->line] + column;
            const uint8_t* q01 = src + lineOffsets[nextLine] + column;
            const uint8_t* q10 = q00 + nextColumn;
            const uint8_t* q11 = q01 + nextColumn;
            const int fx = entry->fx;
            const int fy = entry->fy;
            const int fxy = (fx * fy) >> 10;
            for (int k = 0; k < 3; ++k) {
                const int a = q00[k];
                const int value = a + (((q10[k] - a) * fx + (a + q11[k] - q10[k] - q01[k]) * fxy + (q01[k] - a) * fy) >> 10);
                out[k] = static_cast<uint8_t>(std::clamp(value, 0, 255));
            }
        }
    }
    return true;
}
