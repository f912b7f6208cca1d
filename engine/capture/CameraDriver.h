#pragma once
// Interfaces some camera drivers offer on their capture filter. Only the methods named are called;
// the others keep the slots in place.
#include <windows.h>
#include <unknwn.h>

namespace vostrel {

// {69B8F950-5AC2-11D8-ADAF-00065B37CF9A}: the mirror state, in the third word of a five-word block
// whose first word is 0 and second 28.
const IID kIidCameraFlipStatus = {0x69B8F950, 0x5AC2, 0x11D8, {0xAD, 0xAF, 0x00, 0x06, 0x5B, 0x37, 0xCF, 0x9A}};
struct ICameraFlipStatus : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlipStatus(ULONG length, ULONG* block) = 0;
};
constexpr ULONG kFlipStatusBlockBytes = 20;
constexpr ULONG kFlipStatusRequest = 28;

// {9C757C5A-8D95-453C-8284-906A68DC53FA}: request 9 answers the snapshot button in its first output.
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
constexpr ULONG kSnapshotButtonRequest = 9;

} // namespace vostrel
