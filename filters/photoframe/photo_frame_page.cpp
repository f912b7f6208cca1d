#include "photo_frame_page.h"

#include "resource.h"

#include <commdlg.h>

#include <cstring>
#include <new>

CUnknown* CALLBACK CPhotoFramePage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CPhotoFramePage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CPhotoFramePage::CPhotoFramePage(IUnknown* outer)
    : CParamsPage("Photo frame property page", outer, IDD_PHOTOFRAME_PAGE, IDS_PHOTOFRAME_PAGE_TITLE) {}

HRESULT CPhotoFramePage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
    params_->GetEnable(&savedEnable_);
    currentEnable_ = savedEnable_;
    wchar_t wide[kQelFramePathChars] = {};
    params_->GetFramePath(wide);
    path_[0] = '\0';
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, path_, kPathBytes, nullptr, nullptr))
        path_[0] = '\0';
    return S_OK;
}

HRESULT CPhotoFramePage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    ReleaseParams();
    return S_OK;
}

HRESULT CPhotoFramePage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    wchar_t wide[kQelFramePathChars] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path_, -1, wide, kQelFramePathChars))
        wide[0] = L'\0';
    params_->SetEnable(currentEnable_);
    params_->SetFramePath(wide);
    savedEnable_ = currentEnable_;
    return S_OK;
}

void CPhotoFramePage::EnableControls(HWND page) {
    EnableWindow(GetDlgItem(page, IDC_PHOTOFRAME_PATH), currentEnable_ != 0);
    EnableWindow(GetDlgItem(page, IDC_PHOTOFRAME_BROWSE), currentEnable_ != 0);
}

void CPhotoFramePage::InitialiseControls(HWND page) {
    initialising_ = true;
    SetDlgItemTextA(page, IDC_PHOTOFRAME_PATH, path_);
    CheckDlgButton(page, IDC_PHOTOFRAME_ENABLE, currentEnable_ ? BST_CHECKED : BST_UNCHECKED);
    EnableControls(page);
    initialising_ = false;
}

void CPhotoFramePage::Browse(HWND page) {
    char file[kPathBytes] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = "PNG (*.PNG)\0*.png\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Open Photo Frame";
    dialog.lpstrDefExt = "png";
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_SHOWHELP;  // 0x80210
    if (!GetOpenFileNameA(&dialog))
        return;
    std::strncpy(path_, file, kPathBytes - 1);
    path_[kPathBytes - 1] = '\0';
    SetDlgItemTextA(page, IDC_PHOTOFRAME_PATH, path_);
}

INT_PTR CPhotoFramePage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitialiseControls(hwnd);
        return TRUE;
    case WM_COMMAND: {
        if (initialising_)
            return TRUE;
        if (active_)
            SetDirty();
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDC_PHOTOFRAME_ENABLE && code == BN_CLICKED && params_) {
            currentEnable_ = IsDlgButtonChecked(hwnd, IDC_PHOTOFRAME_ENABLE) == BST_CHECKED;
            EnableControls(hwnd);
            params_->SetEnable(currentEnable_);
        } else if (id == IDC_PHOTOFRAME_PATH && code == EN_CHANGE) {
            GetDlgItemTextA(hwnd, IDC_PHOTOFRAME_PATH, path_, kPathBytes);
        } else if (id == IDC_PHOTOFRAME_BROWSE && code == BN_CLICKED) {
            Browse(hwnd);
        }
        return TRUE;
    }
    default:
        return CBasePropertyPage::OnReceiveMessage(hwnd, message, wParam, lParam);
    }
}
