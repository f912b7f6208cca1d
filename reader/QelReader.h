#pragma once
// The media frame reader's public contract: the COM class that opens one recorded file at a time and
// hands out single frames as 24-bit bitmaps and sound ranges as PCM, in movable global memory blocks
// that the caller frees with GlobalFree. Create it with CoCreateInstance(CLSID_MediaFrameReader).
#include <windows.h>
#include <unknwn.h>
#include <mmreg.h>
#include <dshow.h>

// {A04BEC5B-DF29-45F0-8BFD-E7174A590081}
constexpr GUID CLSID_MediaFrameReader = {0xA04BEC5B, 0xDF29, 0x45F0, {0x8B, 0xFD, 0xE7, 0x17, 0x4A, 0x59, 0x00, 0x81}};
// {EA59D295-C11B-46DC-8764-DA349BA864DA}
constexpr GUID IID_IMediaFrameReader = {0xEA59D295, 0xC11B, 0x46DC, {0x87, 0x64, 0xDA, 0x34, 0x9B, 0xA8, 0x64, 0xDA}};
// {8A67039C-FF92-4D09-B3E8-11B0609CF439}: a second name of the same interface.
constexpr GUID IID_IMediaFrameReaderAlias = {0x8A67039C, 0xFF92, 0x4D09, {0xB3, 0xE8, 0x11, 0xB0, 0x60, 0x9C, 0xF4, 0x39}};

// The streams argument of the positioning methods.
constexpr DWORD READER_STREAM_AUDIO = 1;
constexpr DWORD READER_STREAM_VIDEO = 2;
constexpr DWORD READER_STREAM_BOTH = READER_STREAM_AUDIO | READER_STREAM_VIDEO;

// Plain Win32 codes that the methods return beside HRESULTs.
constexpr HRESULT READER_FILE_NOT_FOUND = ERROR_FILE_NOT_FOUND;        // 2
constexpr HRESULT READER_END_OF_STREAM = ERROR_HANDLE_EOF;             // 38: past the end, last frame again
constexpr HRESULT READER_BAD_ARGUMENT = ERROR_INVALID_PARAMETER;       // 87: bad argument or stream flags
constexpr HRESULT READER_OPEN_FAILED = ERROR_OPEN_FAILED;              // 110: neither stream could be opened
constexpr HRESULT READER_NO_BUFFER = ERROR_INSUFFICIENT_BUFFER;        // 122: no collection buffer
constexpr HRESULT READER_PROTECTED_CONTENT = ERROR_CANT_ACCESS_FILE;   // 1920: protected Windows Media

// File kinds that GetFileType reports.
enum ReaderFileKind {
    READER_KIND_UNKNOWN = 0,
    READER_KIND_AVI = 1,
    READER_KIND_AVI_INTERLEAVED_DV = 2,
    READER_KIND_AVI_DV = 3,
    READER_KIND_AVI_AUDIO_ONLY = 4,
    READER_KIND_MPEG1 = 5,
    READER_KIND_MPEG2 = 6,
    READER_KIND_WINDOWS_MEDIA = 8,
    READER_KIND_MP3_AUDIO = 9,
    READER_KIND_TRANSPORT_STREAM = 10,
};

// Times are seconds. ReadVideoFrame: a position above 0 is a time, 0 or below minus a frame index.
struct IMediaFrameReader : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Reserved1(DWORD first, DWORD second) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenFileHalfRes(const char* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenFile(const char* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved2(DWORD value) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasVideo() = 0;
    virtual HRESULT STDMETHODCALLTYPE HasAudio() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVideoFormat(VIDEOINFO* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAudioFormat(WAVEFORMATEX* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadVideoFrame(double position, HGLOBAL* frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadAudioData(double start, double end, HGLOBAL* data, LONG* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySeekable(const char* path, BOOL* seekable) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFileType(int* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStreamFilterNames(char* video, int* videoLength, char* audio,
                                                           int* audioLength) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Duration(double* seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentPosition(double seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentPosition(double* seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StopTime(double* seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_StopTime(double seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PrerollTime(double* seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PrerollTime(double seconds, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Rate(double rate, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Rate(double* rate, DWORD streams) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenFileEx(const char* path) = 0;
};
