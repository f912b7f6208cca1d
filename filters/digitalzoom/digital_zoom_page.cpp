#include "digital_zoom_page.h"

#include "resource.h"
#include "core/zoom_steps.h"

#include <commctrl.h>

#include <cstdio>
#include <new>

CUnknown* CALLBACK CDigitalZoomPage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CDigitalZoomPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CDigitalZoomPage::CDigitalZoomPage(IUnknown* outer)
    : CParamsPage("Digital zoom property page", outer, IDD_DIGITALZOOM_PAGE, IDS_DIGITALZOOM_PAGE_TITLE) {
    // The dialog holds a trackbar: its window class must be registered before the dialog is made.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

HRESULT CDigitalZoomPage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
    Values read;
    params_->GetEnable(&read.enable);
    int percent = 100;
    params_->GetZoom(&percent);
    const int step = ZoomStepIndexForPercent(percent);
    if (step >= 0)
        read.step = step;
    saved_ = current_ = read;
    return S_OK;
}

HRESULT CDigitalZoomPage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetEnable(saved_.enable);
    params_->SetZoom(ZoomStepPercent(saved_.step));
    ReleaseParams();
    return S_OK;
}

HRESULT CDigitalZoomPage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetEnable(current_.enable);
    params_->SetZoom(ZoomStepPercent(current_.step));
    saved_ = current_;
    return S_OK;
}

void CDigitalZoomPage::ShowFactor(HWND page) {
    char text[16];
    std::snprintf(text, sizeof text, "x %1.1f", kZoomSteps[current_.step].factor);
    SetDlgItemTextA(page, IDC_DIGITALZOOM_FACTOR, text);
}

void CDigitalZoomPage::InitialiseControls(HWND page) {
    HWND trackbar = GetDlgItem(page, IDC_DIGITALZOOM_SLIDER);
    EnableWindow(trackbar, current_.enable != 0);
    SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kZoomStepCount - 1));
    SendMessageA(trackbar, TBM_SETTICFREQ, 1, 0);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, current_.step);
    CheckDlgButton(page, IDC_DIGITALZOOM_ENABLE, current_.enable ? BST_CHECKED : BST_UNCHECKED);
    ShowFactor(page);
}

void CDigitalZoomPage::OnTrackbar(HWND page) {
    const LRESULT position = SendMessageA(GetDlgItem(page, IDC_DIGITALZOOM_SLIDER), TBM_GETPOS, 0, 0);
    if (position < 0 || position >= kZoomStepCount)
        return;
    current_.step = static_cast<int>(position);
    ShowFactor(page);
    if (params_)
        params_->SetZoom(ZoomStepPercent(current_.step));
}

INT_PTR CDigitalZoomPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitialiseControls(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (active_)
            SetDirty();
        if (LOWORD(wParam) == IDC_DIGITALZOOM_ENABLE && HIWORD(wParam) == BN_CLICKED && params_) {
            current_.enable = IsDlgButtonChecked(hwnd, IDC_DIGITALZOOM_ENABLE) == BST_CHECKED;
            EnableWindow(GetDlgItem(hwnd, IDC_DIGITALZOOM_SLIDER), current_.enable != 0);
            params_->SetEnable(current_.enable);
        }
        return TRUE;
    case WM_HSCROLL:
        // A finished move: a thumb-position notification carries the position in the high word.
        if (LOWORD(wParam) == TB_THUMBPOSITION || LOWORD(wParam) == TB_ENDTRACK) {
            SetDirty();
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(hwnd, IDC_DIGITALZOOM_SLIDER))
                OnTrackbar(hwnd);
        }
        return TRUE;
    default:
        return CBasePropertyPage::OnReceiveMessage(hwnd, message, wParam, lParam);
    }
}
