#include "camera_test_support.h"

#include <gtest/gtest.h>

#include "qeltest/pump.h"
#include "test_frame_pattern.h"

namespace cameratest {

const CLSID CLSID_SampleGrabberFilter = {0xc1f400a0, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
const CLSID CLSID_NullRendererFilter = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

STDMETHODIMP FrameRecorder::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

void FrameRecorder::SetFrameSize(LONG width, LONG height) {
    std::lock_guard<std::mutex> hold(mutex_);
    width_ = width;
    height_ = height;
}

void FrameRecorder::HoldNextSample(DWORD milliseconds) {
    std::lock_guard<std::mutex> hold(mutex_);
    hold_ = milliseconds;
}

STDMETHODIMP FrameRecorder::SampleCB(double, IMediaSample* sample) {
    ReceivedFrame frame;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    frame.length = sample->GetActualDataLength();
    frame.timed = sample->GetTime(&frame.start, &frame.stop) == S_OK;
    LONGLONG mediaStop = 0;
    if (sample->GetMediaTime(&frame.mediaStart, &mediaStop) != S_OK)
        frame.mediaStart = -1;
    frame.discontinuity = sample->IsDiscontinuity() == S_OK;
    DWORD hold = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const size_t needed = static_cast<size_t>(qelcam::Rgb24Stride(width_)) * static_cast<size_t>(std::abs(height_));
        if (data && width_ > 0 && static_cast<size_t>(frame.length) >= needed) {
            frame.decoded = qelcam::ReadFrameNumber(data, width_, height_, qelcam::Rgb24Stride(width_), &frame.number);
            lastPicture_.assign(data, data + needed);
        }
        frames_.push_back(frame);
        hold = hold_;
        hold_ = 0;
    }
    if (hold)
        Sleep(hold);
    return S_OK;
}

std::vector<ReceivedFrame> FrameRecorder::Frames() {
    std::lock_guard<std::mutex> hold(mutex_);
    return frames_;
}

std::vector<uint8_t> FrameRecorder::LastPicture() {
    std::lock_guard<std::mutex> hold(mutex_);
    return lastPicture_;
}

size_t FrameRecorder::Count() {
    std::lock_guard<std::mutex> hold(mutex_);
    return frames_.size();
}

bool FrameRecorder::WaitForCount(size_t count, DWORD timeoutMs) {
    return qeltest::PumpUntil([&] { return Count() >= count; }, timeoutMs);
}

ComPtr<IPin> PinAt(IBaseFilter* filter, int index) {
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (FAILED(filter->EnumPins(&pins)))
        return pin;
    for (int i = 0; pins->Next(1, &pin, nullptr) == S_OK; ++i) {
        if (i == index)
            return pin;
        pin.Reset();
    }
    return pin;
}

GUID PinCategory(IPin* pin) {
    ComPtr<IKsPropertySet> properties;
    GUID category = GUID_NULL;
    DWORD returned = 0;
    if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, &properties)))
        properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof category, &returned);
    return category;
}

HRESULT CaptureGraph::Build(const std::wstring& cameraName, FrameRecorder* recorder) {
    ComPtr<IBaseFilter> camera;
    const HRESULT hr = qelcam::BindVideoInputDevice(cameraName, &camera);
    return FAILED(hr) ? hr : Build(camera.Get(), recorder);
}

