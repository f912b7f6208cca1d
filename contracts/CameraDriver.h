#pragma once
// Interfaces that some camera drivers offer on their capture filter, with the layouts their callers
// rely on: only the methods named here are ever called; the reserved ones keep the slots in place.
#include <windows.h>
#include <unknwn.h>

// {69B8F950-5AC2-11D8-ADAF-00065B37CF9A}
static const IID IID_ICameraFlipStatus = {0x69b8f950, 0x5ac2, 0x11d8, {0xad, 0xaf, 0x00, 0x06, 0x5b, 0x37, 0xcf, 0x9a}};
// {9C757C5A-8D95-453C-8284-906A68DC53FA}
static const IID IID_ICameraButtonState = {0x9c757c5a, 0x8d95, 0x453c, {0x82, 0x84, 0x90, 0x6a, 0x68, 0xdc, 0x53, 0xfa}};

// The mirror state request: five 32-bit words, the first 0, the second kCameraFlipStatusRequest;
// on success the third holds the mirror state (nonzero: the picture comes mirrored).
constexpr ULONG kCameraFlipStatusBlockSize = 20;
constexpr ULONG kCameraFlipStatusRequest = 28;

struct ICameraFlipStatus : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlipStatus(ULONG length, ULONG* block) = 0;
};

// The snapshot button: id kCameraButtonSnapshot, the first output is the button's state.
constexpr ULONG kCameraButtonSnapshot = 9;

struct ICameraButtonState : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetButtonState(ULONG id, ULONG* state, ULONG* extra1, ULONG* extra2) = 0;
};
