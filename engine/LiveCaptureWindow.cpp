// Window procedure of the engine's "STATIC" child: the sink of the grabber's, the polling thread's and
// the graph's messages. Every engine message carries its engine object in lParam.
#include "LiveCaptureInternal.h"

LRESULT CALLBACK CLiveCapture::s_InterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LIVECAP_FILELIMIT:
    case WM_LIVECAP_LOWDISK: {
        // From the limit watch: the capture stops here, then the host hears of it.
        CLiveCapture* engine = reinterpret_cast<CLiveCapture*>(lParam);
        if (!engine)
            return 1;
        if (engine->m_state == LIVE_CAPTURING)
            engine->StopCapture();
        if (engine->m_pfnNotifyProc)
            CallWindowProcA(engine->m_pfnNotifyProc, engine->m_hNotifyWnd, message, 0, 1);
        return 1;
    }
    case WM_LIVECAP_SNAPSHOT:
    case WM_LIVECAP_GRAPHNOTIFY:
        if (!reinterpret_cast<CLiveCapture*>(lParam))
            return 1;
        // Snapshot saving and the translation of graph events into the host's notifications are
        // the notification layer's work; until it is in, these messages get the default handling.
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
