#include "afxhook.h"

#include <atomic>

namespace {
std::atomic<AFX_MESSAGEBOX_HOOK> g_messageBoxHook{nullptr};
std::atomic<AFX_MODAL_HOOK> g_modalHook{nullptr};
}

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK hook) {
    return g_messageBoxHook.exchange(hook);
}

int AfxShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (AFX_MESSAGEBOX_HOOK hook = g_messageBoxHook.load())
        return hook(owner, text ? text : "", caption ? caption : "", type);
    return MessageBoxA(owner, text, caption, type);
}

AFX_MODAL_HOOK AfxSetModalHook(AFX_MODAL_HOOK hook) {
    return g_modalHook.exchange(hook);
}

AFX_MODAL_HOOK AfxGetModalHook() {
    return g_modalHook.load();
}
