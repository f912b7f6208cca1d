#pragma once
// Which GDI+ encoder a file name asks for, and the JPEG quality parameter block.
#include <windows.h>

#include <objidl.h> // PROPID, IStream: the lean Windows header leaves them out
#include <gdiplus.h>

// The MIME type by the path's ending, letters without case, no dot needed: "jpg"/"jpeg" image/jpeg,
// "gif" image/gif, "tif"/"tiff" image/tiff, "png" image/png, anything else image/bmp.
const WCHAR* EncoderMimeTypeForPath(const char* path);

// One parameter: EncoderQuality, one value of type long, pointing at *quality (which must outlive it).
void MakeJpegQualityParameters(int* quality, Gdiplus::EncoderParameters* parameters);
