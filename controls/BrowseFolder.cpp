// CBrowseFolder: the shell's folder browser, its item list freed with the shell's allocator.
#include "BrowseFolder.h"

#include <qeldshow/com_ptr.h>

#include <cstring>

CBrowseFolder::CBrowseFolder() : m_flags(0), m_displayName(), m_root(NULL), m_title() {}

ULONG CBrowseFolder::ModifyStyle(ULONG add, ULONG remove) {
    m_flags = (m_flags & ~remove) | add;
    return m_flags;
}

ULONG CBrowseFolder::GetStyle() { return m_flags; }

void CBrowseFolder::SetTitle(char* title) {
    if (!title)
        return;
    strncpy(m_title, title, sizeof m_title - 1);
    m_title[sizeof m_title - 1] = '\0';
}

int CBrowseFolder::Show(HWND owner, char* path) {
    if (!path)
        return 2;
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = m_root;
    info.pszDisplayName = m_displayName;
    info.lpszTitle = m_title;
    info.ulFlags = m_flags;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return 1;
    const BOOL found = SHGetPathFromIDListA(chosen, path);
    qel::ComPtr<IMalloc> allocator;
    if (SUCCEEDED(SHGetMalloc(allocator.ReleaseAndGetAddressOf())) && allocator)
        allocator->Free(chosen);
    return found ? 0 : 2;
}
