// The JPEG marker walk and the EXIF directory reader. Every read is checked against the section it
// lies in, with sizes and offsets (32-bit values from the file) compared in 64 bits so that nothing
// wraps; directory links are followed a few levels deep and never back to a directory already read.
#include "Exif.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerCom = 0xFE;
constexpr int kMaxDirectoryDepth = 4;
constexpr unsigned kTiffHeaderOffset = 6;  // "Exif" and two zero bytes
constexpr unsigned kExifHeaderBytes = 14;  // those, the byte order, 42 and the first offset
constexpr unsigned kFrameHeaderBytes = 8;
constexpr int kUserCommentMax = 199;

// Bytes per component of the twelve TIFF formats (index = format code).
const unsigned kFormatBytes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

bool IsFrameMarker(int marker) {
    switch (marker) {
    case 0xC0: case 0xC1: case 0xC2: case 0xC3: case 0xC5: case 0xC6: case 0xC7:
    case 0xC9: case 0xCA: case 0xCB: case 0xCD: case 0xCE: case 0xCF:
        return true;
    default:
        return false;
    }
}

// Copies at most max characters of a value of byteCount bytes, stopping at a terminator.
void CopyText(char* out, const unsigned char* value, std::uint64_t byteCount, unsigned max) {
    unsigned n = 0;
    while (n < max && n < byteCount && value[n] != 0) {
        out[n] = static_cast<char>(value[n]);
        ++n;
    }
    out[n] = 0;
}

// Truncation toward zero that cannot overflow: values beyond int's range are held at its ends.
int ToInt(double value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(value);
}

std::uint64_t ToOffset(double value) {
    if (!(value > 0))
        return 0;
    return value >= 4294967295.0 ? 4294967295u : static_cast<std::uint64_t>(value);
}

} // namespace

CExif::CExif(tag_ExifInfo* info)
    : m_exifinfo(info), m_szLastError{}, m_motorolaOrder(0), m_sections{}, m_sectionsRead(0), m_ownsInfo(false),
      m_largestDimension(0), m_visited{}, m_visitedCount(0) {
    if (!m_exifinfo) {
        m_exifinfo = static_cast<tag_ExifInfo*>(std::calloc(1, sizeof(tag_ExifInfo)));
        m_ownsInfo = m_exifinfo != nullptr;
    }
    if (m_exifinfo)
        std::memset(m_exifinfo, 0, sizeof(tag_ExifInfo));
}

CExif::~CExif() {
    for (int i = 0; i < m_sectionsRead; ++i)
        std::free(m_sections[i].Data);
    if (m_ownsInfo)
        std::free(m_exifinfo);
}

void CExif::SetError(const char* text) {
    std::strncpy(m_szLastError, text, sizeof(m_szLastError) - 1);
    m_szLastError[sizeof(m_szLastError) - 1] = 0;
}

void CExif::DropLastSection() {
    --m_sectionsRead;
    std::free(m_sections[m_sectionsRead].Data);
    m_sections[m_sectionsRead].Data = nullptr;
}

// ---- byte order -------------------------------------------------------------------------------------

int CExif::Get16m(const void* at) {
    const auto* p = static_cast<const unsigned char*>(at);
    return (p[0] << 8) | p[1];
}

int CExif::Get16u(const void* at) {
    const auto* p = static_cast<const unsigned char*>(at);
    return m_motorolaOrder ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
}

unsigned CExif::Get32u(const void* at) {
    const auto* p = static_cast<const unsigned char*>(at);
    if (m_motorolaOrder)
        return (static_cast<unsigned>(p[0]) << 24) | (static_cast<unsigned>(p[1]) << 16) | (static_cast<unsigned>(p[2]) << 8) | p[3];
    return (static_cast<unsigned>(p[3]) << 24) | (static_cast<unsigned>(p[2]) << 16) | (static_cast<unsigned>(p[1]) << 8) | p[0];
}

int CExif::Get32s(const void* at) { return static_cast<int>(Get32u(at)); }

// ---- the marker walk --------------------------------------------------------------------------------

