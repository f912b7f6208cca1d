#pragma once
// The text overlay "TarnTextMix" the file player and the trim editor put over the picture: an
// outside in-process filter. Its class ID and interface are fixed here, whatever stands in its place.
#include <windows.h>
#include <unknwn.h>

class CTextMixInfo;

// {EDFC8581-2D0A-4A0F-B8CB-FB4CC84A8463}
constexpr CLSID kClsidTextMix = {0xEDFC8581, 0x2D0A, 0x4A0F, {0xB8, 0xCB, 0xFB, 0x4C, 0xC8, 0x4A, 0x84, 0x63}};
// {D66FF6EA-A5A0-421B-87E7-96B7687FA25F}
constexpr IID kIidTextMix = {0xD66FF6EA, 0xA5A0, 0x421B, {0x87, 0xE7, 0x96, 0xB7, 0x68, 0x7F, 0xA2, 0x5F}};

constexpr const WCHAR kTextMixGraphName[] = L"TarnTextMix";

// Twelve operations the system never calls, then the three it does.
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
