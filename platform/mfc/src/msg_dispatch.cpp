// Message-map lookup and dispatch by handler signature, commands and reflection.
#include "msg_dispatch.h"

#include "app_state.h"

namespace {

// The handler as its signature's member pointer (the map stored it as AFX_PMSG).
template <class F>
F AsWnd(AFX_PMSG pfn) {
    return QelMemberBits<F>(static_cast<AFX_PMSGW>(pfn));
}

template <class F>
F AsTarget(AFX_PMSG pfn) {
    return QelMemberBits<F>(pfn);
}

bool IsCtlColor(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The first entry of target's maps for message (with code and id for commands), base maps last.
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id, bool matchCode) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry && entry->nSig != AfxSig_end; ++entry) {
            const UINT entryMessage = entry->pRegistered ? *entry->pRegistered : entry->nMessage;
            if (entryMessage != message || (entry->pRegistered && message == 0))
                continue;
            if (matchCode && (static_cast<WORD>(entry->nCode) != static_cast<WORD>(code) || id < entry->nID ||
                              id > entry->nLastID))
                continue;
            if (!matchCode && (entry->nCode != 0 || entry->nID != 0))
                continue;
            return entry;
        }
        if (map->pfnGetBaseMap == nullptr)
            break;
    }
    return nullptr;
}

