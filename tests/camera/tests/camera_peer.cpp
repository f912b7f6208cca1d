// A second process for the camera's cross-process tests: binds the synthetic camera named on its
// command line, runs it into a Sample Grabber and a Null Renderer, and reports the frames, graph events
// and driver states it sees in the test's shared block until the test sets `quit` or ends.
//
// camera_peer.exe <camera friendly name, or * for the first listed> <report block name> <test process id>
#include <windows.h>
#include <dshow.h>

#include <string>

#include "CameraDriver.h"
#include "camera_peer_report.h"
#include "camera_test_support.h"

namespace cameratest {
namespace {

// Ends the peer if the test is gone without telling it.
const DWORD kLongestLifeMs = 120000;

class ReportBlock {
public:
    explicit ReportBlock(const std::wstring& name) {
        mapping_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        if (mapping_)
            report_ = static_cast<PeerReport*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(PeerReport)));
    }
    ~ReportBlock() {
        if (report_)
            UnmapViewOfFile(report_);
        if (mapping_)
            CloseHandle(mapping_);
    }
    ReportBlock(const ReportBlock&) = delete;
    ReportBlock& operator=(const ReportBlock&) = delete;
    PeerReport* Report() const { return report_; }

private:
    HANDLE mapping_ = nullptr;
    PeerReport* report_ = nullptr;
};

LONG MirroredState(IBaseFilter* camera) {
    ComPtr<ICameraFlipStatus> flip;
    ULONG block[5] = {0, kCameraFlipStatusRequest, 0, 0, 0};
    if (FAILED(camera->QueryInterface(IID_ICameraFlipStatus, &flip)) ||
        FAILED(flip->GetFlipStatus(kCameraFlipStatusBlockSize, block)))
        return -1;
    return static_cast<LONG>(block[2]);
}

LONG ButtonState(IBaseFilter* camera) {
    ComPtr<ICameraButtonState> button;
    ULONG state = 0, extra1 = 0, extra2 = 0;
    if (FAILED(camera->QueryInterface(IID_ICameraButtonState, &button)) ||
        FAILED(button->GetButtonState(kCameraButtonSnapshot, &state, &extra1, &extra2)))
        return -1;
    return static_cast<LONG>(state);
}

void TakeEvents(IMediaEvent* events, PeerReport* report) {
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        if (code == EC_DEVICE_LOST) {
            report->deviceLostParam2 = static_cast<LONG>(param2);
            InterlockedIncrement(&report->devicesLost);
        } else if (code == EC_ERRORABORT) {
            report->errorAbortParam1 = static_cast<LONG>(param1);
            InterlockedIncrement(&report->errorAborts);
        }
        events->FreeEventParams(code, param1, param2);
    }
}

void TakeFrames(FrameRecorder& recorder, PeerReport* report) {
    const std::vector<ReceivedFrame> frames = recorder.Frames();
    LONG filled = report->frames;
    for (; filled < kPeerFramesKept && static_cast<size_t>(filled) < frames.size(); ++filled) {
        const ReceivedFrame& received = frames[filled];
        PeerFrame& frame = report->frame[filled];
        frame.decoded = received.decoded;
        frame.number = received.number;
        frame.timed = received.timed;
        frame.start = received.start;
    }
    // Published after the frames it covers.
    InterlockedExchange(&report->frames, filled);
}

HRESULT BuildGraph(CaptureGraph& graph, const std::wstring& cameraName, FrameRecorder* recorder) {
    if (cameraName != kFirstListedCamera)
        return graph.Build(cameraName, recorder);
    ComPtr<IBaseFilter> camera;
    const HRESULT hr = qelcam::BindFirstVideoInputDevice(&camera);
    return FAILED(hr) ? hr : graph.Build(camera.Get(), recorder);
}

bool TestAlive(HANDLE test) { return !test || WaitForSingleObject(test, 0) == WAIT_TIMEOUT; }

HRESULT RunUntilQuit(const std::wstring& cameraName, PeerReport* report, HANDLE test) {
    FrameRecorder recorder;
    CaptureGraph graph;
    HRESULT hr = BuildGraph(graph, cameraName, &recorder);
    if (SUCCEEDED(hr))
        hr = graph.Run();
    ComPtr<IMediaEvent> events;
    if (SUCCEEDED(hr))
        hr = graph.Graph()->QueryInterface(IID_IMediaEvent, &events);
    InterlockedExchange(&report->result, hr);
    if (FAILED(hr))
        return hr;
    InterlockedExchange(&report->state, kPeerRunning);
    const ULONGLONG end = GetTickCount64() + kLongestLifeMs;
    while (!report->quit && TestAlive(test) && GetTickCount64() < end) {
        TakeFrames(recorder, report);
        TakeEvents(events.Get(), report);
        report->mirrored = MirroredState(graph.Camera());
        report->buttonState = ButtonState(graph.Camera());
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    graph.Stop();
    return S_OK;
}

}  // namespace
}  // namespace cameratest

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc != 4)
        return 2;
    cameratest::ReportBlock block(argv[2]);
    cameratest::PeerReport* report = block.Report();
    if (!report)
        return 3;
    HANDLE test = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(wcstoul(argv[3], nullptr, 10)));
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) {
        hr = cameratest::RunUntilQuit(argv[1], report, test);
        CoUninitialize();
    } else {
        InterlockedExchange(&report->result, hr);
    }
    if (test)
        CloseHandle(test);
    InterlockedExchange(&report->state, cameratest::kPeerEnded);
    return SUCCEEDED(hr) ? 0 : 1;
}
