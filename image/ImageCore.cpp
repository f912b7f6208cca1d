// CImage construction, loading, saving, properties and resolution.
#include "ImageObject.h"

#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "EncoderChoice.h"
#include "GdiplusAccess.h"
#include "ImageSupport.h"
#include "PngDib.h"
#include "PngLoader.h"
#include "qeldshow/com_ptr.h"

using namespace Gdiplus;

namespace {

// The GDI+ wrapper's base needs some constructor: a DIB from nothing creates no bitmap and leaves a
// non-Ok status, which is exactly the empty image.
const BITMAPINFO* const kNoDib = nullptr;

Status CloneNative(GpImage* source, GpBitmap** clone) {
    *clone = nullptr;
    if (!source)
        return InvalidParameter;
    GpImage* copy = nullptr;
    const Status status = DllExports::GdipCloneImage(source, &copy);
    *clone = static_cast<GpBitmap*>(copy);
    return status;
}

} // namespace

extern "C" int BitCountToPixelFormat(int bitCount) {
    switch (bitCount) {
    case 1: return PixelFormat1bppIndexed;
    case 4: return PixelFormat4bppIndexed;
    case 8: return PixelFormat8bppIndexed;
    case 24: return PixelFormat24bppRGB;
    case 32: return PixelFormat32bppARGB;
    case 48: return PixelFormat48bppRGB;
    default: return 0;
    }
}

int PixelFormatBitCount(int format) {
    switch (format) {
    case PixelFormat1bppIndexed: return 1;
    case PixelFormat4bppIndexed: return 4;
    case PixelFormat8bppIndexed: return 8;
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555:
    case PixelFormat16bppGrayScale: return 16;
    case PixelFormat24bppRGB: return 24;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return 32;
    case PixelFormat48bppRGB: return 48;
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB: return 64;
    default: return 0;
    }
}

// ---- construction -------------------------------------------------------------------------------

CImage::CImage(CImage* source) : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    if (!source)
        return;
    GpBitmap* clone = nullptr;
    const Status status = CloneNative(NativeImageOf(*source), &clone);
    SetStatus(status);
    if (status == Ok)
        Adopt(clone);
}

CImage::CImage(const char* path) : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    SetBitmap(path);
}

CImage::CImage(int width, int height, int format, DWORD color)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    GpBitmap* created = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &created);
    SetStatus(status);
    if (status != Ok)
        return;
    Adopt(created);
    if (color != 0) {
        Color fill(color);
        FillColor(fill);
    }
}

CImage::CImage(int width, int height, int stride, int format, BYTE* scan0)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    GpBitmap* created = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromScan0(width, height, stride, format, scan0, &created);
    SetStatus(status);
    if (status == Ok)
        Adopt(created);
}

CImage::CImage(UINT resourceId, HINSTANCE module)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    SetBitmap(resourceId, module);
}

CImage::CImage(HBITMAP bitmap, HPALETTE palette)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    SetBitmap(bitmap, palette);
}

CImage::CImage(const BITMAPINFO* info, void* bits)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    SetBitmap(const_cast<BITMAPINFO*>(info), bits);
}

CImage::CImage(HICON icon) : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    SetBitmap(icon);
}

CImage::CImage(void* globalBlock)
    : Bitmap(kNoDib, nullptr), m_pngBlock(nullptr), m_palette(nullptr), m_lut(nullptr) {
    if (!globalBlock)
        return;
    qel::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(static_cast<HGLOBAL>(globalBlock), TRUE, stream.GetAddressOf()))) {
        SetStatus(GenericError);
        return;
    }
    GpBitmap* decoded = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromStream(stream.Get(), &decoded);
    SetStatus(status);
    if (status == Ok)
        Adopt(decoded);
}

CImage::~CImage() {
    // The bitmap goes first: it may read the PNG block until it is disposed.
    Adopt(nullptr);
    std::free(m_palette);
    std::free(m_lut);
}

void CImage::Adopt(GpBitmap* native) {
    GpImage*& current = NativeImageOf(*this);
    if (current)
        DllExports::GdipDisposeImage(current);
    current = native;
    if (m_pngBlock) {
        GlobalUnlock(m_pngBlock);
        GlobalFree(m_pngBlock);
        m_pngBlock = nullptr;
    }
    // A new picture has its own palette: what was derived from the old one no longer applies.
    std::free(m_palette);
    m_palette = nullptr;
    std::free(m_lut);
    m_lut = nullptr;
}

