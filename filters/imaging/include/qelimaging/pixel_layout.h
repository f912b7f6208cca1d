#pragma once
// How a packed 8-bit image lies in memory, shared by every imaging routine.
//
// Frames are rows of pixels, `stride` bytes apart; a pixel is `channels` bytes (1 or 3). A height below 0
// means a top-down frame: the routines are point operations or treat rows in buffer order, so they work
// on |height| rows either way. Only the pixel bytes of a row are read or written; row padding is left
// untouched.
//
// This is the one frame description of every per-frame kernel, and every kernel takes it in one shape:
//
//     bool Kernel(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
//                 <the kernel's own settings>);
//
// Both buffers hold the layout's rows (ImageBytes). A kernel that draws over a picture in place takes
// the one buffer instead: bool Kernel(std::uint8_t* pixels, const PixelLayout& layout, <settings>).
// A kernel whose tables depend on the format (maps, masks, flake layers) is built for a layout once
// and then processes frames of that layout. False: the frame was refused (a null buffer, a layout the
// kernel cannot process) and the caller delivers its input instead.
#include <cstddef>
#include <cstdint>

namespace qel::imaging {

// Byte order of a three-channel pixel: BGR is the DIB order (blue first) that the plug-ins use.
enum class ByteOrder { RGB = 0, BGR = 1 };

struct PixelLayout {
    int width = 0;
    int height = 0; // negative: top-down; rows are |height| either way
    int stride = 0; // bytes from one row to the next
    int channels = 3;
    ByteOrder order = ByteOrder::BGR;
};

// An RGB24 frame as the plug-ins see it: blue, green, red; the DIB row rule gives the stride.
PixelLayout Rgb24Layout(int width, int height);

// Bytes from one row to the next for `width` pixels of `bytesPerPixel`, rounded up to a multiple of 4.
int DibStride(int width, int bytesPerPixel);

// Rows in the buffer whatever the orientation.
inline int RowCount(const PixelLayout& layout) {
    return layout.height < 0 ? -layout.height : layout.height;
}

// True for a usable layout: 1 or 3 channels, width >= 0, a stride that holds a row. Zero-sized images
// are valid and have nothing to process.
bool IsValidLayout(const PixelLayout& layout);

// Bytes the buffer of an image must hold: stride x rows.
std::size_t ImageBytes(const PixelLayout& layout);

// Index of the red and of the blue byte within a three-channel pixel.
inline int RedIndex(const PixelLayout& layout) {
    return layout.order == ByteOrder::BGR ? 2 : 0;
}
inline int BlueIndex(const PixelLayout& layout) {
    return layout.order == ByteOrder::BGR ? 0 : 2;
}

// A rectangle in pixels (rows in buffer order). Routines that take one clip it to the image: columns
// min(left, right) .. max(left, right) - 1 and rows min(top, bottom) .. max(top, bottom) - 1 are processed
// (the histogram includes both ends, see BuildHistogram). A null region means the whole image.
struct Region {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Half-open pixel span to work on after clipping.
struct Span {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

// Clips `region` (or the whole image when null) to the image, half-open on both axes.
Span ClipRegion(const PixelLayout& layout, const Region* region);

// Copies the pixel bytes of every row of `span` from source to destination (no-op when they are the
// same buffer); padding and pixels outside the span stay as they are.
void CopyPixels(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                const Span& span);

// Copies every pixel of the image (padding untouched).
void CopyFramePixels(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout);

// Copies the row padding (the bytes after the pixels of each row) and nothing else, so that a routine
// that writes pixels only still gives a whole frame.
void CopyRowPadding(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout);

} // namespace qel::imaging
