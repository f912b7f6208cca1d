#include "qeldshow/source_filter.h"

#include <algorithm>

// ---- CSource ---------------------------------------------------------------------------------

CSource::CSource(const char* name, IUnknown* outer, REFCLSID clsid)
    : CBaseFilter(name, outer, &m_cStateLock, clsid) {}

CSource::~CSource() {
    // Deleting a stream removes it from the list.
    while (!m_paStreams.empty())
        delete m_paStreams.back();
}

int CSource::GetPinCount() {
    CAutoLock lock(&m_cStateLock);
    return static_cast<int>(m_paStreams.size());
}

CBasePin* CSource::GetPin(int index) {
    CAutoLock lock(&m_cStateLock);
    if (index < 0 || index >= static_cast<int>(m_paStreams.size()))
        return nullptr;
    return m_paStreams[static_cast<size_t>(index)];
}

STDMETHODIMP CSource::Run(REFERENCE_TIME start) {
    CAutoLock lock(&m_cStateLock);
    const HRESULT hr = CBaseFilter::Run(start);
    if (SUCCEEDED(hr))
        for (CSourceStream* stream : m_paStreams)
            stream->WakeUp();
    return hr;
}

HRESULT CSource::AddPin(CSourceStream* stream) {
    if (!stream)
        return E_POINTER;
    CAutoLock lock(&m_cStateLock);
    m_paStreams.push_back(stream);
    IncrementPinVersion();
    return S_OK;
}

HRESULT CSource::RemovePin(CSourceStream* stream) {
    CAutoLock lock(&m_cStateLock);
    const auto found = std::find(m_paStreams.begin(), m_paStreams.end(), stream);
    if (found == m_paStreams.end())
        return S_FALSE;
    m_paStreams.erase(found);
    IncrementPinVersion();
    return S_OK;
}

// ---- CSourceStream ---------------------------------------------------------------------------

CSourceStream::CSourceStream(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR pinName)
    : CBaseOutputPin(objectName, filter, filter->pStateLock(), result, pinName), m_pFilter(filter) {
    wake_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stopping_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if ((!wake_ || !stopping_) && result)
        *result = HRESULT_FROM_WIN32(GetLastError());
    const HRESULT hr = filter->AddPin(this);
    if (FAILED(hr) && result)
        *result = hr;
}

CSourceStream::~CSourceStream() {
    // The filter is stopped before it is destroyed; a thread left running here would use freed memory.
    if (thread_) {
        stopRequested_ = true;
        SetEvent(wake_);
        SetEvent(stopping_);
        if (m_pAllocator)
            m_pAllocator->Decommit();
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (wake_)
        CloseHandle(wake_);
    if (stopping_)
        CloseHandle(stopping_);
    m_pFilter->RemovePin(this);
}

HRESULT CSourceStream::Active() {
    if (!wake_ || !stopping_)
        return E_OUTOFMEMORY;
    if (thread_)
        return S_OK;
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    stopRequested_ = false;
    delivered_ = 0;
    ResetEvent(wake_);
    ResetEvent(stopping_);
    thread_ = CreateThread(nullptr, 0, &CSourceStream::ThreadEntry, this, 0, nullptr);
    if (!thread_) {
        hr = HRESULT_FROM_WIN32(GetLastError());
        CBaseOutputPin::Inactive();
        return hr;
    }
    return S_OK;
}

bool CSourceStream::WaitUnlessStopping(DWORD ms) {
    if (stopRequested_)
        return false;
    return WaitForSingleObject(stopping_, ms) != WAIT_OBJECT_0;
}

void CSourceStream::WakeUp() {
    if (wake_)
        SetEvent(wake_);
}

HRESULT CSourceStream::Inactive() {
    stopRequested_ = true;
    if (wake_)
        SetEvent(wake_);
    if (stopping_)
        SetEvent(stopping_);
    // Decommitting makes a GetBuffer that waits for a free sample return at once.
    const HRESULT hr = CBaseOutputPin::Inactive();
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return hr;
}

DWORD WINAPI CSourceStream::ThreadEntry(void* self) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<CSourceStream*>(self)->StreamingLoop();
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

bool CSourceStream::WaitUntilRunningOrStop() {
    while (!stopRequested_) {
        if (DeliversWhilePaused())
            return true;
        // Reset before looking: a Run that lands after the look sets the event again.
        ResetEvent(wake_);
        if (stopRequested_)
            break;
        if (m_pFilter->State() == State_Running)
            return true;
        WaitForSingleObject(wake_, INFINITE);
    }
    return false;
}

void CSourceStream::StreamingLoop() {
    HRESULT hr = OnThreadCreate();
    if (FAILED(hr)) {
        m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        OnThreadDestroy();
        return;
    }
    if (WaitUntilRunningOrStop())
        hr = OnThreadStartPlay();
    while (SUCCEEDED(hr) && WaitUntilRunningOrStop()) {
        IMediaSample* sample = nullptr;
        hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
        if (FAILED(hr)) {
            // Decommitted by Stop: the normal way out.
            if (!stopRequested_)
                m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
            break;
        }
        hr = FillBuffer(sample);
        if (hr == S_OK) {
            hr = Deliver(sample);
            sample->Release();
            if (hr == S_OK) {
                InterlockedIncrement(&delivered_);
                continue;
            }
            // S_FALSE: downstream wants no more (flushing or stopping). A downstream filter that
            // was stopped before us answers VFW_E_WRONG_STATE: that is the graph stopping, too.
            if (FAILED(hr) && hr != VFW_E_WRONG_STATE && !stopRequested_)
                m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
            break;
        }
        sample->Release();
        DeliverEndOfStream();
        if (FAILED(hr))
            m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        break;
    }
    OnThreadDestroy();
}
