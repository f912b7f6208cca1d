#include "rotate_page.h"

#include "page_controls.h"
#include "resource.h"

#include <cstdlib>
#include <new>

namespace {

constexpr int kAngleButtons[] = {IDC_ROTATE_ANGLE_0, IDC_ROTATE_ANGLE_90, IDC_ROTATE_ANGLE_180, IDC_ROTATE_ANGLE_270};
constexpr int kAngles[] = {0, 90, 180, 270};
constexpr int kDependentControls[] = {IDC_ROTATE_ANGLE_0,      IDC_ROTATE_ANGLE_90,    IDC_ROTATE_ANGLE_180,
                                      IDC_ROTATE_ANGLE_270,    IDC_ROTATE_METHOD_CUT,  IDC_ROTATE_METHOD_ZOOM,
                                      IDC_ROTATE_METHOD_LABEL, IDC_ROTATE_COLOR_LABEL, IDC_ROTATE_BACK_COLOR};

} // namespace

CUnknown* CALLBACK CRotatePage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CRotatePage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CRotatePage::CRotatePage(IUnknown* outer)
    : CCommandPage("Rotate property page", outer, IDD_ROTATE_PAGE, IDS_ROTATE_PAGE_TITLE) {}

HRESULT CRotatePage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelRotateParams);
    if (FAILED(connected))
        return connected;
    Values read;
    params_->GetEnable(&read.enable);
    params_->GetAngle(&read.angle);
    params_->GetBackColor(&read.color);
    params_->GetMethod(&read.method);
    saved_ = current_ = read;
    return S_OK;
}

HRESULT CRotatePage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetEnable(saved_.enable);
    params_->SetAngle(saved_.angle);
    ReleaseParams();
    return S_OK;
}

HRESULT CRotatePage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    params_->SetEnable(current_.enable);
    params_->SetAngle(current_.angle);
    saved_ = current_;
    return S_OK;
}

void CRotatePage::EnableControls(HWND page, bool on) {
    for (int id : kDependentControls)
        EnableWindow(GetDlgItem(page, id), on);
}

void CRotatePage::InitialiseControls(HWND page) {
    initialising_ = true;
    qelpage::ShowNumber(page, IDC_ROTATE_BACK_COLOR, static_cast<int>(current_.color));
    CheckDlgButton(page, IDC_ROTATE_ENABLE, current_.enable ? BST_CHECKED : BST_UNCHECKED);
    for (size_t i = 0; i < 4; ++i)
        CheckDlgButton(page, kAngleButtons[i], current_.angle == kAngles[i] ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_ROTATE_METHOD_CUT, current_.method == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_ROTATE_METHOD_ZOOM, current_.method == 1 ? BST_CHECKED : BST_UNCHECKED);
    EnableControls(page, current_.enable != 0);
    initialising_ = false;
}

void CRotatePage::OnCommand(HWND page, int id, int code) {
    if (!params_)
        return;
    switch (id) {
    case IDC_ROTATE_ENABLE:
        current_.enable = IsDlgButtonChecked(page, IDC_ROTATE_ENABLE) == BST_CHECKED;
        EnableControls(page, current_.enable != 0);
        params_->SetEnable(current_.enable);
        params_->SetBackColor(current_.color);
        break;
    case IDC_ROTATE_ANGLE_0:
    case IDC_ROTATE_ANGLE_90:
    case IDC_ROTATE_ANGLE_180:
    case IDC_ROTATE_ANGLE_270:
        if (code != BN_CLICKED)
            break;
        for (size_t i = 0; i < 4; ++i) {
            if (kAngleButtons[i] == id)
                current_.angle = kAngles[i];
        }
        params_->SetAngle(current_.angle);
        break;
    case IDC_ROTATE_METHOD_CUT:
    case IDC_ROTATE_METHOD_ZOOM:
        if (code != BN_CLICKED)
            break;
        current_.method = id == IDC_ROTATE_METHOD_ZOOM ? 1 : 0;
        params_->SetMethod(current_.method);
        break;
    case IDC_ROTATE_BACK_COLOR:
        if (code == EN_CHANGE) {
            char text[32] = {};
            GetDlgItemTextA(page, IDC_ROTATE_BACK_COLOR, text, sizeof text);
            current_.color = static_cast<COLORREF>(std::strtol(text, nullptr, 10));
            params_->SetBackColor(current_.color);
        }
        break;
    default:
        break;
    }
}
