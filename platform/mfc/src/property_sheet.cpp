// Property sheets and pages: the system's sheet with our page objects attached to its pages.
#include "afxdlgs.h"

#include "msg_dispatch.h"

INT_PTR CALLBACK QelPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The page's object rides in the page description; attach it before anything else.
        const PROPSHEETPAGEA* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        CPropertyPage* page = reinterpret_cast<CPropertyPage*>(description->lParam);
        if (!page || page->m_hWnd)
            return FALSE;
        QelWndAccess::Hook(page, window);
        return page->OnInitDialog();
    }
    return AfxDlgProc(window, message, wParam, lParam);
}

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId), m_psp() {
    m_psp.dwSize = sizeof m_psp;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = &QelPageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId && m_strCaption.LoadString(captionId)) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
}

CPropertyPage::~CPropertyPage() = default;

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

// A page is ended by its sheet: OK and Cancel only take the page's data or leave it.
void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL changed) {
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet)
        ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
    if (HWND sheet = ::GetParent(m_hWnd))
        ::SendMessageA(sheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
    : m_psh(), m_strCaption(caption), m_pParentWnd(parent), m_nStartPage(selectPage), m_nModalResult(-1) {
    m_psh.dwSize = sizeof m_psh;
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : m_psh(), m_pParentWnd(parent), m_nStartPage(selectPage), m_nModalResult(-1) {
    m_psh.dwSize = sizeof m_psh;
    m_strCaption.LoadString(captionId);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.Add(page);
    if (m_hWnd) {
        HPROPSHEETPAGE handle = ::CreatePropertySheetPageA(&page->m_psp);
        ::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle));
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page) {
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i) {
        if (m_pages[i] == page) {
            if (m_hWnd)
                ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, i, 0);
            m_pages.RemoveAt(i);
            return;
        }
    }
}

int CPropertySheet::GetPageCount() const {
    return static_cast<int>(m_pages.GetSize());
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return static_cast<CPropertyPage*>(m_pages.GetAt(index));
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    if (!m_hWnd)
        return m_nStartPage < static_cast<UINT>(GetPageCount()) ? GetPage(m_nStartPage) : nullptr;
    return static_cast<CPropertyPage*>(
        CWnd::FromHandlePermanent(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0))));
}

int CPropertySheet::GetActiveIndex() const {
    CPropertyPage* active = GetActivePage();
    for (int i = 0; i < GetPageCount(); ++i)
        if (GetPage(i) == active)
            return i;
    return -1;
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (!m_hWnd) {
        m_nStartPage = index;
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessageA(m_hWnd, PSM_SETCURSEL, index, 0));
}

void CPropertySheet::SetTitle(LPCSTR title, UINT style) {
    m_strCaption = title;
    if (m_hWnd)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, style, reinterpret_cast<LPARAM>(title));
}

BOOL CPropertySheet::OnInitDialog() {
    return TRUE;
}

INT_PTR CPropertySheet::DoModal() {
    const int count = GetPageCount();
    if (count == 0)
        return -1;
    HPROPSHEETPAGE* handles = new HPROPSHEETPAGE[count];
    for (int i = 0; i < count; ++i)
        handles[i] = ::CreatePropertySheetPageA(&GetPage(i)->m_psp);
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = parent ? ::GetAncestor(parent->GetSafeHwnd(), GA_ROOT) : nullptr;
    PROPSHEETHEADERA header = m_psh;
    header.dwSize = sizeof header;
    header.dwFlags = (m_psh.dwFlags | PSH_MODELESS) & ~PSH_PROPSHEETPAGE;
    header.hwndParent = owner;
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = m_strCaption;
    header.nPages = count;
    header.nStartPage = m_nStartPage;
    header.phpage = handles;
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
    delete[] handles;
    if (!sheet || sheet == reinterpret_cast<HWND>(-1))
        return -1;
    Attach(sheet);
    OnInitDialog();
    const BOOL ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);

    // The sheet has ended when it has no current page any more.
    auto ended = [sheet] { return ::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0; };
    auto pump = [sheet, &ended](bool wait) {
        MSG msg;
        while (!ended() && (wait ? ::GetMessageA(&msg, nullptr, 0, 0) > 0
                                 : ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE)) {
            if (!::SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg))) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    };
    if (AFX_MODAL_HOOK hook = AfxGetModalHook()) {
        const INT_PTR answer = hook(sheet, AFX_MODAL_SHEET);
        pump(false);
        if (!ended())
            ::SendMessageA(sheet, PSM_PRESSBUTTON, answer == IDOK ? PSBTN_OK : PSBTN_CANCEL, 0);
        pump(false);
    } else {
        pump(true);
    }
    const LRESULT result = ::SendMessageA(sheet, PSM_GETRESULT, 0, 0);
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    Detach();
    ::DestroyWindow(sheet);
    return result > 0 ? IDOK : IDCANCEL;
}
