#pragma once
// Private: message-map dispatch and the layer's access to CWnd's insides.
#include "afxwin.h"

#include <stdexcept>

struct QelWndAccess {
    static void Hook(CWnd* wnd, HWND window); // attach and install AfxWndProc
    static void BeginCreation(CWnd* wnd);     // the next window created on this thread is wnd's
    static bool EndCreation(CWnd* wnd);       // true when wnd was attached meanwhile
    static void AfterNcDestroy(CWnd* wnd, HWND window);
    static WNDPROC& Super(CWnd* wnd) { return wnd->m_pfnSuper; }
};

struct QelCmdTargetAccess {
    static const AFX_MSGMAP* MessageMap(const CCmdTarget* target) { return target->GetMessageMap(); }
};

namespace qelmfc {

// CDataExchange::Fail throws this; UpdateData answers FALSE.
struct ExchangeFailure : std::runtime_error {
    ExchangeFailure() : std::runtime_error("data exchange failed") {}
};

// The child a parent's message is about, for reflection (null: none).
HWND ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);

// Looks message up in wnd's message maps (not commands or notifications) and runs its handler.
BOOL DispatchMessageMap(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

// The reflected form of a parent's message, in the child's maps.
BOOL DispatchReflected(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

} // namespace qelmfc
