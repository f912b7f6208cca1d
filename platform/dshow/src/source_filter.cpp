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
    m_wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_stopping = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if ((!m_wake || !m_stopping) && result)
        *result = HRESULT_FROM_WIN32(GetLastError());
    const HRESULT hr = filter->AddPin(this);
    if (FAILED(hr) && result)
        *result = hr;
}

CSourceStream::~CSourceStream() {
    // The filter is stopped before it is destroyed; a thread left running here would use freed memory.
    if (m_thread) {
        m_stopRequested = true;
        SetEvent(m_wake);
        SetEvent(m_stopping);
        if (m_pAllocator)
            m_pAllocator->Decommit();
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    if (m_wake)
        CloseHandle(m_wake);
    if (m_stopping)
        CloseHandle(m_stopping);
    m_pFilter->RemovePin(this);
}

HRESULT CSourceStream::Active() {
    if (!m_wake || !m_stopping)
        return E_OUTOFMEMORY;
    if (m_thread)
        return S_OK;
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    m_stopRequested = false;
    m_delivered = 0;
    ResetEvent(m_wake);
    ResetEvent(m_stopping);
    m_thread = CreateThread(nullptr, 0, &CSourceStream::ThreadEntry, this, 0, nullptr);
    if (!m_thread) {
        hr = HRESULT_FROM_WIN32(GetLastError());
        CBaseOutputPin::Inactive();
        return hr;
    }
    return S_OK;
}

bool CSourceStream::WaitUnlessStopping(DWORD ms) {
    if (m_stopRequested)
        return false;
    return WaitForSingleObject(m_stopping, ms) != WAIT_OBJECT_0;
}

void CSourceStream::WakeUp() {
    if (m_wake)
        SetEvent(m_wake);
}

HRESULT CSourceStream::Inactive() {
    m_stopRequested = true;
    if (m_wake)
        SetEvent(m_wake);
    if (m_stopping)
        SetEvent(m_stopping);
    // Decommitting makes a GetBuffer that waits for a free sample return at once.
    const HRESULT hr = CBaseOutputPin::Inactive();
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
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
    while (!m_stopRequested) {
        if (DeliversWhilePaused())
            return true;
        // Reset before looking: a Run that lands after the look sets the event again.
        ResetEvent(m_wake);
        if (m_stopRequested)
            break;
        if (m_pFilter->State() == State_Running)
            return true;
        WaitForSingleObject(m_wake, INFINITE);
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
            if (!m_stopRequested)
                m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
            break;
        }
        hr = FillBuffer(sample);
        if (hr == S_OK) {
            hr = Deliver(sample);
            sample->Release();
            if (hr == S_OK) {
                InterlockedIncrement(&m_delivered);
                continue;
            }
            // S_FALSE: downstream wants no more (flushing or stopping). A downstream filter that
            // was stopped before us answers VFW_E_WRONG_STATE: that is the graph stopping, too.
            if (FAILED(hr) && hr != VFW_E_WRONG_STATE && !m_stopRequested)
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
