#include "ProgramGlobals.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>

#include "ThumbMaker.h"

const UINT g_zentrikMessage = ::RegisterWindowMessageA("QEL_ZENTRIK_MESSAGE");
CString g_windowTitle;
CString g_skinFolder;
char g_skinSettingsPath[MAX_PATH] = {};
CStringList g_cameraNames;
CStringList g_audioDeviceNames;
CDWordArray g_captureSizes;

namespace {

// GDI+ for the whole run: started at load, before any image, and shut down at exit only once no
// thumbnail job is inside it or can enter it. A job stuck in a decode keeps it up to the end of the
// process, which is harmless; shutting it down under the job is not.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() {
        if (token_ && StopThumbnailMaking())
            Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

GdiplusSession g_gdiplus;

} // namespace

void CALLBACK OnPlaybackProgress(LONGLONG /*start*/, LONGLONG stop, LONGLONG current, DWORD /*user*/) {
    // Whole positions, not their low 32 bits: those wrap after about 429 s and the end is never seen.
    static_assert(sizeof(WPARAM) >= sizeof(LONGLONG) && sizeof(LPARAM) >= sizeof(LONGLONG), "64-bit positions");
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd())
        return;
    // A report is dropped rather than waited for: the window may be busy in a call of its own, and a
    // report that waits for it holds the playback's reporting (and its stop) with it.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(main->m_hWnd, WM_ZENTRIK_PLAY_PROGRESS, static_cast<WPARAM>(current),
                          static_cast<LPARAM>(stop), SMTO_NORMAL, kPlaybackReportLimitMs, &answer);
}
