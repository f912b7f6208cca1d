#include "core/zoom_scaler.h"

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
    std::vector<unsigned> mixed(static_cast<size_t>(spanBytes));
    // Column taps as offsets into the mixed row.
    std::vector<int> nearOffsets(static_cast<size_t>(width)), farOffsets(static_cast<size_t>(width));
    for (int column = 0; column < width; ++column) {
        nearOffsets[static_cast<size_t>(column)] = columns.taps[static_cast<size_t>(column)].nearIndex * pixelBytes - firstByte;
        farOffsets[static_cast<size_t>(column)] = columns.taps[static_cast<size_t>(column)].farIndex * pixelBytes - firstByte;
    }
    const ZoomTap* columnTaps = columns.taps.data();

    for (int row = 0; row < rowCount; ++row) {
        const ZoomTap& rowTap = rowTaps[row];
        const uint8_t* nearRow = src + static_cast<ptrdiff_t>(rowTap.nearIndex) * stride + firstByte;
        const uint8_t* farRow = src + static_cast<ptrdiff_t>(rowTap.farIndex) * stride + firstByte;
        const unsigned nearRowWeight = static_cast<unsigned>(rowTap.nearWeight);
        const unsigned farRowWeight = static_cast<unsigned>(rowTap.farWeight);
        for (int i = 0; i < spanBytes; ++i)
            mixed[static_cast<size_t>(i)] = nearRowWeight * nearRow[i] + farRowWeight * farRow[i];

        uint8_t* out = dst + static_cast<ptrdiff_t>(row) * stride;
        const unsigned* line = mixed.data();
        for (int column = 0; column < width; ++column) {
            const unsigned* nearPixel = line + nearOffsets[static_cast<size_t>(column)];
            const unsigned* farPixel = line + farOffsets[static_cast<size_t>(column)];
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

bool ScaleZoomFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride,
                    int bytesPerPixel, const ZoomAxis& columns, const ZoomAxis& rows) {
    const int rowCount = std::abs(height);
    if (!src || !dst || width < 1 || rowCount < 1 || bytesPerPixel < 1 ||
        static_cast<long long>(width) * bytesPerPixel > stride ||
        columns.taps.size() != static_cast<size_t>(width) || rows.taps.size() != static_cast<size_t>(rowCount) ||
        columns.firstSource < 0 || columns.lastSource >= width || columns.firstSource > columns.lastSource ||
        rows.firstSource < 0 || rows.lastSource >= rowCount)
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
