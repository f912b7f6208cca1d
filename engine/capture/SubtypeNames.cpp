// Media subtype names and GUIDs, both ways: the 39 named subtypes, and FOURCC subtypes by their four
// characters.
#include "LiveCaptureInternal.h"

#include <cwchar>

namespace {

struct SubtypeName {
    const WCHAR* name;
    const GUID* subtype;
};

const SubtypeName kSubtypeNames[] = {
    {L"YVU9", &MEDIASUBTYPE_YVU9},
    {L"IYUV", &MEDIASUBTYPE_IYUV},
    {L"Y411", &MEDIASUBTYPE_Y411},
    {L"Y41P", &MEDIASUBTYPE_Y41P},
    {L"YUY2", &MEDIASUBTYPE_YUY2},
    {L"YVYU", &MEDIASUBTYPE_YVYU},
    {L"UYVY", &MEDIASUBTYPE_UYVY},
    {L"Y211", &MEDIASUBTYPE_Y211},
    {L"CLJR", &MEDIASUBTYPE_CLJR},
    {L"IF09", &MEDIASUBTYPE_IF09},
    {L"CPLA", &MEDIASUBTYPE_CPLA},
    {L"MJPG", &MEDIASUBTYPE_MJPG},
    {L"TVMJ", &MEDIASUBTYPE_TVMJ},
    {L"WAKE", &MEDIASUBTYPE_WAKE},
    {L"CFCC", &MEDIASUBTYPE_CFCC},
    {L"IJPG", &MEDIASUBTYPE_IJPG},
    {L"Plum", &MEDIASUBTYPE_Plum},
    {L"RGB1", &MEDIASUBTYPE_RGB1},
    {L"RGB4", &MEDIASUBTYPE_RGB4},
    {L"RGB8", &MEDIASUBTYPE_RGB8},
    {L"RGB565", &MEDIASUBTYPE_RGB565},
    {L"RGB555", &MEDIASUBTYPE_RGB555},
    {L"RGB24", &MEDIASUBTYPE_RGB24},
    {L"RGB32", &MEDIASUBTYPE_RGB32},
    {L"ARGB32", &MEDIASUBTYPE_ARGB32},
    {L"Overlay", &MEDIASUBTYPE_Overlay},
    {L"QTMovie", &MEDIASUBTYPE_QTMovie},
    {L"QTRpza", &MEDIASUBTYPE_QTRpza},
    {L"QTSmc", &MEDIASUBTYPE_QTSmc},
    {L"QTRle", &MEDIASUBTYPE_QTRle},
    {L"QTJpeg", &MEDIASUBTYPE_QTJpeg},
    {L"dvsd", &MEDIASUBTYPE_dvsd},
    {L"dvhd", &MEDIASUBTYPE_dvhd},
    {L"dvsl", &MEDIASUBTYPE_dvsl},
    {L"MPEG1Packet", &MEDIASUBTYPE_MPEG1Packet},
    {L"MPEG1Payload", &MEDIASUBTYPE_MPEG1Payload},
    {L"Avi", &MEDIASUBTYPE_Avi},
    {L"VPVideo", &MEDIASUBTYPE_VPVideo},
    {L"VPVBI", &MEDIASUBTYPE_VPVBI},
};

// {XXXXXXXX-0000-0010-8000-00AA00389B71}: the FOURCC subtype family.
const GUID kFourccBase = {0x00000000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

} // namespace

BOOL CLiveCapture::GetGUIDBySubtype(const WCHAR* name, GUID* guid) {
    if (!name || !guid)
        return FALSE;
    for (const SubtypeName& entry : kSubtypeNames) {
        if (wcscmp(entry.name, name) == 0) {
            *guid = *entry.subtype;
            return TRUE;
        }
    }
    if (wcslen(name) != 4)
        return FALSE;
    char bytes[16] = {0};
    WideCharToMultiByte(CP_ACP, 0, name, 4, bytes, sizeof bytes, nullptr, nullptr);
    *guid = kFourccBase;
    guid->Data1 = static_cast<DWORD>(static_cast<BYTE>(bytes[0])) |
                  static_cast<DWORD>(static_cast<BYTE>(bytes[1])) << 8 |
                  static_cast<DWORD>(static_cast<BYTE>(bytes[2])) << 16 |
                  static_cast<DWORD>(static_cast<BYTE>(bytes[3])) << 24;
    return TRUE;
}

BOOL CLiveCapture::GetSubtypeByGUID(GUID* guid, WCHAR* buffer, int length) {
    if (!guid || !buffer || length < 6)
        return FALSE;
    for (const SubtypeName& entry : kSubtypeNames) {
        if (IsEqualGUID(*entry.subtype, *guid)) {
            if (static_cast<int>(wcslen(entry.name)) >= length)
                return FALSE; // the buffer must hold the name with its terminator
            wcscpy(buffer, entry.name);
            return TRUE;
        }
    }
    // Any other subtype reads as the four characters of its first field, lowest byte first.
    const char fourcc[5] = {
        static_cast<char>(guid->Data1 & 0xFF), static_cast<char>((guid->Data1 >> 8) & 0xFF),
        static_cast<char>((guid->Data1 >> 16) & 0xFF), static_cast<char>((guid->Data1 >> 24) & 0xFF), 0};
    if (fourcc[0] == 0)
        return FALSE;
    return MultiByteToWideChar(CP_ACP, 0, fourcc, -1, buffer, length) > 0;
}