void CImage::SetStatus(Status status) { LastStatusOf(*this) = status; }

int CImage::ReplaceWith(Status status, GpBitmap* made) {
    SetStatus(status);
    if (status != Ok)
        return 0;
    Adopt(made);
    return 1;
}

// ---- replacing the picture ------------------------------------------------------------------------

int CImage::SetBitmap(const char* path) {
    const std::wstring wide = WidePath(path);
    GpBitmap* decoded = nullptr;
    const Status status = wide.empty() ? InvalidParameter : DllExports::GdipCreateBitmapFromFile(wide.c_str(), &decoded);
    return ReplaceWith(status, decoded);
}

int CImage::Load(const char* path) { return SetBitmap(path); }
int CImage::Open(const char* path) { return SetBitmap(path); }

int CImage::SetBitmap(UINT resourceId, HINSTANCE module) {
    GpBitmap* loaded = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromResource(module ? module : GetModuleHandleW(nullptr),
                                                                   MAKEINTRESOURCEW(resourceId), &loaded);
    return ReplaceWith(status, loaded);
}

int CImage::SetBitmap(HBITMAP bitmap, HPALETTE palette) {
    GpBitmap* made = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromHBITMAP(bitmap, palette, &made);
    return ReplaceWith(status, made);
}

int CImage::SetBitmap(BITMAPINFO* info, void* bits) {
    GpBitmap* made = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromGdiDib(info, bits, &made);
    return ReplaceWith(status, made);
}

int CImage::SetBitmap(HICON icon) {
    GpBitmap* made = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromHICON(icon, &made);
    return ReplaceWith(status, made);
}

// ---- loading with status ---------------------------------------------------------------------------

Status CImage::LoadFile(const char* path) {
    // Paths shorter than "png" cannot name a PNG: they go to the stream loader, which judges them.
    if (path && std::strlen(path) >= 3 && _stricmp(path + std::strlen(path) - 3, "png") == 0)
        return LoadPng(path);
    return Stream(path);
}

Status CImage::Stream(const char* path) {
    if (!path || !*path)
        return FileNotFound;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Win32Error;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) {
        CloseHandle(file);
        return size.QuadPart > 0x7FFFFFFF ? OutOfMemory : Win32Error;
    }
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length ? length : 1);
    if (!block) {
        CloseHandle(file);
        return OutOfMemory;
    }
    DWORD read = 0;
    bool complete = false;
    {
        GlobalLockGuard lock(block);
        complete = lock.Memory() && ReadFile(file, lock.Memory(), length, &read, nullptr) && read == length && read > 0;
    }
    CloseHandle(file);
    if (!complete) {
        GlobalFree(block);
        return Win32Error;
    }
    qel::ComPtr<IStream> stream; // owns the block from here on
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.GetAddressOf()))) {
        GlobalFree(block);
        return GenericError;
    }
    GpBitmap* decoded = nullptr;
    const Status status = DllExports::GdipCreateBitmapFromStream(stream.Get(), &decoded);
    if (status != Ok)
        return status;
    PixelFormat format = 0;
    DllExports::GdipGetImagePixelFormat(decoded, &format);
    if (format == 0) {
        DllExports::GdipDisposeImage(decoded);
        return UnknownImageFormat;
    }
    Adopt(decoded);
    SetStatus(Ok);
    return Ok;
}

