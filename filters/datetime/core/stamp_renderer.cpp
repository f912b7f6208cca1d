#include "core/stamp_renderer.h"

bool StampRenderer::Draw(uint8_t* frame, size_t frameBytes, const qel::imaging::PixelLayout& format,
                         const std::string& text, const StampSettings& settings,
                         StampRasteriser& rasteriser) {
    if (!frame || text.empty() || !qel::imaging::IsValidLayout(format) || format.channels != 3 ||
        format.width <= 0 || format.height == 0 || frameBytes < qel::imaging::ImageBytes(format))
        return false;
    const int rows = qel::imaging::RowCount(format);

    if (!maskValid_ || text != maskText_ || settings.fontRevision != maskFontRevision_ ||
        format.width != maskFrameWidth_) {
        maskValid_ = false;
        if (!rasteriser.Rasterise(text, format.width, mask_) || mask_.empty() ||
            mask_.coverage.size() < static_cast<size_t>(mask_.width) * static_cast<size_t>(mask_.height)) {
            mask_ = StampMask{};
            return false;
        }
        maskValid_ = true;
        maskText_ = text;
        maskFontRevision_ = settings.fontRevision;
        maskFrameWidth_ = format.width;
    }

    lastPlace_ = PlaceStampBox(settings.layout, format.width, rows, mask_.width, mask_.height);
    if (!ClipStampBox(lastPlace_, mask_.width, mask_.height, format.width, rows).visible)
        return false;
    PaintStampMask(frame, format, mask_, lastPlace_, settings.colour);
    return true;
}

void StampRenderer::Reset() {
    mask_ = StampMask{};
    maskValid_ = false;
    maskText_.clear();
    maskFrameWidth_ = 0;
}
