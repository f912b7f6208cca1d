#pragma once
// Media types: the AM_MEDIA_TYPE memory rules (format block and pUnk owned by the type), comparison,
// and checked access to an uncompressed video format. A format block that is missing or shorter than
// its header claims is never read: VideoInfoOf answers nullptr for it.
#include <windows.h>
#include <dshow.h>

#include <cstddef>

// Releases what the type owns (format block, pUnk) and leaves it empty; the struct itself stays.
void FreeMediaType(AM_MEDIA_TYPE& type);
// Frees a type that was allocated with CreateMediaType (or handed out by an enumerator).
void DeleteMediaType(AM_MEDIA_TYPE* type);
// Deep copy into target (whose old contents are not freed). E_OUTOFMEMORY leaves target empty.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);
// A CoTaskMemAlloc'd deep copy, or nullptr when memory runs out.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);

// Major type, subtype, format type and format block all equal.
bool MediaTypesEqual(const AM_MEDIA_TYPE& a, const AM_MEDIA_TYPE& b);
// Whether type satisfies a partial type: GUID_NULL fields of pattern match anything; a pattern that
// names a format type and carries a block must match that block too.
bool MediaTypeMatchesPartial(const AM_MEDIA_TYPE& type, const AM_MEDIA_TYPE& pattern);
// Whether major type, subtype and format type are all named (no GUID_NULL).
bool IsMediaTypeFullySpecified(const AM_MEDIA_TYPE& type);

// Bytes per row of an uncompressed DIB (rounded up to a multiple of 4), or 0 for a width or bit
// count that is not positive or a row that would not fit in 31 bits.
size_t DibStride(LONG width, WORD bitCount);
// Bytes of an uncompressed DIB frame; a negative (top-down) height counts by its magnitude.
// 0 when the size is invalid or would not fit in 31 bits (buffer sizes are LONG).
size_t DibImageSize(LONG width, LONG height, WORD bitCount);

// The VIDEOINFOHEADER of a FORMAT_VideoInfo type whose block is present and long enough for the
// header and its BITMAPINFOHEADER (biSize at least 40 and inside the block); else nullptr.
const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& type);
// VideoInfoOf holds and the picture is an uncompressed frame of sane size (width > 0, height != 0,
// image size computable).
bool IsValidUncompressedVideo(const AM_MEDIA_TYPE& type);

// An AM_MEDIA_TYPE that frees what it owns. Copies are deep.
class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID& majorType);
    CMediaType(const AM_MEDIA_TYPE& other);  // NOLINT: implicit like the types it stands for
    CMediaType(const CMediaType& other);
    ~CMediaType();

    CMediaType& operator=(const AM_MEDIA_TYPE& other);
    CMediaType& operator=(const CMediaType& other);
    bool operator==(const CMediaType& other) const { return MediaTypesEqual(*this, other); }
    bool operator!=(const CMediaType& other) const { return !MediaTypesEqual(*this, other); }

    // Replaces the contents by a copy of other; E_OUTOFMEMORY leaves this empty.
    HRESULT Set(const AM_MEDIA_TYPE& other);
    // Empties the type (GUIDs to GUID_NULL, no format block).
    void Clear();
    bool IsValid() const { return majortype != GUID_NULL; }

    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    ULONG FormatLength() const { return cbFormat; }
    BYTE* Format() const { return pbFormat; }

    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    void SetSampleSize(ULONG size);  // 0 means variable size
    void SetVariableSize() { bFixedSizeSamples = FALSE; lSampleSize = 0; }
    void SetTemporalCompression(BOOL compressed) { bTemporalCompression = compressed; }
    ULONG GetSampleSize() const { return bFixedSizeSamples ? lSampleSize : 0; }

    // A zeroed format block of length bytes (old block freed); nullptr when memory runs out.
    BYTE* AllocFormatBuffer(ULONG length);
    // Copies length bytes into a new format block; false when memory runs out.
    bool SetFormat(const BYTE* format, ULONG length);

    bool MatchesPartial(const CMediaType* pattern) const { return MediaTypeMatchesPartial(*this, *pattern); }
};

// MEDIATYPE_Video / MEDIASUBTYPE_RGB24 / FORMAT_VideoInfo, bottom-up when height > 0, fixed sample
// size of one frame. avgTimePerFrame in 100-ns units (0 for unknown). Empty (invalid) when the size
// cannot be represented.
CMediaType MakeRgb24VideoType(LONG width, LONG height, REFERENCE_TIME avgTimePerFrame);
