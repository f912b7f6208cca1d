// What every later test relies on: COM, DirectShow's core objects and a window on the display.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "qeltest/com_test.h"
#include "qeltest/pump.h"

namespace {

class PlatformTest : public qeltest::ComTest {};

TEST_F(PlatformTest, CreatesTheFilterGraphByClsid) {
    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(&graph)));
    IMediaControl* control = nullptr;
    EXPECT_EQ(S_OK, graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)));
    if (control)
        control->Release();
    graph->Release();
}

TEST_F(PlatformTest, CreatesTheSystemDeviceEnumeratorByClsid) {
    ICreateDevEnum* devices = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                     reinterpret_cast<void**>(&devices)));
    IEnumMoniker* monikers = nullptr;
    const HRESULT hr = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    // S_FALSE: the category is empty (no camera registered yet), which is still a working enumerator.
    EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << std::hex << hr;
    if (monikers)
        monikers->Release();
    devices->Release();
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        auto* paints = reinterpret_cast<int*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (paints)
            ++*paints;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(PlatformTest, AWindowIsCreatedShownAndPaintedOnTheDisplay) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QelFoundationProbe";
    ASSERT_NE(0, RegisterClassA(&wc));

    HWND hwnd = CreateWindowA("QelFoundationProbe", "probe", WS_OVERLAPPEDWINDOW, 10, 10, 320, 240, nullptr,
                              nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    int paints = 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&paints));
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    EXPECT_TRUE(qeltest::PumpUntil([&] { return paints > 0; }, 5000));
    EXPECT_TRUE(IsWindowVisible(hwnd));

    // A real display answers with real metrics; a missing one gives a desktop of 0x0.
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
    DestroyWindow(hwnd);
    UnregisterClassA("QelFoundationProbe", wc.hInstance);
}

} // namespace