// Runs a window message handler; pResult gets what the window procedure returns.
BOOL CallHandler(CWnd* wnd, const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM w, LPARAM l, LRESULT* pResult) {
    LRESULT result = 0;
    const AFX_PMSG pfn = entry->pfn;
    switch (entry->nSig) {
    case AfxSig_vv:
        (wnd->*AsWnd<void (CWnd::*)()>(pfn))();
        break;
    case AfxSig_bv:
        result = (wnd->*AsWnd<BOOL (CWnd::*)()>(pfn))();
        break;
    case AfxSig_is:
        result = (wnd->*AsWnd<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(l));
        break;
    case AfxSig_bD:
        result = (wnd->*AsWnd<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(w)));
        break;
    case AfxSig_vw:
        (wnd->*AsWnd<void (CWnd::*)(UINT_PTR)>(pfn))(static_cast<UINT_PTR>(w));
        break;
    case AfxSig_vwii:
        (wnd->*AsWnd<void (CWnd::*)(UINT, int, int)>(pfn))(static_cast<UINT>(w), static_cast<short>(LOWORD(l)),
                                                          static_cast<short>(HIWORD(l)));
        break;
    case AfxSig_vii:
        (wnd->*AsWnd<void (CWnd::*)(int, int)>(pfn))(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
        break;
    case AfxSig_vwp:
        (wnd->*AsWnd<void (CWnd::*)(UINT, CPoint)>(pfn))(static_cast<UINT>(w), CPoint(l));
        break;
    case AfxSig_vwr:
        (wnd->*AsWnd<void (CWnd::*)(UINT, LPRECT)>(pfn))(static_cast<UINT>(w), reinterpret_cast<LPRECT>(l));
        result = TRUE;
        break;
    case AfxSig_vW:
        (wnd->*AsWnd<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle(reinterpret_cast<HWND>(w)));
        break;
    case AfxSig_vwWb:
        (wnd->*AsWnd<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)),
                                                             HIWORD(w));
        break;
    case AfxSig_vwww:
        (wnd->*AsWnd<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(static_cast<UINT>(w), LOWORD(l), HIWORD(l));
        break;
    case AfxSig_vwwx:
        (wnd->*AsWnd<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
            LOWORD(w), HIWORD(w), static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(l))));
        break;
    case AfxSig_vww:
        (wnd->*AsWnd<void (CWnd::*)(UINT, UINT)>(pfn))(LOWORD(w), HIWORD(w));
        break;
    case AfxSig_hDWw: {
        HBRUSH brush = (wnd->*AsWnd<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(w)), CWnd::FromHandle(reinterpret_cast<HWND>(l)),
            message - WM_CTLCOLORMSGBOX);
        result = reinterpret_cast<LRESULT>(brush);
        break;
    }
    case AfxSig_lwl:
        result = (wnd->*AsWnd<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(w, l);
        break;
    case AfxSig_vwb:
        (wnd->*AsWnd<void (CWnd::*)(BOOL, UINT)>(pfn))(static_cast<BOOL>(w), static_cast<UINT>(l));
        break;
    case AfxSig_bWww:
        result = (wnd->*AsWnd<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(CWnd::FromHandle(reinterpret_cast<HWND>(w)),
                                                                       LOWORD(l), HIWORD(l));
        break;
    case AfxSig_vwl:
        (wnd->*AsWnd<void (CWnd::*)(UINT, LPARAM)>(pfn))(static_cast<UINT>(w), l);
        break;
    case AfxSig_vs:
        (wnd->*AsWnd<void (CWnd::*)(MINMAXINFO*)>(pfn))(reinterpret_cast<MINMAXINFO*>(l));
        break;
    case AfxSig_bwsp:
        result = (wnd->*AsWnd<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(LOWORD(w), static_cast<short>(HIWORD(w)),
                                                                        CPoint(l));
        break;
    case AfxSig_vOWNER:
        (wnd->*AsWnd<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(static_cast<int>(w),
                                                                  reinterpret_cast<LPDRAWITEMSTRUCT>(l));
        result = TRUE;
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = result;
    return TRUE;
}

} // namespace

namespace qelmfc {

HWND ReflectionTarget(HWND parent, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (!lParam)
        return nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(parent, item->CtlID);
    }
    case WM_DELETEITEM:
        return reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
    case WM_COMPAREITEM:
        return reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    default:
        return IsCtlColor(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
    }
}

BOOL DispatchMessageMap(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const UINT lookup = IsCtlColor(message) ? WM_CTLCOLOR : message;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(QelCmdTargetAccess::MessageMap(wnd), lookup, 0, 0, false);
    return entry ? CallHandler(wnd, entry, message, wParam, lParam, pResult) : FALSE;
}

BOOL DispatchReflected(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const AFX_MSGMAP* map = QelCmdTargetAccess::MessageMap(wnd);
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* entry = FindEntry(map, WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, true);
        if (!entry)
            return FALSE;
        if (entry->nSig == AfxSig_bv)
            return (wnd->*AsTarget<BOOL (CCmdTarget::*)()>(entry->pfn))();
        (wnd->*entry->pfn)();
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* entry = FindEntry(map, WM_REFLECT_BASE + WM_NOTIFY, header->code, 0, true);
        if (!entry)
            return FALSE;
        LRESULT ignored = 0;
        LRESULT* result = pResult ? pResult : &ignored;
        *result = 0;
        if (entry->nSig == AfxSig_bNMHDRpl)
            return (wnd->*AsTarget<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, result);
        (wnd->*AsTarget<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, result);
        return TRUE;
    }
    if (IsCtlColor(message)) {
        const AFX_MSGMAP_ENTRY* entry = FindEntry(map, WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, false);
        if (!entry || entry->nSig != AfxSig_hDw)
            return FALSE;
        HBRUSH brush = (wnd->*AsWnd<HBRUSH (CWnd::*)(CDC*, UINT)>(entry->pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message - WM_CTLCOLORMSGBOX);
        if (!brush)
            return FALSE;
        if (pResult)
            *pResult = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(map, WM_REFLECT_BASE + message, 0, 0, false);
    return entry ? CallHandler(wnd, entry, message, wParam, lParam, pResult) : FALSE;
}

} // namespace qelmfc

// CCmdTarget's own map is the end of every chain.
const AFX_MSGMAP* __stdcall CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const bool notify = HIWORD(static_cast<DWORD>(nCode)) == WM_NOTIFY;
    const UINT message = notify ? WM_NOTIFY : WM_COMMAND;
    const UINT code = notify ? LOWORD(static_cast<DWORD>(nCode)) : static_cast<UINT>(nCode);
    const AFX_MSGMAP_ENTRY* entry = FindEntry(GetMessageMap(), message, code, nID, true);
    if (!entry)
        return FALSE;
    if (pHandlerInfo)
        return TRUE;
    switch (entry->nSig) {
    case AfxSig_vv:
        (this->*entry->pfn)();
        return TRUE;
    case AfxSig_vw:
        (this->*AsTarget<void (CCmdTarget::*)(UINT)>(entry->pfn))(nID);
        return TRUE;
    case AfxSig_vNMHDRpl: {
        AFX_NOTIFY* info = static_cast<AFX_NOTIFY*>(pExtra);
        if (!info)
            return FALSE;
        LRESULT ignored = 0;
        LRESULT* result = info->pResult ? info->pResult : &ignored;
        (this->*AsTarget<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(info->pNMHDR, result);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
