#pragma once
// CGraphBuilder: the engine's file player. Renders one media file into a filter graph, places its
// video window, plays, pauses, seeks, changes rate and time format, hands out graph events, reads the
// file's facts into _LITEVIDEOINFO and saves stills of the played file.
#include <windows.h>
#include <dshow.h>

#include "VostrelApi.h"

struct IMediaDet;
class CTextMixInfo;
class CMavixMixInfo;

// Posted to the player's owner window when the graph has events to collect (lParam 0).
#define WM_GRAPHBUILDER_NOTIFY 0x1601

// The facts of a rendered file.
struct VOSTREL_API _LITEVIDEOINFO {
    LONGLONG llFrames;   // length in frames
    LONGLONG llDuration; // length in 100-ns units
    long nWidth;         // native video size in pixels
    long nHeight;
    BOOL bCanSeekForward;
    BOOL bCanSeekBackward;
    BOOL bHasAudio;   // the graph holds the "Default DirectSound Device" renderer
    DWORD dwReserved; // always 0
};

class VOSTREL_API CGraphBuilder {
public:
    CGraphBuilder();
    virtual ~CGraphBuilder();
    // One object owns one reference on each interface it holds: copies would release them twice.
    CGraphBuilder(const CGraphBuilder&) = delete;
    CGraphBuilder& operator=(const CGraphBuilder&) = delete;

    // Renders the file (media time as time format); flag nonzero also opens the media detector for
    // stills. A second call releases the first graph.
    HRESULT Init(HWND owner, const WCHAR* fileName, int flag);
    // As Init with frames as time format and GetVideoInfo2 for the record.
    HRESULT Init2(HWND owner, const WCHAR* fileName, int flag);

    HRESULT Play();
    HRESULT Pause();
    HRESULT SeekPosition(LONGLONG position, const GUID* format, int run);
    HRESULT GetCurrentPosition(LONGLONG* position, const GUID* format);
    HRESULT GetVideoInfo(_LITEVIDEOINFO* info);
    HRESULT GetVideoInfo2(_LITEVIDEOINFO* info);
    HRESULT SetShowWndSize(int left, int top, int width, int height, int visibleWhilePlacing,
                           int visibleAfter, HWND owner);
    HRESULT SetTimeFormat(GUID format);
    HRESULT GetPlaybackRate(double* rate);
    HRESULT SetPlaybackRate(double rate);
    HRESULT GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs);
    HRESULT FinishEvent(long code, LONG_PTR param1, LONG_PTR param2);
    HRESULT WaitForCompletion(long timeoutMs, long* code);
    HRESULT NotifyOwnerMessage(LONG_PTR window, long message, LONG_PTR wParam, LONG_PTR lParam);
    BOOL GetState(FILTER_STATE* state);
    BOOL SetVolume(unsigned long percent);
    int GetFullRenderFileName(WCHAR* buffer, int size);
    IGraphBuilder* GetIGraphBuilder() { return m_pGraph; }
    BOOL IsBusy() { return m_bBusy; }

    // Stills of the played file, written by the frame-grabbing program beside the running program.
    HRESULT SGInitial();
    HRESULT OneSnapshot(const WCHAR* targetFile, unsigned int frame);
    HRESULT OneSnapshot(unsigned int frame);
    HRESULT OneSnapshot(const WCHAR* targetFile);
    HRESULT OneSnapshot();

    // Mix filters spliced before the renderer of the rendered graph: the text overlay (with the
    // colour space converter behind it) and the low-light plug-in with an adjustable strength.
    HRESULT InitFilter();
    HRESULT AppendTextMixInfo(CTextMixInfo* info);
    HRESULT ApplyTextMixFilter();
    BOOL CreateVideoMavixFilters();
    BOOL ApplyLowLight();
    int LowLightLevel(int on, int level);
    int AppendMavixMixInfo(CMavixMixInfo* info, int on);

private:
    HRESULT Open(HWND owner, const WCHAR* fileName, int flag, bool frames);
    void ReleaseGraph();
    HRESULT Fail(HRESULT hr);
    BOOL IsValidFileName(const WCHAR* name, int forReading);
    void ShowErrMSG(long hr);
    HRESULT ReadCommonInfo(_LITEVIDEOINFO* info, LONGLONG* duration);
    void ReadSizeAndSound(_LITEVIDEOINFO* info);
    HRESULT ConvertPosition(LONGLONG* out, const GUID* toFormat, LONGLONG value, const GUID* fromFormat);
    double FrameTime100ns();
    HRESULT SnatchPosition(double* position);
    HRESULT SeekToFrame(unsigned int frame);
    LONGLONG FramePositionInForce(unsigned int frame);

    IBaseFilter* m_pLowLight;
    BOOL m_bTextMixApplied;
    IBaseFilter* m_pColorSpace;
    IBaseFilter* m_pTextMix;
    GUID m_guidTimeFormat;
    HWND m_hOwner;
    HWND m_hDefaultOwner;
    HRESULT m_hr;
    WCHAR m_szFile[MAX_PATH];
    int m_nWndHeight;
    int m_nWndWidth;
    BOOL m_bBusy;
    int m_nWndLeft;
    int m_nWndTop;
    _LITEVIDEOINFO m_VideoInfo;
    BOOL m_bLowLightApplied;
    int m_nLowLightLevel;
    IMediaDet* m_pMediaDet;
    IBasicAudio* m_pBasicAudio;
    IBasicVideo* m_pBasicVideo;
    IMediaEventEx* m_pMediaEvent;
    IMediaSeeking* m_pMediaSeeking;
    IVideoWindow* m_pVideoWindow;
    IMediaControl* m_pMediaControl;
    IGraphBuilder* m_pGraph;
    // Init2 asked for frames but the graph refused them: media time stands in, and frame numbers the
    // caller gives "in the time format in force" are turned into media time through the frame time.
    BOOL m_bFramesDerived;
};

// Starts the frame-grabbing program "FrameSnatch.exe" of the running program's folder on source and
// target, waits for it to end, and reports whether it wrote the target.
VOSTREL_API BOOL RunFrameSnatch(const WCHAR* sourceFile, const WCHAR* targetFile, double position, int width,
                                int height);
