#pragma once
// The per-frame work of the contrast/brightness filter: one table built from a contrast and a
// brightness (each -100..100, stored unchecked), rebuilt only when they change.
#include <cstdint>

#include "qelimaging/lut.h"

class CContrastBrightnessFrame {
public:
    CContrastBrightnessFrame() { SetValues(0, 0); }

    void SetValues(int contrast, int brightness);
    int Contrast() const { return contrast_; }
    int Brightness() const { return brightness_; }
    const qel::imaging::Lut& Table() const { return table_; }

    // Maps a frame through the table from src into dst, row padding copied. Returns false, writing
    // nothing, for a frame the table cannot be applied to; the caller delivers the input instead.
    bool Process(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout) const;

private:
    int contrast_ = 0;
    int brightness_ = 0;
    qel::imaging::Lut table_ = qel::imaging::MakeIdentityLut(3);
};
