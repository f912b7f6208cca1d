#pragma once
// Message maps of the MFC-compatible layer (included by afxwin.h): each class with DECLARE_MESSAGE_MAP
// has a table of entries, chained to its base class's table. An entry names the message (with its
// notification code and control id range for commands and notifications), the handler's signature
// and the handler. Reflected messages are numbered WM_REFLECT_BASE + the message.

class CCmdTarget;
class CWnd;

#ifndef afx_msg
#define afx_msg
#endif

#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019 // every WM_CTLCOLOR* message, as reflected
#endif
#define CN_COMMAND 0

typedef void (CCmdTarget::*AFX_PMSG)();
typedef void (CWnd::*AFX_PMSGW)();

// The handler signatures the dispatcher knows.
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,       // void ()
    AfxSig_bv,       // BOOL ()                       (ON_CONTROL_REFLECT_EX)
    AfxSig_is,       // int (LPCREATESTRUCT)          WM_CREATE
    AfxSig_bD,       // BOOL (CDC*)                   WM_ERASEBKGND
    AfxSig_vw,       // void (UINT_PTR)               WM_TIMER
    AfxSig_vwii,     // void (UINT, int, int)         WM_SIZE
    AfxSig_vwp,      // void (UINT, CPoint)           mouse messages
    AfxSig_vwr,      // void (UINT, LPRECT)           WM_MOVING
    AfxSig_vW,       // void (CWnd*)                  WM_SETFOCUS, WM_KILLFOCUS
    AfxSig_vwWb,     // void (UINT, CWnd*, BOOL)      WM_ACTIVATE
    AfxSig_vwww,     // void (UINT, UINT, UINT)       key messages
    AfxSig_vwwx,     // void (UINT, UINT, CScrollBar*) WM_HSCROLL, WM_VSCROLL
    AfxSig_vww,      // void (UINT, UINT)             reflected WM_HSCROLL, WM_VSCROLL
    AfxSig_hDw,      // HBRUSH (CDC*, UINT)           reflected WM_CTLCOLOR
    AfxSig_hDWw,     // HBRUSH (CDC*, CWnd*, UINT)    WM_CTLCOLOR
    AfxSig_lwl,      // LRESULT (WPARAM, LPARAM)      ON_MESSAGE, ON_REGISTERED_MESSAGE
    AfxSig_vNMHDRpl, // void (NMHDR*, LRESULT*)       ON_NOTIFY, ON_NOTIFY_REFLECT
    AfxSig_bNMHDRpl, // BOOL (NMHDR*, LRESULT*)       ON_NOTIFY_REFLECT_EX
    AfxSig_vwb,      // void (BOOL, UINT)             WM_SHOWWINDOW
    AfxSig_bWww,     // BOOL (CWnd*, UINT, UINT)      WM_SETCURSOR
    AfxSig_vwl,      // void (UINT, LPARAM)           WM_SYSCOMMAND
    AfxSig_vii,      // void (int, int)               WM_MOVE
    AfxSig_vs,       // void (LPMINMAXINFO)           WM_GETMINMAXINFO
    AfxSig_bwsp,     // BOOL (UINT, short, CPoint)    WM_MOUSEWHEEL
    AfxSig_vOWNER,   // void (int, LPDRAWITEMSTRUCT)  WM_DRAWITEM
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;          // 0 with pRegistered: a registered message
    UINT nCode;             // notification code (commands and notifications)
    UINT nID;               // first control or command id
    UINT nLastID;           // last id of the range
    UINT_PTR nSig;          // AfxSig
    AFX_PMSG pfn;           // the handler
    const UINT* pRegistered; // ON_REGISTERED_MESSAGE: the variable holding the message's number
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(__stdcall* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                        \
protected:                                                                                           \
    static const AFX_MSGMAP* __stdcall GetThisMessageMap();                                          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                       \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                \
    const AFX_MSGMAP* __stdcall theClass::GetThisMessageMap() {                                      \
        typedef theClass ThisClass;                                                                  \
        typedef baseClass TheBaseClass;                                                              \
        (void)sizeof(ThisClass);                                                                     \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                            \
    {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}                                                       \
    }                                                                                                \
    ;                                                                                                \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};   \
    return &messageMap;                                                                              \
    }

