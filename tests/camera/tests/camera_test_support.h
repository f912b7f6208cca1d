#pragma once
// Graphs around a synthetic camera for the camera's own tests: the camera's capture pin into Wine's
// Sample Grabber and Null Renderer, a recorder of what arrives, and the frame number on screen.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <mutex>
#include <string>
#include <vector>

#include "qeltest/com_test.h"
#include "test_camera.h"

namespace cameratest {

using Microsoft::WRL::ComPtr;

extern const CLSID CLSID_SampleGrabberFilter;  // {C1F400A0-3F08-11D3-9F0B-006008039E37}
extern const CLSID CLSID_NullRendererFilter;   // {C1F400A4-3F08-11D3-9F0B-006008039E37}

struct ReceivedFrame {
    bool decoded = false;
    uint32_t number = 0;
    bool timed = false;
    REFERENCE_TIME start = 0, stop = 0;
    LONGLONG mediaStart = -1;
    bool discontinuity = false;
    long length = 0;
};

// Decodes every sample the grabber passes (on the streaming thread).
class FrameRecorder : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double, BYTE*, long) override { return E_NOTIMPL; }

    void SetFrameSize(LONG width, LONG height);
    // The next sample is held for this long before it is passed on (to make the camera late).
    void HoldNextSample(DWORD milliseconds);
    std::vector<ReceivedFrame> Frames();
    // The picture of the last frame received (frame size x 3 bytes a pixel, rows padded to 4 bytes).
    std::vector<uint8_t> LastPicture();
    size_t Count();
    bool WaitForCount(size_t count, DWORD timeoutMs);

private:
    std::mutex mutex_;
    LONG width_ = 0, height_ = 0;
    DWORD hold_ = 0;
    std::vector<ReceivedFrame> frames_;
    std::vector<uint8_t> lastPicture_;
};

// A graph with a camera bound by its friendly name, its capture pin -> Sample Grabber -> Null Renderer.
class CaptureGraph {
public:
    HRESULT Build(const std::wstring& cameraName, FrameRecorder* recorder);
    // Around a camera filter the test already holds (formats are per filter instance).
    HRESULT Build(IBaseFilter* camera, FrameRecorder* recorder);
    ~CaptureGraph();

    // S_OK once the graph runs (a live source's graph may answer S_FALSE while it gets there).
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();

    IGraphBuilder* Graph() const { return graph_.Get(); }
    IBaseFilter* Camera() const { return camera_.Get(); }
    IPin* CapturePin() const { return capture_.Get(); }
    // The connected frame size (after Build).
    LONG Width() const { return width_; }
    LONG Height() const { return height_; }

private:
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> camera_, grabber_, renderer_;
    ComPtr<IPin> capture_;
    LONG width_ = 0, height_ = 0;
};

// The n-th pin of a filter in enumeration order.
ComPtr<IPin> PinAt(IBaseFilter* filter, int index);
// The pin's category through IKsPropertySet, GUID_NULL when it cannot tell.
GUID PinCategory(IPin* pin);
// The frame number the video window shows at its top-left, read from the screen.
bool ReadFrameNumberFromScreen(HWND window, LONG width, LONG height, uint32_t* number);
// The next event of the graph with this code within the time (other events are skipped).
bool WaitForEvent(IMediaEvent* events, long code, DWORD timeoutMs, LONG_PTR* param1, LONG_PTR* param2);

}  // namespace cameratest
