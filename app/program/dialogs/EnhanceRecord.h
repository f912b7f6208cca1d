#pragma once
// The enhancement record: the Enhance dialog's working copy and the main dialog's kept choices, which
// the settings file keeps under [Enhance] (keys in field order: Auto, Manual, Zoom, AutoEnhance,
// AutoTone, AutoLowLight, AutoClearText, ZoomValue, EnhanceValue, ToneValue, LowLightValue,
// ClearTextValue, Brightness, Contrast).
#include <cstring>

class CCaptureController;

// The automatic enhancements, in the record's order: Auto Enhance, Auto Tone, Low Light, Clear Text.
constexpr int kAutoKinds = 4;

struct EnhanceRecord {
    int autoOn = 0;
    int manualOn = 1;
    int zoomOn = 0;
    int chosen[kAutoKinds] = {};   // at most one is 1
    int zoomStep = 0;              // 0..4: 1X, 1.5X, 2X, 2.5X, 3X
    int level[kAutoKinds] = {50, 50, 50, 50};
    int brightness = 0;            // -100..100
    int contrast = 0;              // -100..100

    // The main dialog keeps the same fourteen integers as a plain array.
    void FromArray(const int (&values)[14]) { std::memcpy(this, values, sizeof *this); }
    void ToArray(int (&values)[14]) const { std::memcpy(values, this, sizeof *this); }
};
static_assert(sizeof(EnhanceRecord) == 14 * sizeof(int), "the record is fourteen integers");

// After a cancelled Enhance dialog: every engine setting whose working value differs from the kept
// one is sent again with the kept values.
void ReapplyChangedEnhance(const EnhanceRecord& kept, const EnhanceRecord& working, CCaptureController& capture);
