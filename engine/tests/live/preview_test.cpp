// Cameras, the live preview in the engine's child window, and its stop, restart and tear-down.
#include <qedit.h>

#include <algorithm>
#include <string>

#include "camera_fixture.h"
#include "grabber_counter.h"
#include "qeltest/pump.h"

namespace enginetest {
namespace {

class PreviewTest : public CameraTest {};

TEST_F(PreviewTest, FiveCamerasListFourAndTheFifthCannotBeChosen) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 5; ++i) {
        names.push_back(L"Qel Camera " + std::to_wstring(i + 1));
        AddCamera(names.back(), qelcam::kWithPreviewPin);
    }
    ASSERT_EQ(0, StartEngine());
    EXPECT_EQ(4, engine->GetDeviceNum(DEVICE_VIDEO));
    std::vector<std::wstring> listed;
    for (int i = 0; i < 4; ++i) {
        WCHAR name[130] = {0};
        ASSERT_EQ(0, engine->GetDeviceName(DEVICE_VIDEO, i, name, 130));
        listed.push_back(name);
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), listed.back())) << listed.back().c_str();
    }
    EXPECT_EQ(E_INVALIDARG, engine->SetUsedDeviceByIndex(DEVICE_VIDEO, 4));
    for (const std::wstring& name : names) {
        if (std::find(listed.begin(), listed.end(), name) != listed.end())
            continue;
        UINT index = 77;
        EXPECT_EQ(static_cast<HRESULT>(1200),
                  engine->SetUsedDeviceByName(DEVICE_VIDEO, name.c_str(), &index));
        EXPECT_EQ(77u, index);
    }
    // Ten characters of a longer name: nine and a terminator.
    WCHAR cut[10];
    ASSERT_EQ(0, engine->GetDeviceName(DEVICE_VIDEO, 0, cut, 10));
    EXPECT_EQ(listed[0].substr(0, 9), std::wstring(cut));
}

TEST_F(PreviewTest, ANameInOtherLettersIsNotListedButTheExactNamePreviews) {
    AddCamera(L"Qel Preview Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(0, StartEngine());
    UINT index = 77;
    EXPECT_EQ(static_cast<HRESULT>(1200),
              engine->SetUsedDeviceByName(DEVICE_VIDEO, L"qel preview camera", &index));
    EXPECT_EQ(77u, index);
    EXPECT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Preview Camera", &index));
    EXPECT_EQ(0u, index);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_FALSE(GraphHoldsClass(engine->m_pGraph, CLSID_SmartTee));

    // Frames reach the grabber, which hands on 24-bit frames of the camera's size.
    ASSERT_TRUE(engine->m_bGrabberReady);
    _LiteCapVideoInfo current = {};
    ASSERT_TRUE(engine->GetVideoInfo(&current));
    BITMAPINFOHEADER header = {};
    ASSERT_TRUE(engine->GetSnapshotHeader(&header));
    EXPECT_EQ(24, header.biBitCount);
    EXPECT_EQ(current.nWidth, header.biWidth);
    EXPECT_EQ(current.nHeight, header.biHeight);

    ISampleGrabber* grabber = nullptr;
    ASSERT_EQ(S_OK, engine->m_pGrabberFilter->QueryInterface(IID_ISampleGrabber,
                                                             reinterpret_cast<void**>(&grabber)));
    CountingCallback counter;
    grabber->SetCallback(&counter, 1);
    EXPECT_TRUE(qeltest::PumpUntil([&] { return counter.frames >= 3; }, 5000));
    grabber->SetCallback(engine->GrabberCallback(), 1);
    grabber->Release();
    EXPECT_EQ(static_cast<long>(header.biWidth * 3 * header.biHeight), counter.lastLength.load());

    // The renderer draws in the engine's child window.
    IVideoWindow* window = nullptr;
    ASSERT_EQ(S_OK, engine->m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window)));
    OAHWND owner = 0;
    window->get_Owner(&owner);
    EXPECT_EQ(reinterpret_cast<OAHWND>(engine->GetClassNotifyHWND()), owner);
    long visible = 0;
    window->get_Visible(&visible);
    EXPECT_EQ(OATRUE, visible);
    window->Release();
}