bool CExif::DecodeExif(FILE* file) {
    if (!file || !m_exifinfo) {
        SetError("No file");
        return false;
    }
    if (std::fgetc(file) != 0xFF || std::fgetc(file) != kMarkerSoi)
        return false;
    bool haveComment = false;
    for (;;) {
        if (m_sectionsRead >= kExifMaxSections) {
            SetError("Too many sections in jpg file");
            return false;
        }
        int marker = 0;
        for (int a = 0; a < 7; ++a) {
            marker = std::fgetc(file);
            if (marker != 0xFF)
                break;
            if (a >= 6) {
                std::printf("too many padding unsigned chars\n");
                return false;
            }
        }
        const int high = marker == EOF ? EOF : std::fgetc(file);
        const int low = high == EOF ? EOF : std::fgetc(file);
        if (low == EOF) {
            SetError("Premature end of file?");
            return false;
        }
        const unsigned length = (static_cast<unsigned>(high) << 8) | static_cast<unsigned>(low);
        if (length < 2) {
            SetError("invalid marker");
            return false;
        }
        auto* data = static_cast<unsigned char*>(std::malloc(length));
        if (!data) {
            SetError("Could not allocate memory");
            return false;
        }
        data[0] = static_cast<unsigned char>(high);
        data[1] = static_cast<unsigned char>(low);
        if (std::fread(data + 2, 1, length - 2, file) != length - 2) {
            std::free(data);
            SetError("Premature end of file?");
            return false;
        }
        m_sections[m_sectionsRead] = Section{data, marker, length};
        ++m_sectionsRead;

        switch (marker) {
        case kMarkerSos:
            return true;
        case kMarkerEoi:
            std::printf("No image in jpeg!\n");
            return false;
        case kMarkerCom:
            if (haveComment) {
                DropLastSection();
            } else {
                process_COM(data, static_cast<int>(length));
                haveComment = true;
            }
            break;
        case kMarkerApp0:
            DropLastSection();
            break;
        case kMarkerApp1:
            if (length - 2 >= 4 && std::memcmp(data + 2, "Exif", 4) == 0)
                m_exifinfo->IsExif = process_EXIF(data + 2, length - 2);
            else
                DropLastSection();
            break;
        default:
            if (IsFrameMarker(marker) && length >= kFrameHeaderBytes)
                process_SOFn(data, marker);
            break;
        }
    }
}

// ---- sections ---------------------------------------------------------------------------------------

void CExif::process_COM(const unsigned char* data, int length) {
    // The text after the length bytes, no further than the section and the record's field.
    const int end = length < 1000 ? length : 1000;
    int n = 0;
    for (int a = 2; a < end && n < static_cast<int>(sizeof(m_exifinfo->Comments)) - 1; ++a) {
        const int ch = data[a];
        if (ch == '\r' && a + 1 < end && data[a + 1] == '\n')
            continue;
        m_exifinfo->Comments[n++] = (ch >= 32 || ch == '\n' || ch == '\t') ? static_cast<char>(ch) : '?';
    }
    m_exifinfo->Comments[n] = 0;
}

void CExif::process_SOFn(const unsigned char* data, int marker) {
    m_exifinfo->Height = Get16m(data + 3);
    m_exifinfo->Width = Get16m(data + 5);
    m_exifinfo->IsColor = data[7] == 3 ? 1 : 0;
    m_exifinfo->Process = marker;
}

bool CExif::process_EXIF(unsigned char* block, unsigned length) {
    m_exifinfo->FlashUsed = 0;
    m_exifinfo->Comments[0] = 0;
    m_largestDimension = 0;
    m_visitedCount = 0;

    if (length < kExifHeaderBytes || std::memcmp(block, "Exif\0\0", 6) != 0) {
        SetError("Incorrect Exif header");
        return false;
    }
    if (std::memcmp(block + 6, "II", 2) == 0) {
        m_motorolaOrder = 0;
    } else if (std::memcmp(block + 6, "MM", 2) == 0) {
        m_motorolaOrder = 1;
    } else {
        SetError("Invalid Exif alignment marker.");
        return false;
    }
    if (Get16u(block + 8) != 0x2A) {
        SetError("Invalid Exif start (1)");
        return false;
    }
    const unsigned firstOffset = Get32u(block + 10);
    if (firstOffset < 8 || firstOffset > 16) {
        SetError("Suspicious offset of first IFD value");
        return false;
    }
    unsigned char* lastUsed = block;
    if (!ProcessExifDir(block + kExifHeaderBytes, block + kTiffHeaderOffset, length - kTiffHeaderOffset, m_exifinfo, &lastUsed))
        return false;
    if (m_exifinfo->FocalplaneXRes != 0)
        m_exifinfo->CCDWidth = m_largestDimension * m_exifinfo->FocalplaneUnits / m_exifinfo->FocalplaneXRes;
    return true;
}

