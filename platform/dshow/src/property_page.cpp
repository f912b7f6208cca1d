#include "qeldshow/property_page.h"

#include <cstring>
#include <vector>

#include "qeldshow/module.h"

namespace {

HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// A copy of the page's DIALOG or DIALOGEX resource, whose style the caller adapts (never in place).
HRESULT LoadDialogTemplate(int dialogId, std::vector<DWORD>* copy) {
    const HMODULE module = QelModuleHandle();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(dialogId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!resource)
        return LastErrorResult();
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size < sizeof(DLGTEMPLATE))
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    copy->assign((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    std::memcpy(copy->data(), data, size);
    return S_OK;
}

DWORD& TemplateStyle(std::vector<DWORD>& dialogTemplate) {
    const auto* words = reinterpret_cast<const WORD*>(dialogTemplate.data());
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    // DLGTEMPLATEEX: version, signature, help id, extended style, then style. DLGTEMPLATE: style first.
    return dialogTemplate[extended ? 3 : 0];
}

const DWORD kFrameStyles = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME |
                           WS_VISIBLE | WS_DISABLED | DS_CONTROL;

// The page lives inside the frame: a child control without frame, hidden until Show.
HRESULT LoadPageTemplate(int dialogId, std::vector<DWORD>* copy) {
    const HRESULT hr = LoadDialogTemplate(dialogId, copy);
    if (SUCCEEDED(hr))
        TemplateStyle(*copy) = (TemplateStyle(*copy) & ~kFrameStyles) | WS_CHILD | DS_CONTROL;
    return hr;
}

INT_PTR CALLBACK MeasureProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

} // namespace

CBasePropertyPage::CBasePropertyPage(const char* name, IUnknown* outer, int dialogId, int titleId)
    : CUnknown(name, outer), dialogId_(dialogId), titleId_(titleId) {}

CBasePropertyPage::~CBasePropertyPage() {
    if (hwnd_) {
        // The derived part is gone: its hooks must not see the window's last messages.
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
    if (site_)
        site_->Release();
}

HRESULT STDMETHODCALLTYPE CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IPropertyPage)
        return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBasePropertyPage::SetPageSite(IPropertyPageSite* site) {
    if (site) {
        if (site_)
            return E_UNEXPECTED;
        site_ = site;
        site_->AddRef();
        return S_OK;
    }
    if (!site_)
        return E_UNEXPECTED;
    site_->Release();
    site_ = nullptr;
    return S_OK;
}

HWND CBasePropertyPage::CreatePageDialog(HWND parent) {
    std::vector<DWORD> pageTemplate;
    const HRESULT hr = LoadPageTemplate(dialogId_, &pageTemplate);
    if (FAILED(hr)) {
        SetLastError(HRESULT_CODE(hr));
        return nullptr;
    }
    return CreateDialogIndirectParamW(QelModuleHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(pageTemplate.data()),
                                      parent, &CBasePropertyPage::DialogProc, reinterpret_cast<LPARAM>(this));
}

HRESULT CBasePropertyPage::MeasureDialog(SIZE* size) {
    std::vector<DWORD> pageTemplate;
    HRESULT hr = LoadDialogTemplate(dialogId_, &pageTemplate);
    if (FAILED(hr))
        return hr;
    // A child needs a parent: measure the same template as a hidden frameless top-level window, whose
    // client area then has the page's size in pixels (dialog units depend on the dialog's font).
    TemplateStyle(pageTemplate) = (TemplateStyle(pageTemplate) & ~kFrameStyles) | WS_POPUP;
    HWND measure = CreateDialogIndirectParamW(
        QelModuleHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(pageTemplate.data()), nullptr, &MeasureProc, 0);
    if (!measure)
        return LastErrorResult();
    RECT client = {};
    GetClientRect(measure, &client);
    DestroyWindow(measure);
    size->cx = client.right - client.left;
    size->cy = client.bottom - client.top;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect)
        return E_POINTER;
    if (hwnd_)
        return E_UNEXPECTED;
    HWND page = CreatePageDialog(parent);
    if (!page)
        return LastErrorResult();
    hwnd_ = page;
    HRESULT hr = OnActivate();
    if (FAILED(hr)) {
        SetWindowLongPtrW(page, DWLP_USER, 0);
        DestroyWindow(page);
        hwnd_ = nullptr;
        return hr;
    }
    hr = Move(rect);
    if (SUCCEEDED(hr))
        hr = Show(SW_SHOWNORMAL);
    return hr;
}

STDMETHODIMP CBasePropertyPage::Deactivate() {
    if (!hwnd_)
        return E_UNEXPECTED;
    const HRESULT hr = OnDeactivate();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return hr;
}

STDMETHODIMP CBasePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info)
        return E_POINTER;
    const wchar_t* text = nullptr;
    const int length = LoadStringW(QelModuleHandle(), titleId_, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    SIZE size = {};
    HRESULT hr = MeasureDialog(&size);
    if (FAILED(hr))
        return hr;
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc((length + 1) * sizeof(wchar_t)));
    if (!title)
        return E_OUTOFMEMORY;
    std::memcpy(title, text, length * sizeof(wchar_t));
    title[length] = L'\0';

    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = title;
    info->size = size;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count == 0) {
        objectSet_ = false;
        return OnDisconnect();
    }
    // A page edits one object; several at once is not something these pages can merge.
    if (count > 1)
        return E_UNEXPECTED;
    if (!objects || !objects[0])
        return E_POINTER;
    if (objectSet_) {
        objectSet_ = false;
        const HRESULT hr = OnDisconnect();
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = OnConnect(objects[0]);
    objectSet_ = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CBasePropertyPage::Show(UINT showCommand) {
    if (!hwnd_)
        return E_UNEXPECTED;
    if (showCommand != SW_SHOW && showCommand != SW_SHOWNORMAL && showCommand != SW_HIDE)
        return E_INVALIDARG;
    ShowWindow(hwnd_, showCommand);
    InvalidateRect(hwnd_, nullptr, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Move(LPCRECT rect) {
    if (!rect)
        return E_POINTER;
    if (!hwnd_)
        return E_UNEXPECTED;
    if (!MoveWindow(hwnd_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE))
        return LastErrorResult();
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP CBasePropertyPage::Apply() {
    if (!objectSet_ || !site_)
        return E_UNEXPECTED;
    if (!dirty_)
        return S_OK;
    const HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr))
        dirty_ = false;
    return hr;
}

STDMETHODIMP CBasePropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP CBasePropertyPage::TranslateAccelerator(MSG* msg) {
    if (!msg)
        return E_POINTER;
    // Tab and arrow-key navigation between the page's controls.
    return hwnd_ && IsDialogMessageW(hwnd_, msg) ? S_OK : S_FALSE;
}

void CBasePropertyPage::SetDirty() {
    dirty_ = true;
    if (site_)
        site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

HRESULT CBasePropertyPage::OnConnect(IUnknown*) { return S_OK; }
HRESULT CBasePropertyPage::OnDisconnect() { return S_OK; }
HRESULT CBasePropertyPage::OnActivate() { return S_OK; }
HRESULT CBasePropertyPage::OnDeactivate() { return S_OK; }
HRESULT CBasePropertyPage::OnApplyChanges() { return S_OK; }
INT_PTR CBasePropertyPage::OnReceiveMessage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK CBasePropertyPage::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CBasePropertyPage*>(lParam)->hwnd_ = hwnd;
    }
    auto* page = reinterpret_cast<CBasePropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return page ? page->OnReceiveMessage(hwnd, message, wParam, lParam) : FALSE;
}
