// Decodes the photo frame's PNG through GDI+ into 32-bit BGRA pixels. GDI+ is started for each
// decode and shut down after it, so the plug-in holds no GDI+ session between loads.
#pragma once

#include <string>

#include "core/frame_overlay_core.h"

class CGdiplusOverlayDecoder : public OverlayDecoder {
public:
    bool Decode(const std::wstring& path, OverlayImage& image) override;
};
