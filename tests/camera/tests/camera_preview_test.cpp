// Preview as the engine builds it: the capture graph builder renders the preview pin (or a Smart Tee
// on the capture pin) into the Video Renderer, and the frames appear on the virtual display.
#include <gtest/gtest.h>

#include "camera_test_support.h"
#include "qeltest/pump.h"

namespace cameratest {
namespace {

class CameraPreviewTest : public qeltest::ComTest {
protected:
    // Renders the camera's preview; returns RenderStream's result.
    HRESULT RenderPreview(const qelcam::ScopedTestCamera& camera) {
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &graph_);
        if (FAILED(hr))
            return hr;
        hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                              &builder_);
        if (FAILED(hr))
            return hr;
        builder_->SetFiltergraph(graph_.Get());
        hr = camera.Bind(&camera_);
        if (FAILED(hr))
            return hr;
        hr = graph_->AddFilter(camera_.Get(), nullptr);
        if (FAILED(hr))
            return hr;
        return builder_->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera_.Get(), nullptr, nullptr);
    }

    // Runs the graph and reads two frame numbers off the screen, some time apart.
    void ExpectMovingPictureOnScreen() {
        ComPtr<IVideoWindow> window;
        ASSERT_EQ(S_OK, graph_->QueryInterface(IID_IVideoWindow, &window));
        OAHWND handle = 0;
        ASSERT_EQ(S_OK, window->get_Owner(&handle));
        ComPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, graph_.As(&control));
        ASSERT_TRUE(SUCCEEDED(control->Run()));

        HWND video = FindVideoWindow();
        ASSERT_NE(nullptr, video) << "the renderer shows a window";
        uint32_t first = 0, later = 0;
        ASSERT_TRUE(qeltest::PumpUntil([&] { return ReadFrameNumberFromScreen(video, 640, 480, &first); }, 10000))
            << "no frame visible in the video window";
        ASSERT_TRUE(qeltest::PumpUntil(
            [&] { return ReadFrameNumberFromScreen(video, 640, 480, &later) && later > first; }, 10000))
            << "the picture does not move";
        camera_->Stop();
        control->Stop();
        window->put_Visible(OAFALSE);
    }

    // The renderer's own top-level window (Wine's renderer makes it visible when the graph runs).
    HWND FindVideoWindow() {
        HWND found = nullptr;
        qeltest::PumpUntil(
            [&] {
                ComPtr<IVideoWindow> window;
                if (FAILED(graph_->QueryInterface(IID_IVideoWindow, &window)))
                    return false;
                // The renderer's window is the one whose client area the IVideoWindow reports.
                LONG left = 0, top = 0, width = 0, height = 0;
                if (FAILED(window->GetWindowPosition(&left, &top, &width, &height)))
                    return false;
                POINT centre = {left + width / 2, top + height / 2};
                found = WindowFromPoint(centre);
                return found != nullptr && IsWindowVisible(found);
            },
            5000);
        return found;
    }

    // Wine's builder adds its filters without names: they are told apart by class.
    bool GraphHasFilterOfClass(REFCLSID clsid) {
        ComPtr<IEnumFilters> filters;
        if (FAILED(graph_->EnumFilters(&filters)))
            return false;
        ComPtr<IBaseFilter> filter;
        while (filters->Next(1, &filter, nullptr) == S_OK) {
            CLSID filterClass = CLSID_NULL;
            if (SUCCEEDED(filter->GetClassID(&filterClass)) && filterClass == clsid)
                return true;
            filter.Reset();
        }
        return false;
    }

    ComPtr<IGraphBuilder> graph_;
    ComPtr<ICaptureGraphBuilder2> builder_;
    ComPtr<IBaseFilter> camera_;
};

TEST_F(CameraPreviewTest, PreviewPinRendersIntoTheVideoRendererOnScreen) {
    qelcam::ScopedTestCamera camera(L"Qel Preview Camera", qelcam::kWithPreviewPin);
    ASSERT_EQ(S_OK, camera.Result());
    ASSERT_EQ(S_OK, RenderPreview(camera));
    ExpectMovingPictureOnScreen();
}

TEST_F(CameraPreviewTest, CaptureOnlyCameraPreviewsThroughASmartTee) {
    qelcam::ScopedTestCamera camera(L"Qel Capture Only Camera", qelcam::kCaptureOnly);
    ASSERT_EQ(S_OK, camera.Result());
    EXPECT_EQ(VFW_S_NOPREVIEWPIN, RenderPreview(camera));
    EXPECT_TRUE(GraphHasFilterOfClass(CLSID_SmartTee));
    ExpectMovingPictureOnScreen();
}

}  // namespace
}  // namespace cameratest
