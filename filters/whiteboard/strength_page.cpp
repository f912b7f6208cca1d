#include "strength_page.h"

#include "strength_page_ids.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

constexpr int kMinimum = 0;
constexpr int kMaximum = 100;

void WriteNumber(HWND page, int id, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(page, id, text);
}

} // namespace

CUnknown* CALLBACK CStrengthPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CStrengthPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CStrengthPage::CStrengthPage(IUnknown* outer)
    : CBasePropertyPage("Strength property page", outer, IDD_STRENGTH_PAGE, IDS_STRENGTH_PAGE_TITLE) {
    // The trackbar class lives in the common controls.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

CStrengthPage::~CStrengthPage() {
    if (params_)
        params_->Release();
}

HRESULT CStrengthPage::OnConnect(IUnknown* object) {
    if (!object)
        return E_POINTER;
    IQelStrengthParams* params = nullptr;
    if (FAILED(object->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(&params))) || !params)
        return E_NOINTERFACE;
    if (params_)
        params_->Release();
    params_ = params;
    params_->GetEnable(&savedEnable_);
    params_->GetStrength(&savedStrength_);
    currentEnable_ = savedEnable_;
    currentStrength_ = savedStrength_;
    active_ = false;
    return S_OK;
}

HRESULT CStrengthPage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    // Closing without Apply: the filter gets back what it had.
    params_->SetStrength(savedStrength_);
    params_->SetEnable(savedEnable_);
    params_->Release();
    params_ = nullptr;
    return S_OK;
}

HRESULT CStrengthPage::OnActivate() {
    active_ = true;
    return S_OK;
}

HRESULT CStrengthPage::OnDeactivate() {
    active_ = false;
    trackbar_ = nullptr;
    return S_OK;
}

HRESULT CStrengthPage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetStrength(currentStrength_);
    params_->SetEnable(currentEnable_);
    savedStrength_ = currentStrength_;
    savedEnable_ = currentEnable_;
    return S_OK;
}

void CStrengthPage::EnableStrengthControls(HWND page, bool on) {
    EnableWindow(GetDlgItem(page, IDC_STRENGTH_TRACKBAR), on);
    EnableWindow(GetDlgItem(page, IDC_STRENGTH_EDIT), on);
}

void CStrengthPage::InitialiseControls(HWND page) {
    initialising_ = true;
    trackbar_ = GetDlgItem(page, IDC_STRENGTH_TRACKBAR);
    SendMessageW(trackbar_, TBM_SETRANGE, TRUE, MAKELPARAM(kMinimum, kMaximum));
    SendMessageW(trackbar_, TBM_SETTICFREQ, 10, 0);
    SendMessageW(trackbar_, TBM_SETPOS, TRUE, currentStrength_);
    WriteNumber(page, IDC_STRENGTH_EDIT, currentStrength_);
    EnableStrengthControls(page, currentEnable_ != 0);
    CheckDlgButton(page, IDC_STRENGTH_ENABLE, currentEnable_ ? BST_CHECKED : BST_UNCHECKED);
    initialising_ = false;
}

void CStrengthPage::OnEnableClicked(HWND page) {
    currentEnable_ = IsDlgButtonChecked(page, IDC_STRENGTH_ENABLE) == BST_CHECKED;
    EnableStrengthControls(page, currentEnable_ != 0);
    params_->SetEnable(currentEnable_);
}

void CStrengthPage::OnStrengthEdited(HWND page) {
    char text[261] = {};
    GetDlgItemTextA(page, IDC_STRENGTH_EDIT, text, sizeof text);
    long value = std::strtol(text, nullptr, 10);
    if (value > kMaximum || value < kMinimum) {
        value = value > kMaximum ? kMaximum : kMinimum;
        // Rewriting the text comes back here once more, with a value in range.
        WriteNumber(page, IDC_STRENGTH_EDIT, static_cast<int>(value));
    }
    currentStrength_ = static_cast<int>(value);
    SendMessageW(GetDlgItem(page, IDC_STRENGTH_TRACKBAR), TBM_SETPOS, TRUE, currentStrength_);
    params_->SetStrength(currentStrength_);
}

void CStrengthPage::OnTrackbarMoved(HWND page, HWND trackbar) {
    if (trackbar == nullptr || trackbar != trackbar_)
        return;
    currentStrength_ = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
    WriteNumber(page, IDC_STRENGTH_EDIT, currentStrength_);
    params_->SetStrength(currentStrength_);
}

INT_PTR CStrengthPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitialiseControls(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (initialising_ || !params_)
            return TRUE;
        if (active_)
            SetDirty();
        if (LOWORD(wParam) == IDC_STRENGTH_ENABLE && HIWORD(wParam) == BN_CLICKED)
            OnEnableClicked(hwnd);
        else if (LOWORD(wParam) == IDC_STRENGTH_EDIT && HIWORD(wParam) == EN_CHANGE)
            OnStrengthEdited(hwnd);
        return TRUE;
    case WM_HSCROLL:
        // The trackbar's final notifications; the position is read from the control itself.
        if (LOWORD(wParam) == TB_THUMBPOSITION || LOWORD(wParam) == TB_ENDTRACK) {
            if (initialising_ || !params_)
                return TRUE;
            SetDirty();
            OnTrackbarMoved(hwnd, reinterpret_cast<HWND>(lParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CBasePropertyPage::OnReceiveMessage(hwnd, message, wParam, lParam);
}
