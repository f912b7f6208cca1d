#include "qeldshow/transform_filter.h"

#include "qeldshow/pos_passthru.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// A FORMAT_VideoInfo type whose block is missing or truncated is refused before any derived check
// can read it.
bool HasUnreadableFormat(const CMediaType* type) {
    return type->formattype == FORMAT_VideoInfo && !VideoInfoOf(*type);
}
} // namespace

// ---- input pin -------------------------------------------------------------------------------

CTransformInputPin::CTransformInputPin(const char* objectName, CTransformFilter* filter, HRESULT* result,
                                       LPCWSTR pinName)
    : CBaseInputPin(objectName, filter, &filter->m_csFilter, result, pinName), transform_(filter) {}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* type) {
    if (HasUnreadableFormat(type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return transform_->CheckInputType(type);
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* type) {
    HRESULT hr = CBaseInputPin::SetMediaType(type);
    if (FAILED(hr))
        return hr;
    return transform_->SetMediaType(PINDIR_INPUT, type);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin) {
    const HRESULT hr = transform_->CheckConnect(PINDIR_INPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CheckConnect(pin);
}

HRESULT CTransformInputPin::BreakConnect() {
    transform_->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = transform_->CompleteConnect(PINDIR_INPUT, receivePin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CompleteConnect(receivePin);
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* sample) {
    CAutoLock lock(&transform_->m_csReceive);
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return transform_->Receive(sample);
}

STDMETHODIMP CTransformInputPin::ReceiveCanBlock() {
    IMemInputPin* downstream = transform_->m_pOutput->ConnectedInputPin();
    return downstream ? downstream->ReceiveCanBlock() : S_FALSE;
}

STDMETHODIMP CTransformInputPin::EndOfStream() {
    {
        CAutoLock lock(&transform_->m_csReceive);
        const HRESULT hr = CBaseInputPin::EndOfStream();
        if (hr != S_OK)
            return hr;
    }
    // Passed on without the receive lock: a renderer signals completion to the graph from inside its
    // EndOfStream and may wait there for the graph, while the graph's Stop holds our filter lock and
    // waits for the receive lock. Receive and EndOfStream come from one upstream thread, so they stay
    // in order without it.
    return transform_->EndOfStream();
}

STDMETHODIMP CTransformInputPin::BeginFlush() {
    CAutoLock lock(&transform_->m_csFilter);
    if (!IsConnected() || !transform_->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = CBaseInputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return transform_->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush() {
    CAutoLock lock(&transform_->m_csFilter);
    if (!IsConnected() || !transform_->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = transform_->EndFlush();
    CBaseInputPin::EndFlush();
    return hr;
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    CBasePin::NewSegment(start, stop, rate);
    return transform_->NewSegment(start, stop, rate);
}

// ---- output pin ------------------------------------------------------------------------------

CTransformOutputPin::CTransformOutputPin(const char* objectName, CTransformFilter* filter, HRESULT* result,
                                         LPCWSTR pinName)
    : CBaseOutputPin(objectName, filter, &filter->m_csFilter, result, pinName), transform_(filter) {}

CTransformOutputPin::~CTransformOutputPin() { delete position_; }

STDMETHODIMP CTransformOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMediaSeeking || riid == IID_IMediaPosition) {
        CAutoLock lock(&positionLock_);
        if (!position_) {
            // Aggregated by this pin: its references are the pin's, and so the filter's.
            auto* pinIdentity = reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this));
            position_ = new (std::nothrow) CPosPassThru("seeking pass-through", pinIdentity, transform_->m_pInput);
            if (!position_) {
                *ppv = nullptr;
                return E_OUTOFMEMORY;
            }
        }
        return position_->NonDelegatingQueryInterface(riid, ppv);
    }
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* type) {
    if (!transform_->m_pInput->IsConnected())
        return E_INVALIDARG;
    if (HasUnreadableFormat(type))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return transform_->CheckTransform(&transform_->m_pInput->CurrentMediaType(), type);
}

HRESULT CTransformOutputPin::GetMediaType(int position, CMediaType* type) {
    return transform_->GetMediaType(position, type);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* type) {
    HRESULT hr = CBaseOutputPin::SetMediaType(type);
    if (FAILED(hr))
        return hr;
    return transform_->SetMediaType(PINDIR_OUTPUT, type);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin) {
    // Until the input knows its format there is nothing to offer downstream.
    if (!transform_->m_pInput->IsConnected())
        return E_UNEXPECTED;
    const HRESULT hr = transform_->CheckConnect(PINDIR_OUTPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CheckConnect(pin);
}

HRESULT CTransformOutputPin::BreakConnect() {
    transform_->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* receivePin) {
    HRESULT hr = transform_->CompleteConnect(PINDIR_OUTPUT, receivePin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CompleteConnect(receivePin);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    return transform_->DecideBufferSize(allocator, request);
}

// ---- filter ----------------------------------------------------------------------------------

CTransformFilter::CTransformFilter(const char* name, IUnknown* outer, REFCLSID clsid)
    : CBaseFilter(name, outer, &m_csFilter, clsid) {
    HRESULT hr = S_OK;
    m_pInput = new CTransformInputPin("transform input pin", this, &hr, L"Input");
    m_pOutput = new CTransformOutputPin("transform output pin", this, &hr, L"Output");
}

CTransformFilter::~CTransformFilter() {
    delete m_pOutput;
    delete m_pInput;
}

CBasePin* CTransformFilter::GetPin(int index) {
    switch (index) {
    case 0:
        return m_pInput;
    case 1:
        return m_pOutput;
    default:
        return nullptr;
    }
}

STDMETHODIMP CTransformFilter::Stop() {
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Stopped)
        return S_OK;
    // Wake an upstream thread waiting for one of our input buffers, then wait for a sample that
    // is being processed to finish before the output stops.
    if (m_pInput->IsConnected())
        m_pInput->Inactive();
    CAutoLock receiving(&m_csReceive);
    if (m_pOutput->IsConnected())
        m_pOutput->Inactive();
    const HRESULT hr = StopStreaming();
    m_State = State_Stopped;
    m_bEOSDelivered = false;
    return hr;
}

STDMETHODIMP CTransformFilter::Pause() {
    CAutoLock lock(&m_csFilter);
    const bool starting = m_State == State_Stopped;
    if (starting) {
        m_bEOSDelivered = false;
        m_bSampleSkipped = false;
    }
    // Nothing will ever arrive on an unconnected input: tell downstream at once.
    if (!m_pInput->IsConnected() && m_pOutput->IsConnected() && !m_bEOSDelivered) {
        m_pOutput->DeliverEndOfStream();
        m_bEOSDelivered = true;
    }
    if (starting) {
        CAutoLock receiving(&m_csReceive);
        const HRESULT hr = StartStreaming();
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = CBaseFilter::Pause();
    if (FAILED(hr) && starting) {
        CAutoLock receiving(&m_csReceive);
        StopStreaming();
    }
    return hr;
}

HRESULT CTransformFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) { return S_OK; }
HRESULT CTransformFilter::CheckConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT CTransformFilter::BreakConnect(PIN_DIRECTION) { return S_OK; }
HRESULT CTransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT CTransformFilter::StartStreaming() { return S_OK; }
HRESULT CTransformFilter::StopStreaming() { return S_OK; }

HRESULT CTransformFilter::Receive(IMediaSample* sample) {
    IMediaSample* out = nullptr;
    HRESULT hr = InitializeOutputSample(sample, &out);
    if (FAILED(hr))
        return hr;
    hr = Transform(sample, out);
    if (hr == S_OK) {
        hr = m_pOutput->Deliver(out);
        m_bSampleSkipped = false;
    } else if (hr == S_FALSE) {
        // Dropped on purpose: the next delivered sample is marked as a discontinuity.
        m_bSampleSkipped = true;
        hr = S_OK;
    } else {
        m_pInput->SetRunTimeError();
        NotifyEvent(EC_ERRORABORT, hr, 0);
    }
    out->Release();
    return hr;
}

HRESULT CTransformFilter::EndOfStream() {
    HRESULT hr = S_OK;
    if (m_pOutput->IsConnected())
        hr = m_pOutput->DeliverEndOfStream();
    m_bEOSDelivered = true;
    return hr;
}

HRESULT CTransformFilter::BeginFlush() { return m_pOutput->DeliverBeginFlush(); }

HRESULT CTransformFilter::EndFlush() { return m_pOutput->DeliverEndFlush(); }

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    if (!m_pOutput->IsConnected())
        return S_OK;
    return m_pOutput->DeliverNewSegment(start, stop, rate);
}

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* in, IMediaSample** out) {
    *out = nullptr;
    if (!m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    REFERENCE_TIME start = 0, stop = 0;
    const bool timed = SUCCEEDED(in->GetTime(&start, &stop));
    DWORD flags = 0;
    if (m_bSampleSkipped)
        flags |= AM_GBF_PREVFRAMESKIPPED;
    if (in->IsSyncPoint() != S_OK)
        flags |= AM_GBF_NOTASYNCPOINT;
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pOutput->GetDeliveryBuffer(&sample, timed ? &start : nullptr, timed ? &stop : nullptr, flags);
    if (FAILED(hr))
        return hr;
    hr = CopySampleProperties(in, sample);
    if (SUCCEEDED(hr) && m_bSampleSkipped)
        hr = sample->SetDiscontinuity(TRUE);
    if (FAILED(hr)) {
        sample->Release();
        return hr;
    }
    *out = sample;
    return S_OK;
}

HRESULT CTransformFilter::CopySampleProperties(IMediaSample* in, IMediaSample* out) {
    if (!in || !out)
        return E_POINTER;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT hr = in->GetTime(&start, &stop);
    if (hr == S_OK)
        out->SetTime(&start, &stop);
    else if (hr == VFW_S_NO_STOP_TIME)
        out->SetTime(&start, nullptr);
    else
        out->SetTime(nullptr, nullptr);

    LONGLONG mediaStart = 0, mediaStop = 0;
    if (in->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        out->SetMediaTime(&mediaStart, &mediaStop);
    else
        out->SetMediaTime(nullptr, nullptr);

    const auto flag = [](HRESULT answer, BOOL* value) {
        if (answer != S_OK && answer != S_FALSE)
            return false;
        *value = answer == S_OK;
        return true;
    };
    BOOL sync = FALSE, preroll = FALSE, discontinuity = FALSE;
    if (!flag(in->IsSyncPoint(), &sync) || !flag(in->IsPreroll(), &preroll) ||
        !flag(in->IsDiscontinuity(), &discontinuity))
        return E_UNEXPECTED;
    out->SetSyncPoint(sync);
    out->SetPreroll(preroll);
    out->SetDiscontinuity(discontinuity);

    AM_MEDIA_TYPE* type = nullptr;
    hr = in->GetMediaType(&type);
    if (hr == S_OK && type) {
        hr = out->SetMediaType(type);
        DeleteMediaType(type);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CTransformFilter::CopySampleData(IMediaSample* in, IMediaSample* out) {
    if (!in || !out)
        return E_POINTER;
    const LONG length = in->GetActualDataLength();
    if (length < 0)
        return E_UNEXPECTED;
    return CopyLeadingBytes(in, out, static_cast<size_t>(length));
}

HRESULT CTransformFilter::CopySampleDataThatFits(IMediaSample* in, IMediaSample* out) {
    if (!in || !out)
        return E_POINTER;
    const long length = std::max(0L, std::min(in->GetActualDataLength(), out->GetSize()));
    return CopyLeadingBytes(in, out, static_cast<size_t>(length));
}

HRESULT CTransformFilter::CopyLeadingBytes(IMediaSample* in, IMediaSample* out, size_t length) {
    const BYTE* source = nullptr;
    BYTE* target = nullptr;
    const HRESULT hr = LockFrameBuffers(in, out, length, &source, &target);
    if (FAILED(hr))
        return hr;
    if (length > 0)
        std::memmove(target, source, length);
    return S_OK;
}

HRESULT CTransformFilter::LockFrameBuffers(IMediaSample* in, IMediaSample* out, size_t frameBytes,
                                           const BYTE** source, BYTE** target) {
    if (!in || !out || !source || !target)
        return E_POINTER;
    *source = nullptr;
    *target = nullptr;
    BYTE* inBuffer = nullptr;
    BYTE* outBuffer = nullptr;
    if (FAILED(in->GetPointer(&inBuffer)) || FAILED(out->GetPointer(&outBuffer)))
        return E_POINTER;
    if (frameBytes > 0 && (!inBuffer || !outBuffer))
        return E_POINTER;
    const LONG inLength = in->GetActualDataLength();
    const LONG outSize = out->GetSize();
    if (inLength < 0 || outSize < 0 || frameBytes > static_cast<size_t>(inLength) ||
        frameBytes > static_cast<size_t>(outSize))
        return VFW_E_BUFFER_OVERFLOW;
    const HRESULT hr = out->SetActualDataLength(static_cast<LONG>(frameBytes));
    if (FAILED(hr))
        return hr;
    *source = inBuffer;
    *target = outBuffer;
    return S_OK;
}
