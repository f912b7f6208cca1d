#include "notify_host.h"

#include <Vostrel.h>

#include "qeltest/pump.h"

namespace apptest {

namespace {
const char kClass[] = "ZentrikTestMainDialog";
}

NotifyHost::NotifyHost() {
    WNDCLASSA type = {};
    type.lpfnWndProc = &NotifyHost::Procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = kClass;
    RegisterClassA(&type); // a second registration fails and the first serves
    window_ = CreateWindowA(kClass, "capture controller test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640,
                            480, nullptr, nullptr, type.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NotifyHost::~NotifyHost() {
    if (window_)
        DestroyWindow(window_);
}

bool NotifyHost::WaitFor(UINT message, unsigned timeoutMs) const {
    return qeltest::PumpUntil(
        [&] {
            for (const Notification& seen : received_)
                if (seen.message == message)
                    return true;
            return false;
        },
        timeoutMs);
}

LRESULT CALLBACK NotifyHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NotifyHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= WM_LIVECAP_SNAPSHOT && message <= WM_LIVECAP_LOWDISK)
        self->received_.push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace apptest
