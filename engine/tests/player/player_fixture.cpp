#include "player_fixture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>

#include "GraphBuilder.h"
#include "bmp_file.h"

namespace playertest {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

qelmedia::AviClipFormat ClipSpec(int frames, bool audio) {
    qelmedia::AviClipFormat clip;
    clip.width = 64;
    clip.height = 48;
    clip.framesPerSecond = 10;
    clip.frameCount = frames;
    clip.withAudio = audio;
    return clip;
}

OwnerWindow::OwnerWindow() {
    static const char* kClass = "QelPlayerTestOwner";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass); // fails harmlessly once registered
    window_ = CreateWindowA(kClass, "player owner", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 320, 240,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window_, SW_SHOWNOACTIVATE); // a child shows only in a visible owner
}

OwnerWindow::~OwnerWindow() {
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK OwnerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_GRAPHBUILDER_NOTIFY && self) {
        ++self->notifications_;
        if (self->player_) {
            long code = 0;
            LONG_PTR first = 0, second = 0;
            while (self->player_->GetEvent(&code, &first, &second, 0) == S_OK) {
                self->events_.push_back(code);
                self->player_->FinishEvent(code, first, second);
            }
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string PlayerTest::MakeClip(const std::string& name, const qelmedia::AviClipFormat& clip) {
    const std::string path = folder_.File(name);
    EXPECT_TRUE(qelmedia::WriteAviClip(path, clip)) << path;
    return path;
}

bool AudioRendererAvailable() {
    IBaseFilter* renderer = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DSoundRender, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&renderer))))
        return false;
    renderer->Release();
    return true;
}

std::string CompareBmpWithClipFrame(const std::string& path, int frame, int width, int height) {
    const std::vector<uint8_t> file = qelmedia::ReadWholeFile(path);
    if (file.empty())
        return "no file " + path;
    qelmedia::Bmp24 image;
    std::string why;
    if (!qelmedia::ParseBmp24(file, &image, &why))
        return "not a 24-bit BMP: " + why;
    if (image.width != width || image.height != height)
        return "size " + std::to_string(image.width) + "x" + std::to_string(image.height);
    const std::vector<uint8_t> rows = qelmedia::BottomUpRows(image);
    const std::vector<uint8_t> expected = qelmedia::ClipFrame(frame, width, height);
    if (rows == expected)
        return "";
    // Name the frame the picture does show (red steps by 8 a frame from 16).
    const int shown = (static_cast<int>(rows[2]) - 16) / 8;
    return "pixels differ from frame " + std::to_string(frame) + " (looks like frame " +
           std::to_string(shown) + ")";
}

double MeanDifferenceFromClipFrame(const std::string& path, int frame, int width, int height) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(Wide(path).c_str(), &bitmap) != Gdiplus::Ok || !bitmap)
        return -1;
    UINT actualWidth = 0, actualHeight = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap, &actualWidth);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap, &actualHeight);
    double total = 0;
    bool sized = static_cast<int>(actualWidth) == width && static_cast<int>(actualHeight) == height;
    for (int y = 0; sized && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::ARGB argb = 0;
            Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, x, y, &argb);
            const qelmedia::Bgr want = qelmedia::ClipPixel(frame, x, y);
            total += std::abs(static_cast<int>(argb & 0xFF) - want.blue) +
                     std::abs(static_cast<int>((argb >> 8) & 0xFF) - want.green) +
                     std::abs(static_cast<int>((argb >> 16) & 0xFF) - want.red);
        }
    }
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return sized ? total / (3.0 * width * height) : -1;
}

} // namespace playertest
