#pragma once
// The image library (qelImage.dll): CImage, CImageArray, CBorder and BitCountToPixelFormat.
#include "ImageObject.h"
#include "ImageStrip.h"
#include <QelBorder.h>
