#pragma once
// The two filters the engine drives that no module of ours has to provide: the flip plug-in, which
// mirrors the camera picture in the preview and in every recording, and the text overlay
// "TarnTextMix" of the file player and the trim editor (its contract in TextMix.h). Their class IDs,
// graph names and what the engine sends them are fixed here, whatever stands in their place.
#include <windows.h>
#include <dshow.h>

#include "TextMix.h"
#include "VostrelApi.h"

// {5D090C4B-AFE4-4E76-B024-BDB6222F7478}, parameterised through IQelFilterParams.
EXTERN_C VOSTREL_API const CLSID CLSID_QelFlipPlugin;
constexpr const WCHAR kFlipGraphName[] = L"Q&LFilter - Flip";
constexpr const char kFlipCreateFailedText[] = "Failed to create Flip Filter";
constexpr const char kFlipCreateFailedWhenCapturingText[] = "Failed to create Flip Filter when capturing";

// The text overlay's identities as the engine exports them (the same as the contract's).
EXTERN_C VOSTREL_API const CLSID CLSID_TarnTextMix;
EXTERN_C VOSTREL_API const IID IID_ITarnTextMix;
constexpr const char kTextMixCreateFailedText[] = "Failed to create TextMix Filter";

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
