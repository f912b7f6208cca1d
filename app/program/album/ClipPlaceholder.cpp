#include "ClipPlaceholder.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>

#include "ProgramGlobals.h"
#include "ThumbStrip.h"

CImage* MakeClipPlaceholder() {
    auto* image = new CImage;
    if (image->LoadFile(g_skinFolder + "Zentrik\\badthumb.png") != Gdiplus::Ok) {
        delete image;
        image = new CImage(kThumbWidth, kThumbHeight, PixelFormat24bppRGB, 0xFFFF0000);
    }
    return image;
}
