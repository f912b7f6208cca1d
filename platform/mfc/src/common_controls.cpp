// The common controls: slider, spin button, progress bar and tool tips.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {
BOOL CreateCommon(CWnd* control, LPCSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return control->CreateEx(0, className, nullptr, style | WS_CHILD, rect, parent, id);
}
} // namespace

// Slider.
CSliderCtrl::CSliderCtrl() = default;
CSliderCtrl::~CSliderCtrl() = default;
BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateCommon(this, TRACKBAR_CLASSA, style, rect, parent, id);
}
int CSliderCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0));
}
void CSliderCtrl::SetPos(int pos) {
    SendMessage(TBM_SETPOS, TRUE, pos);
}
void CSliderCtrl::GetRange(int& minPos, int& maxPos) const {
    minPos = GetRangeMin();
    maxPos = GetRangeMax();
}
int CSliderCtrl::GetRangeMin() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0));
}
int CSliderCtrl::GetRangeMax() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0));
}
void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL redraw) {
    SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
    SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
}
void CSliderCtrl::SetRangeMin(int minPos, BOOL redraw) {
    SendMessage(TBM_SETRANGEMIN, redraw, minPos);
}
void CSliderCtrl::SetRangeMax(int maxPos, BOOL redraw) {
    SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
}
int CSliderCtrl::GetLineSize() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETLINESIZE, 0, 0));
}
int CSliderCtrl::SetLineSize(int size) {
    return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size));
}
int CSliderCtrl::GetPageSize() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPAGESIZE, 0, 0));
}
int CSliderCtrl::SetPageSize(int size) {
    return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size));
}
void CSliderCtrl::SetTicFreq(int freq) {
    SendMessage(TBM_SETTICFREQ, freq);
}
BOOL CSliderCtrl::SetTic(int pos) {
    return static_cast<BOOL>(SendMessage(TBM_SETTIC, 0, pos));
}
void CSliderCtrl::ClearTics(BOOL redraw) {
    SendMessage(TBM_CLEARTICS, redraw);
}
void CSliderCtrl::SetSelection(int minPos, int maxPos) {
    SendMessage(TBM_SETSELSTART, FALSE, minPos);
    SendMessage(TBM_SETSELEND, TRUE, maxPos);
}
void CSliderCtrl::GetThumbRect(LPRECT rect) const {
    ::SendMessageA(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(rect));
}
void CSliderCtrl::GetChannelRect(LPRECT rect) const {
    ::SendMessageA(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(rect));
}
CWnd* CSliderCtrl::SetBuddy(CWnd* buddy, BOOL left) {
    return FromHandle(reinterpret_cast<HWND>(
        SendMessage(TBM_SETBUDDY, left, reinterpret_cast<LPARAM>(buddy ? buddy->m_hWnd : nullptr))));
}

// Spin button.
CSpinButtonCtrl::CSpinButtonCtrl() = default;
CSpinButtonCtrl::~CSpinButtonCtrl() = default;
BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateCommon(this, UPDOWN_CLASSA, style, rect, parent, id);
}
int CSpinButtonCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0));
}
int CSpinButtonCtrl::SetPos(int pos) {
    return static_cast<int>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(pos, 0)));
}
int CSpinButtonCtrl::GetPos32(BOOL* error) const {
    return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
}
int CSpinButtonCtrl::SetPos32(int pos) {
    return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos));
}
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
    const DWORD range = GetRange();
    lower = static_cast<short>(HIWORD(range));
    upper = static_cast<short>(LOWORD(range));
}
DWORD CSpinButtonCtrl::GetRange() const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, UDM_GETRANGE, 0, 0));
}
void CSpinButtonCtrl::SetRange(short lower, short upper) {
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
}
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    SendMessage(UDM_SETRANGE32, lower, upper);
}
CWnd* CSpinButtonCtrl::GetBuddy() const {
    return FromHandle(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)));
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
    return FromHandle(reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy ? buddy->m_hWnd : nullptr))));
}
int CSpinButtonCtrl::GetBase() const {
    return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETBASE, 0, 0));
}
int CSpinButtonCtrl::SetBase(int base) {
    return static_cast<int>(SendMessage(UDM_SETBASE, base));
}
BOOL CSpinButtonCtrl::SetAccel(int count, UDACCEL* accel) {
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, count, reinterpret_cast<LPARAM>(accel)));
}