TEST_F(PreviewTest, ACameraWithOnlyACapturePinPreviewsThroughASmartTee) {
    AddCamera(L"Qel Capture Only Camera", qelcam::kCaptureOnly);
    PreviewCamera(L"Qel Capture Only Camera");
    EXPECT_TRUE(GraphHoldsClass(engine->m_pGraph, CLSID_SmartTee));
    EXPECT_TRUE(engine->m_bGrabberReady);
}

TEST_F(PreviewTest, StopStartAndTearDownFollowTheState) {
    const CLSID camera = AddCamera(L"Qel Stop Start Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Stop Start Camera");
    EXPECT_GT(LiveCameras(camera), 0);

    EXPECT_TRUE(engine->StartPreview()); // already running
    EXPECT_TRUE(engine->StopPreview());
    EXPECT_EQ(LIVE_STOPPED, engine->GetClassState());
    EXPECT_FALSE(engine->StopPreview());
    EXPECT_TRUE(engine->StartPreview());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());

    // A second build leaves the built graph alone.
    const auto built = FilterNames(engine->m_pGraph);
    EXPECT_TRUE(engine->BuildPreviewGraph());
    EXPECT_EQ(built, FilterNames(engine->m_pGraph));
    EXPECT_NE(built.end(), std::find(built.begin(), built.end(), L"SampleGrabber"));

    EXPECT_TRUE(engine->StopPreview());
    engine->TearDownGraph();
    EXPECT_FALSE(engine->m_bPreviewBuilt);
    EXPECT_FALSE(engine->m_bGrabberReady);
    EXPECT_EQ(1u, FilterNames(engine->m_pGraph).size()) << "only the camera stays";
    EXPECT_FALSE(engine->StartPreview());
    EXPECT_TRUE(engine->BuildPreviewGraph());
    EXPECT_TRUE(engine->StartPreview());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());

    delete engine;
    engine = nullptr;
    EXPECT_EQ(0, LiveCameras(camera)) << "no camera instance outlives the engine object";
}

TEST_F(PreviewTest, ChoosingAnotherCameraRebuildsThePreview) {
    const CLSID first = AddCamera(L"Qel First Camera", qelcam::kWithPreviewPin);
    const CLSID second = AddCamera(L"Qel Second Camera", qelcam::kCaptureOnly);
    PreviewCamera(L"Qel First Camera");
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Second Camera", &index));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(0, LiveCameras(first));
    EXPECT_GT(LiveCameras(second), 0);
    EXPECT_TRUE(GraphHoldsClass(engine->m_pGraph, CLSID_SmartTee));
}

// The renderer's own window inside the engine's child window.
HWND RendererWindow(HWND engineChild) {
    return GetWindow(engineChild, GW_CHILD);
}

// A capture stands in the same graph as the preview; the engine marks it by its state.
TEST_F(PreviewTest, ChoosingAnotherCameraDuringACaptureStopsTheCaptureFirst) {
    const CLSID first = AddCamera(L"Qel Recording Camera", qelcam::kWithPreviewPin);
    AddCamera(L"Qel Next Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Recording Camera");
    engine->m_state = LIVE_CAPTURING;
    UINT index = 0;
    EXPECT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Next Camera", &index));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    EXPECT_EQ(0, LiveCameras(first));
}

