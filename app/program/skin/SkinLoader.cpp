#include "SkinLoader.h"

#include <ButtonEx.h>
#include <SliderCtrlEx.h>
#include <StaticEx.h>
#include <SkinSettings.h>
#include <qelImage.h>

#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "VSliderCtrlEx.h"

void InitSkinPaths(CString programFolder) {
    g_skinFolder = programFolder + "skin\\default\\";
    const CString settings = g_skinFolder + "Zentrik\\Settings.ini";
    lstrcpynA(g_skinSettingsPath, settings, MAX_PATH);
}

namespace {

// A rectangle key of the section, kept inside the window (SkinWindowSize's index); FALSE (out
// untouched) when absent or when it could not lie inside without covering the window.
BOOL ReadPlacedRect(const char* section, const char* key, const char* settingsPath, int windowIndex, RECT* out) {
    RECT place = {};
    if (!ql_GetSettingRect(section, key, settingsPath, &place) || !PlaceInsideWindow(&place, SkinWindowSize(windowIndex)))
        return FALSE;
    *out = place;
    return TRUE;
}

// "key" with the size-mode index appended.
CString IndexedKey(const char* key, int index) {
    CString name;
    name.Format("%s%d", key, index);
    return name;
}

CStringArray g_unreadableImages;

} // namespace

BOOL ReadSkinRectAsWritten(const char* section, int index, RECT* out) {
    return ql_GetSettingRect(section, IndexedKey("rect", index), g_skinSettingsPath, out);
}

BOOL ReadSkinRect(const char* section, int index, RECT* out) {
    return ReadPlacedRect(section, IndexedKey("rect", index), g_skinSettingsPath, index, out);
}

CString TakeUnreadableSkinImages() {
    CString list;
    for (INT_PTR i = 0; i < g_unreadableImages.GetSize(); ++i)
        list += g_unreadableImages.GetAt(i) + "\n";
    g_unreadableImages.RemoveAll();
    return list;
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

void NoteUnreadable(const CString& what) {
    for (INT_PTR i = 0; i < g_unreadableImages.GetSize(); ++i)
        if (g_unreadableImages.GetAt(i) == what)
            return;
    g_unreadableImages.Add(what);
}

BYTE Lighter(BYTE channel, int by) { return static_cast<BYTE>(channel + by > 255 ? 255 : channel + by); }

// A plain face for a control whose picture cannot be read, in the skin's own colours: frames of size
// each, the panel colour a little lighter (the pressed frame, the second, lighter still) inside an
// outline in the caption colour, so the control stays visible and usable.
CImageArray* PlainStrip(int frames, SIZE size) {
    const int w = size.cx > 0 ? size.cx : 24;
    const int h = size.cy > 0 ? size.cy : 24;
    const COLORREF panel = ReadPanelColour();
    COLORREF outline = RGB(230, 234, 240);
    ql_GetSettingColor("button font", "font_color_normal", g_skinSettingsPath, &outline);
    Gdiplus::Color edge;
    edge.SetFromCOLORREF(outline);
    auto* strip = new CImageArray(w * frames, h, PixelFormat32bppARGB, edge.GetValue());
    Gdiplus::Graphics graphics(strip);
    for (int i = 0; i < frames; ++i) {
        const int by = i == 1 ? kPlainFaceLift * 2 : kPlainFaceLift;
        Gdiplus::SolidBrush face(Gdiplus::Color(255, Lighter(GetRValue(panel), by), Lighter(GetGValue(panel), by),
                                                Lighter(GetBValue(panel), by)));
        graphics.FillRectangle(&face, i * w + 1, 1, w - 2, h - 2);
    }
    return strip;
}

// A strip of frames from the skin folder + imageValue, read bounded: a frame may be no larger than the
// window of size mode windowIndex. When it cannot be read, or is refused, the file is noted for the
// user and a plain strip of frames x size stands in.
CImageArray* LoadStrip(const char* section, const char* imageValue, int frames, SIZE size, int windowIndex) {
    const CString path = g_skinFolder + imageValue;
    const SIZE window = SkinWindowSize(windowIndex);
    auto* strip = new CImageArray("", 1, nullptr);
    if (imageValue[0] && LoadSkinPicture(strip, path, SIZE{window.cx * frames, window.cy}) == Gdiplus::Ok &&
        strip->Width() > 0)
        return strip;
    delete strip;
    NoteUnreadable(imageValue[0] ? path : CString("[") + section + "]: no picture named");
    return PlainStrip(frames, size);
}

SIZE SizeOf(const RECT& place) { return SIZE{place.right - place.left, place.bottom - place.top}; }

} // namespace

