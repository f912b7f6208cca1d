#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <qelImage.h>
#include <qeltest/pump.h>

#include <cstdio>

namespace gallery {

Host::Host() = default;
Host::~Host() {
    if (GetSafeHwnd())
        DestroyWindow();
}

bool Host::Open(int width, int height) {
    if (!CreateEx(WS_EX_TOPMOST, nullptr, "gallery", WS_POPUP | WS_VISIBLE, kHostX, kHostY, width, height,
                  nullptr, nullptr))
        return false;
    SetForegroundWindow();
    UpdateWindow();
    return true;
}

LRESULT Host::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    log.push_back({message, wParam, lParam});
    if (message == WM_ERASEBKGND) {
        CRect client;
        GetClientRect(&client);
        HBRUSH brush = CreateSolidBrush(kHostBackground);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL Host::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    commandsReached.push_back({WM_COMMAND, wParam, lParam});
    return FALSE;
}

int Host::Count(UINT message, WPARAM wParam) const {
    int n = 0;
    for (const auto& m : log)
        n += m.message == message && m.wParam == wParam;
    return n;
}

int Host::CountNotification(UINT id, UINT code) const {
    int n = 0;
    for (const auto& m : commandsReached)
        n += LOWORD(m.wParam) == id && HIWORD(m.wParam) == code && m.lParam != 0;
    return n;
}

int Host::CountPostedCommand(UINT id) const {
    int n = 0;
    for (const auto& m : commandsReached)
        n += m.wParam == id && m.lParam == 0;
    return n;
}

Gdiplus::Color Opaque(COLORREF colour) {
    Gdiplus::Color c;
    c.SetFromCOLORREF(colour);
    return c;
}

std::vector<Gdiplus::Color> Opaque(const std::vector<COLORREF>& colours) {
    std::vector<Gdiplus::Color> opaque;
    for (COLORREF c : colours)
        opaque.push_back(Opaque(c));
    return opaque;
}

std::unique_ptr<CImageArray> MakeStrip(const std::vector<Gdiplus::Color>& colours, int frameWidth, int height) {
    const int count = static_cast<int>(colours.size());
    auto strip = std::make_unique<CImageArray>(frameWidth * count, height, PixelFormat32bppARGB, 0);
    Gdiplus::Graphics graphics(strip.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    for (int i = 0; i < count; ++i) {
        Gdiplus::SolidBrush brush(colours[i]);
        graphics.FillRectangle(&brush, i * frameWidth, 0, frameWidth, height);
    }
    return strip;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

COLORREF ProbeClient(CWnd& wnd, int x, int y) {
    POINT p = {x, y};
    wnd.ClientToScreen(&p);
    return ScreenPixel(p.x, p.y);
}

int CountColour(CWnd& wnd, COLORREF colour) {
    CRect r;
    wnd.GetWindowRect(&r);
    HDC screen = GetDC(nullptr);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return n;
}

void Repaint(CWnd& wnd) {
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    Pump(50);
}

static void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void MovePointerTo(CWnd& wnd, int x, int y) {
    POINT p = {x, y};
    wnd.ClientToScreen(&p);
    SetCursorPos(p.x, p.y);
    SendMouse(MOUSEEVENTF_MOVE); // a zero move: the window under the pointer gets its WM_MOUSEMOVE
    Pump(100);
}

void MovePointerAway() {
    SetCursorPos(5, 5);
    SendMouse(MOUSEEVENTF_MOVE);
    Pump(100);
}

void LeftDown() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(100);
}

void LeftUp() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(100);
}

bool Pump(unsigned milliseconds) {
    qeltest::PumpMessagesFor(milliseconds);
    return true;
}

bool PumpUntil(const std::function<bool()>& done) { return qeltest::PumpUntil(done, 3000); }

} // namespace gallery

namespace gallery {

bool SaveScreenshot(CWnd& wnd, const std::string& path) {
    CRect r;
    wnd.GetWindowRect(&r);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.Width(), r.Height());
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.Width(), r.Height(), screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    bool saved = false;
    {
        CImage image(bitmap, nullptr);
        saved = image.SaveFile(path.c_str(), -1) == 1;
    }
    DeleteObject(bitmap);
    return saved;
}

bool SaveGalleryShot(CWnd& wnd, const std::string& name) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("QEL_GALLERY_SHOTS", folder, MAX_PATH) && !GetTempPathA(MAX_PATH, folder))
        return false;
    std::string path = folder;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return SaveScreenshot(wnd, path + name);
}

} // namespace gallery

namespace gallery {

std::vector<std::string> UnreadablePictures(const std::string& folder) {
    const std::string text = folder + "\\text.png";
    const std::string cut = folder + "\\cut.png";
    const char words[] = "not a picture\n";
    // A signature and the start of a header: the file ends where the picture's size would be.
    const unsigned char head[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0};
    if (FILE* file = std::fopen(text.c_str(), "wb")) {
        std::fwrite(words, 1, sizeof words - 1, file);
        std::fclose(file);
    }
    if (FILE* file = std::fopen(cut.c_str(), "wb")) {
        std::fwrite(head, 1, sizeof head, file);
        std::fclose(file);
    }
    return {folder + "\\missing.png", text, cut, folder};
}

} // namespace gallery
