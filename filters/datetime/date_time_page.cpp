#include "date_time_page.h"

#include "page_controls.h"
#include "resource.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr int kAlignmentCount = 9;
constexpr int kAlignedControls[] = {IDC_DATETIME_ALIGNMENT, IDC_DATETIME_PADDING};
constexpr int kStartControls[] = {IDC_DATETIME_X, IDC_DATETIME_Y};
constexpr int kEnabledControls[] = {IDC_DATETIME_FONT,  IDC_DATETIME_SIZE,     IDC_DATETIME_RED,
                                    IDC_DATETIME_GREEN, IDC_DATETIME_BLUE,     IDC_DATETIME_AT_START,
                                    IDC_DATETIME_ALIGNED};

std::string ComboText(HWND combo, LRESULT row) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == CB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

CUnknown* CALLBACK CDateTimePage::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* page = new (std::nothrow) CDateTimePage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

CDateTimePage::Values CDateTimePage::DefaultValues() {
    Values values;
    std::memset(&values.font, 0, sizeof values.font);
    values.font.lfHeight = -12;
    std::strcpy(values.font.lfFaceName, "Tahoma");
    return values;
}

CDateTimePage::CDateTimePage(IUnknown* outer)
    : CCommandPage("Date and time property page", outer, IDD_DATETIME_PAGE, IDS_DATETIME_PAGE_TITLE),
      saved_(DefaultValues()), current_(DefaultValues()) {}

HRESULT CDateTimePage::OnConnect(IUnknown* object) {
    const HRESULT connected = ConnectParams(object, IID_IQelFilterParams);
    if (FAILED(connected))
        return connected;
    Values read = DefaultValues();
    params_->GetEnable(&read.enable);
    params_->GetFont(&read.font);
    params_->GetColor(&read.colour[0], &read.colour[1], &read.colour[2]);
    params_->GetAlignment(&read.alignment, &read.padding);
    params_->GetStartPosition(&read.start);
    saved_ = current_ = read;
    if (read.alignment >= 1 && read.alignment <= kAlignmentCount)
        listIndex_ = read.alignment - 1;
    return S_OK;
}

void CDateTimePage::Send(const Values& values) {
    params_->SetEnable(values.enable);
    params_->SetFont(&values.font);
    params_->SetColor(values.colour[0], values.colour[1], values.colour[2]);
    if (values.alignment != 0)
        params_->SetAlignment(values.alignment, values.padding);
    else
        params_->SetStartPosition(&values.start);
}

HRESULT CDateTimePage::OnDisconnect() {
    if (!params_)
        return E_UNEXPECTED;
    Send(saved_);
    ReleaseParams();
    return S_OK;
}

HRESULT CDateTimePage::OnApplyChanges() {
    if (!params_)
        return E_UNEXPECTED;
    Send(current_);
    saved_ = current_;
    return S_OK;
}

void CDateTimePage::EnableControls(HWND page) {
    const bool on = current_.enable != 0;
    for (int id : kEnabledControls)
        EnableWindow(GetDlgItem(page, id), on);
    for (int id : kStartControls)
        EnableWindow(GetDlgItem(page, id), on && current_.alignment == 0);
    for (int id : kAlignedControls)
        EnableWindow(GetDlgItem(page, id), on && current_.alignment != 0);
}

void CDateTimePage::FillSizes(HWND page) {
    HWND sizes = GetDlgItem(page, IDC_DATETIME_SIZE);
    SendMessageA(sizes, CB_RESETCONTENT, 0, 0);
    const int wanted = -current_.font.lfHeight;
    int selected = -1;
    if (family_ >= 0) {
        const FontFamilyEntry& family = fonts_.Catalogue().Families()[static_cast<size_t>(family_)];
        for (size_t i = 0; i < family.sizes.size(); ++i) {
            SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(family.sizes[i]).c_str()));
            if (family.sizes[i] == wanted)
                selected = static_cast<int>(i);
        }
    }
    if (selected >= 0)
        SendMessageA(sizes, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    else
        qelpage::ShowNumber(page, IDC_DATETIME_SIZE, wanted);
}

