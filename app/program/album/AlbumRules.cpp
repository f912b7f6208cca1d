// The album's plain rules.
#include "AlbumRules.h"

#include <string.h>

#include <initializer_list>

AlbumFileKind AlbumFileKindOf(const char* name) {
    const size_t length = strlen(name);
    if (length < 3)
        return kAlbumOther;
    const char* end = name + length - 3;
    for (const char* picture : {"JPG", "BMP"})
        if (lstrcmpiA(end, picture) == 0)
            return kAlbumPicture;
    for (const char* clip : {"ASF", "WMV", "AVI"})
        if (lstrcmpiA(end, clip) == 0)
            return kAlbumClip;
    return lstrcmpiA(end, "mp~") == 0 ? kAlbumLeftover : kAlbumOther;
}

namespace {

BOOL LocalWriteTime(const char* path, FILETIME* out) {
    if (!NamesOneFile(path))
        return FALSE;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(search);
    return ::FileTimeToLocalFileTime(&found.ftLastWriteTime, out);
}

} // namespace

bool AlbumFileStamp::operator==(const AlbumFileStamp& other) const {
    if (found != other.found)
        return false;
    return !found || (::CompareFileTime(&written, &other.written) == 0 && size == other.size);
}

AlbumFileStamp ReadAlbumFileStamp(const char* path) {
    AlbumFileStamp stamp;
    if (!NamesOneFile(path))
        return stamp;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return stamp;
    ::FindClose(search);
    stamp.found = true;
    stamp.written = found.ftLastWriteTime;
    stamp.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return stamp;
}

int CompareAlbumFiles(const char* first, const char* second) {
    FILETIME a, b;
    if (LocalWriteTime(first, &a) && LocalWriteTime(second, &b)) {
        const LONG order = ::CompareFileTime(&a, &b);
        if (order != 0)
            return order;
    }
    return lstrcmpiA(first, second);
}

int ThumbFrameIndex(INT64 frameCount) {
    for (int index : {30, 20, 10})
        if (frameCount > index)
            return index;
    return 0;
}

DWORD DibColorTableEntries(const BITMAPINFOHEADER* header) {
    if (header->biClrUsed)
        return header->biClrUsed;
    switch (header->biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

DWORD DibColorTableBytes(const BITMAPINFOHEADER* header) { return DibColorTableEntries(header) * 4; }

BYTE* DibBits(BITMAPINFOHEADER* header) {
    // Bit-field DIBs carry their three colour masks between the header and the table.
    const DWORD masks = header->biCompression == BI_BITFIELDS ? 12 : 0;
    return reinterpret_cast<BYTE*>(header) + header->biSize + DibColorTableBytes(header) + masks;
}

int AlbumScrollTop(int code, int top, int max, int pageSize, int position) {
    int next = top;
    switch (code) {
    case SB_LINEUP: next = top - 1; break;
    case SB_LINEDOWN: next = top + 1; break;
    case SB_PAGEUP: next = top - pageSize; break;
    case SB_PAGEDOWN: next = top + pageSize; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = position; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = max; break;
    default: return top;
    }
    return next < 0 ? 0 : next > max ? max : next;
}
