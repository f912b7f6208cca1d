// live_preview: a small host of the capture engine. Shows the live picture of a camera in a window for a
// while and can save what the screen shows of that window as a BMP file.
//   live_preview [--camera "name" | --index n] [--seconds s] [--screenshot file.bmp]
#include <Vostrel.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LIVECAP_DEVICELOST)
        PostQuitMessage(2);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// What the screen shows of the window's client area, as a 24-bit bottom-up BMP.
bool SaveScreenOfWindow(HWND hwnd, const char* path) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    const int width = client.right;
    const int height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    bool written = false;
    if (FILE* out = std::fopen(path, "wb")) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, imageSize, 1, out) == 1;
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

} // namespace

int main(int argc, char** argv) {
    std::wstring camera;
    int index = 0;
    double seconds = 3;
    const char* screenshot = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--camera")) {
            wchar_t name[260] = {0};
            MultiByteToWideChar(CP_ACP, 0, argv[i + 1], -1, name, 260);
            camera = name;
        } else if (!std::strcmp(argv[i], "--index")) {
            index = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--seconds")) {
            seconds = std::atof(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--screenshot")) {
            screenshot = argv[i + 1];
        }
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LivePreviewHost";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&wc);
    HWND host = CreateWindowA("LivePreviewHost", "Live preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                              0, 640, 480, nullptr, nullptr, wc.hInstance, nullptr);
    if (!host) {
        std::fprintf(stderr, "live_preview: no window\n");
        return 1;
    }

    int rc = 0;
    {
        CLiveCapture engine;
        HRESULT hr = engine.InitLiveCapture(wc.hInstance, host, host, 0);
        if (hr != 0) {
            std::fprintf(stderr, "live_preview: InitLiveCapture gave %ld (no camera?)\n",
                         static_cast<long>(hr));
            rc = 1;
        } else {
            for (int i = 0; i < engine.GetDeviceNum(DEVICE_VIDEO); ++i) {
                wchar_t name[130] = {0};
                engine.GetDeviceName(DEVICE_VIDEO, i, name, 130);
                std::printf("camera %d: %ls\n", i, name);
            }
            UINT chosen = 0;
            hr = camera.empty() ? engine.SetUsedDeviceByIndex(DEVICE_VIDEO, index)
                                : engine.SetUsedDeviceByName(DEVICE_VIDEO, camera.c_str(), &chosen);
            std::printf("choose camera: %ld, state %d\n", static_cast<long>(hr), engine.GetClassState());
            if (hr != 0 || engine.GetClassState() != LIVE_PREVIEWING) {
                rc = 1;
            } else {
                Pump(static_cast<DWORD>(seconds * 1000));
                if (screenshot) {
                    const bool saved = SaveScreenOfWindow(host, screenshot);
                    std::printf("screenshot %s: %s\n", screenshot, saved ? "saved" : "failed");
                    rc = saved ? 0 : 1;
                }
            }
        }
    }
    DestroyWindow(host);
    return rc;
}