void SkinCheckButton(CButtonEx* button, const char* section, UINT tooltipId, int index) {
    SkinFont font = ReadButtonFont(section);
    ::SetWindowLongA(button->m_hWnd, GWL_STYLE, ::GetWindowLongA(button->m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
    char image[MAX_PATH] = {};
    ql_GetSettingString(section, "image", g_skinSettingsPath, image);
    RECT place = {};
    const BOOL placed = ReadSkinRect(section, index, &place);
    button->LoadBitmapA(LoadStrip(section, image, button->m_frameCount, SizeOf(place), index), TRUE);
    button->SetCheck(TRUE);
    button->Invalidate(FALSE);
    button->ShowText(FALSE);
    button->SetTextColor(font.normal, &font.down, &font.gray);
    button->SetBkColor(ReadPanelColour());
    button->SetTextFont(font.face, font.size, 0, 4);
    if (placed) // a control without its rectangle stays where it is
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
    RECT place = {};
    const BOOL placed = ReadSkinRect(section, index, &place);
    if (image[0]) // without an image the button keeps the strip it has
        button->LoadBitmapA(LoadStrip(section, image, button->m_frameCount, SizeOf(place), index), TRUE);
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
    if (placed)
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

void SkinLabelBackground(CStaticEx* label, const char* file, int index) {
    auto* picture = new CImageArray("", 1, nullptr);
    if (LoadSkinPicture(picture, g_skinFolder + file, SkinWindowSize(index)) == Gdiplus::Ok && picture->Width() > 0)
        label->LoadBitmapA(picture, TRUE);
    else
        delete picture;
}

void SkinLabel(CStaticEx* label, const char* section, UINT textId, int index) {
    SkinFont font = ReadSkinFont("static font", section);
    ql_GetSettingColor(section, "font_color_normal", g_skinSettingsPath, &font.normal);
    ql_GetSettingColor(section, "font_color_gray", g_skinSettingsPath, &font.gray);
    label->SetTextFont(font.face, font.size, 0, 4);
    label->SetTextColor(&font.normal, &font.gray);
    if (textId) {
        CString text;
        text.LoadString(textId);
        SetLabelText(label, text);
    }
    COLORREF brush = ReadPanelColour();
    ql_GetSettingColor(section, "color", g_skinSettingsPath, &brush);
    label->SetBrushColor(brush);
    RECT place = {};
    if (ReadSkinRect(section, index, &place))
        label->MoveWindow(&place, TRUE);
}

void FillSliderRecord(_tagSLDCTRLEXBUF* record, const char* section, const char* settingsPath) {
    // Given once for both size modes: kept inside what either window holds.
    ReadPlacedRect(section, "rect_slider", settingsPath, -1, &record->rect);
    ReadPlacedRect(section, "thumb_range", settingsPath, -1, &record->thumbRange);
    ql_GetSettingBorder(section, "bar_border", settingsPath, &record->border);
    SIZE range = {record->min, record->max};
    ql_GetSettingSize(section, "range", settingsPath, &range);
    record->min = range.cx;
    record->max = range.cy;
    ql_GetSettingInt(section, "pos_thumb", settingsPath, &record->pos);
    // One buffer for both images: a missing thumb value reuses the channel's file.
    char image[MAX_PATH] = {};
    const SIZE bar = SizeOf(record->rect);
    ql_GetSettingString(section, "image_bar", settingsPath, image);
    record->channel = LoadStrip(section, image, 1, bar, -1);
    ql_GetSettingString(section, "image_thumb", settingsPath, image);
    record->thumb = LoadStrip(section, image, 4, SIZE{10, bar.cy}, -1);
    record->thumb->SetCount(4);
}

void SkinSlider(CSliderCtrlEx* slider, const char* section) {
    _tagSLDCTRLEXBUF record = {};
    record.border = CBorder(0, 0, 0, 0);
    FillSliderRecord(&record, section, g_skinSettingsPath);
    slider->SetBgColor(ReadPanelColour());
    slider->LoadSetting(record, TRUE);
    slider->SetWindowPos(nullptr, record.rect.left, record.rect.top, record.rect.right - record.rect.left,
                         record.rect.bottom - record.rect.top, SWP_NOZORDER);
}

void FillScrollSliderRecord(_tagSLDCTRLEX2BUF* record, const char* section, const char* settingsPath, int index,
                            BOOL keepRange) {
    ReadPlacedRect(section, IndexedKey("rect_slider", index), settingsPath, index, &record->rect);
    ReadPlacedRect(section, IndexedKey("thumb_range", index), settingsPath, index, &record->thumbRange);
    ql_GetSettingBorder(section, IndexedKey("bar_border", index), settingsPath, &record->border);
    if (!keepRange) {
        SIZE range = {record->min, record->max};
        ql_GetSettingSize(section, IndexedKey("range", index), settingsPath, &range);
        record->min = range.cx;
        record->max = range.cy;
        ql_GetSettingInt(section, IndexedKey("pos_thumb", index), settingsPath, &record->pos);
    }
    ql_GetSettingPoint(section, IndexedKey("left_pos", index), settingsPath, &record->leftPos);
    ql_GetSettingPoint(section, IndexedKey("right_pos", index), settingsPath, &record->rightPos);
    // One buffer for all four images: a missing value reuses the file read before it.
    char image[MAX_PATH] = {};
    const SIZE bar = SizeOf(record->rect);
    ql_GetSettingString(section, IndexedKey("image_bar", index), settingsPath, image);
    record->channel = LoadStrip(section, image, 1, bar, index);
    ql_GetSettingString(section, IndexedKey("image_thumb", index), settingsPath, image);
    record->thumb = LoadStrip(section, image, 4, SIZE{bar.cx, 10}, index);
    record->thumb->SetCount(4);
    ql_GetSettingString(section, IndexedKey("image_right", index), settingsPath, image);
    record->rightStrip = LoadStrip(section, image, 4, SIZE{bar.cx, bar.cx}, index);
    ql_GetSettingString(section, IndexedKey("image_left", index), settingsPath, image);
    record->leftStrip = LoadStrip(section, image, 4, SIZE{bar.cx, bar.cx}, index);
}

void SkinScrollSlider(CVSliderCtrlEx2* slider, const char* section, int index, BOOL keepRange) {
    _tagSLDCTRLEX2BUF record = {};
    record.border = CBorder(0, 0, 0, 0);
    FillScrollSliderRecord(&record, section, g_skinSettingsPath, index, keepRange);
    slider->SetBgColor(ReadPanelColour());
    if (!slider->LoadSetting(record, TRUE)) {
        delete record.channel;
        delete record.thumb;
    }
    // Step buttons that already had their strips leave these unused.
    if (slider->m_left.m_strip != record.leftStrip)
        delete record.leftStrip;
    if (slider->m_right.m_strip != record.rightStrip)
        delete record.rightStrip;
    slider->SetWindowPos(nullptr, record.rect.left, record.rect.top, record.rect.right - record.rect.left,
                         record.rect.bottom - record.rect.top, SWP_NOZORDER);
}

void ReskinScrollSlider(CVSliderCtrlEx2* slider, const char* section, int index) {
    char image[MAX_PATH] = {};
    RECT place = {};
    ReadPlacedRect(section, IndexedKey("rect_slider", index), g_skinSettingsPath, index, &place);
    const SIZE bar = SizeOf(place);
    ql_GetSettingString(section, IndexedKey("image_bar", index), g_skinSettingsPath, image);
    CImageArray* channel = LoadStrip(section, image, 1, bar, index);
    ql_GetSettingString(section, IndexedKey("image_thumb", index), g_skinSettingsPath, image);
    CImageArray* thumb = LoadStrip(section, image, 4, SIZE{bar.cx, 10}, index);
    thumb->SetCount(4);
    slider->LoadBitmap(channel, thumb, TRUE);
    CBorder border(0, 0, 0, 0);
    ql_GetSettingBorder(section, IndexedKey("bar_border", index), g_skinSettingsPath, &border);
    channel->SetBorder(border);
    RECT range = {};
    ReadPlacedRect(section, IndexedKey("thumb_range", index), g_skinSettingsPath, index, &range);
    slider->SetThumbRange(range);
    slider->SetWindowPos(nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                         SWP_NOZORDER);
}
