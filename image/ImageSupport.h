#pragma once
// Small owners the image library's sources share: a GDI+ bits lock, a global-memory lock, and path
// conversion.
#include <windows.h>

#include <objidl.h> // PROPID, IStream: the lean Windows header leaves them out
#include <gdiplus.h>

#include <string>

// Locks a rectangle of a bitmap's pixels in a format for the owner's lifetime.
class BitsLock {
public:
    BitsLock(Gdiplus::Bitmap& bitmap, const Gdiplus::Rect& rect, UINT flags, Gdiplus::PixelFormat format)
        : bitmap_(bitmap), data_() {
        locked_ = bitmap_.LockBits(&rect, flags, format, &data_) == Gdiplus::Ok;
    }
    ~BitsLock() {
        if (locked_)
            bitmap_.UnlockBits(&data_);
    }
    BitsLock(const BitsLock&) = delete;
    BitsLock& operator=(const BitsLock&) = delete;

    bool Locked() const { return locked_; }
    BYTE* Row(UINT y) const { return static_cast<BYTE*>(data_.Scan0) + static_cast<INT_PTR>(y) * data_.Stride; }
    INT Stride() const { return data_.Stride; }

private:
    Gdiplus::Bitmap& bitmap_;
    Gdiplus::BitmapData data_;
    bool locked_ = false;
};

// GlobalLock for the owner's lifetime.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), memory_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (memory_)
            GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    BYTE* Memory() const { return static_cast<BYTE*>(memory_); }

private:
    HGLOBAL block_;
    void* memory_;
};

// A path in the ANSI code page as a wide string (empty for null).
inline std::wstring WidePath(const char* path) {
    if (!path || !*path)
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// True when text ends with suffix, letters compared without case.
inline bool EndsWithNoCase(const char* text, const char* suffix) {
    if (!text || !suffix)
        return false;
    const size_t textLength = strlen(text);
    const size_t suffixLength = strlen(suffix);
    return textLength >= suffixLength && _stricmp(text + textLength - suffixLength, suffix) == 0;
}

// The bits per pixel of a GDI+ pixel format, as CImage::BitCount reports them.
int PixelFormatBitCount(int format);
