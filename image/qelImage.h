#pragma once
// The image library (qelImage.dll): CImage, CImageArray, CBorder, BitCountToPixelFormat and CExif.
#include "Exif.h"
#include "ImageObject.h"
#include "ImageStrip.h"
#include <QelBorder.h>
