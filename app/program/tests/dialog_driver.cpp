#include "dialog_driver.h"

#include <commctrl.h>
#include <objbase.h>

#include "program_windows.h"
#include "screen_probe.h"

namespace programtest {
namespace {

// Sends to the program with a limit, so a hung program fails the test instead of stopping it.
LRESULT SendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

} // namespace

void PressButton(HWND dialog, int id) { SendTo(::GetDlgItem(dialog, id), BM_CLICK); }

void ClickWindow(HWND window) {
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void MoveAside(HWND dialog) {
    RECT rect = {};
    ::GetWindowRect(dialog, &rect);
    const int width = rect.right - rect.left;
    ::SetWindowPos(dialog, nullptr, ::GetSystemMetrics(SM_CXSCREEN) - width, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsChecked(HWND dialog, int id) { return SendTo(::GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

bool IsShown(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }

int SliderPos(HWND dialog, int id) { return static_cast<int>(SendTo(::GetDlgItem(dialog, id), TBM_GETPOS)); }

void SliderRange(HWND dialog, int id, int* low, int* high) {
    *low = static_cast<int>(SendTo(::GetDlgItem(dialog, id), TBM_GETRANGEMIN));
    *high = static_cast<int>(SendTo(::GetDlgItem(dialog, id), TBM_GETRANGEMAX));
}

void DragSlider(HWND dialog, int id, int pos) {
    HWND slider = ::GetDlgItem(dialog, id);
    SendTo(slider, TBM_SETPOS, TRUE, pos);
    SendTo(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, pos), reinterpret_cast<LPARAM>(slider));
}

std::string ShootWindow(HWND window, const std::string& name) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return SaveScreenshot(rect, name);
}

EngineCallLog::EngineCallLog() = default;

HRESULT EngineCallLog::Add(REFCLSID clsid) {
    HRESULT hr = module_.Register(clsid);
    if (FAILED(hr))
        return hr;
    ::DeleteFileW(FileOf(clsid).c_str());
    hr = module_.SetLogFile(clsid, FileOf(clsid));
    if (SUCCEEDED(hr))
        classes_.push_back(clsid);
    return hr;
}

std::vector<std::string> EngineCallLog::Calls(REFCLSID clsid) const {
    std::vector<std::string> calls;
    for (const std::string& line : standin::ReadLogFile(FileOf(clsid))) {
        const size_t blank = line.find(' ');
        calls.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
    }
    return calls;
}

void EngineCallLog::Clear() {
    for (const CLSID& clsid : classes_)
        ::DeleteFileW(FileOf(clsid).c_str());
}

std::wstring EngineCallLog::FileOf(REFCLSID clsid) const {
    wchar_t text[64] = {};
    ::StringFromGUID2(clsid, text, 64);
    return Widen(dir_.Path()) + L"\\" + text + L".log";
}

} // namespace programtest
