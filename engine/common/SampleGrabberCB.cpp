#include "SampleGrabberCB.h"

#include <afxhook.h>

#include <cstring>

#include "EngineCom.h"
#include "PinHelpers.h"
#include "SampleGrabberClsid.h"

namespace {

void PutU16(BYTE* at, unsigned value) {
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}
void PutU32(BYTE* at, unsigned long value) {
    PutU16(at, value & 0xFFFF);
    PutU16(at + 2, (value >> 16) & 0xFFFF);
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Shows one failure of FrameSnatch and gives its result.
HRESULT Report(const char* text) {
    AfxShowMessageBox(nullptr, text, nullptr, MB_OK);
    return S_FALSE;
}

} // namespace

CSampleGrabberCB::CSampleGrabberCB() : m_szFileName(), m_lWidth(0), m_lHeight(0) {}

STDMETHODIMP CSampleGrabberCB::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_ISampleGrabberCB) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CSampleGrabberCB::AddRef() {
    return 2;
}

STDMETHODIMP_(ULONG) CSampleGrabberCB::Release() {
    return 1;
}

STDMETHODIMP CSampleGrabberCB::SampleCB(double, IMediaSample* sample) {
    if (!sample)
        return S_OK;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data)
        return S_OK;
    // The data length, not the buffer's capacity: a larger buffer would append stale bytes.
    WriteBitmap(data, sample->GetActualDataLength());
    return S_OK;
}

STDMETHODIMP CSampleGrabberCB::BufferCB(double, BYTE* buffer, long length) {
    if (buffer)
        WriteBitmap(buffer, length);
    return S_OK;
}

void CSampleGrabberCB::WriteBitmap(const BYTE* data, long length) {
    if (length < 0)
        return;
    HANDLE file = CreateFileA(m_szFileName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BYTE fileHeader[14] = {'B', 'M'};
    PutU32(fileHeader + 2, static_cast<unsigned long>(length) + 54);
    PutU32(fileHeader + 10, 54);
    BYTE infoHeader[40] = {};
    PutU32(infoHeader, 40);
    PutU32(infoHeader + 4, static_cast<unsigned long>(m_lWidth));
    PutU32(infoHeader + 8, static_cast<unsigned long>(m_lHeight));
    PutU16(infoHeader + 12, 1);
    PutU16(infoHeader + 14, 24);
    // A failed write leaves a short file; the grabber is never told (the callback cannot report).
    WriteAll(file, fileHeader, sizeof fileHeader) && WriteAll(file, infoHeader, sizeof infoHeader) &&
        WriteAll(file, data, static_cast<DWORD>(length));
    CloseHandle(file);
}

void CSampleGrabberCB::TakeFrameSize(ISampleGrabber* grabber) {
    AM_MEDIA_TYPE type = {};
    if (FAILED(grabber->GetConnectedMediaType(&type)))
        return;
    if (type.formattype == FORMAT_VideoInfo && type.pbFormat && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* video = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        m_lWidth = video->bmiHeader.biWidth;
        m_lHeight = video->bmiHeader.biHeight;
    }
    FreeMediaTypeFields(type);
}

HRESULT CSampleGrabberCB::GrabSamples(char* mediaFile, LONGLONG) {
    if (!mediaFile)
        return E_POINTER;
    WCHAR wideName[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, mediaFile, -1, wideName, MAX_PATH))
        return E_INVALIDARG;

    qel::ComPtr<IMediaDet> detector;
    HRESULT hr = CoCreateInstance(CLSID_MediaDet, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaDet, &detector);
    if (FAILED(hr))
        return hr;
    BSTR name = SysAllocString(wideName);
    hr = name ? detector->put_Filename(name) : E_OUTOFMEMORY;
    SysFreeString(name);
    long streams = 0;
    if (SUCCEEDED(hr))
        hr = detector->get_OutputStreams(&streams);
    for (long stream = 0; SUCCEEDED(hr) && stream < streams; ++stream) {
        AM_MEDIA_TYPE type = {};
        if (FAILED(hr = detector->put_CurrentStream(stream)) ||
            FAILED(hr = detector->get_StreamMediaType(&type)))
            break;
        const bool video = type.majortype == MEDIATYPE_Video;
        FreeMediaTypeFields(type);
        if (!video)
            continue;

        qel::ComPtr<ISampleGrabber> grabber;
        qel::ComPtr<IBaseFilter> grabberFilter;
        qel::ComPtr<IMediaSeeking> seeking;
        qel::ComPtr<IMediaEvent> events;
        qel::ComPtr<IMediaControl> control;
        FILTER_INFO info = {};
        if (FAILED(hr = detector->EnterBitmapGrabMode(0.0)) ||
            FAILED(hr = detector->GetSampleGrabber(&grabber)) || (!grabber && FAILED(hr = E_FAIL)) ||
            FAILED(hr = grabber->QueryInterface(IID_IBaseFilter, &grabberFilter)) ||
            FAILED(hr = grabber->SetCallback(this, 0))) {
            // nothing more to set up
        } else {
            TakeFrameSize(grabber.Get());
            grabber->SetOneShot(FALSE);
            grabber->SetBufferSamples(FALSE);
            LONGLONG start = 0;
            if (SUCCEEDED(hr = grabberFilter->QueryFilterInfo(&info)) &&
                (info.pGraph || FAILED(hr = E_FAIL)) &&
                SUCCEEDED(hr = info.pGraph->QueryInterface(IID_IMediaSeeking, &seeking)) &&
                SUCCEEDED(hr = seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                                     AM_SEEKING_NoPositioning)) &&
                SUCCEEDED(hr = info.pGraph->QueryInterface(IID_IMediaEvent, &events)) &&
                SUCCEEDED(hr = info.pGraph->QueryInterface(IID_IMediaControl, &control)) &&
                SUCCEEDED(hr = control->Run())) {
                long code = 0;
                events->WaitForCompletion(INFINITE, &code);
                control->Stop();
                hr = S_OK;
            }
            grabber->SetCallback(nullptr, 0);
        }
        SafeRelease(info.pGraph);
        break;
    }
    return hr;
}

