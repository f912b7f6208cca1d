// Encoder choice by file name and the JPEG quality parameter.
#include "EncoderChoice.h"

#include "ImageSupport.h"

const WCHAR* EncoderMimeTypeForPath(const char* path) {
    if (EndsWithNoCase(path, "jpg") || EndsWithNoCase(path, "jpeg"))
        return L"image/jpeg";
    if (EndsWithNoCase(path, "gif"))
        return L"image/gif";
    if (EndsWithNoCase(path, "tif") || EndsWithNoCase(path, "tiff"))
        return L"image/tiff";
    if (EndsWithNoCase(path, "png"))
        return L"image/png";
    return L"image/bmp";
}

void MakeJpegQualityParameters(int* quality, Gdiplus::EncoderParameters* parameters) {
    // {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}
    static const GUID kEncoderQuality = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};
    parameters->Count = 1;
    parameters->Parameter[0].Guid = kEncoderQuality;
    parameters->Parameter[0].NumberOfValues = 1;
    parameters->Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters->Parameter[0].Value = quality;
}
