#pragma once
// The two filters the engine drives that no module of ours has to provide: the flip plug-in, which
// mirrors the camera picture in the preview and in every recording, and the text overlay
// "TarnTextMix" of the file player and the trim editor. Their class IDs, graph names, interfaces and
// what the engine sends them are fixed here, whatever stands in their place.
#include <windows.h>
#include <dshow.h>

#include "VostrelApi.h"

class CTextMixInfo;

// {5D090C4B-AFE4-4E76-B024-BDB6222F7478}, parameterised through IQelFilterParams.
EXTERN_C VOSTREL_API const CLSID CLSID_QelFlipPlugin;
constexpr const WCHAR kFlipGraphName[] = L"Q&LFilter - Flip";
constexpr const char kFlipCreateFailedText[] = "Failed to create Flip Filter";
constexpr const char kFlipCreateFailedWhenCapturingText[] = "Failed to create Flip Filter when capturing";

// {EDFC8581-2D0A-4A0F-B8CB-FB4CC84A8463} and its interface {D66FF6EA-A5A0-421B-87E7-96B7687FA25F}.
EXTERN_C VOSTREL_API const CLSID CLSID_TarnTextMix;
EXTERN_C VOSTREL_API const IID IID_ITarnTextMix;
constexpr const WCHAR kTextMixGraphName[] = L"TarnTextMix";
constexpr const char kTextMixCreateFailedText[] = "Failed to create TextMix Filter";

// The overlay's interface: twelve operations the system never calls, then the three it does.
struct ITarnTextMix : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Unused1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused11() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unused12() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMixInfo(CTextMixInfo* info, BOOL flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearMixInfo() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPosition(LONGLONG position, BOOL flag) = 0;
};

// Each creates a new instance (in-process, no outer object, as IBaseFilter); the callers report a
// failure with the texts above.
VOSTREL_API HRESULT CreateFlipPlugin(IBaseFilter** plugin);
VOSTREL_API HRESULT CreateTextMixFilter(IBaseFilter** filter);

// The flip's parameter pass: SetEnable(1), then SetValue2(1) for flip bit 0 and SetValue(1) for flip
// bit 1. Nothing ever sends 0 to either value: the flip is switched off by SetEnable(0) alone.
VOSTREL_API void FlipSendParams(IBaseFilter* plugin, int flipBits);
VOSTREL_API void FlipSwitchOff(IBaseFilter* plugin);

// The overlay's three calls, each through the interface asked for anew; results are not read.
VOSTREL_API void TextMixSetMixInfo(IBaseFilter* filter, CTextMixInfo* info, BOOL flag);
VOSTREL_API void TextMixClearMixInfo(IBaseFilter* filter);
VOSTREL_API void TextMixSetPosition(IBaseFilter* filter, LONGLONG position, BOOL flag);
