// CProgressCtrlEx: colours, text and layout settings, the progress messages and the snake's motion.
#include "ProgressCtrlEx.h"

#include <cstdarg>
#include <cstdlib>

BEGIN_MESSAGE_MAP(CProgressCtrlEx, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(PBM_SETBARCOLOR, OnSetBarColor)
    ON_MESSAGE(PBM_SETBKCOLOR, OnSetBkColor)
    ON_MESSAGE(PBM_SETPOS, OnSetPos)
    ON_MESSAGE(PBM_DELTAPOS, OnDeltaPos)
    ON_MESSAGE(PBM_STEPIT, OnStepIt)
    ON_MESSAGE(PBM_SETSTEP, OnSetStep)
END_MESSAGE_MAP()

namespace {

COLORREF CaptionGradientEnd() {
    BOOL gradient = FALSE;
    SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    return GetSysColor(gradient ? COLOR_GRADIENTACTIVECAPTION : COLOR_ACTIVECAPTION);
}

} // namespace

CProgressCtrlEx::CProgressCtrlEx()
    : m_bSolidBar(TRUE), m_barColor(GetSysColor(COLOR_HIGHLIGHT)), m_pBarBrush(NULL),
      m_bkColor(GetSysColor(COLOR_BTNFACE)), m_pBkBrush(NULL), m_textColorOnBar(GetSysColor(COLOR_CAPTIONTEXT)),
      m_textColorOnBk(GetSysColor(COLOR_BTNTEXT)), m_snakeStart(0), m_snakeTail(40), m_step(10), m_insets(0, 0, 0, 0) {
    m_gradientColors.Add(GetSysColor(COLOR_ACTIVECAPTION));
    m_gradientColors.Add(CaptionGradientEnd());
}

CProgressCtrlEx::~CProgressCtrlEx() = default;

void CProgressCtrlEx::SetGradientColors(COLORREF start, COLORREF end) {
    m_gradientColors.RemoveAll();
    m_gradientColors.Add(start);
    m_gradientColors.Add(end);
    m_bSolidBar = FALSE;
}

void CProgressCtrlEx::GetGradientColors(COLORREF& start, COLORREF& end) {
    const INT_PTR n = m_gradientColors.GetSize();
    start = n > 0 ? m_gradientColors[0] : m_barColor;
    end = n > 1 ? m_gradientColors[n - 1] : start;
}

void CProgressCtrlEx::SetGradientColorsX(int count, COLORREF first, COLORREF second, ...) {
    m_gradientColors.RemoveAll();
    if (count > 0)
        m_gradientColors.Add(first);
    if (count > 1)
        m_gradientColors.Add(second);
    va_list args;
    va_start(args, second);
    for (int i = 2; i < count; ++i)
        m_gradientColors.Add(va_arg(args, COLORREF));
    va_end(args);
    m_bSolidBar = FALSE;
}

const CDWordArray& CProgressCtrlEx::GetGradientColorsX() { return m_gradientColors; }

void CProgressCtrlEx::SetBarColor(COLORREF color) {
    m_barColor = color;
    m_bSolidBar = TRUE;
}

COLORREF CProgressCtrlEx::GetBarColor() { return m_barColor; }
void CProgressCtrlEx::SetBarBrush(CBrush* brush) { m_pBarBrush = brush; }
CBrush* CProgressCtrlEx::GetBarBrush() { return m_pBarBrush; }
void CProgressCtrlEx::SetBkColor(COLORREF color) { m_bkColor = color; }
COLORREF CProgressCtrlEx::GetBkColor() { return m_bkColor; }
void CProgressCtrlEx::SetBkBrush(CBrush* brush) { m_pBkBrush = brush; }
CBrush* CProgressCtrlEx::GetBkBrush() { return m_pBkBrush; }

void CProgressCtrlEx::SetTextColor(COLORREF onBar, COLORREF onBk) {
    m_textColorOnBar = onBar;
    m_textColorOnBk = onBk == 0xFFFFFFFF ? onBar : onBk;
}

COLORREF CProgressCtrlEx::GetTextColor() { return m_textColorOnBar; }
COLORREF CProgressCtrlEx::GetTextColorOnBk() { return m_textColorOnBk; }

void CProgressCtrlEx::SetTextFormat(const char* format, DWORD style) {
    if (!format || !*format || style == 0) {
        format = "";
        style = 0;
    }
    ModifyStyle(PBS_EX_SHOWTEXT, style & PBS_EX_SHOWTEXT);
    SetWindowText(format);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CProgressCtrlEx::SetShowPercent(BOOL on) { SetTextFormat(on ? "%d%%" : NULL, PBS_EX_SHOWPERCENT); }
BOOL CProgressCtrlEx::GetShowPercent() { return (GetStyle() & PBS_EX_SHOWPERCENT) != 0; }

void CProgressCtrlEx::SetShowPosition(const char* text, BOOL on) {
    char format[260] = "%d/";
    if (text)
        strncat(format, text, sizeof format - 4); // at most 256 characters of text count
    SetTextFormat(on ? format : NULL, PBS_EX_SHOWPOSITION);
}

BOOL CProgressCtrlEx::GetShowPosition() { return (GetStyle() & PBS_EX_SHOWPOSITION) != 0; }
void CProgressCtrlEx::HideText() { SetTextFormat(NULL, PBS_EX_SHOWTEXT); }

void CProgressCtrlEx::ToggleStyle(DWORD bit, BOOL on) {
    ModifyStyle(on ? 0 : bit, on ? bit : 0, SWP_FRAMECHANGED);
}

void CProgressCtrlEx::SetTiedText(BOOL on) { ToggleStyle(PBS_EX_TIEDTEXT, on); }
BOOL CProgressCtrlEx::GetTiedText() { return (GetStyle() & PBS_EX_TIEDTEXT) != 0; }
void CProgressCtrlEx::SetRubberBar(BOOL on) { ToggleStyle(PBS_EX_RUBBERBAR, on); }
BOOL CProgressCtrlEx::GetRubberBar() { return (GetStyle() & PBS_EX_RUBBERBAR) != 0; }
void CProgressCtrlEx::SetReverse(BOOL on) { ToggleStyle(PBS_EX_REVERSE, on); }
BOOL CProgressCtrlEx::GetReverse() { return (GetStyle() & PBS_EX_REVERSE) != 0; }
void CProgressCtrlEx::SetSnake(BOOL on) { ToggleStyle(PBS_EX_SNAKE | PBS_EX_RUBBERBAR, on); }
BOOL CProgressCtrlEx::GetSnake() { return (GetStyle() & PBS_EX_SNAKE) != 0; }
void CProgressCtrlEx::SetSnakeTail(int tail) { m_snakeTail = tail; }
int CProgressCtrlEx::GetSnakeTail() { return m_snakeTail; }
void CProgressCtrlEx::SetBorders(const CRect& insets) { m_insets = insets; }
const CRect& CProgressCtrlEx::GetBorders() { return m_insets; }

LRESULT CProgressCtrlEx::OnSetBarColor(WPARAM wParam, LPARAM lParam) {
    const COLORREF start = static_cast<COLORREF>(lParam);
    SetGradientColors(start, wParam ? static_cast<COLORREF>(wParam) : start);
    return CLR_DEFAULT;
}

LRESULT CProgressCtrlEx::OnSetBkColor(WPARAM, LPARAM lParam) {
    m_bkColor = static_cast<COLORREF>(lParam);
    return CLR_DEFAULT;
}

LRESULT CProgressCtrlEx::OnSetStep(WPARAM wParam, LPARAM) {
    m_step = static_cast<int>(wParam);
    return Default();
}

LRESULT CProgressCtrlEx::OnSetPos(WPARAM wParam, LPARAM) {
    int old = 0;
    return SetSnakePos(old, static_cast<int>(wParam), FALSE) ? old : Default();
}

LRESULT CProgressCtrlEx::OnDeltaPos(WPARAM wParam, LPARAM) {
    int old = 0;
    return SetSnakePos(old, static_cast<int>(wParam), TRUE) ? old : Default();
}

LRESULT CProgressCtrlEx::OnStepIt(WPARAM, LPARAM) {
    int old = 0;
    return SetSnakePos(old, m_step, TRUE) ? old : Default();
}

BOOL CProgressCtrlEx::SetSnakePos(int& oldPos, int pos, BOOL incremental) {
    if (!(GetStyle() & PBS_EX_SNAKE))
        return FALSE;
    int lower = 0, upper = 0;
    GetRange(lower, upper);
    if (incremental) {
        // The control keeps its position within the range: past the upper end the snake's head is
        // its start plus its tail.
        int current = GetPos();
        if (current == upper && current - m_snakeStart < m_snakeTail)
            current = m_snakeStart + m_snakeTail;
        pos = std::abs(pos) + current;
    }
    const int end = upper + m_snakeTail;
    if (pos > end) {
        pos += lower - end;
        if (pos > end)
            pos = end;
        ToggleStyle(PBS_EX_REVERSE, !(GetStyle() & PBS_EX_REVERSE)); // the snake runs back
    } else if (pos >= upper) {
        Invalidate(TRUE);
    }
    m_snakeStart = pos - m_snakeTail > lower ? pos - m_snakeTail : lower;
    oldPos = static_cast<int>(DefWindowProc(PBM_SETPOS, static_cast<WPARAM>(pos), 0));
    return TRUE;
}

CProgressCtrlEx2::CProgressCtrlEx2() = default;
CProgressCtrlEx2::~CProgressCtrlEx2() = default;

void CProgressCtrlEx2::SetShowNumber(BOOL on) { SetTextFormat(on ? "%d / %d" : NULL, PBS_EX_SHOWPOSITION); }
BOOL CProgressCtrlEx2::GetShowNumber() { return (GetStyle() & PBS_EX_SHOWPOSITION) != 0; }
