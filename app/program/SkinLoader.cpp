#include "SkinLoader.h"

#include <ButtonEx.h>
#include <SkinSettings.h>
#include <qelImage.h>

#include "ProgramGlobals.h"

void InitSkinPaths(CString programFolder) {
    g_skinFolder = programFolder + "skin\\default\\";
    const CString settings = g_skinFolder + "Zentrik\\Settings.ini";
    lstrcpynA(g_skinSettingsPath, settings, MAX_PATH);
}

BOOL ReadSkinRect(const char* section, int index, RECT* out) {
    char key[16];
    wsprintfA(key, "rect%d", index);
    return ql_GetSettingRect(section, key, g_skinSettingsPath, out);
}

SkinFont ReadSkinFont(const char* styleSection, const char* section) {
    SkinFont font;
    char face[MAX_PATH] = {};
    ql_GetSettingInt(styleSection, "font_size", g_skinSettingsPath, &font.size);
    ql_GetSettingInt(section, "font_size", g_skinSettingsPath, &font.size);
    if (ql_GetSettingString(styleSection, "font_name", g_skinSettingsPath, face))
        font.face = face;
    if (ql_GetSettingString(section, "font_name", g_skinSettingsPath, face))
        font.face = face;
    return font;
}

COLORREF ReadPanelColour() {
    COLORREF colour = RGB(128, 128, 128);
    ql_GetSettingColor("panel", "color", g_skinSettingsPath, &colour);
    return colour;
}

namespace {

// Size, face and the four caption colours of "button font".
SkinFont ReadButtonFont(const char* section) {
    SkinFont font = ReadSkinFont("button font", section);
    ql_GetSettingColor("button font", "font_color_normal", g_skinSettingsPath, &font.normal);
    ql_GetSettingColor("button font", "font_color_down", g_skinSettingsPath, &font.down);
    ql_GetSettingColor("button font", "font_color_hover", g_skinSettingsPath, &font.hover);
    ql_GetSettingColor("button font", "font_color_gray", g_skinSettingsPath, &font.gray);
    return font;
}

// A strip of one frame from the skin folder + the section's "image" (empty when that file is missing).
CImageArray* LoadStrip(const char* imageValue) {
    return new CImageArray(g_skinFolder + imageValue, 1, nullptr);
}

} // namespace

void SkinCheckButton(CButtonEx* button, const char* section, UINT tooltipId, int index) {
    SkinFont font = ReadButtonFont(section);
    ::SetWindowLongA(button->m_hWnd, GWL_STYLE, ::GetWindowLongA(button->m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
    char image[MAX_PATH] = {};
    ql_GetSettingString(section, "image", g_skinSettingsPath, image);
    RECT place = {};
    ReadSkinRect(section, index, &place);
    button->LoadBitmapA(LoadStrip(image), TRUE);
    button->SetCheck(TRUE);
    button->Invalidate(FALSE);
    button->ShowText(FALSE);
    button->SetTextColor(font.normal, &font.down, &font.gray);
    button->SetBkColor(ReadPanelColour());
    button->SetTextFont(font.face, font.size, 0, 4);
    button->SetWindowPos(nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                         SWP_NOZORDER);
    if (tooltipId)
        button->SetToolTipText(static_cast<int>(tooltipId), TRUE);
}

void SkinTextButton(CButtonEx* button, const char* section, UINT tooltipId, UINT textId, int index) {
    SkinFont font = ReadButtonFont(section);
    char image[MAX_PATH] = {};
    ql_GetSettingString(section, "image", g_skinSettingsPath, image);
    button->SendMessage(BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    if (image[0]) // without an image the button keeps the strip it has
        button->LoadBitmapA(LoadStrip(image), TRUE);
    if (tooltipId)
        button->SetToolTipText(static_cast<int>(tooltipId), TRUE);
    if (textId) {
        button->SetTextFont(font.face, font.size, 0, 4);
        CString text;
        text.LoadString(textId);
        button->SetWindowText(text);
        button->SetTextColor(font.normal, &font.down, &font.gray);
        button->SetHTextColor(font.hover, nullptr);
        button->SetTextAlignment(1);
        button->Invalidate(FALSE);
        button->ShowText(TRUE);
    }
    RECT place = {};
    if (ReadSkinRect(section, index, &place))
        button->MoveWindow(&place, TRUE);
}

void SetLabelText(CWnd* label, const char* text) {
    if (!label->IsWindowVisible()) {
        label->SetWindowText(text);
        return;
    }
    label->SendMessage(WM_SETREDRAW, FALSE);
    label->SetWindowText(text);
    label->SendMessage(WM_SETREDRAW, TRUE);
    label->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SkinLabel(CWnd* label, const char* section, UINT textId, int index) {
    if (textId) {
        CString text;
        text.LoadString(textId);
        SetLabelText(label, text);
    }
    RECT place = {};
    if (ReadSkinRect(section, index, &place))
        label->MoveWindow(&place, TRUE);
}
