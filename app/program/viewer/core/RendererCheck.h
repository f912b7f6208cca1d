#pragma once
// Whether the platform's renderer shows a playing clip, decided only on evidence. At each position
// report the viewer gives what the screen shows at a few points of itself, the reader's frame at the
// same points, and whether the renderer's window is what the screen shows there. A step is a report
// whose frame differs from the one of the report before: only steps say anything, and only while the
// renderer's window is in view. A still or black clip, a slow one between its frames, and a covered or
// minimised window give no steps, so nothing is decided on them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewer {

struct RendererReport {
    std::vector<uint32_t> screen; // the screen's colours at the sample points
    std::vector<uint32_t> frame;  // the reader's frame at the same points; empty when none was read
    bool rendererInView = false;  // the renderer's window is what the screen shows at every point
};

enum class RendererVerdict {
    kWatching,     // no decision yet
    kDraws,        // the screen follows the clip's frames: leave the renderer alone
    kShowsNothing, // the clip moves while the screen stays: the viewer draws the frames itself
    kGaveUp,       // no evidence within the reports watched: the renderer is left alone
};

class RendererCheck {
public:
    // Frame changes the screen must follow before the renderer counts as drawing.
    static constexpr int kDrawnStepsNeeded = 2;
    // Frame changes in a row the screen must miss, and reports watched at least, before the renderer
    // counts as showing nothing (a renderer that is only slow to start draws within them).
    static constexpr int kStillStepsNeeded = 3;
    static constexpr int kReportsBeforeStill = 8;
    // Reports (about 15 a second) watched before the check gives up: a clip of one frame a second
    // gives its steps well within them.
    static constexpr int kReportsWatched = 150;

    // Takes one report; the verdict after it. Once decided, further reports change nothing.
    RendererVerdict Report(const RendererReport& report);
    RendererVerdict Verdict() const { return verdict_; }

private:
    RendererVerdict verdict_ = RendererVerdict::kWatching;
    int reports_ = 0;
    int drawnSteps_ = 0;
    int stillRun_ = 0;
    // The last report in view with a frame; the chain breaks when the renderer goes out of view.
    bool havePrevious_ = false;
    RendererReport previous_;
};

// The colours of a frame at the check's sample points: a grid of `grid` x `grid` points spaced evenly
// inside the frame (not on its edges), row by row from the top. The frame is an uncompressed bitmap of
// 24 or 32 bits a pixel, rows padded to four bytes, bottom-up unless topDown. Colours are 0x00BBGGRR.
// Empty for any other format or a frame too short for its size.
std::vector<uint32_t> FrameSamples(const uint8_t* bits, size_t bytes, int width, int height, int bitsPerPixel,
                                   bool topDown, int grid);

// Where the index-th (0-based) of grid sample points lies along an extent: evenly spaced, off the edges.
int SampleOffset(int index, int extent, int grid);

} // namespace viewer
