#include "core/zoom_scaler.h"

#include "core/zoom_rows_avx2.h"
#include "qelimaging/cpu_features.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

namespace {

// Two passes per output row: first the vertical mix of the two source rows over the source columns
// the taps read, then the horizontal mix of that. Integer sums distribute, so the result is the
// same as weighting all four pixels at once. The divisor and the pixel size are template parameters
// so that the division becomes a multiply.
template <int Divisor, int BytesPerPixel>
void ScaleRows(const uint8_t* src, uint8_t* dst, int width, int rowCount, int stride, int bytesPerPixel,
               const ZoomAxis& columns, const ZoomTap* rowTaps) {
    const int pixelBytes = BytesPerPixel > 0 ? BytesPerPixel : bytesPerPixel;
    const int firstByte = columns.firstSource * pixelBytes;
    const int spanBytes = (columns.lastSource - columns.firstSource + 1) * pixelBytes;
    // Weights are at most 6, so mixed sums fit 16 bits; the wide pass reads one word past the last pixel.
    std::vector<uint16_t> mixed(static_cast<size_t>(spanBytes) + 4);
    // Column taps as offsets into the mixed row, and the weights as the wide pass takes them.
    std::vector<int32_t> nearOffsets(static_cast<size_t>(width)), farOffsets(static_cast<size_t>(width));
    std::vector<uint32_t> weights(static_cast<size_t>(width));
    for (int column = 0; column < width; ++column) {
        const ZoomTap& tap = columns.taps[static_cast<size_t>(column)];
        nearOffsets[static_cast<size_t>(column)] = tap.nearIndex * pixelBytes - firstByte;
        farOffsets[static_cast<size_t>(column)] = tap.farIndex * pixelBytes - firstByte;
        weights[static_cast<size_t>(column)] =
            static_cast<uint32_t>(tap.nearWeight) | static_cast<uint32_t>(tap.farWeight) << 16;
    }
    const ZoomTap* columnTaps = columns.taps.data();
    const bool avx2 = BytesPerPixel == 3 && qel::imaging::CpuHasAvx2();

    for (int row = 0; row < rowCount; ++row) {
        const ZoomTap& rowTap = rowTaps[row];
        const uint8_t* nearRow = src + static_cast<ptrdiff_t>(rowTap.nearIndex) * stride + firstByte;
        const uint8_t* farRow = src + static_cast<ptrdiff_t>(rowTap.farIndex) * stride + firstByte;
        const unsigned nearRowWeight = static_cast<unsigned>(rowTap.nearWeight);
        const unsigned farRowWeight = static_cast<unsigned>(rowTap.farWeight);
        int i = avx2 ? MixZoomRowsAvx2(nearRow, farRow, nearRowWeight, farRowWeight, spanBytes, mixed.data()) : 0;
        for (; i < spanBytes; ++i)
            mixed[static_cast<size_t>(i)] = static_cast<uint16_t>(nearRowWeight * nearRow[i] + farRowWeight * farRow[i]);

        uint8_t* out = dst + static_cast<ptrdiff_t>(row) * stride;
        const uint16_t* line = mixed.data();
        int column = 0;
        if (avx2) {
            column = ScaleZoomRowAvx2(line, nearOffsets.data(), farOffsets.data(), weights.data(), width, Divisor, out);
            out += static_cast<ptrdiff_t>(column) * pixelBytes;
        }
        for (; column < width; ++column) {
            const uint16_t* nearPixel = line + nearOffsets[static_cast<size_t>(column)];
            const uint16_t* farPixel = line + farOffsets[static_cast<size_t>(column)];
            const unsigned nearWeight = static_cast<unsigned>(columnTaps[column].nearWeight);
            const unsigned farWeight = static_cast<unsigned>(columnTaps[column].farWeight);
            for (int component = 0; component < pixelBytes; ++component)
                out[component] =
                    static_cast<uint8_t>((nearWeight * nearPixel[component] + farWeight * farPixel[component]) / static_cast<unsigned>(Divisor));
            out += pixelBytes;
        }
    }
}

template <int Divisor>
void ScaleWithDivisor(const uint8_t* src, uint8_t* dst, int width, int rowCount, int stride, int bytesPerPixel,
                      const ZoomAxis& columns, const ZoomTap* rowTaps) {
    if (bytesPerPixel == 3)
        ScaleRows<Divisor, 3>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
    else
        ScaleRows<Divisor, 0>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
}

}  // namespace

bool ScaleZoomFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                    const ZoomAxis& columns, const ZoomAxis& rows) {
    if (!qel::imaging::IsValidLayout(layout))
        return false;
    const int width = layout.width;
    const int stride = layout.stride;
    const int bytesPerPixel = layout.channels;
    const int rowCount = qel::imaging::RowCount(layout);
    if (!src || !dst || width < 1 || rowCount < 1 || static_cast<long long>(width) * bytesPerPixel > stride ||
        columns.taps.size() != static_cast<size_t>(width) ||
        rows.taps.size() != static_cast<size_t>(rowCount) || columns.firstSource < 0 ||
        columns.lastSource >= width || columns.firstSource > columns.lastSource || rows.firstSource < 0 ||
        rows.lastSource >= rowCount)
        return false;

    const ZoomTap* rowTaps = rows.taps.data();
    switch (columns.weightSum * rows.weightSum) {
    case 9:
        ScaleWithDivisor<9>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
        return true;
    case 16:
        ScaleWithDivisor<16>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
        return true;
    case 25:
        ScaleWithDivisor<25>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
        return true;
    case 36:
        ScaleWithDivisor<36>(src, dst, width, rowCount, stride, bytesPerPixel, columns, rowTaps);
        return true;
    default:
        return false;
    }
}
