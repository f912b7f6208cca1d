#include "program_windows.h"

#include <string.h>

namespace programtest {

HWND FindChildById(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search = {id, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) == s->id)
                s->found = child;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD pid, const char* className) {
    struct Search {
        DWORD pid;
        const char* className;
        std::vector<HWND> found;
    } search = {pid, className, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char cls[64] = {};
            ::GetClassNameA(window, cls, sizeof cls);
            if (owner == s->pid && std::string(cls) == s->className && ::IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

void ClickButton(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void PostClick(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The file dialog of the program's process, once it shows.
HWND WaitForFileDialog(DWORD pid, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        for (HWND window : VisibleTopLevelWindows(pid, "#32770"))
            if (FindChildById(window, 1148) || FindChildById(window, 1152))
                return window;
        ::Sleep(50);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
    return nullptr;
}

// The file name box of the dialog: an edit of its own, or the one inside the name combo box.
HWND FileNameEdit(HWND dialog) {
    HWND name = FindChildById(dialog, 1152);
    if (!name)
        name = FindChildById(dialog, 1148);
    char cls[64] = {};
    ::GetClassNameA(name, cls, sizeof cls);
    if (name && _stricmp(cls, "Edit") != 0)
        name = ::FindWindowExA(name, nullptr, "Edit", nullptr) ? ::FindWindowExA(name, nullptr, "Edit", nullptr)
                                                               : name;
    return name;
}

bool AcceptFileDialogWith(HWND dialog, const std::string& path) {
    HWND name = FileNameEdit(dialog);
    if (!name)
        return false;
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    return true;
}

} // namespace programtest
