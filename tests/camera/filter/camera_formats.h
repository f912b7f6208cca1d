#pragma once
// What the synthetic camera can deliver: RGB24 at a few sizes and frame rates.
#include <windows.h>
#include <dshow.h>

#include "qeldshow/media_type.h"

struct CameraFormat {
    LONG width = 640;
    LONG height = 480;
    REFERENCE_TIME frameInterval = 333333;  // 100-ns units

    bool SameSize(const CameraFormat& other) const { return width == other.width && height == other.height; }
};

constexpr REFERENCE_TIME kFastestFrameInterval = 333333;  // 30 fps
constexpr REFERENCE_TIME kSlowestFrameInterval = 666667;  // 15 fps

// The capabilities in the order IAMStreamConfig lists them; the first is the default format.
int CameraCapabilityCount();
CameraFormat CameraCapability(int index);

CMediaType CameraMediaType(const CameraFormat& format);
void FillCameraCaps(const CameraFormat& format, VIDEO_STREAM_CONFIG_CAPS* caps);

// A type the camera can deliver: RGB24 bottom-up in FORMAT_VideoInfo at a listed size, at 15 to
// 30 fps (an AvgTimePerFrame of 0 means the fastest). The caller's image size is not trusted: the
// format is rebuilt from width, height and rate.
bool ParseCameraFormat(const AM_MEDIA_TYPE& type, CameraFormat* format);
