#pragma once
// The synthetic camera: a live source filter that stands in for a webcam in the video input device
// category. Each registered CLSID is one camera; its variant decides its pins and driver interfaces.
#include <windows.h>
#include <dshow.h>

#include <memory>
#include <mutex>

#include "camera_directory.h"
#include "camera_formats.h"
#include "camera_stream.h"
#include "CameraDriver.h"
#include "qeldshow/source_filter.h"

class CTestCamera : public CSource,
                    public IAMVideoProcAmp,
                    public IAMFilterMiscFlags,
                    public ICameraFlipStatus,
                    public ICameraButtonState,
                    public ISpecifyPropertyPages {
public:
    static CUnknown* Create(IUnknown* outer, REFCLSID clsid, DWORD variant, HRESULT* hr);
    ~CTestCamera() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // A live source cannot cue frames while paused.
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;

    // IAMVideoProcAmp
    STDMETHODIMP GetRange(long property, long* minimum, long* maximum, long* step, long* byDefault,
                          long* capsFlags) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long* value, long* flags) override;
    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }
    // ISpecifyPropertyPages (answered only by the variant with pages)
    STDMETHODIMP GetPages(CAUUID* pages) override;
    // ICameraFlipStatus and ICameraButtonState (answered only by the variants that have them)
    STDMETHODIMP Reserved1() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved2() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved3() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved6() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved7() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved8() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved9() override { return E_NOTIMPL; }
    STDMETHODIMP GetFlipStatus(ULONG length, ULONG* block) override;
    STDMETHODIMP GetButtonState(ULONG id, ULONG* state, ULONG* extra1, ULONG* extra2) override;

    const CLSID& ClassId() const { return m_clsid; }
    DWORD Variant() const { return variant_; }
    CameraControls& Controls() { return *controls_; }

    // The format all pins deliver. Explicit once set through IAMStreamConfig (pins then offer only
    // it); otherwise the first connection picks it among the capabilities.
    CameraFormat Format();
    bool FormatFixed();
    // Called by a pin whose connection agreed on format.
    void ConnectionFormat(const CameraFormat& format);
    // IAMStreamConfig::SetFormat of any pin.
    HRESULT SetStreamFormat(const AM_MEDIA_TYPE& type);
    // Whether a pin other than `except` is connected.
    bool OtherPinConnected(const CCameraStream* except);

    HRESULT RaiseEvent(long code, LONG_PTR param);

private:
    CTestCamera(IUnknown* outer, REFCLSID clsid, DWORD variant, HRESULT* hr);

    DWORD variant_;
    std::shared_ptr<CameraControls> controls_;
    std::mutex formatLock_;
    CameraFormat format_;
    bool formatFixed_ = false;
    std::mutex procAmpLock_;
    long procAmpValues_[10] = {};
    long procAmpFlags_[10] = {};
};
