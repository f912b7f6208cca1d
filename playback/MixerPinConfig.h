#pragma once
// IMixerPinConfig of the Overlay Mixer's input pins (mingw has its id but not its declaration).
#include <windows.h>
#include <unknwn.h>

enum QelAspectRatioMode { kAspectStretched = 0, kAspectLetterBox = 1, kAspectCrop = 2, kAspectStretchedAsPrimary = 3 };

struct IMixerPinConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetRelativePosition(DWORD left, DWORD top, DWORD right, DWORD bottom) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRelativePosition(DWORD* left, DWORD* top, DWORD* right, DWORD* bottom) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetZOrder(DWORD zOrder) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetZOrder(DWORD* zOrder) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorKey(void* colorKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetColorKey(void* colorKey, DWORD* color) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBlendingParameter(DWORD blending) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBlendingParameter(DWORD* blending) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAspectRatioMode(int mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAspectRatioMode(int* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStreamTransparent(BOOL transparent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStreamTransparent(BOOL* transparent) = 0;
};

// {593CDDE1-0759-11D1-9E69-00C04FD7C15B}
constexpr GUID kIidMixerPinConfig = {0x593CDDE1, 0x0759, 0x11D1, {0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B}};
