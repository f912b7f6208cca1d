#include "png_writer.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cwchar>

namespace pngtest {

bool WritePng(const std::wstring& path, int width, int height, const std::vector<Argb>& topDownPixels) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool ok = false;
    {
        UINT count = 0, bytes = 0;
        Gdiplus::GetImageEncodersSize(&count, &bytes);
        std::vector<BYTE> buffer(bytes);
        auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        CLSID png{};
        bool found = false;
        if (bytes > 0 && Gdiplus::GetImageEncoders(count, bytes, encoders) == Gdiplus::Ok)
            for (UINT i = 0; i < count; ++i)
                if (std::wcscmp(encoders[i].MimeType, L"image/png") == 0) {
                    png = encoders[i].Clsid;
                    found = true;
                }
        Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Argb& p = topDownPixels[static_cast<size_t>(y) * width + x];
                bitmap.SetPixel(x, y, Gdiplus::Color(p.a, p.r, p.g, p.b));
            }
        ok = found && bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return ok;
}

}  // namespace pngtest