bool CExif::ProcessExifDir(unsigned char* dirStart, unsigned char* offsetBase, unsigned exifLength, tag_ExifInfo* info,
                           unsigned char** lastUsed) {
    if (dirStart < offsetBase) {
        SetError("Illegally sized directory");
        return false;
    }
    return ReadDirectory(static_cast<unsigned>(dirStart - offsetBase), offsetBase, exifLength, info, lastUsed, 0);
}

bool CExif::ReadDirectory(unsigned dirOffset, unsigned char* offsetBase, unsigned exifLength, tag_ExifInfo* info,
                          unsigned char** lastUsed, int depth) {
    // A loop of links, or links nested deeper than any real file, end the walk there.
    if (depth > kMaxDirectoryDepth)
        return true;
    for (int i = 0; i < m_visitedCount; ++i)
        if (m_visited[i] == dirOffset)
            return true;
    if (m_visitedCount < static_cast<int>(sizeof(m_visited) / sizeof(m_visited[0])))
        m_visited[m_visitedCount++] = dirOffset;
    else
        return true;

    const std::uint64_t length = exifLength;
    if (static_cast<std::uint64_t>(dirOffset) + 2 > length) {
        SetError("Illegally sized directory");
        return false;
    }
    unsigned char* dir = offsetBase + dirOffset;
    const unsigned entries = static_cast<unsigned>(Get16u(dir));
    const std::uint64_t entriesEnd = static_cast<std::uint64_t>(dirOffset) + 2 + 12ull * entries;
    if (entriesEnd > length) {
        SetError("Illegally sized directory");
        return false;
    }

    std::uint64_t thumbnailOffset = 0;
    std::uint64_t thumbnailSize = 0;
    bool haveThumbnailOffset = false;
    bool haveThumbnailSize = false;
    for (unsigned de = 0; de < entries; ++de) {
        unsigned char* entry = dir + 2 + 12 * de;
        const int tag = Get16u(entry);
        const int format = Get16u(entry + 2);
        const unsigned components = Get32u(entry + 4);
        if (format < 1 || format > 12) {
            SetError("Illegal format code in EXIF dir");
            return false;
        }
        const std::uint64_t byteCount = static_cast<std::uint64_t>(components) * kFormatBytes[format];
        unsigned char* value;
        if (byteCount > 4) {
            const unsigned offset = Get32u(entry + 8);
            if (static_cast<std::uint64_t>(offset) + byteCount > length) {
                SetError("Illegal pointer offset value in EXIF.");
                return false;
            }
            value = offsetBase + offset;
        } else {
            value = entry + 8;
        }
        if (value + byteCount > *lastUsed)
            *lastUsed = value + byteCount;

        // Numbers only from values that hold at least one whole component.
        const bool hasNumber = byteCount >= kFormatBytes[format];
        const double number = hasNumber ? ConvertAnyFormat(value, format) : 0.0;
        switch (tag) {
        case 0x010F: CopyText(info->CameraMake, value, byteCount, 31); break;
        case 0x0110: CopyText(info->CameraModel, value, byteCount, 39); break;
        case 0x9003: CopyText(info->DateTime, value, byteCount, 19); break;
        case 0x9000: CopyText(info->Version, value, byteCount, 4); break;
        case 0x9286: {
            // Trailing blanks go; the trim stops at the start of the value.
            std::uint64_t end = byteCount;
            while (end > 0 && (value[end - 1] == ' ' || value[end - 1] == 0))
                --end;
            std::uint64_t start = 0;
            if (end >= 5 && std::memcmp(value, "ASCII", 5) == 0) {
                start = 5;
                while (start < 10 && start < end && (value[start] == 0 || value[start] == ' '))
                    ++start;
            }
            CopyText(info->Comments, value + start, end - start, kUserCommentMax);
            break;
        }
        case 0x829D: info->ApertureFNumber = number; break;
        case 0x9202: info->ApertureValue = number; break;
        case 0x9205: info->MaxApertureValue = number; break;
        case 0x920A: info->FocalLength = number; break;
        case 0x9206: info->Distance = number; break;
        case 0x829A: info->ExposureTime = number; break;
        case 0x9201:
            if (info->ExposureTime == 0)
                info->ExposureTime = number;
            break;
        case 0x9209: info->FlashUsed = (ToInt(number) & 7) ? 1 : 0; break;
        case 0x0112: {
            const int orientation = ToInt(number);
            if (orientation < 1 || orientation > 8) {
                SetError("Undefined rotation value");
                info->Orientation = 0;
            } else {
                info->Orientation = orientation;
            }
            break;
        }
        case 0xA002:
        case 0xA003: {
            const int dimension = ToInt(number);
            if (dimension > m_largestDimension)
                m_largestDimension = dimension;
            break;
        }
        case 0xA20E: info->FocalplaneXRes = number; break;
        case 0xA20F: info->FocalplaneYRes = number; break;
        case 0xA210: info->FocalplaneUnits = number; break;
        case 0x9204: info->ExposureBias = number; break;
        case 0x9208: info->LightSource = ToInt(number); break;
        case 0x9207: info->MeteringMode = ToInt(number); break;
        case 0x8822: info->ExposureProgram = ToInt(number); break;
        case 0x8827: {
            int iso = ToInt(number);
            if (iso < 50 && iso > -10000000)
                iso *= 200;
            info->ISOequivalent = iso;
            break;
        }
        case 0x9102: info->CompressionLevel = ToInt(number); break;
        case 0x011A: info->Xresolution = ToInt(number); break;
        case 0x011B: info->Yresolution = ToInt(number); break;
        case 0x0128: info->ResolutionUnit = ToInt(number); break;
        case 0x9203: info->Brightness = number; break;
        case 0x0201:
            thumbnailOffset = ToOffset(number);
            haveThumbnailOffset = hasNumber;
            break;
        case 0x0202:
            thumbnailSize = ToOffset(number);
            haveThumbnailSize = hasNumber;
            break;
        case 0x8769:
        case 0xA005: {
            if (byteCount < 4) {
                SetError("Illegal subdirectory link");
                return false;
            }
            const unsigned subOffset = Get32u(value);
            if (subOffset >= length) {
                SetError("Illegal subdirectory link");
                return false;
            }
            if (!ReadDirectory(subOffset, offsetBase, exifLength, info, lastUsed, depth + 1))
                return false;
            break;
        }
        default:
            break;
        }
    }

    // The link to the next directory is a 32-bit offset in the data's byte order.
    if (entriesEnd + 4 <= length) {
        const unsigned next = Get32u(dir + 2 + 12 * entries);
        if (next != 0) {
            if (next >= length) {
                SetError("Illegal subdirectory link");
                return false;
            }
            if (!ReadDirectory(next, offsetBase, exifLength, info, lastUsed, depth + 1))
                return false;
        }
    }

    if (haveThumbnailOffset && haveThumbnailSize && thumbnailSize > 0 && thumbnailOffset + thumbnailSize <= length) {
        info->ThumbnailPointer = offsetBase + thumbnailOffset;
        info->ThumbnailSize = static_cast<unsigned>(thumbnailSize);
    }
    return true;
}

