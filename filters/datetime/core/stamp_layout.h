// Where the stamp's text box goes: an explicit start position or one of nine aligned places.
#pragma once

enum StampAlignment : int {
    kStampAtStartPosition = 0,
    kStampTopLeft = 1,
    kStampTopCenter = 2,
    kStampTopRight = 3,
    kStampCenterLeft = 4,
    kStampCenterCenter = 5,
    kStampCenterRight = 6,
    kStampBottomLeft = 7,
    kStampBottomCenter = 8,
    kStampBottomRight = 9,
};

struct StampPoint {
    int x = 0;
    int y = 0;
};

struct StampLayout {
    int alignment = kStampAtStartPosition;
    int paddingX = 1;
    int paddingY = 1;
    StampPoint start;  // top-left of the box in picture pixels (row 0 = top) for the start position
};

// Top-left of a box of boxWidth x boxHeight in a frame of frameWidth x frameHeight, in picture pixels
// counted from the top-left corner. Alignments 1..9 place it with the padding from the edges; the
// start position, and any other value, keep layout.start.
StampPoint PlaceStampBox(const StampLayout& layout, int frameWidth, int frameHeight, int boxWidth, int boxHeight);

// The part of a placed box that lies in the frame.
struct StampClip {
    bool visible = false;
    int x = 0, y = 0;          // first frame pixel drawn
    int width = 0, height = 0;  // pixels drawn
    int maskX = 0, maskY = 0;  // box pixel drawn at (x, y)
};

StampClip ClipStampBox(StampPoint place, int boxWidth, int boxHeight, int frameWidth, int frameHeight);
