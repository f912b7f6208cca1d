#include "RendererCheck.h"

namespace viewer {

RendererVerdict RendererCheck::Report(const RendererReport& report) {
    if (verdict_ != RendererVerdict::kWatching)
        return verdict_;
    ++reports_;
    if (!report.rendererInView) {
        // What the screen showed under another window says nothing about the renderer.
        havePrevious_ = false;
        stillRun_ = 0;
    } else if (!report.frame.empty() && !report.screen.empty()) {
        if (havePrevious_ && report.frame != previous_.frame) {
            if (report.screen != previous_.screen) {
                ++drawnSteps_;
                stillRun_ = 0;
            } else {
                ++stillRun_;
            }
        }
        previous_ = report;
        havePrevious_ = true;
    }
    if (drawnSteps_ >= kDrawnStepsNeeded)
        verdict_ = RendererVerdict::kDraws;
    else if (stillRun_ >= kStillStepsNeeded && reports_ >= kReportsBeforeStill)
        verdict_ = RendererVerdict::kShowsNothing;
    else if (reports_ >= kReportsWatched)
        verdict_ = RendererVerdict::kGaveUp;
    return verdict_;
}

int SampleOffset(int index, int extent, int grid) { return extent * (index + 1) / (grid + 1); }

std::vector<uint32_t> FrameSamples(const uint8_t* bits, size_t bytes, int width, int height, int bitsPerPixel,
                                   bool topDown, int grid) {
    std::vector<uint32_t> samples;
    if (!bits || width <= 0 || height <= 0 || grid <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32))
        return samples;
    const size_t pixelBytes = static_cast<size_t>(bitsPerPixel / 8);
    const size_t stride = (static_cast<size_t>(width) * pixelBytes + 3) & ~static_cast<size_t>(3);
    if (bytes / stride < static_cast<size_t>(height))
        return samples;
    samples.reserve(static_cast<size_t>(grid) * static_cast<size_t>(grid));
    for (int row = 0; row < grid; ++row) {
        const int y = SampleOffset(row, height, grid);
        const size_t line = static_cast<size_t>(topDown ? y : height - 1 - y);
        for (int column = 0; column < grid; ++column) {
            const uint8_t* pixel = bits + line * stride + static_cast<size_t>(SampleOffset(column, width, grid)) * pixelBytes;
            // Stored blue, green, red: as the screen's colours read, red lowest.
            samples.push_back(static_cast<uint32_t>(pixel[2]) | static_cast<uint32_t>(pixel[1]) << 8 |
                              static_cast<uint32_t>(pixel[0]) << 16);
        }
    }
    return samples;
}

} // namespace viewer