double CExif::ConvertAnyFormat(const void* value, int format) {
    const auto* p = static_cast<const unsigned char*>(value);
    switch (format) {
    case 1: return p[0];
    case 6: return static_cast<signed char>(p[0]);
    case 3: return Get16u(p);
    case 8: return static_cast<short>(Get16u(p));
    case 4: return Get32u(p);
    case 9: return Get32s(p);
    case 5: case 10: {
        const double numerator = format == 5 ? static_cast<double>(Get32u(p)) : Get32s(p);
        const double denominator = format == 5 ? static_cast<double>(Get32u(p + 4)) : Get32s(p + 4);
        return denominator == 0 ? 0 : numerator / denominator;
    }
    case 11: {
        float single;
        std::memcpy(&single, p, sizeof(single));
        return single;
    }
    case 12: {
        double twice;
        std::memcpy(&twice, p, sizeof(twice));
        return twice;
    }
    default:
        return 0;
    }
}

void CExif::GetDateTime(struct tm* time) {
    if (!time)
        return;
    std::memset(time, 0, sizeof(*time));
    if (m_exifinfo)
        std::sscanf(m_exifinfo->DateTime, "%d:%d:%d %d:%d:%d", &time->tm_year, &time->tm_mon, &time->tm_mday,
                    &time->tm_hour, &time->tm_min, &time->tm_sec);
}

int CExif::GetExifString(char*, int) { return 0; }
