// Draws the stamp on frames: keeps the rendered text mask while the text, the font and the frame
// width stay the same, places the box and paints it. The text itself is rasterised by the platform.
#pragma once

#include <cstdint>
#include <string>

#include "core/stamp_layout.h"
#include "core/stamp_mask.h"
#include "core/stamp_paint.h"

// Renders text in the current font as a mask, wrapped to at most maxWidth pixels where it is wider.
class StampRasteriser {
public:
    virtual ~StampRasteriser() = default;
    virtual bool Rasterise(const std::string& text, int maxWidth, StampMask& mask) = 0;
};

struct StampSettings {
    StampColour colour;
    StampLayout layout;
    unsigned fontRevision = 0;  // raised with every font change: a mask in another font is stale
};

class StampRenderer {
public:
    // Draws text on the frame (frameBytes long) with the settings of this frame. False when nothing
    // was drawn: no text, a layout that is not three bytes a pixel or longer than the buffer, no mask,
    // or a box entirely outside the frame.
    bool Draw(uint8_t* frame, size_t frameBytes, const qel::imaging::PixelLayout& format,
              const std::string& text, const StampSettings& settings, StampRasteriser& rasteriser);

    // Where the last drawing placed the box (picture pixels from the top-left), and its size.
    StampPoint LastPlace() const { return lastPlace_; }
    int BoxWidth() const { return mask_.width; }
    int BoxHeight() const { return mask_.height; }

    // Drops the mask (a new format, or the filter releasing its buffers).
    void Reset();

private:
    StampMask mask_;
    bool maskValid_ = false;
    std::string maskText_;
    unsigned maskFontRevision_ = 0;
    int maskFrameWidth_ = 0;
    StampPoint lastPlace_;
};
