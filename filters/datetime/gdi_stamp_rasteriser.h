// Renders the stamp's text with GDI into a one-bit bitmap and hands it on as a coverage mask.
#pragma once

#include <windows.h>

#include <string>

#include "core/stamp_renderer.h"

class CGdiStampRasteriser : public StampRasteriser {
public:
    CGdiStampRasteriser();

    void SetFont(const LOGFONTA& font);

    // Text with "\r\n" breaks is as wide as its widest line, at most maxWidth; a single line as
    // wide as maxWidth or wider is word-wrapped to maxWidth. False, with no mask, when a GDI call fails.
    bool Rasterise(const std::string& text, int maxWidth, StampMask& mask) override;

private:
    LOGFONTA font_;
};
