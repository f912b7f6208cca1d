#pragma once
// The engine's names for its effect rows: the per-effect setters map onto these, and the plug-in
// chain's mechanics take them to pick a plug-in, its graph name and its parameter pass. Rows 8 to 16
// share the special-effect plug-in (effect index = row - 8); -1 is that plug-in with no effect.
enum QelFilter {
    QF_NONE = -1,
    QF_ENHANCE = 0,
    QF_TONE = 1,
    QF_WHITEBOARD = 2,
    QF_LOWLIGHT = 3,
    QF_CB = 4,
    QF_DIGITALZOOM = 5,
    QF_PHOTOFRAME = 6,
    QF_DATETIME = 7,
    QF_BLACKWHITE = 8,
    QF_SEPIA = 9,
    QF_NEGATIVE = 10,
    QF_EMBOSS = 11,
    QF_SPHERE = 12,
    QF_SNOW = 13,
    QF_MOSAIC = 14,
    QF_SWIRL = 15,
    QF_SPOTLIGHT = 16,
    // There is no row 17.
    QF_FLIP = 18,
    QF_ROTATE = 19,
};