HRESULT CaptureGraph::Build(IBaseFilter* camera, FrameRecorder* recorder) {
    camera_ = camera;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &graph_);
    if (FAILED(hr))
        return hr;
    hr = graph_->AddFilter(camera_.Get(), L"Camera");
    if (FAILED(hr))
        return hr;
    hr = CoCreateInstance(CLSID_SampleGrabberFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &grabber_);
    if (FAILED(hr))
        return hr;
    hr = CoCreateInstance(CLSID_NullRendererFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &renderer_);
    if (FAILED(hr))
        return hr;
    graph_->AddFilter(grabber_.Get(), L"SampleGrabber");
    graph_->AddFilter(renderer_.Get(), L"Null Renderer");

    ComPtr<ISampleGrabber> grab;
    hr = grabber_.As(&grab);
    if (FAILED(hr))
        return hr;
    AM_MEDIA_TYPE rgb24 = {};
    rgb24.majortype = MEDIATYPE_Video;
    rgb24.subtype = MEDIASUBTYPE_RGB24;
    grab->SetMediaType(&rgb24);
    grab->SetBufferSamples(FALSE);
    grab->SetCallback(recorder, 0);

    capture_ = PinAt(camera_.Get(), 0);
    if (!capture_)
        return E_FAIL;
    hr = graph_->ConnectDirect(capture_.Get(), PinAt(grabber_.Get(), 0).Get(), nullptr);
    if (FAILED(hr))
        return hr;
    hr = graph_->ConnectDirect(PinAt(grabber_.Get(), 1).Get(), PinAt(renderer_.Get(), 0).Get(), nullptr);
    if (FAILED(hr))
        return hr;
    AM_MEDIA_TYPE connected = {};
    hr = capture_->ConnectionMediaType(&connected);
    if (FAILED(hr))
        return hr;
    if (connected.formattype == FORMAT_VideoInfo && connected.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
        width_ = info->bmiHeader.biWidth;
        height_ = info->bmiHeader.biHeight;
    }
    CoTaskMemFree(connected.pbFormat);
    if (connected.pUnk)
        connected.pUnk->Release();
    recorder->SetFrameSize(width_, height_);
    return S_OK;
}

CaptureGraph::~CaptureGraph() {
    if (graph_) {
        Stop();
        ComPtr<ISampleGrabber> grab;
        if (grabber_ && SUCCEEDED(grabber_.As(&grab)))
            grab->SetCallback(nullptr, 0);
    }
}

HRESULT CaptureGraph::Run() {
    ComPtr<IMediaControl> control;
    HRESULT hr = graph_.As(&control);
    if (SUCCEEDED(hr))
        hr = control->Run();
    if (hr != S_FALSE)
        return hr;
    OAFilterState state = State_Stopped;
    hr = control->GetState(5000, &state);
    return SUCCEEDED(hr) && state == State_Running ? S_OK : E_FAIL;
}

HRESULT CaptureGraph::Pause() {
    ComPtr<IMediaControl> control;
    HRESULT hr = graph_.As(&control);
    return SUCCEEDED(hr) ? control->Pause() : hr;
}

HRESULT CaptureGraph::Stop() {
    // The camera first: a source stopped after its downstream filters may block in a delivery.
    if (camera_)
        camera_->Stop();
    ComPtr<IMediaControl> control;
    HRESULT hr = graph_.As(&control);
    return SUCCEEDED(hr) ? control->Stop() : hr;
}

bool ReadFrameNumberFromScreen(HWND window, LONG width, LONG height, uint32_t* number) {
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right < width || client.bottom < height)
        return false;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the window shows it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool read = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        read = qelcam::ReadFrameNumber(static_cast<const uint8_t*>(bits), width, -height, qelcam::Rgb24Stride(width),
                                       number);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return read;
}

bool WaitForEvent(IMediaEvent* events, long code, DWORD timeoutMs, LONG_PTR* param1, LONG_PTR* param2) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        long got = 0;
        LONG_PTR p1 = 0, p2 = 0;
        const ULONGLONG now = GetTickCount64();
        const long wait = now >= end ? 0 : static_cast<long>(std::min<ULONGLONG>(end - now, 50));
        if (events->GetEvent(&got, &p1, &p2, wait) == S_OK) {
            const bool match = got == code;
            if (match) {
                if (param1)
                    *param1 = p1;
                if (param2)
                    *param2 = p2;
            }
            events->FreeEventParams(got, p1, p2);
            if (match)
                return true;
            continue;
        }
        if (GetTickCount64() >= end)
            return false;
        qeltest::PumpMessagesFor(1);
    }
}

}  // namespace cameratest
