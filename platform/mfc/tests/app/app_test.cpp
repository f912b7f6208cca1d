// A program started through WinMain: a frame with a modeless panel from a dialog template, driven by
// messages, clicks and keys while its own message loop runs. The checks run from inside the loop; the
// program then closes its frame and its exit code is the checks' result.
#include <afxcmn.h>
#include <afxwin.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_test_ids.h"

namespace {

const UINT WM_RUN_CHECKS = WM_APP + 9;
const UINT WM_PLAIN_MESSAGE = WM_APP + 1;
const UINT g_registeredMessage = RegisterWindowMessageA("QEL_LAYER_TEST_MESSAGE");

// What the handlers saw, in order.
std::vector<std::string> g_events;

void Record(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g_events.push_back(text);
}

std::vector<std::string> TakeEvents() {
    std::vector<std::string> events;
    events.swap(g_events);
    return events;
}

// Handles every queued message through the application's loop (its PreTranslateMessage included).
void Pump(int rounds = 20) {
    for (int i = 0; i < rounds; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            AfxGetApp()->PumpMessage();
        }
        Sleep(5);
    }
}

// An owner-drawn button that fills itself with one colour, by reflection.
class CColourButton : public CButton {
public:
    explicit CColourButton(COLORREF colour) : colour_(colour) {}
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem, colour_);
        Record("drawitem %d", static_cast<int>(item->CtlID));
    }

private:
    COLORREF colour_;
};

// A button that handles its own click by reflection.
class CReflectButton : public CButton {
public:
    afx_msg void OnClicked() { Record("reflected click"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// A label that colours itself by reflection.
class CColourLabel : public CStatic {
public:
    CColourLabel() { brush_.CreateSolidBrush(RGB(0, 160, 0)); }
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor) {
        Record("ctlcolor %u", ctlColor);
        dc->SetBkColor(RGB(0, 160, 0));
        return brush_;
    }
    DECLARE_MESSAGE_MAP()

private:
    CBrush brush_;
};
BEGIN_MESSAGE_MAP(CColourLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// The panel: the modeless dialog inside the frame.
class CPanel : public CDialog {
public:
    CPanel() : CDialog(IDD_PANEL), drawn_(RGB(200, 0, 0)), hosted_(RGB(0, 0, 220)) {}

    CColourButton drawn_;
    CReflectButton reflected_;
    CColourLabel label_;
    CSliderCtrl slider_;
    CColourButton hosted_;
    CSpinButtonCtrl spin_;
    CComboBox combo_;
    CScrollBar hbar_;
    CScrollBar vbar_;
    CProgressCtrl progress_;
    CToolTipCtrl tips_;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_DRAWN, drawn_);
        DDX_Control(pDX, IDC_REFLECTED, reflected_);
        DDX_Control(pDX, IDC_LABEL, label_);
        DDX_Control(pDX, IDC_SLIDER, slider_);
        DDX_Control(pDX, IDC_SPIN, spin_);
        DDX_Control(pDX, IDC_COMBO, combo_);
        DDX_Control(pDX, IDC_HBAR, hbar_);
        DDX_Control(pDX, IDC_VBAR, vbar_);
        DDX_Control(pDX, IDC_PROGRESS, progress_);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        // A button hosted by the slider: its WM_DRAWITEM goes to the slider, which reflects it.
        CRect thumb(4, 2, 24, 18);
        slider_.ModifyStyle(0, WS_CLIPCHILDREN);
        hosted_.Create("", WS_VISIBLE | BS_OWNERDRAW, thumb, &slider_, IDC_HOSTED);
        combo_.AddString("first");
        combo_.AddString("second");
        combo_.AddString("third");
        combo_.SetCurSel(0);
        spin_.SetRange32(0, 10);
        spin_.SetPos32(5);
        hbar_.SetScrollRange(0, 10);
        vbar_.SetScrollRange(0, 10);
        progress_.SetRange32(0, 100);
        progress_.SetPos(40);
        tips_.Create(this);
        tips_.AddTool(&reflected_, "Reflected button");
        Record("initdialog");
        return TRUE;
    }
    afx_msg void OnReflectedParent() { Record("parent saw reflected click"); }
    afx_msg void OnPlain() { Record("plain click"); }
    afx_msg void OnComboChange() { Record("combo selchange %d", combo_.GetCurSel()); }
    afx_msg void OnSpinDelta(NMHDR* header, LRESULT* result) {
        NMUPDOWN* updown = reinterpret_cast<NMUPDOWN*>(header);
        Record("deltapos id %d pos %d delta %d", static_cast<int>(header->idFrom), updown->iPos, updown->iDelta);
        *result = 0;
    }
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
        Record("hscroll %u %u %d", code, pos, bar ? bar->GetDlgCtrlID() : -1);
    }
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
        Record("vscroll %u %u %d", code, pos, bar ? bar->GetDlgCtrlID() : -1);
    }
    afx_msg void OnTimer(UINT_PTR id) {
        KillTimer(id);
        Record("timer %u", static_cast<unsigned>(id));
    }
    afx_msg LRESULT OnPlainMessage(WPARAM w, LPARAM l) {
        Record("message %d %d", static_cast<int>(w), static_cast<int>(l));
        return 42;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM l) {
        Record("registered %d %d", static_cast<int>(w), static_cast<int>(l));
        return 7;
    }
    afx_msg BOOL OnEraseBkgnd(CDC* dc) {
        Record("erasebkgnd %d", dc && dc->GetSafeHdc() ? 1 : 0);
        return CDialog::OnEraseBkgnd(dc);
    }
    afx_msg void OnDestroy() {
        Record("panel destroy");
        CDialog::OnDestroy();
    }
    void OnOK() override {}     // Enter in an edit field
    void OnCancel() override {} // Escape: the panel stays
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPanel, CDialog)
    ON_BN_CLICKED(IDC_REFLECTED, OnReflectedParent)
    ON_BN_CLICKED(IDC_PLAIN, OnPlain)
    ON_CBN_SELCHANGE(IDC_COMBO, OnComboChange)
    ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN, OnSpinDelta)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PLAIN_MESSAGE, OnPlainMessage)
    ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// A pad that takes the mouse, the keyboard and the focus.