// Handler pointers are stored as AFX_PMSG; the dispatcher turns them back into their signature. The
// static_cast in each macro checks the handler's signature; the bits are then carried over unchanged
// (every pointer to a member function has the same size and layout).
template <class To, class From>
inline To QelMemberBits(From from) {
    static_assert(sizeof(To) == sizeof(From), "pointers to member functions differ in size");
    To to;
    __builtin_memcpy(&to, &from, sizeof to);
    return to;
}
#define QEL_PMSGW(type, fn) (static_cast<AFX_PMSG>(QelMemberBits<AFX_PMSGW>(static_cast<type>(fn))))
#define QEL_PMSGT(type, fn) (QelMemberBits<AFX_PMSG>(static_cast<type>(fn)))
#define QEL_WM(msg, sig, type, fn) {msg, 0, 0, 0, sig, QEL_PMSGW(type, &ThisClass::fn), nullptr},

#define ON_WM_CREATE() QEL_WM(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() QEL_WM(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_CLOSE() QEL_WM(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() QEL_WM(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_ERASEBKGND() QEL_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_TIMER() QEL_WM(WM_TIMER, AfxSig_vw, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_SIZE() QEL_WM(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() QEL_WM(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_MOVING() QEL_WM(WM_MOVING, AfxSig_vwr, void (CWnd::*)(UINT, LPRECT), OnMoving)
#define ON_WM_SETFOCUS() QEL_WM(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() QEL_WM(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_ACTIVATE() QEL_WM(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_LBUTTONDOWN() QEL_WM(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() QEL_WM(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK()                                                                        \
    QEL_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() QEL_WM(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() QEL_WM(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEMOVE() QEL_WM(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() QEL_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_KEYDOWN() QEL_WM(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() QEL_WM(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() QEL_WM(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_HSCROLL() QEL_WM(WM_HSCROLL, AfxSig_vwwx, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() QEL_WM(WM_VSCROLL, AfxSig_vwwx, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_HSCROLL_REFLECT()                                                                      \
    QEL_WM(WM_REFLECT_BASE + WM_HSCROLL, AfxSig_vww, void (CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT()                                                                      \
    QEL_WM(WM_REFLECT_BASE + WM_VSCROLL, AfxSig_vww, void (CWnd::*)(UINT, UINT), VScroll)
#define ON_WM_CTLCOLOR() QEL_WM(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT()                                                                     \
    QEL_WM(WM_REFLECT_BASE + WM_CTLCOLOR, AfxSig_hDw, HBRUSH (CWnd::*)(CDC*, UINT), CtlColor)
#define ON_WM_DRAWITEM() QEL_WM(WM_DRAWITEM, AfxSig_vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_SHOWWINDOW() QEL_WM(WM_SHOWWINDOW, AfxSig_vwb, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_SETCURSOR() QEL_WM(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_SYSCOMMAND() QEL_WM(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_GETMINMAXINFO()                                                                        \
    QEL_WM(WM_GETMINMAXINFO, AfxSig_vs, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_NCDESTROY() QEL_WM(WM_NCDESTROY, AfxSig_vv, void (CWnd::*)(), OnNcDestroy)

#define ON_MESSAGE(message, memberFxn)                                                               \
    {message, 0, 0, 0, AfxSig_lwl, QEL_PMSGW(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn), nullptr},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                           \
    {0, 0, 0, 0, AfxSig_lwl, QEL_PMSGW(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn),   \
     &nMessageVariable},

// Commands and control notifications (WM_COMMAND), notifications (WM_NOTIFY).
#define ON_COMMAND(id, memberFxn)                                                                    \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_vv,                                      \
     static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn)), nullptr},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                      \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_vw,                                  \
     QEL_PMSGT(void (CCmdTarget::*)(UINT), &ThisClass::memberFxn), nullptr},
#define ON_CONTROL(code, id, memberFxn)                                                              \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_vv,                                    \
     static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn)), nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                        \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vNMHDRpl,                        \
     QEL_PMSGT(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn), nullptr},

// Reflected to the control that sent them.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                   \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, AfxSig_vv,                             \
     static_cast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn)), nullptr},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, AfxSig_bv,                             \
     QEL_PMSGT(BOOL (CCmdTarget::*)(), &ThisClass::memberFxn), nullptr},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                    \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, AfxSig_vNMHDRpl,                        \
     QEL_PMSGT(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn), nullptr},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                 \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(wNotifyCode), 0, 0, AfxSig_bNMHDRpl,                        \
     QEL_PMSGT(BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn), nullptr},
