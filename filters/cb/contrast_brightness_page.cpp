#include "contrast_brightness_page.h"

#include "page_controls.h"
#include "resource.h"

#include <commctrl.h>

#include <new>

namespace {

constexpr int kMinimum = -100;
constexpr int kMaximum = 100;
constexpr int kPageStep = 10;

}  // namespace

const CContrastBrightnessPage::Control CContrastBrightnessPage::kControls[2] = {
    {IDC_CB_CONTRAST_TRACKBAR, IDC_CB_CONTRAST_EDIT, &Values::contrast, &IQelContrastBrightnessParams::SetContrast},
    {IDC_CB_BRIGHTNESS_TRACKBAR, IDC_CB_BRIGHTNESS_EDIT, &Values::brightness,
     &IQelContrastBrightnessParams::SetBrightness},
};

CUnknown* CALLBACK CContrastBrightnessPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CContrastBrightnessPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CContrastBrightnessPage::CContrastBrightnessPage(IUnknown* outer)
    : CParamsPage("Contrast brightness property page", outer, IDD_CB_PAGE, IDS_CB_PAGE_TITLE) {
    // The dialog's trackbars are common controls.
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

HRESULT CContrastBrightnessPage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
    params_->GetEnable(&saved_.enable);
    params_->GetContrast(&saved_.contrast);
    params_->GetBrightness(&saved_.brightness);
    current_ = saved_;
    return S_OK;
}

void CContrastBrightnessPage::Send(const Values& values, bool withEnable) {
    params_->SetContrast(values.contrast);
    params_->SetBrightness(values.brightness);
    if (withEnable)
        params_->SetEnable(values.enable);
}

HRESULT CContrastBrightnessPage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    Send(saved_, true);
    ReleaseParams();
    return S_OK;
}

HRESULT CContrastBrightnessPage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    Send(current_, true);
    saved_ = current_;
    return S_OK;
}

void CContrastBrightnessPage::EnableControls(HWND page) {
    for (const Control& control : kControls) {
        EnableWindow(GetDlgItem(page, control.trackbar), current_.enable != 0);
        EnableWindow(GetDlgItem(page, control.edit), current_.enable != 0);
    }
}

void CContrastBrightnessPage::ShowValue(HWND page, const Control& control) {
    const bool wasUpdating = updating_;
    updating_ = true;
    qelpage::ShowNumber(page, control.edit, current_.*control.value);
    updating_ = wasUpdating;
}

void CContrastBrightnessPage::InitialiseControls(HWND page) {
    updating_ = true;
    for (const Control& control : kControls) {
        qelpage::SetUpTrackbar(GetDlgItem(page, control.trackbar), kMinimum, kMaximum, kPageStep,
                               current_.*control.value);
        ShowValue(page, control);
    }
    EnableControls(page);
    CheckDlgButton(page, IDC_CB_ENABLE, current_.enable ? BST_CHECKED : BST_UNCHECKED);
    updating_ = false;
}

void CContrastBrightnessPage::OnEdited(HWND page, const Control& control) {
    const qelpage::TypedNumber typed = qelpage::ReadBoundedNumber(page, control.edit, kMinimum, kMaximum);
    current_.*control.value = typed.value;
    // Only a bounded value is written back: a rewrite on every change would keep a user from typing
    // a minus sign.
    if (typed.bounded)
        ShowValue(page, control);
    SendDlgItemMessageA(page, control.trackbar, TBM_SETPOS, TRUE, typed.value);
    (params_.Get()->*control.send)(typed.value);
}

void CContrastBrightnessPage::OnCommand(HWND page, int id, int code) {
    if (!params_)
        return;
    if (id == IDC_CB_ENABLE) {
        if (code != BN_CLICKED)
            return;
        current_.enable = IsDlgButtonChecked(page, IDC_CB_ENABLE) == BST_CHECKED;
        EnableControls(page);
        params_->SetEnable(current_.enable);
        return;
    }
    for (const Control& control : kControls) {
        if (id == control.edit && code == EN_CHANGE)
            OnEdited(page, control);
    }
}

void CContrastBrightnessPage::OnScroll(HWND page, WPARAM wParam, HWND trackbar) {
    if (!qelpage::IsFinishedMove(wParam))
        return;
    SetDirty();
    if (!params_)
        return;
    for (const Control& control : kControls) {
        if (trackbar != GetDlgItem(page, control.trackbar))
            continue;
        current_.*control.value = static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
        ShowValue(page, control);
        (params_.Get()->*control.send)(current_.*control.value);
    }
}

INT_PTR CContrastBrightnessPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitialiseControls(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (updating_)
            return TRUE;
        if (active_)
            SetDirty();
        OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        OnScroll(hwnd, wParam, reinterpret_cast<HWND>(lParam));
        return TRUE;
    default:
        return CBasePropertyPage::OnReceiveMessage(hwnd, message, wParam, lParam);
    }
}