class CInputPad : public CWnd {
public:
    afx_msg void OnLButtonDown(UINT flags, CPoint point) { Record("lbuttondown %u %d,%d", flags, point.x, point.y); }
    afx_msg void OnLButtonUp(UINT flags, CPoint point) { Record("lbuttonup %u %d,%d", flags, point.x, point.y); }
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point) { Record("dblclk %u %d,%d", flags, point.x, point.y); }
    afx_msg void OnMouseMove(UINT flags, CPoint point) { Record("mousemove %u %d,%d", flags, point.x, point.y); }
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags) { Record("keydown %u %u %u", ch, repeat, flags); }
    afx_msg void OnSetFocus(CWnd* old) {
        Record("setfocus %d", old != nullptr);
        CWnd::OnSetFocus(old);
    }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(240, 240, 200));
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(CString("input pad"), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        Record("pad paint");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CInputPad, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
public:
    CPanel panel_;
    CInputPad pad_;
    int closeCount_ = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        Record("create %s", cs->lpszName);
        if (!panel_.Create(IDD_PANEL, this))
            return -1;
        panel_.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        CRect panelRect;
        panel_.GetWindowRect(&panelRect);
        const CRect padRect(0, panelRect.Height() + 4, 200, panelRect.Height() + 64);
        pad_.Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), "pad", WS_VISIBLE | WS_BORDER,
                    padRect, this, 77);
        return 0;
    }
    afx_msg void OnSize(UINT type, int cx, int cy) {
        Record("size %u %d %d", type, cx, cy);
        CFrameWnd::OnSize(type, cx, cy);
    }
    afx_msg void OnMoving(UINT side, LPRECT rect) {
        Record("moving %u %ld,%ld", side, rect->left, rect->top);
        CFrameWnd::OnMoving(side, rect);
    }
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized) {
        Record("activate %u %d", state, minimized);
        CFrameWnd::OnActivate(state, other, minimized);
    }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        Record("frame paint");
    }
    afx_msg void OnClose() {
        ++closeCount_;
        Record("close");
        CFrameWnd::OnClose();
    }
    afx_msg void OnDestroy() {
        Record("frame destroy");
        CFrameWnd::OnDestroy();
    }
    afx_msg void OnMenuFirst() { Record("menu first"); }
    afx_msg void OnMenuSecond() { Record("menu second"); }
    afx_msg LRESULT OnRunChecks(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_MOVING()
    ON_WM_ACTIVATE()
    ON_WM_PAINT()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_MENU_FIRST, OnMenuFirst)
    ON_COMMAND(ID_MENU_SECOND, OnMenuSecond)
    ON_MESSAGE(WM_RUN_CHECKS, OnRunChecks)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("Layer Test") {}
    int checksResult = 1;
    bool ctrlSeenDown = false;
    int ctrlMessages = 0;
    CTestFrame* frame = nullptr;

    BOOL InitInstance() override {
        frame = new CTestFrame;
        if (!frame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
            std::fprintf(stderr, "LoadFrame failed\n");
            return FALSE;
        }
        m_pMainWnd = frame;
        frame->SetWindowPos(&CWnd::wndTop, 40, 40, 640, 400, SWP_SHOWWINDOW);
        frame->UpdateWindow();
        frame->PostMessage(WM_RUN_CHECKS);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_CONTROL) {
            ++ctrlMessages;
            ctrlSeenDown = GetKeyState(VK_CONTROL) < 0;
        }
        return CWinApp::PreTranslateMessage(msg);
    }
    int ExitInstance() override;
};

