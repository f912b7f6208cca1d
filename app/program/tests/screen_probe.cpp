#include "screen_probe.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "test_frame_pattern.h"

namespace programtest {

ScreenPixels GrabScreen(const RECT& r) {
    ScreenPixels pixels;
    pixels.width = r.right - r.left;
    pixels.height = r.bottom - r.top;
    if (pixels.width <= 0 || pixels.height <= 0)
        return pixels;
    const ptrdiff_t stride = qelcam::Rgb24Stride(pixels.width);
    pixels.bytes.resize(static_cast<size_t>(stride) * pixels.height);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, r.left, r.top, SRCCOPY);
        ::GdiFlush();
        std::memcpy(pixels.bytes.data(), bits, pixels.bytes.size());
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

bool ReadFrameNumberOnScreen(const RECT& r, uint32_t* frame) {
    const ScreenPixels pixels = GrabScreen(r);
    if (pixels.bytes.empty())
        return false;
    return qelcam::ReadFrameNumber(pixels.bytes.data(), pixels.width, -pixels.height,
                                   qelcam::Rgb24Stride(pixels.width), frame);
}

bool ReadInvertedFrameNumberOnScreen(const RECT& r, uint32_t* frame) {
    ScreenPixels pixels = GrabScreen(r);
    if (pixels.bytes.empty())
        return false;
    for (uint8_t& byte : pixels.bytes)
        byte = static_cast<uint8_t>(255 - byte);
    return qelcam::ReadFrameNumber(pixels.bytes.data(), pixels.width, -pixels.height,
                                   qelcam::Rgb24Stride(pixels.width), frame);
}

namespace {

// The strip's frame closest to what the screen shows of the control, and its mean difference per
// pixel and colour; frame -1 when the strip cannot be read.
struct StripMatch {
    int frame = -1;
    double difference = 0;
};

StripMatch MatchStrip(HWND control, const std::string& stripPng, int frames) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    StripMatch best;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return best;
    {
        std::wstring wide(stripPng.begin(), stripPng.end());
        Gdiplus::Bitmap strip(wide.c_str());
        RECT r;
        ::GetWindowRect(control, &r);
        const ScreenPixels shown = GrabScreen(r);
        const int fw = static_cast<int>(strip.GetWidth()) / frames;
        const int fh = static_cast<int>(strip.GetHeight());
        if (strip.GetLastStatus() == Gdiplus::Ok && fw > 0 && shown.width >= fw && shown.height >= fh) {
            const ptrdiff_t stride = qelcam::Rgb24Stride(shown.width);
            double bestDiff = 1e18;
            for (int f = 0; f < frames; ++f) {
                double diff = 0;
                for (int y = 0; y < fh; ++y)
                    for (int x = 0; x < fw; ++x) {
                        Gdiplus::Color c;
                        strip.GetPixel(f * fw + x, y, &c);
                        const uint8_t* p = &shown.bytes[y * stride + x * 3];
                        diff += std::abs(p[2] - c.GetR()) + std::abs(p[1] - c.GetG()) + std::abs(p[0] - c.GetB());
                    }
                if (diff < bestDiff) {
                    bestDiff = diff;
                    best.frame = f;
                }
            }
            best.difference = bestDiff / (3.0 * fw * fh);
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return best;
}

} // namespace

int ShownStripFrame(HWND control, const std::string& stripPng, int frames) {
    return MatchStrip(control, stripPng, frames).frame;
}

bool ShowsStripRatherThan(HWND control, const std::string& shownPng, const std::string& otherPng, int frames) {
    const StripMatch shown = MatchStrip(control, shownPng, frames), other = MatchStrip(control, otherPng, frames);
    return shown.frame >= 0 && other.frame >= 0 && shown.difference < other.difference;
}

std::string SaveScreenshot(const RECT& r, const std::string& name) {
    const ScreenPixels pixels = GrabScreen(r);
    std::string folder = QEL_SHOT_DIR;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    folder = "Z:" + folder;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".bmp";
    const ptrdiff_t stride = qelcam::Rgb24Stride(pixels.width);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = pixels.width;
    header.biHeight = -pixels.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + stride * pixels.height);
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.bytes.data(), 1, pixels.bytes.size(), out);
        std::fclose(out);
    }
    return path;
}

} // namespace programtest
