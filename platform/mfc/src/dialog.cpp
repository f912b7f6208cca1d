// CDialog: modeless and modal dialogs from templates found through the resource handle, and DDX.
#include "afxwin.h"

#include "app_state.h"
#include "msg_dispatch.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    CDialog* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(window));
    if (!dialog || !dialog->IsKindOf(RUNTIME_CLASS(CDialog)))
        return FALSE;
    if (message == WM_INITDIALOG)
        return dialog->OnInitDialog();
    if (message == WM_SETFONT)
        dialog->OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return FALSE;
}

CDialog::CDialog()
    : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr), m_nModalResult(-1), m_bModal(FALSE) {}

CDialog::CDialog(UINT templateId, CWnd* parent) : CDialog() {
    m_lpszTemplateName = MAKEINTRESOURCEA(templateId);
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : CDialog() {
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
}

CDialog::~CDialog() = default;

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    return Create(MAKEINTRESOURCEA(templateId), parent);
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent) {
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName))
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(templateName));
    m_pParentWnd = parent;
    return CreateFromTemplate(templateName, parent);
}

BOOL CDialog::CreateFromTemplate(LPCSTR templateName, CWnd* parent) {
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd() && AfxGetMainWnd() != this)
        owner = AfxGetMainWnd()->m_hWnd;
    QelWndAccess::BeginCreation(this);
    HWND window = ::CreateDialogParamA(AfxGetResourceHandle(), templateName, owner, &AfxDlgProc, 0);
    QelWndAccess::EndCreation(this);
    return window != nullptr && window == m_hWnd;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parent) {
    m_pParentWnd = parent;
    QelWndAccess::BeginCreation(this);
    HWND window = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), dialogTemplate,
                                               parent ? parent->m_hWnd : nullptr, &AfxDlgProc, 0);
    QelWndAccess::EndCreation(this);
    return window != nullptr && window == m_hWnd;
}

INT_PTR CDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = parent && parent != this ? parent->GetSafeHwnd() : nullptr;
    if (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetAncestor(owner, GA_ROOT);
    m_bModal = TRUE;
    m_nModalResult = -1;
    if (!CreateFromTemplate(m_lpszTemplateName, owner ? CWnd::FromHandle(owner) : nullptr)) {
        m_bModal = FALSE;
        return -1;
    }
    const BOOL ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    const INT_PTR result = RunModal(owner);
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (m_hWnd)
        DestroyWindow();
    m_bModal = FALSE;
    return result;
}

INT_PTR CDialog::RunModal(HWND /*disabledOwner*/) {
    if (!(GetStyle() & WS_VISIBLE))
        ShowWindow(SW_SHOWNORMAL);
    if (AFX_MODAL_HOOK hook = AfxGetModalHook()) {
        const INT_PTR answer = hook(m_hWnd, AFX_MODAL_DIALOG);
        // What the hook posted is handled before its answer counts.
        MSG msg;
        while (m_nModalResult == -1 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (m_nModalResult == -1)
            EndDialog(static_cast<int>(answer));
        return m_nModalResult;
    }
    MSG msg;
    while (m_nModalResult == -1) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam)); // the program's loop still has to end
            EndDialog(IDCANCEL);
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (!m_hWnd && m_nModalResult == -1)
            m_nModalResult = IDABORT; // destroyed without EndDialog
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    if (m_bModal)
        m_nModalResult = result;
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // Keys for this dialog and its controls: Tab, arrows, Enter and Escape work as in any dialog.
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Commands the dialog does not handle go to its owner's frame, then the application.
    CWinApp* app = AfxGetApp();
    return app && nCode == CN_COMMAND && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::SetDefID(UINT id) {
    SendMessage(DM_SETDEFID, id);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT rect) const {
    ::MapDialogRect(m_hWnd, rect);
}

// DDX.
CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd), m_hWndLastControl(nullptr) {}

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    if (!control)
        Fail();
    m_hWndLastControl = control;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    return PrepareCtrl(id);
}

void CDataExchange::Fail() {
    if (m_hWndLastControl)
        ::SetFocus(m_hWndLastControl);
    throw qelmfc::ExchangeFailure();
}

void AFXAPI DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd)
        return;
    HWND window = pDX->PrepareCtrl(id);
    if (!control.SubclassWindow(window))
        pDX->Fail();
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, CString& value) {
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        ::GetWindowTextA(control, value.GetBuffer(length), length + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(control, value);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        BOOL ok = FALSE;
        const int read = static_cast<int>(::GetDlgItemInt(pDX->m_pDlgWnd->m_hWnd, id, &ok, TRUE));
        if (!ok)
            pDX->Fail();
        value = read;
    } else {
        CString text;
        text.Format("%d", value);
        ::SetWindowTextA(control, text);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, value, 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int id, int& value) {
    // The group starting at id: value is the index of the checked button, -1 for none.
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(::GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, index, 0);
}
