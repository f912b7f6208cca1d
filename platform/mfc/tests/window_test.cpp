// Modal dialogs through the modal hook, worker threads, and message maps outside a running program.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "qeltest/modal_hook.h"

namespace {

const UINT kDialogId = 301;
const int kEditId = 1001;

class CNameDialog : public CDialog {
public:
    CNameDialog() : CDialog(kDialogId) {}
    CString name_;
    int okCalls_ = 0;
    int cancelCalls_ = 0;
    bool initialised_ = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kEditId, name_); }
    BOOL OnInitDialog() override {
        initialised_ = true;
        return CDialog::OnInitDialog();
    }
    void OnOK() override {
        ++okCalls_;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls_;
        CDialog::OnCancel();
    }
};

TEST(ModalDialogTest, OkThroughTheHookRunsOnOkAndExchangesData) {
    CNameDialog dialog;
    dialog.name_ = "before";
    CString shownText;
    qeltest::ScopedModalHook hook([&](HWND window, AFX_MODAL_KIND kind) -> INT_PTR {
        EXPECT_EQ(AFX_MODAL_DIALOG, kind);
        EXPECT_TRUE(IsWindowVisible(window));
        char text[64] = {0};
        GetDlgItemTextA(window, kEditId, text, sizeof text);
        shownText = text; // OnInitDialog's exchange filled the field
        SetDlgItemTextA(window, kEditId, "typed");
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return IDCANCEL; // not used: the click ended the dialog
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(dialog.initialised_);
    EXPECT_STREQ("before", shownText);
    EXPECT_EQ(1, dialog.okCalls_);
    EXPECT_EQ(0, dialog.cancelCalls_);
    EXPECT_STREQ("typed", dialog.name_);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(1u, hook.Kinds().size());
}

TEST(ModalDialogTest, CancelAndPlainAnswersEndTheDialog) {
    CNameDialog dialog;
    {
        qeltest::ScopedModalHook hook([](HWND window, AFX_MODAL_KIND) -> INT_PTR {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); // handled after the hook
            return IDOK;
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
    }
    EXPECT_EQ(1, dialog.cancelCalls_);
    EXPECT_EQ(0, dialog.okCalls_);
    {
        qeltest::ScopedModalHook hook([](HWND, AFX_MODAL_KIND) -> INT_PTR { return IDRETRY; });
        EXPECT_EQ(IDRETRY, dialog.DoModal()); // ended with the answer, no handler ran
    }
    EXPECT_EQ(1, dialog.cancelCalls_);
    EXPECT_EQ(0, dialog.okCalls_);
}

TEST(ModalDialogTest, AnOwnerIsDisabledWhileTheDialogRuns) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    CNameDialog dialog;
    dialog.m_pParentWnd = &owner;
    BOOL enabledDuring = TRUE;
    HWND ownerSeen = nullptr;
    qeltest::ScopedModalHook hook([&](HWND window, AFX_MODAL_KIND) -> INT_PTR {
        enabledDuring = owner.IsWindowEnabled();
        ownerSeen = GetWindow(window, GW_OWNER);
        return IDCANCEL;
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(owner.m_hWnd, ownerSeen);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

UINT AFX_CDECL CountTo(LPVOID param) {
    LONG* counter = static_cast<LONG*>(param);
    for (int i = 0; i < 1000; ++i)
        InterlockedIncrement(counter);
    return 17;
}

TEST(WorkerThreadTest, SuspendedWorkerRunsWhenResumedAndIsWaitedOnByItsHandle) {
    LONG counter = 0;
    CWinThread* thread = AfxBeginThread(&CountTo, &counter, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE; // kept past its end so that its handle can be waited on
    EXPECT_EQ(THREAD_PRIORITY_LOWEST, thread->GetThreadPriority());
    Sleep(50);
    EXPECT_EQ(0, counter); // still suspended
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
    EXPECT_EQ(1000, counter);
    DWORD code = 0;
    GetExitCodeThread(thread->m_hThread, &code);
    EXPECT_EQ(17u, code);
    delete thread;
}

// A window with a map of its own, used without a running program.
class CProbeWnd : public CWnd {
public:
    int created = 0;
    int commands = 0;
    CString createdName;
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        ++created;
        createdName = cs->lpszName;
        EXPECT_EQ(this, CWnd::FromHandlePermanent(m_hWnd)); // attached before WM_CREATE
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnCommandSeven() { ++commands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_COMMAND(7, OnCommandSeven)
END_MESSAGE_MAP()

TEST(WindowTest, ObjectsAreAttachedFromTheFirstMessageAndDetachedAtTheEnd) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
    EXPECT_EQ(1, wnd.created);
    EXPECT_STREQ("probe", wnd.createdName);
    wnd.SendMessage(WM_COMMAND, 7);
    wnd.SendMessage(WM_COMMAND, 8);
    EXPECT_EQ(1, wnd.commands);
    const HWND window = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(window));
}

TEST(WindowTest, SubclassedSystemControlKeepsWorkingAndComesBack) {
    HWND edit = CreateWindowExA(0, "EDIT", "text", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&AfxWndProc), GetWindowLongPtrA(edit, GWLP_WNDPROC));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ("text", text); // the control's own procedure still answers
    wnd.SetWindowText("changed");
    EXPECT_EQ(7, wnd.GetWindowTextLength());
    EXPECT_EQ(edit, wnd.UnsubclassWindow());
    EXPECT_EQ(original, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    DestroyWindow(edit);
}

// A registered name stays usable however many other classes are registered after it: windows made
// with it (and with the layer's own default class) are still created.
TEST(WindowTest, ARegisteredClassNameOutlivesLaterRegistrations) {
    const LPCSTR first = AfxRegisterWndClass(CS_HREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    const CString asReturned = first;
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, "default class", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    plain.DestroyWindow();
    for (int i = 0; i < 40; ++i) // distinct names: each is a new registration
        AfxRegisterWndClass(CS_VREDRAW, nullptr, nullptr, reinterpret_cast<HICON>(static_cast<INT_PTR>(i + 1)));
    EXPECT_STREQ(asReturned, first) << "the returned name no longer reads as registered";
    CWnd named;
    EXPECT_TRUE(named.CreateEx(0, first, "first class", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        << "error " << ::GetLastError();
    named.DestroyWindow();
    CWnd again;
    EXPECT_TRUE(again.CreateEx(0, nullptr, "default class", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        << "error " << ::GetLastError();
    again.DestroyWindow();
}

} // namespace
