#include "LabelFormat.h"

namespace qel_controls {

unsigned LabelTextFormat(unsigned textType, unsigned long style) {
    unsigned format = textType | kTextWordBreak;
    if ((style & kStyleLeftNoWordWrap) == kStyleLeftNoWordWrap)
        format &= ~kTextWordBreak;
    if (style & kStyleCenter)
        format |= kTextCenter;
    if (style & kStyleRight)
        format |= kTextRight;
    if (style & kStyleNoPrefix)
        format |= kTextNoPrefix;
    return format;
}

int LabelFontHeight(int size) { return size >= 1 ? -size : size; }

} // namespace qel_controls