CTestApp theApp;

CTestFrame& Frame() {
    return *theApp.frame;
}
CPanel& Panel() {
    return Frame().panel_;
}

// The colour the screen shows at the centre of window.
COLORREF ScreenColourAt(CWnd& window) {
    CRect rect;
    window.GetWindowRect(&rect);
    CClientDC screen(nullptr);
    return screen.GetPixel(rect.CenterPoint());
}

void SendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

using ::testing::Contains;
using ::testing::ElementsAre;

// What the start-up recorded, kept before the first check takes the events.
std::vector<std::string> g_startEvents;

TEST(AppStartTest, WinMainRanTheApplicationWithItsFrameAndPanel) {
    EXPECT_THAT(g_startEvents, Contains(std::string("create Layer Test Frame")));
    EXPECT_THAT(g_startEvents, Contains(std::string("initdialog")));
    EXPECT_EQ(&theApp, AfxGetApp());
    EXPECT_EQ(&Frame(), AfxGetMainWnd());
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetInstanceHandle());
    EXPECT_STREQ("Layer Test", theApp.m_pszAppName);
    CString title;
    Frame().GetWindowText(title);
    EXPECT_STREQ("Layer Test Frame", title); // the resource string up to its line break
    EXPECT_TRUE(Frame().IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_EQ(&Panel(), CWnd::FromHandlePermanent(Panel().m_hWnd));
    EXPECT_TRUE(Panel().IsWindowVisible());
}

TEST(MessageMapTest, CreationSizeActivationAndMovingReachTheFrame) {
    TakeEvents();
    Frame().SetWindowPos(nullptr, 0, 0, 660, 420, SWP_NOMOVE | SWP_NOZORDER);
    RECT moving = {11, 22, 300, 300};
    EXPECT_EQ(TRUE, Frame().SendMessage(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving)));
    Frame().SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
    CRect client;
    Frame().GetClientRect(&client);
    const auto events = TakeEvents();
    EXPECT_THAT(events, Contains(testing::StartsWith("size 0 ")));
    char size[64];
    std::snprintf(size, sizeof size, "size 0 %d %d", client.Width(), client.Height());
    EXPECT_THAT(events, Contains(std::string(size)));
    EXPECT_THAT(events, Contains(std::string("moving 1 11,22")));
    EXPECT_THAT(events, Contains(std::string("activate 2 0")));
}

TEST(MessageMapTest, MouseKeyboardAndFocusReachThePad) {
    CInputPad& pad = Frame().pad_;
    pad.SetFocus();
    Pump();
    TakeEvents();
    pad.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    pad.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 21));
    pad.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(13, 22));
    pad.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(14, 23));
    pad.SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(1, 0x3F));
    EXPECT_THAT(TakeEvents(), ElementsAre("lbuttondown 1 10,20", "mousemove 1 12,21", "lbuttonup 0 13,22",
                                          "dblclk 1 14,23", "keydown 116 1 63"));
    Frame().SetFocus();
    pad.SetFocus();
    EXPECT_THAT(TakeEvents(), Contains(std::string("setfocus 1")));
    pad.Invalidate();
    pad.UpdateWindow();
    EXPECT_THAT(TakeEvents(), Contains(std::string("pad paint")));
}

TEST(MessageMapTest, TimerPlainAndRegisteredMessagesReachThePanel) {
    TakeEvents();
    EXPECT_EQ(42, Panel().SendMessage(WM_PLAIN_MESSAGE, 3, 4));
    EXPECT_EQ(7, Panel().SendMessage(g_registeredMessage, 5, 6));
    Panel().SetTimer(9, 10);
    for (int i = 0; i < 50 && g_events.size() < 3; ++i)
        Pump(1);
    Panel().Invalidate(TRUE);
    Panel().UpdateWindow();
    const auto events = TakeEvents();
    EXPECT_THAT(events, Contains(std::string("message 3 4")));
    EXPECT_THAT(events, Contains(std::string("registered 5 6")));
    EXPECT_THAT(events, Contains(std::string("timer 9")));
    EXPECT_THAT(events, Contains(std::string("erasebkgnd 1")));
}

