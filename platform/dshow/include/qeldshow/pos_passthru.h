#pragma once
// Seeking for a filter in the middle of a graph: IMediaSeeking and IMediaPosition asked of an
// output pin are answered by passing each call to the pin connected upstream of our input pin.
// Without an upstream pin that seeks, calls answer E_NOTIMPL (VFW_E_NOT_CONNECTED when the input
// is not connected). The object is aggregated by the pin that exposes it.
#include "qeldshow/unknown.h"

#include <dshow.h>

class CPosPassThru : public CUnknown, public IMediaSeeking, public IMediaPosition {
public:
    // input: our input pin, whose connected pin is asked; it lives as long as this object.
    CPosPassThru(const char* name, IUnknown* outer, IPin* input);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMediaSeeking
    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

    // IDispatch: no type information is offered
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;
    // IMediaPosition
    STDMETHODIMP get_Duration(REFTIME* length) override;
    STDMETHODIMP put_CurrentPosition(REFTIME time) override;
    STDMETHODIMP get_CurrentPosition(REFTIME* time) override;
    STDMETHODIMP get_StopTime(REFTIME* time) override;
    STDMETHODIMP put_StopTime(REFTIME time) override;
    STDMETHODIMP get_PrerollTime(REFTIME* time) override;
    STDMETHODIMP put_PrerollTime(REFTIME time) override;
    STDMETHODIMP put_Rate(double rate) override;
    STDMETHODIMP get_Rate(double* rate) override;
    STDMETHODIMP CanSeekForward(LONG* canSeek) override;
    STDMETHODIMP CanSeekBackward(LONG* canSeek) override;

private:
    // The upstream interface, AddRef'd, or the reason there is none.
    HRESULT Upstream(REFIID riid, void** ppv);

    IPin* input_;
};
