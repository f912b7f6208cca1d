// The library's entry point and its GDI+ start-up (snapshots are encoded through GDI+).
#include <afxwin.h>

#include <objbase.h>
#include <gdiplus.h>

namespace {

AFX_EXTENSION_MODULE g_vostrelModule = {};

// Starts GDI+ when the library loads and shuts it down exactly once when it unloads.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, background thread, codecs
        if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok)
            m_token = 0;
    }
    ~GdiplusSession() {
        if (m_token)
            Gdiplus::GdiplusShutdown(m_token);
        m_token = 0;
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

GdiplusSession g_gdiplus;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (!AfxInitExtensionModule(g_vostrelModule, instance))
            return 0;
        CoInitialize(nullptr);
        return 1;
    case DLL_PROCESS_DETACH:
        CoUninitialize();
        AfxTermExtensionModule(g_vostrelModule, FALSE);
        return 1;
    default:
        return 1;
    }
}
