#include "folder_browser.h"

#include <commctrl.h>
#include <shlobj.h>

#include "program_windows.h"

namespace programtest {
namespace {

HWND TreeOf(HWND dialog) {
    return ::FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
}

// A copy of text in another process's memory, freed at the end.
class RemoteText {
public:
    RemoteText(DWORD pid, const std::string& text) {
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_)
            return;
        address_ =
            ::VirtualAllocEx(process_, nullptr, text.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (address_ && !::WriteProcessMemory(process_, address_, text.c_str(), text.size() + 1, nullptr)) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
            address_ = nullptr;
        }
    }
    ~RemoteText() {
        if (address_)
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            ::CloseHandle(process_);
    }
    RemoteText(const RemoteText&) = delete;
    RemoteText& operator=(const RemoteText&) = delete;

    void* Address() const { return address_; }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace

HWND WaitForFolderBrowser(DWORD pid, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        for (HWND window : VisibleTopLevelWindows(pid, "#32770"))
            if (TreeOf(window))
                return window;
        ::Sleep(50);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
    return nullptr;
}

namespace {

// bytes: the path as the message takes it, with its terminating zero but the last byte (RemoteText adds it).
std::string Pick(HWND browser, DWORD pid, const std::string& bytes, UINT message, const std::string& shown,
                 DWORD ms) {
    HWND tree = TreeOf(browser);
    if (!tree)
        return "the browser has no tree";
    const LRESULT root = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    RemoteText path(pid, bytes);
    if (!path.Address())
        return "the path could not be placed in the program's memory: error " + std::to_string(::GetLastError());
    // A deep folder may need a second try while the tree is still being filled.
    const DWORD start = ::GetTickCount();
    LRESULT selected = 0;
    do {
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutA(browser, message, TRUE, reinterpret_cast<LPARAM>(path.Address()), SMTO_NORMAL, ms,
                                   &ignored))
            return "the browser did not answer the selection";
        selected = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (selected && selected != root)
            break;
        ::Sleep(200);
    } while (::GetTickCount() - start < ms);
    if (!selected || selected == root)
        return "the browser's tree did not select " + shown;
    ::PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(browser, IDOK)));
    const DWORD end = ::GetTickCount() + ms;
    while (::IsWindow(browser) && static_cast<LONG>(end - ::GetTickCount()) > 0)
        ::Sleep(50);
    return ::IsWindow(browser) ? "the browser stayed open" : "";
}

} // namespace

std::string PickFolder(HWND browser, DWORD pid, const std::string& folder, DWORD ms) {
    return Pick(browser, pid, folder, BFFM_SETSELECTIONA, folder, ms);
}

std::string PickFolder(HWND browser, DWORD pid, const std::wstring& folder, DWORD ms) {
    std::string bytes(reinterpret_cast<const char*>(folder.c_str()), (folder.size() + 1) * sizeof(wchar_t) - 1);
    return Pick(browser, pid, bytes, BFFM_SETSELECTIONW, "a folder named in letters the code page lacks", ms);
}

} // namespace programtest
