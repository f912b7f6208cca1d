// A strip from a file, refused when GDI+ could not read it: an empty strip would be drawn as nothing
// and shrink its control to 0 x 0 while its loader reported success.
#include "StripFile.h"

#include <qelImage.h>

namespace qel_controls {

CImageArray* LoadReadableStrip(const char* file, int count) {
    if (!file)
        return nullptr;
    CImageArray* strip = new CImageArray(file, count, NULL); // GDI+'s allocator: null when it runs out
    if (strip && strip->GetLastStatus() != Gdiplus::Ok) {
        delete strip;
        strip = nullptr;
    }
    return strip;
}

} // namespace qel_controls
