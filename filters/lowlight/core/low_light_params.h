#pragma once
// What the low-light strength (0..100, stored unchecked) makes of a frame: the gamma that lifts the
// stretched levels and the strength of the automatic contrast that follows.

struct LowLightParams {
    float gamma = 1.0f;        // the same for all three channels
    int contrastBase = 0;      // the contrast strength as derived from the strength
    int contrastStrength = 0;  // contrastBase mapped onto the automatic contrast's scale (0 stays 0)
};

LowLightParams DeriveLowLightParams(int strength);

// The mapping of a derived contrast strength k onto the automatic contrast's scale: 2k below 50,
// 10k - 700 from 90 on, (10k - 500) / 4 + 100 between; bounded to the int range.
int MapLowLightContrast(int k);
