#include "ImageEncoders.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>
#include <vector>

int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid) {
    if (!mimeType || !clsid)
        return -1;
    UINT count = 0, bytes = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return -1;
    std::vector<BYTE> block(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, encoders) != Gdiplus::Ok)
        return -1;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && std::wcscmp(encoders[i].MimeType, mimeType) == 0) {
            *clsid = encoders[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}
