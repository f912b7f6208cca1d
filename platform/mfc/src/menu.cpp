// CMenu: a menu handle with its owner object.
#include "afxwin.h"

#include "app_state.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu::operator HMENU() const {
    return qelmfc::IsNull(this) ? nullptr : m_hMenu;
}

HMENU CMenu::GetSafeHmenu() const {
    return qelmfc::IsNull(this) ? nullptr : m_hMenu;
}

CMenu* __stdcall CMenu::FromHandle(HMENU menu) {
    if (!menu)
        return nullptr;
    auto& map = qelmfc::Thread().menus;
    if (CMenu* object = map.Lookup(menu))
        return object;
    CMenu* object = new CMenu;
    object->m_hMenu = menu;
    map.temporary[menu] = object;
    return object;
}

BOOL CMenu::Attach(HMENU menu) {
    if (!menu)
        return FALSE;
    m_hMenu = menu;
    qelmfc::Thread().menus.permanent[menu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    if (menu) {
        auto& map = qelmfc::Thread().menus;
        auto it = map.permanent.find(menu);
        if (it != map.permanent.end() && it->second == this)
            map.permanent.erase(it);
    }
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}
BOOL CMenu::LoadMenu(LPCSTR resourceName) {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), resourceName));
}
BOOL CMenu::LoadMenu(UINT resourceId) {
    return LoadMenu(MAKEINTRESOURCEA(resourceId));
}
BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}
BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return ::AppendMenuA(m_hMenu, flags, idNewItem, newItem);
}
BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return ::InsertMenuA(m_hMenu, position, flags, idNewItem, newItem);
}
BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    return ::ModifyMenuA(m_hMenu, position, flags, idNewItem, newItem);
}
BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
    return ::RemoveMenu(m_hMenu, position, flags);
}
BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
    return ::DeleteMenu(m_hMenu, position, flags);
}
UINT CMenu::EnableMenuItem(UINT idEnableItem, UINT enable) {
    return ::EnableMenuItem(m_hMenu, idEnableItem, enable);
}
UINT CMenu::CheckMenuItem(UINT idCheckItem, UINT check) {
    return ::CheckMenuItem(m_hMenu, idCheckItem, check);
}
BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) {
    return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}
BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition) {
    return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
}
UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}
UINT CMenu::GetMenuItemID(int position) const {
    return ::GetMenuItemID(m_hMenu, position);
}
UINT CMenu::GetMenuState(UINT id, UINT flags) const {
    return ::GetMenuState(m_hMenu, id, flags);
}
int CMenu::GetMenuString(UINT idItem, LPSTR text, int maxCount, UINT flags) const {
    return ::GetMenuStringA(m_hMenu, idItem, text, maxCount, flags);
}
int CMenu::GetMenuString(UINT idItem, CString& text, UINT flags) const {
    const int length = ::GetMenuStringA(m_hMenu, idItem, nullptr, 0, flags);
    const int result = ::GetMenuStringA(m_hMenu, idItem, text.GetBuffer(length), length + 1, flags);
    text.ReleaseBuffer(result);
    return result;
}
CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}
BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