TEST_F(PreviewTest, DestroyingTheObjectDuringACaptureStopsItAndReleasesTheCamera) {
    const CLSID camera = AddCamera(L"Qel Closing Camera", qelcam::kCaptureOnly);
    PreviewCamera(L"Qel Closing Camera");
    const HWND child = engine->GetClassNotifyHWND();
    engine->m_state = LIVE_CAPTURING;
    delete engine;
    engine = nullptr;
    EXPECT_EQ(0, LiveCameras(camera));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(PreviewTest, ChoosingACompressorDuringACaptureStopsTheCaptureFirst) {
    AddCamera(L"Qel Compressing Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Compressing Camera");
    ASSERT_EQ(0, engine->EnumVideoCprFilter());
    engine->m_state = LIVE_CAPTURING;
    int index = -1;
    int hasPages = 0;
    engine->SetCprByName(DEVICE_VIDEO, L"Wine MS-RLE video codec", &index, &hasPages);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
}

TEST_F(PreviewTest, ShowRectMovesAndSizesThePictureAndRespectsTheShowFlag) {
    AddCamera(L"Qel Resize Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Resize Camera");
    const HWND child = engine->GetClassNotifyHWND();
    EXPECT_EQ(0, engine->SetShowRect(20, 10, 320, 240));
    RECT placed;
    GetWindowRect(child, &placed);
    MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(20, placed.left);
    EXPECT_EQ(10, placed.top);
    EXPECT_EQ(340, placed.right);
    EXPECT_EQ(250, placed.bottom);
    // The picture fills the child window.
    const HWND renderer = RendererWindow(child);
    ASSERT_NE(nullptr, renderer);
    RECT picture, frame;
    GetWindowRect(renderer, &picture);
    GetWindowRect(child, &frame);
    EXPECT_TRUE(EqualRect(&picture, &frame));
    EXPECT_TRUE(IsWindowVisible(renderer));

    EXPECT_EQ(S_OK, engine->ShowPreview(0));
    EXPECT_FALSE(IsWindowVisible(renderer));
    EXPECT_EQ(0, engine->SetShowRect(0, 0, 160, 120));
    EXPECT_FALSE(IsWindowVisible(renderer)) << "moved, but left hidden";
    GetWindowRect(renderer, &picture);
    EXPECT_EQ(160, picture.right - picture.left);
    EXPECT_EQ(120, picture.bottom - picture.top);
    EXPECT_EQ(S_OK, engine->ShowPreview(1));
    EXPECT_TRUE(IsWindowVisible(renderer));
}

TEST_F(PreviewTest, WithTheVmrSwitchThePreviewRendersThroughTheMixingRenderer) {
    AddCamera(L"Qel Renderer Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(0, StartEngine());
    engine->EnableVMR(TRUE);
    UINT index = 0;
    ASSERT_EQ(0, engine->SetUsedDeviceByName(DEVICE_VIDEO, L"Qel Renderer Camera", &index));
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    const auto names = FilterNames(engine->m_pGraph);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"VMR"));
    EXPECT_TRUE(engine->m_bUseVMR) << "a mixing renderer was there";
}

TEST_F(PreviewTest, ACompressorTheCameraCannotFeedIsNotKeptAndThePreviewComesBack) {
    AddCamera(L"Qel Compressor Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Compressor Camera");
    int index = -1;
    int hasPages = 7;
    // Wine's compressors do not take the camera's RGB24: the trial connection fails.
    const BOOL kept = engine->SetCprByName(DEVICE_VIDEO, L"Wine MS-RLE video codec", &index, &hasPages);
    if (kept) {
        EXPECT_EQ(index, engine->m_nCurVideoCpr);
    } else {
        EXPECT_EQ(-1, engine->m_nCurVideoCpr);
        EXPECT_EQ(7, hasPages);
    }
    EXPECT_NE(-1, index);
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    const auto names = FilterNames(engine->m_pGraph);
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), L"Mux")) << "the trial graph is gone";
}

TEST_F(PreviewTest, InitVideoProbesACameraByNameAndLeavesTheObjectClean) {
    const CLSID camera = AddCamera(L"Qel Probe Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(0, StartEngine());
    EXPECT_EQ(1, engine->InitVideo(L"qel probe camera"));
    ASSERT_EQ(0, StartEngine());
    EXPECT_EQ(0, engine->InitVideo(L"Qel Probe Camera"));
    EXPECT_EQ(LIVE_CLEAN, engine->GetClassState());
    EXPECT_EQ(-1, engine->m_nCurVideoDevice);
    EXPECT_EQ(nullptr, engine->m_pGraph);
    EXPECT_EQ(0, LiveCameras(camera));
    EXPECT_TRUE(host.StaticChildren().empty());
}

} // namespace
} // namespace enginetest
