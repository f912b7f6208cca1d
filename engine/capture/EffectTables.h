#pragma once
// What the engine knows of each effect row: the plug-in's class ID, the name it joins a graph under,
// the texts shown when it cannot be created, and the digital-zoom steps.
#include <windows.h>
#include <dshow.h>

#include "QelFilter.h"

struct EffectRowInfo {
    const CLSID* clsid;
    const WCHAR* graphName;       // nullptr for QF_NONE, which is never added
    const char* previewCreateText; // the setter's message when the plug-in cannot be created
    const char* recordCreateText;  // the record build's message
    bool rotateParams;             // parameterised through IQelRotateParams
};

// The row's entry, or nullptr for a value that names no row (17, out of range).
const EffectRowInfo* EffectRow(QelFilter row);

inline bool IsSpecialEffectRow(QelFilter row) { return row >= QF_BLACKWHITE && row <= QF_SPOTLIGHT; }
inline bool IsStrengthRow(QelFilter row) { return row >= QF_ENHANCE && row <= QF_LOWLIGHT; }
inline int SpecialEffectIndex(QelFilter row) { return static_cast<int>(row) - static_cast<int>(QF_BLACKWHITE); }

// The zoom steps in percent; the setting is an index into them.
constexpr int kZoomStepCount = 5;
int ZoomPercent(int zoomIndex);   // an index outside 0..4 is taken as the nearest end
int ClampZoomIndex(int zoomIndex);

// The padding of the date/time stamp: 0..9.
int ClampDateTimePadding(int padding);

// The alignment the engine always sends to the date/time stamp.
constexpr int kDateTimeAlignment = 9;

// Creates a plug-in of the row's class (in-process, as IBaseFilter).
HRESULT CreateEffectPlugin(REFCLSID clsid, IBaseFilter** plugin);

// Texts of the splice steps, shown in modal boxes.
namespace splicetext {
extern const char kPreviewAdd[];
extern const char kPreviewPins[];
extern const char kNoRenderToPin[];
extern const char kPreviewDisconnectVmr[];
extern const char kPreviewDisconnectUpstream[];
extern const char kPreviewNoRendererPin[];
extern const char kNoRendererUpstream[];
extern const char kPreviewNoTarget[];
extern const char kNoUpstream[];
extern const char kPreviewDisconnectGrabber[];
extern const char kPreviewConnectInput[];
extern const char kPreviewConnectOutput[];
extern const char kCaptureAdd[];
extern const char kCapturePins[];
extern const char kCaptureNoTarget[];
extern const char kCaptureDisconnectTarget[];
extern const char kCaptureDisconnectUpstream[];
extern const char kCaptureConnectInputFormat[];  // printf format with the failure code (%x)
extern const char kCaptureNoUpstream[];
extern const char kCaptureConnectOutput[];
extern const char kPreFlipPins[];
extern const char kPreFlipNoTarget[];
extern const char kPreFlipDisconnectTarget[];
extern const char kPreFlipDisconnectUpstream[];
extern const char kPreFlipConnectInput[];
extern const char kPreFlipConnectOutput[];
} // namespace splicetext
