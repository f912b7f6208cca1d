#include "ClipPlaceholder.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>

#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "ThumbStrip.h"

CImage* MakeClipPlaceholder() {
    auto* image = new CImage;
    if (LoadSkinPicture(image, g_skinFolder + "Zentrik\\badthumb.png", SkinWindowSize(-1)) != Gdiplus::Ok) {
        delete image;
        image = new CImage(kThumbWidth, kThumbHeight, PixelFormat24bppRGB, 0xFFFF0000);
    }
    return image;
}
