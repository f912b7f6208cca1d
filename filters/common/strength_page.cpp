#include "strength_page.h"

#include "page_controls.h"
#include "strength_page_ids.h"

#include <commctrl.h>

#include <new>

namespace {

constexpr int kMinimum = 0;
constexpr int kMaximum = 100;

} // namespace

CUnknown* CALLBACK CStrengthPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CStrengthPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CStrengthPage::CStrengthPage(IUnknown* outer)
    : CParamsPage("Strength property page", outer, IDD_STRENGTH_PAGE, IDS_STRENGTH_PAGE_TITLE) {
    // The trackbar class lives in the common controls.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

HRESULT CStrengthPage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
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
    ReleaseParams();
    return S_OK;
}

HRESULT CStrengthPage::OnDeactivate() {
    trackbar_ = nullptr;
    return CParamsPage::OnDeactivate();
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
    qelpage::ShowNumber(page, IDC_STRENGTH_EDIT, currentStrength_);
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
    const qelpage::TypedNumber typed = qelpage::ReadBoundedNumber(page, IDC_STRENGTH_EDIT, kMinimum, kMaximum);
    // Rewriting the text comes back here once more, with a value in range.
    if (typed.bounded)
        qelpage::ShowNumber(page, IDC_STRENGTH_EDIT, typed.value);
    currentStrength_ = typed.value;
    SendMessageW(GetDlgItem(page, IDC_STRENGTH_TRACKBAR), TBM_SETPOS, TRUE, currentStrength_);
    params_->SetStrength(currentStrength_);
}

void CStrengthPage::OnTrackbarMoved(HWND page, HWND trackbar) {
    if (trackbar == nullptr || trackbar != trackbar_)
        return;
    currentStrength_ = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
    qelpage::ShowNumber(page, IDC_STRENGTH_EDIT, currentStrength_);
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
        if (qelpage::IsFinishedMove(wParam)) {
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
