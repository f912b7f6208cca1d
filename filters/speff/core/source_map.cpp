#include "core/source_map.h"

#include "core/remap_avx2.h"
#include "qelimaging/cpu_features.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

bool CSourceMap::Reset(const qel::imaging::PixelLayout& layout, bool blank) {
    Clear();
    if (!IsEffectLayout(layout) || qel::imaging::ImageBytes(layout) >= kNoOffset)
        return false;
    const int lines = qel::imaging::RowCount(layout);
    const size_t count = static_cast<size_t>(layout.width) * static_cast<size_t>(lines);
    if (count > std::numeric_limits<size_t>::max() / sizeof(Entry))
        return false;
    try {
        entries_.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    layout_ = layout;
    lines_ = lines;
    for (int line = 0; line < lines; ++line) {
        for (int x = 0; x < layout.width; ++x)
            entries_[Index(x, line)] = Entry{blank ? kNoOffset : OffsetOf(x, line), 0, 0};
    }
    return true;
}

void CSourceMap::Clear() {
    std::vector<Entry>().swap(entries_);
    layout_ = qel::imaging::PixelLayout{};
    lines_ = 0;
}

SourcePoint CSourceMap::At(int x, int line) const {
    const Entry& entry = entries_[Index(x, line)];
    SourcePoint point;
    if (entry.offset == kNoOffset) {
        point.x = kNoSource;
        return point;
    }
    const int row = static_cast<int>(entry.offset / static_cast<uint32_t>(layout_.stride));
    point.line = layout_.height < 0 ? lines_ - 1 - row : row;
    point.x = static_cast<int>(entry.offset % static_cast<uint32_t>(layout_.stride)) / kEffectBytesPerPixel;
    point.fx = entry.fx;
    point.fy = entry.fy;
    return point;
}

bool CSourceMap::TrySetSource(int x, int line, float sourceX, float sourceLine) {
    // The negated tests also refuse NaN.
    if (!(sourceX >= 0.0f && sourceX <= static_cast<float>(layout_.width - 1)) ||
        !(sourceLine >= 0.0f && sourceLine <= static_cast<float>(lines_ - 1)))
        return false;
    const int sx = std::min(static_cast<int>(sourceX), layout_.width - 1);
    const int sy = std::min(static_cast<int>(sourceLine), lines_ - 1);
    // A fraction is 0 exactly when the point lies on the last column or line, so the neighbour beyond
    // it is never needed.
    const int fx = std::clamp(static_cast<int>((sourceX - static_cast<float>(sx)) * 1024.0f), 0, 1023);
    const int fy = std::clamp(static_cast<int>((sourceLine - static_cast<float>(sy)) * 1024.0f), 0, 1023);
    entries_[Index(x, line)] = Entry{OffsetOf(sx, sy), static_cast<uint16_t>(fx), static_cast<uint16_t>(fy)};
    return true;
}

namespace {

// The bilinear sample of one output pixel; RemapLineAvx2 computes the same sums.
inline void SamplePixel(const uint8_t* src, ptrdiff_t nextLine, const CSourceMap::Entry e, uint8_t* out) {
    if (e.offset == CSourceMap::kNoOffset) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    const uint8_t* q00 = src + e.offset;
    if ((e.fx | e.fy) == 0) {
        out[0] = q00[0];
        out[1] = q00[1];
        out[2] = q00[2];
        return;
    }
    const uint8_t* q10 = q00 + (e.fx ? 3 : 0);
    const uint8_t* q01 = q00 + (e.fy ? nextLine : 0);
    const uint8_t* q11 = q01 + (e.fx ? 3 : 0);
    // Q00 + ((Q10 - Q00) fx + (Q00 + Q11 - Q10 - Q01) fxy + (Q01 - Q00) fy) >> 10 regrouped by
    // corner: the four weights are not negative and add up to 1024, so the result needs no
    // bounding.
    const int fx = e.fx;
    const int fy = e.fy;
    const int fxy = (fx * fy) >> 10;
    const int w00 = 1024 - fx - fy + fxy;
    const int w10 = fx - fxy;
    const int w01 = fy - fxy;
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<uint8_t>((q00[k] * w00 + q10[k] * w10 + q01[k] * w01 + q11[k] * fxy) >> 10);
}

}  // namespace

bool RemapFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                const CSourceMap& map) {
    if (!src || !dst || !IsEffectLayout(layout))
        return false;
    const qel::imaging::PixelLayout& m = map.layout_;
    if (map.Empty() || m.width != layout.width || m.height != layout.height || m.stride != layout.stride)
        return false;
    const int lines = map.lines_;
    const size_t frameBytes = qel::imaging::ImageBytes(layout);
    // From a pixel to the one on the next picture line.
    const ptrdiff_t nextLine = layout.height < 0 ? -static_cast<ptrdiff_t>(layout.stride) : layout.stride;
    const CSourceMap::Entry* entry = map.entries_.data();
    const bool avx2 = qel::imaging::CpuHasAvx2();
    constexpr int kTile = CSourceMap::kTile;
    for (int bandLine = 0; bandLine < lines; bandLine += kTile) {
        const int bandEnd = std::min(bandLine + kTile, lines);
        for (int tileX = 0; tileX < layout.width; tileX += kTile) {
            const int tileWidth = std::min(kTile, layout.width - tileX);
            for (int line = bandLine; line < bandEnd; ++line) {
                uint8_t* out =
                    dst + PictureLineOffset(layout, line) + static_cast<size_t>(tileX) * kEffectBytesPerPixel;
                int x = 0;
                if (avx2) {
                    x = RemapLineAvx2(src, frameBytes, nextLine, entry, tileWidth, out);
                    entry += x;
                    out += 3 * x;
                }
                for (; x < tileWidth; ++x, ++entry, out += 3)
                    SamplePixel(src, nextLine, *entry, out);
            }
        }
    }
    return true;
}