TEST(MessageMapTest, TheProcedureReadWithGetWindowLongPtrAReachesTheMap) {
    // One of our windows has a real ANSI procedure: calling it directly is a normal message.
    const WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Panel().m_hWnd, GWLP_WNDPROC));
    ASSERT_EQ(&AfxWndProc, proc);
    TakeEvents();
    EXPECT_EQ(42, proc(Panel().m_hWnd, WM_PLAIN_MESSAGE, 8, 9));
    EXPECT_THAT(TakeEvents(), ElementsAre("message 8 9"));
}

TEST(ReflectionTest, OwnerDrawnButtonBoundByDdxPaintsItsColour) {
    ASSERT_TRUE(Panel().drawn_.m_hWnd);
    EXPECT_EQ(Panel().GetDlgItem(IDC_DRAWN)->m_hWnd, Panel().drawn_.m_hWnd);
    TakeEvents();
    Panel().drawn_.Invalidate();
    Panel().drawn_.UpdateWindow();
    EXPECT_THAT(TakeEvents(), Contains(std::string("drawitem 1001")));
    EXPECT_EQ(RGB(200, 0, 0), ScreenColourAt(Panel().drawn_));
}

TEST(ReflectionTest, ReflectedClickKeepsTheParentSilentAndAPlainClickReachesIt) {
    TakeEvents();
    Panel().reflected_.SendMessage(BM_CLICK);
    Pump();
    EXPECT_THAT(TakeEvents(), ElementsAre("reflected click"));
    Panel().GetDlgItem(IDC_PLAIN)->SendMessage(BM_CLICK);
    Pump();
    EXPECT_THAT(TakeEvents(), ElementsAre("plain click"));
}

TEST(ReflectionTest, ReflectedCtlColorColoursTheLabel) {
    TakeEvents();
    Panel().label_.Invalidate();
    Panel().label_.UpdateWindow();
    EXPECT_THAT(TakeEvents(), Contains(std::string("ctlcolor 6"))); // CTLCOLOR_STATIC
    CRect rect;
    Panel().label_.GetWindowRect(&rect);
    CClientDC screen(nullptr);
    // The text is drawn on the label's background: its right edge shows the colour.
    EXPECT_EQ(RGB(0, 160, 0), screen.GetPixel(rect.right - 2, rect.bottom - 2));
}

TEST(ReflectionTest, ButtonHostedBySliderDrawsByReflection) {
    ASSERT_TRUE(Panel().hosted_.m_hWnd);
    EXPECT_EQ(Panel().slider_.m_hWnd, ::GetParent(Panel().hosted_.m_hWnd));
    Panel().slider_.UpdateWindow(); // the slider first: it paints under its child
    TakeEvents();
    Panel().hosted_.Invalidate();
    Panel().hosted_.UpdateWindow();
    EXPECT_THAT(TakeEvents(), Contains(std::string("drawitem 1105")));
    Pump();
    EXPECT_EQ(RGB(0, 0, 220), ScreenColourAt(Panel().hosted_));
}

TEST(NotificationTest, SpinDeltaComboChangeAndScrollBarsReachThePanel) {
    TakeEvents();
    // A click on the spin's upper half asks to step up by one.
    CRect spin;
    Panel().spin_.GetClientRect(&spin);
    Panel().spin_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.Width() / 2, 2));
    Panel().spin_.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(spin.Width() / 2, 2));
    Pump();
    auto events = TakeEvents();
    EXPECT_THAT(events, Contains(std::string("deltapos id 1006 pos 5 delta 1")));

    Panel().combo_.SetFocus();
    Panel().combo_.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    EXPECT_THAT(TakeEvents(), Contains(std::string("combo selchange 1")));

    Panel().SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(Panel().hbar_.m_hWnd));
    Panel().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), reinterpret_cast<LPARAM>(Panel().vbar_.m_hWnd));
    EXPECT_THAT(TakeEvents(), ElementsAre("hscroll 1 0 1010", "vscroll 4 4 1012"));
}

TEST(LoopTest, ControlSentWithSendInputReachesTheApplicationWithItsKeyState) {
    Frame().SetForegroundWindow();
    Panel().GetDlgItem(IDC_FIRST_EDIT)->SetFocus();
    Pump();
    theApp.ctrlMessages = 0;
    SendKey(VK_CONTROL, false);
    Pump();
    SendKey(VK_CONTROL, true);
    Pump();
    if (theApp.ctrlMessages == 0)
        GTEST_SKIP() << "no keyboard input reached this display";
    EXPECT_TRUE(theApp.ctrlSeenDown);
}

