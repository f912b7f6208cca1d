#pragma once
// Rectangle placement and proportional fitting. Extreme values clamp to the int range.
#include <windows.h>

#include "QelLib1Api.h"

// Places placement in container (only its right and bottom count): a negative left or top counts back
// from the container's right or bottom; a right or bottom below 1 does the same for the far edge, else
// the width or height is kept. Either input null gives (0, 0, 0, 0). Returns out.
QELLIB1_C_API RECT* ql_AlignRect(RECT* out, const RECT* container, const RECT* placement);
// Clips a copy of source at position (null: 0, 0) into destination, after limiting source by clip
// (null: source itself). source becomes the part copied, destination where it lands with inclusive
// right and bottom. 0 when source or destination is null.
QELLIB1_C_API int ql_GetCopyRect(RECT* source, RECT* destination, POINT* position, RECT* clip);
// Fits source's proportions into target (moved by the centring offsets only with centre; a smaller
// source grows only with enlarge); offset receives the offsets. Returns the scale, 0 for empty sizes.
QELLIB1_C_API double ql_ShrinkPropRect(RECT source, RECT* target, int centre, int enlarge, POINT* offset);
// The cropping variant: a larger source keeps the target size unless fit. Returns the ratio used.
QELLIB1_C_API double ql_CropPropRect(RECT* target, RECT source, int centre, int fit, POINT* offset);
