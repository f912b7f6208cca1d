#pragma once
// What the record graph needs of the Windows Media ASF writer and the platform headers lack: its
// configuration interface, class ID and the ASF media subtype, and the system profiles the video
// quality picks.
#include <windows.h>
#include <dshow.h>
#include <wmsdkidl.h>

// {45086030-F7E4-486A-B504-826BB5792A3B}
struct IConfigAsfWriter : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ConfigureFilterUsingProfileId(DWORD profileId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentProfileId(DWORD* profileId) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConfigureFilterUsingProfileGuid(REFGUID profile) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentProfileGuid(GUID* profile) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConfigureFilterUsingProfile(IWMProfile* profile) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentProfile(IWMProfile** profile) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIndexMode(BOOL indexFile) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIndexMode(BOOL* indexFile) = 0;
};

extern const IID IID_IConfigAsfWriter;
// {7C23220E-55BB-11D3-8B16-00C04FB6BD3D}
extern const CLSID CLSID_QelWMAsfWriter;
// {3DB80F90-9412-11D1-ADED-0000F8754B99}
extern const GUID MEDIASUBTYPE_QelAsf;

// The system profiles of video quality 1, 2 and any other value, in that order.
extern const GUID kAsfSystemProfiles[3];
