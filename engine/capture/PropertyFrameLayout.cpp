#include "PropertyFrameLayout.h"

#include <cstring>
#include <memory>

VOSTREL_TEST_API volatile LONG g_propertyFrameClosed = 0;

namespace {

constexpr int kTitleChars = 100;  // 99 and the terminator
constexpr int kSearches = 41;
constexpr DWORD kSearchSleepMs = 100;

bool FrameClosed() { return InterlockedCompareExchange(&g_propertyFrameClosed, 0, 0) != 0; }

HWND FirstChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

RECT WindowRectOf(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

void GrowBy(HWND window, const RECT& rect, int growth) {
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + growth,
                 SWP_NOMOVE | SWP_NOZORDER);
}

DWORD WINAPI LayoutThread(LPVOID parameter) {
    const std::unique_ptr<char[]> title(static_cast<char*>(parameter));
    if (!GetDesktopWindow())
        return 0;
    const HWND frame = FindPropertyFrame(title.get(), kSearches, kSearchSleepMs);
    if (frame)
        LayOutPropertyFrame(frame);
    return 0;
}

} // namespace

bool FrameTitleMatches(const char* windowText, const char* title) {
    if (!windowText || !title)
        return false;
    const size_t length = std::strlen(title);
    return std::strlen(windowText) >= length && _strnicmp(windowText, title, length) == 0;
}

int PageGrowth(const RECT& innerPage, const std::vector<RECT>& childRects) {
    for (const RECT& child : childRects) {
        const int over = child.bottom - innerPage.bottom + 20;
        if (over > 0)
            return over;
    }
    return 0;
}

HWND FindPropertyFrame(const char* title, int searches, DWORD sleepMs) {
    HWND last = nullptr;
    for (int search = 0; search < searches; ++search) {
        Sleep(sleepMs);
        if (FrameClosed())
            return nullptr;
        last = FindWindowExA(nullptr, last, "#32770", nullptr);
        if (!last)
            continue;  // from the first one again next time
        char text[kTitleChars] = {0};
        GetWindowTextA(last, text, kTitleChars);
        if (FrameTitleMatches(text, title))
            return last;
    }
    return nullptr;
}

bool LayOutPropertyFrame(HWND frame) {
    const RECT frameRect = WindowRectOf(frame);
    const HWND outer = FirstChildOfClass(frame, "#32770");
    const HWND inner = outer ? FirstChildOfClass(outer, "#32770") : nullptr;
    if (!inner)
        return false;
    const HWND tab = FirstChildOfClass(frame, "SysTabControl32");
    const RECT outerRect = WindowRectOf(outer);
    const RECT innerRect = WindowRectOf(inner);

    std::vector<RECT> children;
    for (HWND child = GetWindow(inner, GW_CHILD); child && !FrameClosed(); child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(WindowRectOf(child));
    const int growth = PageGrowth(innerRect, children);
    if (growth <= 0)
        return false;

    for (HWND button = FindWindowExA(frame, nullptr, "Button", nullptr); button && !FrameClosed();
         button = FindWindowExA(frame, button, "Button", nullptr)) {
        const RECT rect = WindowRectOf(button);
        POINT corner = {rect.left, rect.top};
        ScreenToClient(frame, &corner);
        SetWindowPos(button, nullptr, corner.x, corner.y + growth, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    GrowBy(outer, outerRect, growth);
    GrowBy(inner, innerRect, growth);
    GrowBy(frame, frameRect, growth);
    if (tab)
        GrowBy(tab, WindowRectOf(tab), growth);
    return true;
}

void StartPropertyFrameLayout(const WCHAR* title) {
    char* copy = new char[kTitleChars]();
    WideCharToMultiByte(CP_ACP, 0, title, -1, copy, kTitleChars - 1, nullptr, nullptr);
    DWORD id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, LayoutThread, copy, CREATE_SUSPENDED, &id);
    if (!thread) {
        delete[] copy;
        return;
    }
    ResumeThread(thread);
    CloseHandle(thread);
}
