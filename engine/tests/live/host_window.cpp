#include "host_window.h"

#include <cstring>

namespace enginetest {
namespace {
const char kClassName[] = "EngineTestHost";

BOOL CALLBACK CollectStatic(HWND child, LPARAM list) {
    char name[32] = {0};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Static") == 0)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}
} // namespace

HostWindow::HostWindow(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &HostWindow::Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&wc); // fails harmlessly when a previous window registered it
    hwnd_ = CreateWindowA(kClassName, "engine test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                          width, height, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostWindow::~HostWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

HINSTANCE HostWindow::Instance() const {
    return GetModuleHandleA(nullptr);
}

std::vector<HWND> HostWindow::StaticChildren() const {
    std::vector<HWND> children;
    EnumChildWindows(hwnd_, &CollectStatic, reinterpret_cast<LPARAM>(&children));
    return children;
}

LRESULT CALLBACK HostWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message >= 0x431 && message <= 0x435) {
        self->notifications_.push_back({message, wParam, lParam});
        if (self->observer_)
            self->observer_(self->notifications_.back());
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace enginetest