HRESULT CSampleGrabberCB::FrameSnatch(char* mediaFile, LONGLONG start) {
    if (!mediaFile)
        return S_FALSE;
    qel::ComPtr<IBaseFilter> grabberFilter;
    qel::ComPtr<ISampleGrabber> grabber;
    qel::ComPtr<IBaseFilter> source;
    qel::ComPtr<IGraphBuilder> graph;
    qel::ComPtr<IFileSourceFilter> fileSource;
    qel::ComPtr<IMediaSeeking> seeking;
    qel::ComPtr<IMediaControl> control;
    qel::ComPtr<IMediaEvent> events;
    qel::ComPtr<IVideoWindow> window;
    HRESULT result = S_FALSE;
    do {
        if (FAILED(CoCreateInstance(vostrel::kClsidSampleGrabber, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ISampleGrabber, &grabber))) {
            result = Report("Could not create CLSID_SampleGrabber\r\n");
            break;
        }
        if (FAILED(grabber->QueryInterface(IID_IBaseFilter, &grabberFilter))) {
            result = Report("Could not create CLSID_SampleGrabber\r\n");
            break;
        }
        if (FAILED(CoCreateInstance(CLSID_AsyncReader, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                    &source))) {
            result = Report("Could not create source filter\r\n");
            break;
        }
        if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                    &graph))) {
            result = Report("Could not not create the graph\r\n");
            break;
        }
        graph->AddFilter(source.Get(), L"Source");
        graph->AddFilter(grabberFilter.Get(), L"Grabber");

        WCHAR wideName[MAX_PATH];
        if (!MultiByteToWideChar(CP_ACP, 0, mediaFile, -1, wideName, MAX_PATH) ||
            FAILED(source->QueryInterface(IID_IFileSourceFilter, &fileSource)) ||
            FAILED(fileSource->Load(wideName, nullptr))) {
            result = Report("Could not load the media file\r\n");
            break;
        }
        AM_MEDIA_TYPE wanted = {};
        wanted.majortype = MEDIATYPE_Video;
        wanted.subtype = MEDIASUBTYPE_RGB24;
        grabber->SetMediaType(&wanted);

        IPin* sourceOut = GetOutPin(source.Get(), 0);
        IPin* grabberIn = GetInPin(grabberFilter.Get(), 0);
        if (!sourceOut || !grabberIn || FAILED(graph->Connect(sourceOut, grabberIn))) {
            result = Report("Could not connect source filter to grabber\r\n");
            break;
        }
        TakeFrameSize(grabber.Get());
        IPin* grabberOut = GetOutPin(grabberFilter.Get(), 0);
        if (!grabberOut || FAILED(graph->Render(grabberOut))) {
            result = Report("Could not render grabber output pin\r\n");
            break;
        }
        grabber->SetBufferSamples(FALSE);
        grabber->SetOneShot(TRUE);
        grabber->SetCallback(this, 1);
        if (SUCCEEDED(graph->QueryInterface(IID_IVideoWindow, &window)))
            window->put_AutoShow(OAFALSE);
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaSeeking, &seeking)))
            seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
        if (FAILED(result = graph->QueryInterface(IID_IMediaControl, &control)) ||
            FAILED(result = graph->QueryInterface(IID_IMediaEvent, &events)))
            break;
        if (FAILED(result = control->Run())) {
            control->Stop();
            break;
        }
        long code = 0;
        events->WaitForCompletion(INFINITE, &code);
        result = control->Stop();
    } while (false);
    if (grabber)
        grabber->SetCallback(nullptr, 1);
    return result;
}
