// CSliderCtrlEx configured in one call: from a skin settings file or from one of the program's records.
#include "SliderCtrlEx.h"

#include "SliderSettings.h"

#include <cstdio>

namespace qel_controls {

SliderSettingsFile::SliderSettingsFile(const char* folder, const char* iniFile, const char* section)
    : m_folder(folder ? folder : ""), m_section(section ? section : "") {
    m_path.Format("%s\\%s", m_folder.GetString(), iniFile ? iniFile : "");
}

bool SliderSettingsFile::Read(const char* key, CString* value) const {
    char buffer[260] = {};
    GetPrivateProfileStringA(m_section, key, "", buffer, sizeof buffer, m_path);
    *value = buffer;
    return buffer[0] != '\0';
}

bool SliderSettingsFile::ReadPath(const char* key, CString* path) const {
    CString name;
    const bool present = Read(key, &name);
    path->Format("%s\\%s", m_folder.GetString(), name.GetString());
    return present;
}

bool SliderSettingsFile::ReadFour(const char* key, int* a, int* b, int* c, int* d) const {
    CString value;
    return Read(key, &value) && sscanf(value, "%d,%d,%d,%d", a, b, c, d) == 4;
}

bool SliderSettingsFile::ReadPoint(const char* key, POINT* point) const {
    CString value;
    int x = 0;
    int y = 0;
    if (!Read(key, &value) || sscanf(value, "%d,%d", &x, &y) != 2)
        return false;
    point->x = x;
    point->y = y;
    return true;
}

bool SliderSettingsFile::ReadInt(const char* key, int* number) const {
    CString value;
    return Read(key, &value) && sscanf(value, "%d", number) == 1;
}

} // namespace qel_controls

int CSliderCtrlEx::LoadSetting(const char* folder, const char* iniFile, const char* section) {
    const qel_controls::SliderSettingsFile file(folder, iniFile, section);
    CString channel;
    CString thumb;
    file.ReadPath("channel", &channel);
    file.ReadPath("thumb", &thumb);
    int x = 0, y = 0, w = 0, h = 0;
    if (file.ReadFour("rect", &x, &y, &w, &h))
        SetWindowPos(NULL, x, y, w, h, SWP_NOZORDER);
    if (!LoadBitmapA(channel, thumb))
        return 0;
    if (file.ReadFour("thumbrange", &x, &y, &w, &h))
        SetThumbRange(CRect(x, y, x + w, y + h));
    int l = 0, t = 0, r = 0, b = 0;
    if (file.ReadFour("border", &l, &t, &r, &b)) {
        CBorder border(l, t, r, b);
        SetBorder(border);
    }
    POINT range = {};
    if (file.ReadPoint("range", &range))
        SetRange(range.x, range.y);
    int pos = 0;
    if (file.ReadInt("pos", &pos))
        SetPos(pos);
    return 1;
}

void CSliderCtrlEx::ApplyRecord(const RECT& thumbRange, const CBorder& border, int min, int max, int pos) {
    if (!IsRectEmpty(&thumbRange))
        SetThumbRange(CRect(thumbRange));
    CBorder copy = border;
    SetBorder(copy);
    SetRange(min, max);
    SetPos(pos);
}

void CSliderCtrlEx::PlaceWindow(const RECT& rect) {
    SetWindowPos(NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
}

int CSliderCtrlEx::LoadSetting(_tagSLDCTRLEX& record) {
    if (!LoadBitmapA(record.channelFile, record.thumbFile))
        return 0;
    ApplyRecord(record.thumbRange, record.border, record.min, record.max, record.pos);
    PlaceWindow(record.rect);
    return 1;
}

int CSliderCtrlEx::LoadSetting(_tagSLDCTRLEXBUF& record, BOOL own) {
    if (!LoadBitmapA(record.channel, record.thumb, own))
        return 0;
    ApplyRecord(record.thumbRange, record.border, record.min, record.max, record.pos);
    PlaceWindow(record.rect);
    return 1;
}
