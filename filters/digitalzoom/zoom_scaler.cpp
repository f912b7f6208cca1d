#include "zoom_scaler.h"

#include <cstddef>
#include <cstdlib>

namespace {

// The divisor and the pixel size are template parameters so that the division becomes a multiply.
template <int Divisor, int BytesPerPixel>
void ScaleRows(const uint8_t* src, uint8_t* dst, int width, int rowCount, int stride, int bytesPerPixel,
               const ZoomTap* columnTaps, const ZoomTap* rowTaps) {
    const int pixelBytes = BytesPerPixel > 0 ? BytesPerPixel : bytesPerPixel;
    for (int row = 0; row < rowCount; ++row) {
        const ZoomTap& rowTap = rowTaps[row];
        const uint8_t* nearRow = src + static_cast<ptrdiff_t>(rowTap.nearIndex) * stride;
        const uint8_t* farRow = src + static_cast<ptrdiff_t>(rowTap.farIndex) * stride;
        const int nearRowWeight = rowTap.nearWeight;
        const int farRowWeight = rowTap.farWeight;
        uint8_t* out = dst + static_cast<ptrdiff_t>(row) * stride;
        for (int column = 0; column < width; ++column) {
            const ZoomTap& columnTap = columnTaps[column];
            const int nearColumn = columnTap.nearIndex * pixelBytes;
            const int farColumn = columnTap.farIndex * pixelBytes;
            const int nearWeight = columnTap.nearWeight;
            const int farWeight = columnTap.farWeight;
            for (int component = 0; component < pixelBytes; ++component) {
                const int nearMix = nearWeight * nearRow[nearColumn + component] +
                                    farWeight * nearRow[farColumn + component];
                const int farMix = nearWeight * farRow[nearColumn + component] +
                                   farWeight * farRow[farColumn + component];
                out[component] =
                    static_cast<uint8_t>((nearRowWeight * nearMix + farRowWeight * farMix) / Divisor);
            }
            out += pixelBytes;
        }
    }
}

template <int Divisor>
void ScaleWithDivisor(const uint8_t* src, uint8_t* dst, int width, int rowCount, int stride, int bytesPerPixel,
                      const ZoomTap* columnTaps, const ZoomTap* rowTaps) {
    if (bytesPerPixel == 3)
        ScaleRows<Divisor, 3>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
    else
        ScaleRows<Divisor, 0>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
}

}  // namespace

bool ScaleZoomFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride,
                    int bytesPerPixel, const ZoomAxis& columns, const ZoomAxis& rows) {
    const int rowCount = std::abs(height);
    if (!src || !dst || width < 1 || rowCount < 1 || bytesPerPixel < 1 ||
        static_cast<long long>(width) * bytesPerPixel > stride ||
        columns.taps.size() != static_cast<size_t>(width) || rows.taps.size() != static_cast<size_t>(rowCount))
        return false;

    const ZoomTap* columnTaps = columns.taps.data();
    const ZoomTap* rowTaps = rows.taps.data();
    switch (columns.weightSum * rows.weightSum) {
    case 9:
        ScaleWithDivisor<9>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
        return true;
    case 16:
        ScaleWithDivisor<16>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
        return true;
    case 25:
        ScaleWithDivisor<25>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
        return true;
    case 36:
        ScaleWithDivisor<36>(src, dst, width, rowCount, stride, bytesPerPixel, columnTaps, rowTaps);
        return true;
    default:
        return false;
    }
}
