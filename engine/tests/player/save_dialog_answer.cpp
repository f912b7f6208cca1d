#include "save_dialog_answer.h"

namespace playertest {
namespace {

struct Search {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (GetWindowThreadProcessId(window, nullptr) == search->thread && lstrcmpA(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

SaveDialogAnswer::SaveDialogAnswer(const std::string& fileName)
    : fileName_(fileName), dialogThread_(GetCurrentThreadId()), worker_([this] { Run(); }) {}

SaveDialogAnswer::~SaveDialogAnswer() {
    stop_ = true;
    worker_.join();
}

void SaveDialogAnswer::Run() {
    while (!stop_) {
        Search search{dialogThread_, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(50);
            continue;
        }
        Sleep(200); // let the dialog finish its set-up
        if (fileName_.empty()) {
            PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
        } else {
            // The file name box: a combo box in the explorer-style dialog, an edit box in the old one.
            HWND name = GetDlgItem(search.found, 0x47C);
            if (!name)
                name = GetDlgItem(search.found, 0x480);
            SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName_.c_str()));
            PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
        }
        answered_ = true;
        return;
    }
}

} // namespace playertest
