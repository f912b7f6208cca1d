#pragma once
// The image library (qelImage.dll): CImage, CImageArray, CBorder, BitCountToPixelFormat, CExif, and the
// geometry and drawing helpers.
#include "DrawObj.h"
#include "Exif.h"
#include "Geometry.h"
#include "ImageObject.h"
#include "ImageStrip.h"
#include <QelBorder.h>
