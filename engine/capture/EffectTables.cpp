#include "EffectTables.h"

#include <dshow.h>

#include "QelPluginIds.h"

namespace {

const EffectRowInfo kEnhance = {&CLSID_QelFilter_AutoEnhance, kQelFilterName_AutoEnhance,
                                "Failed to create Enhance Filter", "Failed to create Enhance Filter", false};
const EffectRowInfo kTone = {&CLSID_QelFilter_AutoTone, kQelFilterName_AutoTone, "Failed to create Tone Filter",
                             "Failed to create Tone Filter", false};
const EffectRowInfo kWhiteboard = {&CLSID_QelFilter_Whiteboard, kQelFilterName_Whiteboard,
                                   "Failed to create WhiteBoard Filter", "Failed to create Whiteboard Filter", false};
const EffectRowInfo kLowLight = {&CLSID_QelFilter_LowLight, kQelFilterName_LowLight,
                                 "Failed to create LowLight Filter", "Failed to create LowLight Filter", false};
const EffectRowInfo kContrastBrightness = {&CLSID_QelFilter_ContrastBrightness, kQelFilterName_ContrastBrightness,
                                           "Failed to create Brightness Filter", "Failed to create CB Filter", false};
const EffectRowInfo kDigitalZoom = {&CLSID_QelFilter_DigitalZoom, kQelFilterName_DigitalZoom,
                                    "Failed to create DigitalZoom Filter", "Failed to create DigitalZoom Filter", false};
const EffectRowInfo kPhotoFrame = {&CLSID_QelFilter_PhotoFrame, kQelFilterName_PhotoFrame,
                                   "Failed to create PhotoFrame Filter", "Failed to create PhotoFrame Filter", false};
const EffectRowInfo kDateTime = {&CLSID_QelFilter_DateTime, kQelFilterName_DateTime,
                                 "Failed to create DateTime Filter", "Failed to create DateTime Filter", false};
const EffectRowInfo kSpecialEffect = {&CLSID_QelFilter_SpecialEffect, kQelFilterName_SpecialEffect,
                                      "Failed to create SpEff Filter", "Failed to create SpEff Filter", false};
const EffectRowInfo kNoEffect = {&CLSID_QelFilter_SpecialEffect, nullptr, "Failed to create SpEff Filter",
                                 "Failed to create SpEff Filter", false};
const EffectRowInfo kFlip = {&CLSID_QelFilter_Flip, kQelFilterName_Flip, "Failed to create Flip Filter",
                             "Failed to create Flip Filter when capturing", false};
const EffectRowInfo kRotate = {&CLSID_QelFilter_Rotate, kQelFilterName_Rotate, "Failed to create Rotate Filter",
                               "Failed to create Rotate Filter when Capture", true};

const int kZoomSteps[kZoomStepCount] = {100, 150, 200, 250, 300};

} // namespace

const EffectRowInfo* EffectRow(QelFilter row) {
    switch (row) {
    case QF_NONE: return &kNoEffect;
    case QF_ENHANCE: return &kEnhance;
    case QF_TONE: return &kTone;
    case QF_WHITEBOARD: return &kWhiteboard;
    case QF_LOWLIGHT: return &kLowLight;
    case QF_CB: return &kContrastBrightness;
    case QF_DIGITALZOOM: return &kDigitalZoom;
    case QF_PHOTOFRAME: return &kPhotoFrame;
    case QF_DATETIME: return &kDateTime;
    case QF_FLIP: return &kFlip;
    case QF_ROTATE: return &kRotate;
    default: return IsSpecialEffectRow(row) ? &kSpecialEffect : nullptr;
    }
}

int ClampZoomIndex(int zoomIndex) {
    if (zoomIndex < 0)
        return 0;
    return zoomIndex >= kZoomStepCount ? kZoomStepCount - 1 : zoomIndex;
}

int ZoomPercent(int zoomIndex) { return kZoomSteps[ClampZoomIndex(zoomIndex)]; }

int ClampDateTimePadding(int padding) {
    if (padding < 0)
        return 0;
    return padding > 9 ? 9 : padding;
}

HRESULT CreateEffectPlugin(REFCLSID clsid, IBaseFilter** plugin) {
    *plugin = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(plugin));
    if (FAILED(hr))
        *plugin = nullptr;
    return hr;
}

namespace splicetext {
const char kPreviewAdd[] = "Preview::Failed to add MavixMix Filter to the Graph";
const char kPreviewPins[] = "Preview::Failed to get pins of QelFilter";
const char kNoRenderToPin[] = "Can't get renderto pin";
const char kPreviewDisconnectVmr[] = "Preview::Failed to disconnect input pin of VMR";
const char kPreviewDisconnectUpstream[] = "Preview::Failed to disconnect the output pin where SampleGrabber was connected";
const char kPreviewNoRendererPin[] = "Preview::Failed to video  Render input pin";
const char kNoRendererUpstream[] = "Cant get VideoRender ConnectTo Pins!!!";
const char kPreviewNoTarget[] = "Preview::Failed to video SampleGrabber or Render input pin";
const char kNoUpstream[] = "Cant get some Pins!!!";
const char kPreviewDisconnectGrabber[] = "Preview::Failed to disconnect input pin of SampleGrabber";
const char kPreviewConnectInput[] = "Preview::Failed to Connect to the input pin of QelFilter";
const char kPreviewConnectOutput[] = "Preview::Failed to Connect to the output pin of QelFilter to input of renderer";
const char kCaptureAdd[] = "Capture::Failed to add QelFilter to the Graph";
const char kCapturePins[] = "Capture::Failed to get pins of QelFilter";
const char kCaptureNoTarget[] = "Capture::Failed to video filer input pin";
const char kCaptureDisconnectTarget[] = "Capture::Failed to disconnect input pin of filer";
const char kCaptureDisconnectUpstream[] = "Capture::Failed to disconnect the output pin where filer was connected";
const char kCaptureConnectInputFormat[] = "Capture::Failed to filer Connect to the input pin of MavixMix %x";
const char kCaptureNoUpstream[] = "FilerConnectedTo = NULL";
const char kCaptureConnectOutput[] = "Capture::Failed to Connect to the output pin of QelFilter to input of filer";
const char kPreFlipPins[] = "Failed to get pins of Qel Flip Filter";
const char kPreFlipNoTarget[] = "Failed to video SampleGrabber input pin when Add Qel Flip";
const char kPreFlipDisconnectTarget[] = "Failed to disconnect input pin of SampleGrabber when add Qel Flip";
const char kPreFlipDisconnectUpstream[] = "Failed to disconnect the output pin where SampleGrabber was connected when Add Qel Flip";
const char kPreFlipConnectInput[] = "Failed to Connect to the input pin of Qel Flip";
const char kPreFlipConnectOutput[] = "Failed to Connect to the output pin of QeL Flip  to input of SampleGrabber";
} // namespace splicetext
