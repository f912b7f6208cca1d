// The open/save file dialog, run through the modal hook.
#include "afxdlgs.h"

#include <cstring>

#include "app_state.h"

namespace {

// The hook dialog's state while a routed file dialog runs on this thread.
struct FileDialogRun {
    LPOFNHOOKPROC callerHook; // the caller's own hook, still served
    bool answered;
};
thread_local FileDialogRun* t_run = nullptr;

UINT_PTR CALLBACK RoutingHook(HWND hookDialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FileDialogRun* run = t_run;
    UINT_PTR result = 0;
    if (run && run->callerHook)
        result = run->callerHook(hookDialog, message, wParam, lParam);
    if (run && !run->answered && message == WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_INITDONE)) {
        run->answered = true;
        HWND dialog = ::GetParent(hookDialog);
        if (AFX_MODAL_HOOK hook = AfxGetModalHook()) {
            const INT_PTR answer = hook(dialog, AFX_MODAL_FILE);
            // Pressed after the dialog's own set-up ends: the press is handled by the dialog's loop.
            if (::IsWindow(dialog))
                ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer == IDOK ? IDOK : IDCANCEL, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(dialog, answer == IDOK ? IDOK : IDCANCEL)));
        }
    }
    return result;
}

void SplitFilter(CString& filter) {
    // "text|pattern|...||" -> "text\0pattern\0...\0\0" in place.
    LPSTR text = filter.GetBuffer(filter.GetLength() + 1);
    for (LPSTR p = text; *p; ++p)
        if (*p == '|')
            *p = '\0';
}

} // namespace

BOOL AFXAPI AfxGetFileName(OPENFILENAMEA* ofn, BOOL save) {
    if (!ofn)
        return FALSE;
    // The 32-bit layout's size names the same fields here; anything else is passed on unchanged.
    if (ofn->lStructSize == 76)
        ofn->lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    if (!AfxGetModalHook())
        return save ? ::GetSaveFileNameA(ofn) : ::GetOpenFileNameA(ofn);

    FileDialogRun run = {(ofn->Flags & OFN_ENABLEHOOK) ? ofn->lpfnHook : nullptr, false};
    const DWORD flags = ofn->Flags;
    const LPOFNHOOKPROC hook = ofn->lpfnHook;
    ofn->Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
    ofn->lpfnHook = &RoutingHook;
    FileDialogRun* outer = t_run;
    t_run = &run;
    const BOOL result = save ? ::GetSaveFileNameA(ofn) : ::GetOpenFileNameA(ofn);
    t_run = outer;
    ofn->Flags = flags;
    ofn->lpfnHook = hook;
    return result;
}

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                         LPCSTR filter, CWnd* parent, DWORD size)
    : m_ofn(), m_bOpenFileDialog(openFileDialog), m_szFileName(), m_szFileTitle() {
    m_pParentWnd = parent;
    m_ofn.lStructSize = size ? size : sizeof m_ofn;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (fileName)
        lstrcpynA(m_szFileName, fileName, sizeof m_szFileName);
    if (defaultExtension) {
        m_strDefExt = defaultExtension;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (filter) {
        m_strFilter = filter;
        SplitFilter(m_strFilter);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    m_ofn.hwndOwner = parent ? parent->GetSafeHwnd() : nullptr;
    return AfxGetFileName(&m_ofn, !m_bOpenFileDialog) ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT))
        return CString(m_ofn.lpstrFile);
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFileName() const {
    const CString path = GetPathName();
    const int slash = path.ReverseFind('\\');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const {
    const CString path = GetPathName();
    const int slash = path.ReverseFind('\\');
    return slash >= 0 ? path.Left(slash) : CString();
}

BOOL CFileDialog::GetReadOnlyPref() const {
    return (m_ofn.Flags & OFN_READONLY) != 0;
}

// A multi-selection is the folder, then each name, each ended by a zero; a single choice is one path.
POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile[0] ? reinterpret_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    LPCSTR current = reinterpret_cast<LPCSTR>(pos);
    LPCSTR first = m_ofn.lpstrFile;
    const size_t firstLength = std::strlen(first);
    const bool multiple = (m_ofn.Flags & OFN_ALLOWMULTISELECT) && first[firstLength + 1] != '\0';
    if (!multiple) {
        pos = nullptr;
        return CString(first);
    }
    if (current == first)
        current = first + firstLength + 1;
    CString path(first);
    if (path.Right(1) != "\\")
        path += '\\';
    path += current;
    LPCSTR next = current + std::strlen(current) + 1;
    pos = *next ? reinterpret_cast<POSITION>(const_cast<LPSTR>(next)) : nullptr;
    return path;
}
