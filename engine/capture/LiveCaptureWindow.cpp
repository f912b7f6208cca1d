// Window procedure of the engine's "STATIC" child: the sink of the grabber's, the polling thread's and
// the graph's messages, which it turns into calls of the host's kept procedure. Every engine message
// carries its engine object in lParam.
#include "LiveCaptureInternal.h"

LRESULT CALLBACK CLiveCapture::s_InterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CLiveCapture* engine = reinterpret_cast<CLiveCapture*>(lParam);
    switch (message) {
    case WM_LIVECAP_SNAPSHOT:
        if (!engine)
            return 1;
        return engine->xOnSnapshotTaken(wParam);
    case WM_LIVECAP_FILELIMIT:
    case WM_LIVECAP_LOWDISK:
        if (!engine)
            return 1;
        // The host hears of the limit with the capture already stopped, also when none was running;
        // a watch's notice for a capture that another path ended already is not passed on.
        if (engine->m_state != LIVE_CAPTURING && engine->m_bCaptureEnded)
            return 1;
        if (engine->m_state == LIVE_CAPTURING)
            engine->StopCapture();
        engine->xNotifyHost(message, 0, 1);
        return 1;
    case WM_LIVECAP_GRAPHNOTIFY: {
        if (!engine)
            return 1;
        long notification = 0, notificationWParam = 0, notificationLParam = 0;
        if (engine->m_pMediaEvent &&
            engine->HandleDirectShowNotify(&notification, &notificationWParam, &notificationLParam))
            engine->xNotifyHost(static_cast<UINT>(notification), static_cast<WPARAM>(notificationWParam),
                                static_cast<LPARAM>(notificationLParam));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
