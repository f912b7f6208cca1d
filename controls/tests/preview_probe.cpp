// Runs the preview file dialog on a folder and reports what the preview showed as the selection moved
// over a wide picture, a folder, a small picture and a text file; then cancels. Started by the
// dialog tests with an old system version, where the dialog's hook is installed.
// Usage: preview_probe <folder> <report file>
#include <objidl.h>
#include <gdiplus.h>

#include "dialog_driver.h"

#include <PreviewFileDlg.h>
#include <qelImage.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

CPreviewFileDlg* g_dialog = nullptr;
std::string g_report;
int g_step = 0;

HWND FileList(HWND dialog) {
    HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

bool Select(HWND list, const char* prefix) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[MAX_PATH] = {};
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        if (std::strncmp(text, prefix, std::strlen(prefix)) != 0)
            continue;
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = 0;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
        return true;
    }
    return false;
}

void Note(const std::string& line) { g_report += line + "\n"; }

void NoteThumbnail(const char* name) {
    char line[64];
    if (g_dialog->m_pThumbnail)
        std::snprintf(line, sizeof line, "%s %u %u", name, g_dialog->m_pThumbnail->Width(),
                      g_dialog->m_pThumbnail->Height());
    else
        std::snprintf(line, sizeof line, "%s none", name);
    Note(line);
}

// One step a tick, on the dialog's own thread (its modal loop dispatches the timer).
void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = gallery::FindThreadDialog(GetCurrentThreadId());
    HWND list = dialog ? FileList(dialog) : nullptr;
    if (!list)
        return;
    const char* names[] = {"wide", "sub", "small", "notes"};
    switch (g_step++) {
    case 0:
        Note(std::string("hook ") + (g_dialog->m_hookDlg ? "1" : "0"));
        Note(std::string("list ") + (GetDlgItem(dialog, 1120) ? "1" : "0"));
        Note(std::string("preview ") + (g_dialog->m_previewCtrl && IsWindowVisible(g_dialog->m_previewCtrl) ? "1" : "0"));
        if (!Select(list, names[0]))
            Note("missing wide");
        break;
    case 1:
    case 2:
    case 3:
        NoteThumbnail(g_step == 2 ? "wide" : g_step == 3 ? "folder" : "small");
        if (!Select(list, names[g_step - 1]))
            Note(std::string("missing ") + names[g_step - 1]);
        break;
    default:
        NoteThumbnail("text");
        Note("selections " + std::to_string(g_dialog->GetSelectFileNum()));
        KillTimer(nullptr, timer);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 3;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    Note("version " + std::to_string(version.dwMajorVersion));
    {
        CPreviewFileDlg dialog(TRUE, nullptr, nullptr, argv[1], OFN_ENABLETEMPLATE, "All files\0*.*\0\0", nullptr,
                               GetModuleHandleA("qelControl.dll"));
        dialog.GetOPENFILENAME()->lpTemplateName = MAKEINTRESOURCEA(IDD_QEL_PREVIEW_TEMPLATE);
        g_dialog = &dialog;
        SetTimer(nullptr, 0, 400, &Step);
        Note("result " + std::to_string(dialog.DoModal()));
        g_dialog = nullptr;
    }
    Gdiplus::GdiplusShutdown(token);
    FILE* out = std::fopen(argv[2], "w");
    if (!out)
        return 4;
    std::fputs(g_report.c_str(), out);
    std::fclose(out);
    return 0;
}
