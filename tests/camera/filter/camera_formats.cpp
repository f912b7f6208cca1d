#include "camera_formats.h"

namespace {

const CameraFormat kCapabilities[] = {
    {640, 480, 333333},   {640, 480, 666666},  {320, 240, 333333},
    {320, 240, 666666},   {1280, 1024, 333333}, {1280, 1024, 666666},
};

DWORD BitsPerSecond(const CameraFormat& format) {
    const double bits = static_cast<double>(DibImageSize(format.width, format.height, 24)) * 8.0 * 1e7 /
                        static_cast<double>(format.frameInterval);
    return bits >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<DWORD>(bits);
}

}  // namespace

int CameraCapabilityCount() { return static_cast<int>(sizeof kCapabilities / sizeof kCapabilities[0]); }

CameraFormat CameraCapability(int index) { return kCapabilities[index]; }

CMediaType CameraMediaType(const CameraFormat& format) {
    return MakeRgb24VideoType(format.width, format.height, format.frameInterval);
}

void FillCameraCaps(const CameraFormat& format, VIDEO_STREAM_CONFIG_CAPS* caps) {
    ZeroMemory(caps, sizeof *caps);
    const SIZE size = {format.width, format.height};
    caps->guid = FORMAT_VideoInfo;
    caps->VideoStandard = 0;
    caps->InputSize = size;
    caps->MinCroppingSize = size;
    caps->MaxCroppingSize = size;
    caps->CropGranularityX = 1;
    caps->CropGranularityY = 1;
    caps->CropAlignX = 1;
    caps->CropAlignY = 1;
    caps->MinOutputSize = size;
    caps->MaxOutputSize = size;
    caps->MinFrameInterval = format.frameInterval;
    caps->MaxFrameInterval = format.frameInterval;
    caps->MinBitsPerSecond = BitsPerSecond(format);
    caps->MaxBitsPerSecond = caps->MinBitsPerSecond;
}

bool ParseCameraFormat(const AM_MEDIA_TYPE& type, CameraFormat* format) {
    if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24)
        return false;
    const VIDEOINFOHEADER* info = VideoInfoOf(type);
    if (!info || info->bmiHeader.biBitCount != 24 || info->bmiHeader.biCompression != BI_RGB)
        return false;
    REFERENCE_TIME interval = info->AvgTimePerFrame == 0 ? kFastestFrameInterval : info->AvgTimePerFrame;
    if (interval < kFastestFrameInterval || interval > kSlowestFrameInterval)
        return false;
    for (const CameraFormat& capability : kCapabilities) {
        if (capability.width == info->bmiHeader.biWidth && capability.height == info->bmiHeader.biHeight) {
            *format = {capability.width, capability.height, interval};
            return true;
        }
    }
    return false;
}
