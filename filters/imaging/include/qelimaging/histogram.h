#pragma once
// Channel histograms of a sampled image and the percentile points read from them.
#include "qelimaging/pixel_layout.h"

namespace qel::imaging {

struct Lut;

// One 256-bin histogram per channel, channel 0 = red, 1 = green, 2 = blue whatever the byte order
// (a one-channel image fills channel 0 only). Bins are counts, or fractions once normalised.
struct Histogram {
    float bins[3][256];
};

// Counts sampled pixels per channel into `histogram` (zeroed first). The region is clipped to the image
// with both ends included. With `everyPixel` every pixel of the region is counted; otherwise about
// gridX x gridY points are sampled. `normalise` divides every bin by the sample count.
// Returns the number of sampled pixels; 0 for a bad layout, a null buffer or an empty region (the
// histogram is then all zero).
int BuildHistogram(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                   Histogram& histogram, bool normalise, bool everyPixel, int gridX, int gridY);

// The same histogram for the image as `through` would map it (ApplyLut), without writing that image.
int BuildHistogramThrough(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                          const Lut& through, Histogram& histogram, bool normalise, bool everyPixel, int gridX,
                          int gridY);

// Per channel the low and high level: the first bins at which the cumulative share exceeds `lowFraction`
// and (from the next bin on) `highFraction`. Fractions outside 0..1 fall back to 0.01 and 0.99. The
// points are corrected so that low < high. `pixelCount` is needed when the histogram holds counts.
// Returns false (points untouched) when channels is not 1 or 3 or a count histogram has no pixels.
bool FindPercentilePoints(const Histogram& histogram, bool normalised, int pixelCount, int channels,
                          int high[], int low[], float highFraction, float lowFraction);

// Puts low and high into 0..255 and makes low < high: when they meet, low steps below high, or high
// above low when high is 0 (and a 255/255 pair opens to 0..255).
void CorrectLevelPoints(int& low, int& high);

} // namespace qel::imaging
