// Window procedure of the engine's "STATIC" child: the sink of the grabber's, the polling thread's and
// the graph's messages. Every engine message carries its engine object in lParam.
#include "LiveCaptureInternal.h"

LRESULT CALLBACK CLiveCapture::s_InterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LIVECAP_SNAPSHOT:
    case WM_LIVECAP_FILELIMIT:
    case WM_LIVECAP_LOWDISK:
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
