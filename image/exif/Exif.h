#pragma once
// CExif: reads the header of a JPEG file (the markers up to the image data) and decodes its frame size,
// comment and EXIF data into a tag_ExifInfo record. Platform-neutral: the C runtime's FILE* and malloc
// only; built into the image library and natively for its tests.
#include <cstdio>
#include <ctime>

#if defined(_WIN32) && defined(QEL_IMAGE_BUILD)
#define QEL_EXIF_API __declspec(dllexport)
#elif defined(_WIN32) && !defined(QEL_EXIF_STATIC)
#define QEL_EXIF_API __declspec(dllimport)
#else
#define QEL_EXIF_API
#endif

// The decoded record, zero-filled before decoding.
struct tag_ExifInfo {
    char Version[5];
    char CameraMake[32];
    char CameraModel[40];
    char DateTime[20];          // "year:month:day hour:minute:second"
    int Height;
    int Width;
    int Orientation;            // 1..8, 0 when out of range
    int IsColor;                // the frame has 3 components
    int Process;                // the frame marker
    int FlashUsed;
    double FocalLength;
    double ExposureTime;
    double ApertureFNumber;
    double ApertureValue;
    double MaxApertureValue;
    double Distance;
    double CCDWidth;
    double ExposureBias;
    int LightSource;
    int MeteringMode;
    int ExposureProgram;
    int ISOequivalent;          // values below 50 are multiplied by 200
    int CompressionLevel;
    double FocalplaneXRes;
    double FocalplaneYRes;
    double FocalplaneUnits;     // the unit code as a number
    int Xresolution;
    int Yresolution;
    int ResolutionUnit;
    double Brightness;
    char Comments[1000];
    unsigned char* ThumbnailPointer; // into the kept EXIF section
    unsigned ThumbnailSize;
    bool IsExif;
};

constexpr int kExifMaxSections = 20;

class QEL_EXIF_API CExif {
public:
    // Fills info, or a zeroed record of its own when info is null.
    explicit CExif(tag_ExifInfo* info = nullptr);
    ~CExif();
    CExif(const CExif&) = delete;
    CExif& operator=(const CExif&) = delete;

    // Walks the markers of the file (open for binary reading at its start): true when the start of
    // the image data was reached; false with the reason in m_szLastError.
    bool DecodeExif(FILE* file);
    // Zeroes *time and scans the date text into it as written (year in full, month from 1).
    void GetDateTime(struct tm* time);
    // Not provided: 0.
    int GetExifString(char* buffer, int size);

    int Get16m(const void* at);
    int Get16u(const void* at);
    unsigned Get32u(const void* at);
    int Get32s(const void* at);

    tag_ExifInfo* m_exifinfo;
    char m_szLastError[256];

protected:
    bool process_EXIF(unsigned char* block, unsigned length);
    bool ProcessExifDir(unsigned char* dirStart, unsigned char* offsetBase, unsigned exifLength, tag_ExifInfo* info,
                        unsigned char** lastUsed);
    double ConvertAnyFormat(const void* value, int format);
    void process_COM(const unsigned char* data, int length);
    void process_SOFn(const unsigned char* data, int marker);

private:
    struct Section {
        unsigned char* Data;
        int Type;
        unsigned Size;
    };
    // One directory at dirOffset of the TIFF data, depth levels below the first.
    bool ReadDirectory(unsigned dirOffset, unsigned char* offsetBase, unsigned exifLength, tag_ExifInfo* info,
                       unsigned char** lastUsed, int depth);
    void SetError(const char* text);
    void DropLastSection();

    int m_motorolaOrder;
    Section m_sections[kExifMaxSections];
    int m_sectionsRead;
    bool m_ownsInfo;
    int m_largestDimension;
    // Directory offsets read in the current EXIF block, so that a loop of links ends.
    unsigned m_visited[32];
    int m_visitedCount;
};