Status CImage::LoadPng(const char* path) {
    if (!path || !*path)
        return GenericError;
    if (_stricmp(PathFindExtensionA(path), ".png") != 0)
        return FileNotFound;
    int pixelOffset = 0;
    HGLOBAL block = LoadPngToDib(path, &pixelOffset);
    if (!block)
        return static_cast<Status>(LastPngLoadReason());

    BYTE* memory = static_cast<BYTE*>(GlobalLock(block)); // stays locked while the bitmap uses it
    if (!memory) {
        GlobalFree(block);
        return OutOfMemory;
    }
    const DibHeaderFields header = ReadDibHeader(memory);
    BYTE* pixels = memory + pixelOffset;
    GpBitmap* made = nullptr;
    Status status;
    const int bits = header.bitCount;
    if (bits == 1 || bits == 24 || bits == 32) {
        const int stride = static_cast<int>(DibStride(static_cast<UINT>(header.width), static_cast<UINT>(bits)));
        status = DllExports::GdipCreateBitmapFromScan0(header.width, header.height, stride, BitCountToPixelFormat(bits),
                                                       pixels, &made);
    } else {
        status = DllExports::GdipCreateBitmapFromGdiDib(reinterpret_cast<BITMAPINFO*>(memory), pixels, &made);
    }
    if (status != Ok) {
        GlobalUnlock(block);
        GlobalFree(block);
        return status;
    }
    Adopt(made);
    m_pngBlock = block;
    if (bits == 1) {
        // GDI+ gives rows wrapped as they are its default black and white; the file's two colours belong.
        RGBQUAD* table = reinterpret_cast<RGBQUAD*>(memory + kDibHeaderBytes);
        SetPalette(table);
    }
    if (header.xPelsPerMeter > 0 && header.yPelsPerMeter > 0)
        SetDPM(static_cast<float>(header.xPelsPerMeter), static_cast<float>(header.yPelsPerMeter));
    SetStatus(Ok);
    return Ok;
}

// ---- saving ---------------------------------------------------------------------------------------

int CImage::GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (!mimeType || DllExports::GdipGetImageEncodersSize(&count, &bytes) != Ok || count == 0 || bytes == 0)
        return -1;
    std::vector<BYTE> buffer(bytes);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (DllExports::GdipGetImageEncoders(count, bytes, codecs) != Ok)
        return -1;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mimeType) == 0) {
            if (clsid)
                *clsid = codecs[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

namespace {

int SaveWithEncoder(CImage& image, int encoderIndex, const CLSID& clsid, const char* path,
                    EncoderParameters* parameters) {
    const std::wstring wide = WidePath(path);
    GpImage* native = NativeImageOf(image);
    if (encoderIndex < 0 || wide.empty() || !native)
        return 0;
    return DllExports::GdipSaveImageToFile(native, wide.c_str(), &clsid, parameters) == Ok ? 1 : 0;
}

} // namespace

int CImage::Save(const char* path, EncoderParameters* parameters) {
    CLSID clsid = {};
    const int encoder = GetEncoderClsid(EncoderMimeTypeForPath(path), &clsid);
    return SaveWithEncoder(*this, encoder, clsid, path, parameters);
}

int CImage::SaveJpg(const char* path, int quality) {
    CLSID clsid = {};
    const int encoder = GetEncoderClsid(L"image/jpeg", &clsid);
    EncoderParameters parameters;
    MakeJpegQualityParameters(&quality, &parameters);
    return SaveWithEncoder(*this, encoder, clsid, path, quality >= 0 ? &parameters : nullptr);
}

int CImage::SaveFile(const char* path, int quality) {
    if (EndsWithNoCase(path, "jpg") || EndsWithNoCase(path, "jpeg"))
        return SaveJpg(path, quality);
    return Save(path, nullptr);
}

int CImage::SaveAdd(const char*) { return 0; }

// ---- properties -------------------------------------------------------------------------------------

UINT CImage::Width() { return GetWidth(); }
UINT CImage::Height() { return GetHeight(); }
int CImage::Format() { return static_cast<int>(GetPixelFormat()); }
int CImage::BitCount() { return PixelFormatBitCount(Format()); }
int CImage::BytesPerLine() { return static_cast<int>(DibStride(Width(), static_cast<UINT>(BitCount()))); }

int CImage::GetResolution(float& x, float& y) {
    x = GetHorizontalResolution();
    y = GetVerticalResolution();
    return NativeImageOf(*this) ? 1 : 0;
}

int CImage::GetDPI(float& x, float& y) { return GetResolution(x, y); }

int CImage::GetDPM(float& x, float& y) {
    const int result = GetResolution(x, y);
    x = x * 10000 / 254;
    y = y * 10000 / 254;
    return result;
}

int CImage::SetResolution(float x, float y) { return Bitmap::SetResolution(x, y) == Ok ? 1 : 0; }
int CImage::SetDPI(float x, float y) { return SetResolution(x, y); }
int CImage::SetDPM(float x, float y) { return SetResolution(x * 254 / 10000, y * 254 / 10000); }

int CImage::SetResolution(CImage* other) {
    if (!other)
        return 0;
    float x = 0;
    float y = 0;
    return other->GetResolution(x, y) ? SetResolution(x, y) : 0;
}
