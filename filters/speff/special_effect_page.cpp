#include "special_effect_page.h"

#include "core/special_effect_table.h"
#include "page_controls.h"
#include "resource.h"

#include "qeldshow/module.h"

#include <commctrl.h>

#include <new>

CUnknown* CALLBACK CSpecialEffectPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CSpecialEffectPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CSpecialEffectPage::CSpecialEffectPage(IUnknown* outer)
    : CParamsPage("Special effect property page", outer, IDD_SPEFF_PAGE, IDS_SPEFF_PAGE_TITLE) {
    // The dialog's trackbar is a common control.
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

HRESULT CSpecialEffectPage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
    int effect = -1;
    params_->GetEnable(&saved_.enable);
    params_->GetStrength(&saved_.strength);
    params_->GetEffect(&effect);
    saved_.row = FindSpecialEffectRow(effect, saved_.row);
    current_ = saved_;
    return S_OK;
}

HRESULT CSpecialEffectPage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetStrength(saved_.strength);
    params_->SetEnable(saved_.enable);
    params_->SetEffect(kSpecialEffectRows[saved_.row].effectIndex);
    ReleaseParams();
    return S_OK;
}

HRESULT CSpecialEffectPage::OnApplyChanges() {
    saved_ = current_;
    return S_OK;
}

void CSpecialEffectPage::EnableControls(HWND page) {
    const bool strength = current_.enable && kSpecialEffectRows[current_.row].strengthUsed;
    EnableWindow(GetDlgItem(page, IDC_SPEFF_EFFECT_COMBO), current_.enable != 0);
    EnableWindow(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR), strength);
    EnableWindow(GetDlgItem(page, IDC_SPEFF_STRENGTH_EDIT), strength);
}

void CSpecialEffectPage::ShowStrengthText(HWND page) {
    const bool wasUpdating = updating_;
    updating_ = true;
    qelpage::ShowNumber(page, IDC_SPEFF_STRENGTH_EDIT, current_.strength);
    updating_ = wasUpdating;
}

void CSpecialEffectPage::ShowStrength(HWND page) {
    const SpecialEffectRow& row = kSpecialEffectRows[current_.row];
    qelpage::SetUpTrackbar(GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR), row.minimum, row.maximum, row.pageStep,
                           current_.strength);
    ShowStrengthText(page);
}

void CSpecialEffectPage::InitialiseControls(HWND page) {
    updating_ = true;
    CheckDlgButton(page, IDC_SPEFF_ENABLE, current_.enable ? BST_CHECKED : BST_UNCHECKED);
    const HWND combo = GetDlgItem(page, IDC_SPEFF_EFFECT_COMBO);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const SpecialEffectRow& row : kSpecialEffectRows) {
        char name[64] = {};
        LoadStringA(QelModuleHandle(), row.stringId, name, sizeof name);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(combo, CB_SETCURSEL, current_.row, 0);
    EnableControls(page);
    ShowStrength(page);
    updating_ = false;
}

void CSpecialEffectPage::OnCommand(HWND page, int id, int code) {
    if (!params_)
        return;
    switch (id) {
    case IDC_SPEFF_ENABLE:
        if (code != BN_CLICKED)
            break;
        current_.enable = IsDlgButtonChecked(page, IDC_SPEFF_ENABLE) == BST_CHECKED;
        EnableControls(page);
        params_->SetEnable(current_.enable);
        break;
    case IDC_SPEFF_EFFECT_COMBO: {
        if (code != CBN_SELCHANGE)
            break;
        const LRESULT selection = SendDlgItemMessageA(page, IDC_SPEFF_EFFECT_COMBO, CB_GETCURSEL, 0, 0);
        if (selection < 0 || selection >= kSpecialEffectRowCount)
            break;
        current_.row = static_cast<int>(selection);
        const SpecialEffectRow& row = kSpecialEffectRows[current_.row];
        current_.strength = row.defaultStrength;
        EnableControls(page);
        ShowStrength(page);
        params_->SetStrength(current_.strength);
        params_->SetEffect(row.effectIndex);
        break;
    }
    case IDC_SPEFF_STRENGTH_EDIT: {
        if (code != EN_CHANGE)
            break;
        const SpecialEffectRow& row = kSpecialEffectRows[current_.row];
        const qelpage::TypedNumber typed =
            qelpage::ReadBoundedNumber(page, IDC_SPEFF_STRENGTH_EDIT, row.minimum, row.maximum);
        current_.strength = typed.value;
        if (typed.bounded)
            ShowStrengthText(page);
        SendDlgItemMessageA(page, IDC_SPEFF_STRENGTH_TRACKBAR, TBM_SETPOS, TRUE, typed.value);
        params_->SetStrength(typed.value);
        break;
    }
    default:
        break;
    }
}

void CSpecialEffectPage::OnScroll(HWND page, WPARAM wParam, HWND control) {
    if (!qelpage::IsFinishedMove(wParam))
        return;
    SetDirty();
    const HWND trackbar = GetDlgItem(page, IDC_SPEFF_STRENGTH_TRACKBAR);
    if (control != trackbar || !params_)
        return;
    current_.strength = static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    ShowStrengthText(page);
    params_->SetStrength(current_.strength);
}

INT_PTR CSpecialEffectPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