void CDateTimePage::InitialiseControls(HWND page) {
    initialising_ = true;
    CheckDlgButton(page, IDC_DATETIME_ENABLE, current_.enable ? BST_CHECKED : BST_UNCHECKED);
    qelpage::ShowNumber(page, IDC_DATETIME_RED, current_.colour[0]);
    qelpage::ShowNumber(page, IDC_DATETIME_GREEN, current_.colour[1]);
    qelpage::ShowNumber(page, IDC_DATETIME_BLUE, current_.colour[2]);
    qelpage::ShowNumber(page, IDC_DATETIME_X, static_cast<int>(current_.start.x));
    qelpage::ShowNumber(page, IDC_DATETIME_Y, static_cast<int>(current_.start.y));
    qelpage::ShowNumber(page, IDC_DATETIME_PADDING, current_.padding);

    fonts_.Build();
    HWND families = GetDlgItem(page, IDC_DATETIME_FONT);
    SendMessageA(families, CB_RESETCONTENT, 0, 0);
    for (const FontFamilyEntry& family : fonts_.Catalogue().Families())
        SendMessageA(families, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(family.name.c_str()));
    family_ = fonts_.Catalogue().FamilyForFace(current_.font.lfFaceName);
    if (family_ >= 0)
        SendMessageA(families, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(fonts_.Catalogue().Families()[static_cast<size_t>(family_)].name.c_str()));
    FillSizes(page);

    HWND alignments = GetDlgItem(page, IDC_DATETIME_ALIGNMENT);
    SendMessageA(alignments, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kAlignmentCount; ++i) {
        char name[64] = {};
        LoadStringA(QelModuleHandle(), IDS_DATETIME_ALIGN_FIRST + i, name, sizeof name);
        SendMessageA(alignments, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(alignments, CB_SETCURSEL, static_cast<WPARAM>(listIndex_), 0);

    CheckDlgButton(page, IDC_DATETIME_AT_START, current_.alignment == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_DATETIME_ALIGNED, current_.alignment != 0 ? BST_CHECKED : BST_UNCHECKED);
    EnableControls(page);
    initialising_ = false;
}

int CDateTimePage::EditNumber(HWND page, int id) {
    char text[32] = {};
    GetDlgItemTextA(page, id, text, sizeof text);
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

void CDateTimePage::OnColourEdit(HWND page, int id, int component) {
    const int typed = EditNumber(page, id);
    const int value = typed < 0 ? 0 : typed > 255 ? 255 : typed;
    current_.colour[component] = static_cast<BYTE>(value);
    if (value != typed) {
        initialising_ = true;  // the rewritten text is no new change
        qelpage::ShowNumber(page, id, value);
        initialising_ = false;
    }
    params_->SetColor(current_.colour[0], current_.colour[1], current_.colour[2]);
}

void CDateTimePage::OnCommand(HWND page, int id, int code) {
    if (!params_)
        return;
    switch (id) {
    case IDC_DATETIME_ENABLE:
        if (code != BN_CLICKED)
            break;
        current_.enable = IsDlgButtonChecked(page, IDC_DATETIME_ENABLE) == BST_CHECKED;
        params_->SetEnable(current_.enable);
        EnableControls(page);
        break;
    case IDC_DATETIME_AT_START:
        if (code != BN_CLICKED)
            break;
        current_.alignment = 0;
        EnableControls(page);
        params_->SetStartPosition(&current_.start);
        break;
    case IDC_DATETIME_ALIGNED:
        if (code != BN_CLICKED)
            break;
        current_.alignment = listIndex_ + 1;
        EnableControls(page);
        params_->SetAlignment(current_.alignment, current_.padding);
        break;
    case IDC_DATETIME_FONT:
        if (code == CBN_SELCHANGE) {
            HWND families = GetDlgItem(page, IDC_DATETIME_FONT);
            const std::string face = ComboText(families, SendMessageA(families, CB_GETCURSEL, 0, 0));
            std::strncpy(current_.font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
            current_.font.lfFaceName[LF_FACESIZE - 1] = '\0';
            params_->SetFont(&current_.font);
        }
        break;
    case IDC_DATETIME_SIZE:
        if (code == CBN_SELCHANGE) {
            HWND sizes = GetDlgItem(page, IDC_DATETIME_SIZE);
            const std::string size = ComboText(sizes, SendMessageA(sizes, CB_GETCURSEL, 0, 0));
            current_.font.lfHeight = -static_cast<LONG>(std::strtol(size.c_str(), nullptr, 10));
            params_->SetFont(&current_.font);
        }
        break;
    case IDC_DATETIME_ALIGNMENT:
        if (code == CBN_SELCHANGE) {
            const LRESULT row = SendMessageA(GetDlgItem(page, IDC_DATETIME_ALIGNMENT), CB_GETCURSEL, 0, 0);
            if (row >= 0 && row < kAlignmentCount) {
                listIndex_ = static_cast<int>(row);
                current_.alignment = listIndex_ + 1;
                params_->SetAlignment(current_.alignment, current_.padding);
            }
        }
        break;
    case IDC_DATETIME_RED:
    case IDC_DATETIME_GREEN:
    case IDC_DATETIME_BLUE:
        if (code == EN_CHANGE)
            OnColourEdit(page, id, id - IDC_DATETIME_RED);
        break;
    case IDC_DATETIME_X:
    case IDC_DATETIME_Y:
        if (code == EN_CHANGE) {
            (id == IDC_DATETIME_X ? current_.start.x : current_.start.y) = EditNumber(page, id);
            params_->SetStartPosition(&current_.start);
        }
        break;
    case IDC_DATETIME_PADDING:
        if (code == EN_CHANGE) {
            const int padding = EditNumber(page, id);
            current_.padding = padding < 0 ? 0 : padding;
            params_->SetAlignment(current_.alignment, current_.padding);
        }
        break;
    default:
        break;
    }
}
