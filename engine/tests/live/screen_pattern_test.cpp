// What the screen shows of the host window while the preview runs: the camera's own picture, frame
// numbers and all.
#include <cstdint>
#include <vector>

#include "camera_fixture.h"
#include "qeltest/pump.h"
#include "test_frame_pattern.h"

namespace enginetest {
namespace {

// The window's client area as the screen shows it, RGB24 bottom-up.
std::vector<uint8_t> ScreenOf(HWND hwnd, int* width, int* height) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    *width = client.right;
    *height = client.bottom;
    std::vector<uint8_t> pixels(static_cast<size_t>(qelcam::Rgb24Stride(*width)) * *height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, *width, *height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = *height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    GetDIBits(memory, bitmap, 0, *height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool ScreenFrameNumber(HWND hwnd, uint32_t* number) {
    int width = 0, height = 0;
    const auto pixels = ScreenOf(hwnd, &width, &height);
    return qelcam::ReadFrameNumber(pixels.data(), width, height, qelcam::Rgb24Stride(width), number);
}

class ScreenPatternTest : public CameraTest {};

TEST_F(ScreenPatternTest, TheHostWindowShowsTheCamerasMovingPicture) {
    AddCamera(L"Qel Screen Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Screen Camera");
    _LiteCapVideoInfo current = {};
    ASSERT_TRUE(engine->GetVideoInfo(&current));
    ASSERT_EQ(640, current.nWidth) << "the host window is the camera's size: no scaling";

    uint32_t first = 0;
    ASSERT_TRUE(qeltest::PumpUntil([&] { return ScreenFrameNumber(host.Handle(), &first); }, 5000))
        << "the camera's frame band is not on the screen";
    uint32_t later = first;
    EXPECT_TRUE(
        qeltest::PumpUntil([&] { return ScreenFrameNumber(host.Handle(), &later) && later > first; }, 5000))
        << "the picture on the screen does not move";
}

} // namespace
} // namespace enginetest
