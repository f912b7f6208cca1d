#include "test_page.h"

#include <new>

CTestPage::CTestPage(IUnknown* outer, int dialogId)
    : CBasePropertyPage("Test page", outer, dialogId, IDS_QEL_TEST_PAGE_TITLE) {}

CTestPage::~CTestPage() {
    if (value_)
        value_->Release();
}

CUnknown* CALLBACK CTestPage::Create(IUnknown* outer, HRESULT* hr) {
    CUnknown* page = new (std::nothrow) CTestPage(outer, IDD_QEL_TEST_PAGE);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CUnknown* CALLBACK CTestPage::CreateClassic(IUnknown* outer, HRESULT* hr) {
    CUnknown* page = new (std::nothrow) CTestPage(outer, IDD_QEL_TEST_CLASSIC_PAGE);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

HRESULT CTestPage::OnConnect(IUnknown* object) {
    return object->QueryInterface(IID_IQelTestValue, reinterpret_cast<void**>(&value_));
}

HRESULT CTestPage::OnDisconnect() {
    if (!value_)
        return E_UNEXPECTED;
    value_->Release();
    value_ = nullptr;
    return S_OK;
}

HRESULT CTestPage::OnActivate() {
    int value = 0;
    const HRESULT hr = value_ ? value_->GetValue(&value) : E_UNEXPECTED;
    if (FAILED(hr))
        return hr;
    CheckDlgButton(PageWindow(), IDC_QEL_TEST_ENABLE, value ? BST_CHECKED : BST_UNCHECKED);
    return S_OK;
}

HRESULT CTestPage::OnApplyChanges() {
    if (!value_)
        return E_UNEXPECTED;
    return value_->SetValue(IsDlgButtonChecked(PageWindow(), IDC_QEL_TEST_ENABLE) == BST_CHECKED ? 1 : 0);
}

INT_PTR CTestPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_QEL_TEST_ENABLE && HIWORD(wParam) == BN_CLICKED) {
        SetDirty();
        return TRUE;
    }
    return CBasePropertyPage::OnReceiveMessage(hwnd, message, wParam, lParam);
}