TEST(LoopTest, TabMovesTheFocusThroughThePanel) {
    CWnd* first = Panel().GetDlgItem(IDC_FIRST_EDIT);
    first->SetFocus();
    ASSERT_EQ(first->m_hWnd, ::GetFocus());
    // A Tab posted to the edit field goes through the loop, where the panel's IsDialogMessage moves on.
    first->PostMessage(WM_KEYDOWN, VK_TAB, 0);
    first->PostMessage(WM_KEYUP, VK_TAB, 0xC0000001);
    Pump();
    EXPECT_NE(first->m_hWnd, ::GetFocus());
    EXPECT_EQ(Panel().m_hWnd, ::GetParent(::GetFocus()));
}

TEST(MenuTest, TrackPopupMenuChoiceReachesOnCommand) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_MENU_FIRST, "First");
    menu.AppendMenu(MF_STRING, ID_MENU_SECOND, "Second");
    EXPECT_EQ(2u, menu.GetMenuItemCount());
    Frame().SetForegroundWindow();
    Pump();
    TakeEvents();
    // The menu's own loop takes the keys waiting in the queue: down twice, then Enter chooses "Second".
    Frame().PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    Frame().PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    Frame().PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    CRect rect;
    Frame().GetWindowRect(&rect);
    menu.TrackPopupMenu(TPM_LEFTALIGN, rect.left + 50, rect.top + 50, &Frame());
    Pump();
    EXPECT_THAT(TakeEvents(), ElementsAre("menu second"));
}

// Saves what the screen shows of the frame as a bitmap file (QEL_SCREENSHOT names it).
void SaveScreenshot() {
    const char* path = std::getenv("QEL_SCREENSHOT");
    if (!path)
        return;
    CRect rect;
    Frame().GetWindowRect(&rect);
    CClientDC screen(nullptr);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height());
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.BitBlt(0, 0, rect.Width(), rect.Height(), &screen, rect.left, rect.top, SRCCOPY);
    memory.SelectObject(old);
    BITMAPINFOHEADER header = {sizeof header, rect.Width(), rect.Height(), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (rect.Width() * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * rect.Height());
    GetDIBits(memory, bitmap, 0, rect.Height(), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + pixels.size()), 0, 0,
                             sizeof file + sizeof header};
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(pixels.data(), pixels.size(), 1, out);
        std::fclose(out);
    }
}

// Ends the process if the program outlives its time: a hung loop must fail, not stall the test run.
DWORD WINAPI Watchdog(LPVOID event) {
    if (WaitForSingleObject(static_cast<HANDLE>(event), 60000) == WAIT_OBJECT_0) {
        // WM_CLOSE was sent: the program must be gone within 2 s.
        Sleep(2000);
        std::fprintf(stderr, "the program did not end within 2 s of WM_CLOSE\n");
        ExitProcess(4);
    }
    std::fprintf(stderr, "the program hung\n");
    ExitProcess(3);
}

HANDLE g_closeSent = CreateEventA(nullptr, TRUE, FALSE, nullptr);

LRESULT CTestFrame::OnRunChecks(WPARAM, LPARAM) {
    CreateThread(nullptr, 0, &Watchdog, g_closeSent, 0, nullptr);
    Pump();
    g_startEvents = g_events;
    int argc = 1;
    char name[] = "qelmfc_app_test";
    char* argv[] = {name, nullptr};
    ::testing::InitGoogleTest(&argc, argv);
    theApp.checksResult = RUN_ALL_TESTS();
    SaveScreenshot();
    TakeEvents();
    SetEvent(g_closeSent);
    PostMessage(WM_CLOSE); // ends the program: frame destroyed, WM_QUIT, exit code from ExitInstance
    return 0;
}

// The end of the program: WM_CLOSE reached the frame, which destroyed itself and its panel.
int CTestApp::ExitInstance() {
    CWinApp::ExitInstance();
    const std::vector<std::string> expected = {"close", "panel destroy", "frame destroy"};
    for (const std::string& event : expected) {
        bool seen = false;
        for (const std::string& recorded : g_events)
            seen = seen || recorded == event;
        if (!seen) {
            std::fprintf(stderr, "the end of the program missed \"%s\"\n", event.c_str());
            return 5;
        }
    }
    std::printf("the program ended through WM_CLOSE\n");
    return checksResult;
}

} // namespace
