#pragma once
// The gallery: a top-most host window that logs every message it gets and holds the controls under
// test, strips of one flat colour per frame, screen probes and the real pointer.
#include <windows.h>

#include <afxwin.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CImageArray;

namespace gallery {

struct LoggedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Host : public CWnd {
public:
    Host();
    ~Host() override;
    bool Open(int width, int height);

    std::vector<LoggedMessage> log;      // every message the window procedure saw
    std::vector<LoggedMessage> commandsReached; // WM_COMMANDs no child consumed by reflection

    int Count(UINT message, WPARAM wParam) const;
    // Commands that reached the parent: from the control's window (a notification, lParam the control)
    // or posted without one (lParam 0).
    int CountNotification(UINT id, UINT code) const;
    int CountPostedCommand(UINT id) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

constexpr COLORREF kHostBackground = RGB(64, 64, 64);
constexpr int kHostX = 40;
constexpr int kHostY = 40;

// Frame i filled with colours[i] (alpha 255 unless the colour list says otherwise).
std::unique_ptr<CImageArray> MakeStrip(const std::vector<Gdiplus::Color>& colours, int frameWidth, int height);
Gdiplus::Color Opaque(COLORREF colour);
std::vector<Gdiplus::Color> Opaque(const std::vector<COLORREF>& colours);

COLORREF ScreenPixel(int x, int y);
COLORREF ProbeClient(CWnd& wnd, int x, int y);
// Number of pixels of exactly this colour in the window.
int CountColour(CWnd& wnd, COLORREF colour);

void Repaint(CWnd& wnd);
// The window as the screen shows it, as a PNG file.
bool SaveScreenshot(CWnd& wnd, const std::string& path);
// The same, named name in the folder QEL_GALLERY_SHOTS names (for a person to look at), else the temp folder.
bool SaveGalleryShot(CWnd& wnd, const std::string& name);
void MovePointerTo(CWnd& wnd, int x, int y); // client coordinates of wnd; pumps afterwards
void MovePointerAway();
void LeftDown();
void LeftUp();
bool Pump(unsigned milliseconds);
bool PumpUntil(const std::function<bool()>& done);

// Picture files a control's file loader cannot read, made in folder: a missing file, a text file named
// .png, a PNG cut after its header, and the folder itself.
std::vector<std::string> UnreadablePictures(const std::string& folder);

} // namespace gallery
