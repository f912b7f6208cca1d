#include "qeldshow/media_type.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr int64_t kMaxBufferBytes = 0x7FFFFFFF;  // sample sizes are LONG

void ZeroType(AM_MEDIA_TYPE& type) { std::memset(&type, 0, sizeof(type)); }
} // namespace

void FreeMediaType(AM_MEDIA_TYPE& type) {
    if (type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return;
    FreeMediaType(*type);
    CoTaskMemFree(type);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source) {
    if (!target || !source)
        return E_POINTER;
    *target = *source;
    target->pbFormat = nullptr;
    target->cbFormat = 0;
    if (source->cbFormat && source->pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (!target->pbFormat) {
            ZeroType(*target);
            return E_OUTOFMEMORY;
        }
        std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
        target->cbFormat = source->cbFormat;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source) {
    auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!copy)
        return nullptr;
    if (FAILED(CopyMediaType(copy, source))) {
        CoTaskMemFree(copy);
        return nullptr;
    }
    return copy;
}

bool MediaTypesEqual(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b) {
    if (a.majortype != b.majortype || a.subtype != b.subtype || a.formattype != b.formattype)
        return false;
    if (a.cbFormat != b.cbFormat)
        return false;
    if (a.cbFormat == 0)
        return true;
    if (!a.pbFormat || !b.pbFormat)
        return a.pbFormat == b.pbFormat;
    return std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

bool MediaTypeMatchesPartial(const AM_MEDIA_TYPE& type, const AM_MEDIA_TYPE& pattern) {
    if (pattern.majortype != GUID_NULL && pattern.majortype != type.majortype)
        return false;
    if (pattern.subtype != GUID_NULL && pattern.subtype != type.subtype)
        return false;
    if (pattern.formattype != GUID_NULL) {
        if (pattern.formattype != type.formattype)
            return false;
        if (pattern.cbFormat) {
            if (pattern.cbFormat != type.cbFormat || !pattern.pbFormat || !type.pbFormat)
                return false;
            if (std::memcmp(pattern.pbFormat, type.pbFormat, pattern.cbFormat) != 0)
                return false;
        }
    }
    return true;
}

bool IsMediaTypeFullySpecified(const AM_MEDIA_TYPE& type) {
    return type.majortype != GUID_NULL && type.subtype != GUID_NULL && type.formattype != GUID_NULL;
}

size_t DibStride(LONG width, WORD bitCount) {
    if (width <= 0 || bitCount == 0)
        return 0;
    const int64_t bits = static_cast<int64_t>(width) * bitCount;
    const int64_t bytes = ((bits + 31) / 32) * 4;
    return bytes > kMaxBufferBytes ? 0 : static_cast<size_t>(bytes);
}

size_t DibImageSize(LONG width, LONG height, WORD bitCount) {
    const size_t stride = DibStride(width, bitCount);
    if (stride == 0 || height == 0)
        return 0;
    // Widen before negating: -LONG_MIN does not fit in a LONG.
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : static_cast<int64_t>(height);
    if (rows > kMaxBufferBytes / static_cast<int64_t>(stride))
        return 0;
    return static_cast<size_t>(rows * static_cast<int64_t>(stride));
}

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& type) {
    if (type.formattype != FORMAT_VideoInfo || !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return nullptr;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    const DWORD headerSize = info->bmiHeader.biSize;
    if (headerSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const size_t headerOffset = offsetof(VIDEOINFOHEADER, bmiHeader);
    if (headerSize > type.cbFormat - headerOffset)
        return nullptr;
    return info;
}

bool IsValidUncompressedVideo(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = VideoInfoOf(type);
    if (!info)
        return false;
    const BITMAPINFOHEADER& bmi = info->bmiHeader;
    return DibImageSize(bmi.biWidth, bmi.biHeight, bmi.biBitCount) != 0;
}

CMediaType::CMediaType() { ZeroType(*this); }

CMediaType::CMediaType(const GUID& majorType) : CMediaType() { majortype = majorType; }

CMediaType::CMediaType(const AM_MEDIA_TYPE& other) : CMediaType() { Set(other); }

CMediaType::CMediaType(const CMediaType& other) : CMediaType() { Set(other); }

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other) {
    Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other) {
    Set(other);
    return *this;
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& other) {
    if (&other == this)
        return S_OK;
    Clear();
    return CopyMediaType(this, &other);
}

void CMediaType::Clear() {
    FreeMediaType(*this);
    ZeroType(*this);
}

void CMediaType::SetSampleSize(ULONG size) {
    if (size == 0) {
        SetVariableSize();
        return;
    }
    bFixedSizeSamples = TRUE;
    lSampleSize = size;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
    if (length == 0)
        return nullptr;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!pbFormat)
        return nullptr;
    std::memset(pbFormat, 0, length);
    cbFormat = length;
    return pbFormat;
}

bool CMediaType::SetFormat(const BYTE* format, ULONG length) {
    BYTE* block = AllocFormatBuffer(length);
    if (!block)
        return length == 0;
    std::memcpy(block, format, length);
    return true;
}

CMediaType MakeRgb24VideoType(LONG width, LONG height, REFERENCE_TIME avgTimePerFrame) {
    CMediaType type;
    const size_t imageSize = DibImageSize(width, height, 24);
    if (imageSize == 0)
        return type;
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return type;
    info->AvgTimePerFrame = avgTimePerFrame;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    if (avgTimePerFrame > 0) {
        const double bitRate =
            static_cast<double>(imageSize) * 8.0 * 10000000.0 / static_cast<double>(avgTimePerFrame);
        info->dwBitRate = bitRate >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<DWORD>(bitRate);
    }
    SetRectEmpty(&info->rcSource);
    SetRectEmpty(&info->rcTarget);
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_RGB24);
    type.SetFormatType(&FORMAT_VideoInfo);
    type.SetTemporalCompression(FALSE);
    type.SetSampleSize(static_cast<ULONG>(imageSize));
    return type;
}
