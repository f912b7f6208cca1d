#pragma once
// Sepia: every pixel through a colour cube that lowers the saturation and blends in the sepia tone;
// the amount is twice the strength (0..200 from the page).
#include <memory>

#include "core/effect.h"
#include "qelimaging/cube_cells.h"

class CSepiaEffect : public CEffect {
public:
    CSepiaEffect();
    // Builds the cube (and its cells) for the new strength aside and swaps it in; when memory is short the
    // old one stays.
    void SetStrength(int strength) override;
    int Process(const uint8_t* src, uint8_t* dst) override;

    const qel::imaging::ColourCube& Cube() const { return *cube_; }

    // The cube's amount for a strength: twice it, within the int range.
    static int AmountForStrength(int strength);

private:
    std::unique_ptr<qel::imaging::ColourCube> cube_;
    std::unique_ptr<qel::imaging::CubeCells> cells_; // cube_ regrouped once, not per frame
};