// Progress bar.
CProgressCtrl::CProgressCtrl() = default;
CProgressCtrl::~CProgressCtrl() = default;
BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateCommon(this, PROGRESS_CLASSA, style, rect, parent, id);
}
void CProgressCtrl::SetRange(short lower, short upper) {
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}
void CProgressCtrl::SetRange32(int lower, int upper) {
    SendMessage(PBM_SETRANGE32, lower, upper);
}
void CProgressCtrl::GetRange(int& lower, int& upper) const {
    PBRANGE range = {};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}
int CProgressCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0));
}
int CProgressCtrl::SetPos(int pos) {
    return static_cast<int>(SendMessage(PBM_SETPOS, pos));
}
int CProgressCtrl::OffsetPos(int delta) {
    return static_cast<int>(SendMessage(PBM_DELTAPOS, delta));
}
int CProgressCtrl::SetStep(int step) {
    return static_cast<int>(SendMessage(PBM_SETSTEP, step));
}
int CProgressCtrl::StepIt() {
    return static_cast<int>(SendMessage(PBM_STEPIT));
}
COLORREF CProgressCtrl::SetBarColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, color));
}
COLORREF CProgressCtrl::SetBkColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, color));
}

// Tool tips.
CToolTipCtrl::CToolTipCtrl() = default;
CToolTipCtrl::~CToolTipCtrl() = default;
BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr))
        return FALSE;
    return TRUE;
}
void CToolTipCtrl::FillInToolInfo(TTTOOLINFOA& info, CWnd* window, UINT_PTR toolId) const {
    info = TTTOOLINFOA();
    info.cbSize = sizeof info;
    HWND tool = window ? window->m_hWnd : nullptr;
    if (toolId == 0) {
        // The whole window is the tool, identified by its handle.
        info.hwnd = ::GetParent(tool) ? ::GetParent(tool) : tool;
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
    } else {
        info.hwnd = tool;
        info.uId = toolId;
    }
}
BOOL CToolTipCtrl::AddTool(CWnd* window, LPCSTR text, LPCRECT rect, UINT_PTR toolId) {
    TTTOOLINFOA info;
    FillInToolInfo(info, window, rect ? toolId : 0);
    if (rect)
        info.rect = *rect;
    if (!rect && toolId == 0)
        info.uFlags |= TTF_SUBCLASS;
    info.lpszText = const_cast<LPSTR>(text);
    info.hinst = IS_INTRESOURCE(text) && text != LPSTR_TEXTCALLBACKA ? AfxGetResourceHandle() : nullptr;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}
BOOL CToolTipCtrl::AddTool(CWnd* window, UINT textId, LPCRECT rect, UINT_PTR toolId) {
    return AddTool(window, MAKEINTRESOURCEA(textId), rect, toolId);
}
void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR toolId) {
    TTTOOLINFOA info;
    FillInToolInfo(info, window, toolId);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}
void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR toolId) {
    TTTOOLINFOA info;
    FillInToolInfo(info, window, toolId);
    info.lpszText = const_cast<LPSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}
void CToolTipCtrl::GetText(CString& text, CWnd* window, UINT_PTR toolId) const {
    TTTOOLINFOA info;
    FillInToolInfo(info, window, toolId);
    char buffer[1024] = {0};
    info.lpszText = buffer;
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    text = buffer;
}
void CToolTipCtrl::SetToolRect(CWnd* window, UINT_PTR toolId, LPCRECT rect) {
    TTTOOLINFOA info;
    FillInToolInfo(info, window, toolId);
    info.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}
int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}
void CToolTipCtrl::RelayEvent(LPMSG msg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}
void CToolTipCtrl::Activate(BOOL activate) {
    SendMessage(TTM_ACTIVATE, activate);
}
void CToolTipCtrl::SetDelayTime(UINT delay) {
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, delay);
}
void CToolTipCtrl::SetDelayTime(DWORD duration, int time) {
    SendMessage(TTM_SETDELAYTIME, duration, time);
}
int CToolTipCtrl::SetMaxTipWidth(int width) {
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width));
}
void CToolTipCtrl::SetTipBkColor(COLORREF color) {
    SendMessage(TTM_SETTIPBKCOLOR, color);
}
void CToolTipCtrl::SetTipTextColor(COLORREF color) {
    SendMessage(TTM_SETTIPTEXTCOLOR, color);
}
void CToolTipCtrl::Pop() {
    SendMessage(TTM_POP);
}
void CToolTipCtrl::Update() {
    SendMessage(TTM_UPDATE);
}
