#include "qeldshow/pos_passthru.h"

CPosPassThru::CPosPassThru(const char* name, IUnknown* outer, IPin* input) : CUnknown(name, outer), input_(input) {}

STDMETHODIMP CPosPassThru::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    if (riid == IID_IMediaPosition || riid == IID_IDispatch)
        return GetInterface(static_cast<IMediaPosition*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CPosPassThru::Upstream(REFIID riid, void** ppv) {
    *ppv = nullptr;
    IPin* connected = nullptr;
    if (FAILED(input_->ConnectedTo(&connected)) || !connected)
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = connected->QueryInterface(riid, ppv);
    connected->Release();
    return FAILED(hr) ? E_NOTIMPL : S_OK;
}

STDMETHODIMP CPosPassThru::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}
STDMETHODIMP CPosPassThru::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CPosPassThru::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP CPosPassThru::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP CPosPassThru::GetCapabilities(DWORD* capabilities) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetCapabilities(capabilities);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::CheckCapabilities(DWORD* capabilities) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->CheckCapabilities(capabilities);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::IsFormatSupported(const GUID* format) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->IsFormatSupported(format);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::QueryPreferredFormat(GUID* format) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->QueryPreferredFormat(format);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetTimeFormat(GUID* format) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetTimeFormat(format);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::IsUsingTimeFormat(const GUID* format) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->IsUsingTimeFormat(format);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::SetTimeFormat(const GUID* format) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->SetTimeFormat(format);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetDuration(LONGLONG* duration) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetDuration(duration);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetStopPosition(LONGLONG* stop) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetStopPosition(stop);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetCurrentPosition(LONGLONG* current) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetCurrentPosition(current);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source, const GUID* sourceFormat) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->ConvertTimeFormat(target, targetFormat, source, sourceFormat);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->SetPositions(current, currentFlags, stop, stopFlags);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetPositions(LONGLONG* current, LONGLONG* stop) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetPositions(current, stop);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetAvailable(earliest, latest);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::SetRate(double rate) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->SetRate(rate);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetRate(double* rate) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetRate(rate);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::GetPreroll(LONGLONG* preroll) {
    IMediaSeeking* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaSeeking, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->GetPreroll(preroll);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::get_Duration(REFTIME* length) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->get_Duration(length);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::put_CurrentPosition(REFTIME time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->put_CurrentPosition(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::get_CurrentPosition(REFTIME* time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->get_CurrentPosition(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::get_StopTime(REFTIME* time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->get_StopTime(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::put_StopTime(REFTIME time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->put_StopTime(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::get_PrerollTime(REFTIME* time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->get_PrerollTime(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::put_PrerollTime(REFTIME time) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->put_PrerollTime(time);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::put_Rate(double rate) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->put_Rate(rate);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::get_Rate(double* rate) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->get_Rate(rate);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::CanSeekForward(LONG* canSeek) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->CanSeekForward(canSeek);
    upstream->Release();
    return hr;
}

STDMETHODIMP CPosPassThru::CanSeekBackward(LONG* canSeek) {
    IMediaPosition* upstream = nullptr;
    HRESULT hr = Upstream(IID_IMediaPosition, reinterpret_cast<void**>(&upstream));
    if (FAILED(hr))
        return hr;
    hr = upstream->CanSeekBackward(canSeek);
    upstream->Release();
    return hr;
}
