// ScreenSampler.exe: reads the screen's colours at the points the viewer asks for, until its input
// ends. The viewer asks it rather than reading the screen itself: a read of the display from the
// viewer's own process while a renderer of that process presents can leave both waiting on the display
// connection for good under Wine. A process of its own has a connection of its own.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ScreenSampleWire.h"

namespace {

bool ReadAll(HANDLE from, void* into, DWORD bytes) {
    auto* at = static_cast<uint8_t*>(into);
    while (bytes) {
        DWORD got = 0;
        if (!::ReadFile(from, at, bytes, &got, nullptr) || !got)
            return false;
        at += got;
        bytes -= got;
    }
    return true;
}

bool WriteAll(HANDLE to, const void* from, DWORD bytes) {
    const auto* at = static_cast<const uint8_t*>(from);
    while (bytes) {
        DWORD put = 0;
        if (!::WriteFile(to, at, bytes, &put, nullptr) || !put)
            return false;
        at += put;
        bytes -= put;
    }
    return true;
}

// One copy of the screen under the points, read at each of them (a single read of the display per
// request); empty when the screen cannot be read.
std::vector<uint32_t> ScreenSamples(const std::vector<screenwire::Point>& points) {
    std::vector<uint32_t> samples;
    if (points.empty())
        return samples;
    RECT area = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const screenwire::Point& point : points) {
        area.left = (std::min)(area.left, static_cast<LONG>(point.x));
        area.top = (std::min)(area.top, static_cast<LONG>(point.y));
        area.right = (std::max)(area.right, static_cast<LONG>(point.x) + 1);
        area.bottom = (std::max)(area.bottom, static_cast<LONG>(point.y) + 1);
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return samples;
    void* bits = nullptr;
    HBITMAP copy = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = copy ? ::CreateCompatibleDC(screen) : nullptr;
    if (memory) {
        HGDIOBJ old = ::SelectObject(memory, copy);
        if (::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
            ::GdiFlush();
            const auto* pixels = static_cast<const uint8_t*>(bits);
            for (const screenwire::Point& point : points) {
                const uint8_t* pixel = pixels + (static_cast<size_t>(point.y - area.top) * static_cast<size_t>(width) +
                                                 static_cast<size_t>(point.x - area.left)) * 4;
                // Stored blue, green, red: as a colour reads, red lowest.
                samples.push_back(static_cast<uint32_t>(pixel[2]) | static_cast<uint32_t>(pixel[1]) << 8 |
                                  static_cast<uint32_t>(pixel[0]) << 16);
            }
        }
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    if (copy)
        ::DeleteObject(copy);
    ::ReleaseDC(nullptr, screen);
    return samples;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    for (;;) {
        uint32_t count = 0;
        if (!ReadAll(in, &count, sizeof count) || count > screenwire::kMostPoints)
            return 0; // the viewer let go of it, or asked for what it never asks
        std::vector<screenwire::Point> points(count);
        if (count && !ReadAll(in, points.data(), static_cast<DWORD>(count * sizeof(screenwire::Point))))
            return 0;
        const std::vector<uint32_t> samples = ScreenSamples(points);
        const uint32_t answered = static_cast<uint32_t>(samples.size());
        if (!WriteAll(out, &answered, sizeof answered) ||
            (answered && !WriteAll(out, samples.data(), static_cast<DWORD>(answered * sizeof(uint32_t)))))
            return 0;
    }
}
