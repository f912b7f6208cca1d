#pragma once
// The clip editor: lays clips, black fillers, transitions and audio effects on an editing timeline.
// The caller owns the records (TrimRecords.h) and keeps them; the editor stores its nodes in them.
// Order a caller follows: Initial; InitialTrack for a video and an audio track; per clip
// InitialVideoSource/InitialAudioSource, then SetSrcFile and SetDuration; ReleaseObj on every record
// before the editor is destroyed.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <functional>

#include "TrimRecords.h"
#include "VostrelApi.h"

struct IRenderEngine;
// Only the type of StartPreview's unused last argument.
class CMediaPlayer;

class VOSTREL_API CVideoTrim {
public:
    CVideoTrim();
    virtual ~CVideoTrim();
    CVideoTrim(const CVideoTrim&) = delete;
    CVideoTrim& operator=(const CVideoTrim&) = delete;

    // Makes the timeline with its video and audio groups; E_INVALIDARG without a live owner window.
    HRESULT Initial(HWND owner, BOOL log);
    // Two timeline tracks (A, B) of the type in the type's group; the name is not used.
    HRESULT InitialTrack(CTrimTrack* track, const GUID* type, long priority, wchar_t* name);
    // Clip `index` of `count`: even on track A, odd on B, with the black fillers of the first and last
    // clip, and a transition node added to track B.
    HRESULT InitialVideoSource(CTrimSource* source, CTrimTrack* track, CTrimTrans* trans, long index, long count);
    // The same without fillers; the effect node is kept in `trans`, not inserted.
    HRESULT InitialAudioSource(CTrimSource* source, CTrimTrack* track, CTrimTrans* trans, long index);
    HRESULT InitialTransIntro(CTrimTrack* track, CTrimTrans* trans);
    HRESULT InitialFXIntro(CTrimTrack* track, CTrimTrans* trans);
    // Names the clip's file; probe reads its facts, else the given ones are stored.
    HRESULT SetSrcFile(CTrimSource* source, wchar_t* file, BOOL probe, LONGLONG duration, long width, long height);
    HRESULT SetDuration(CTrimSource* source, LONGLONG timelineStart, LONGLONG timelineStop, LONGLONG mediaStart,
                        LONGLONG mediaStop);
    void SetFileInfoToSrc(CTrimSource* source, LONGLONG duration, long width, long height);
    // Fills `info` (zeroed first); the result alone does not tell success: test the fields.
    static int GetMediaInfo(wchar_t* file, _TrimMediaInfo* info);

    // A colour source of `colour` (0 black) on the node, unmuted.
    HRESULT ApplyColorProperty(IAMTimelineObj* node, DWORD colour);

    // The wipe or transform of transition type 0..23 on the node; other types do nothing (0).
    HRESULT ApplyTransProperty(IAMTimelineObj* node, int type);
    // Places one transition: the fade from black into the first clip (previous null), between two
    // clips (the next overlaps the previous by the transition; `start`/`end` move on), or the fade
    // to black after the last (next null; `end` gains the black tail). A negative type cuts.
    HRESULT AdjustTransition(CTrimTrans* trans, BOOL swapInputs, CTrimSource* previous, CTrimSource* next,
                             LONGLONG& start, LONGLONG& end, LONGLONG& clipIn, LONGLONG& clipOut);
    // The audio mixer's two-second volume envelope: kind 1 fades out, 2 fades in.
    HRESULT ApplyFXProperty(IAMTimelineObj* node, int kind);
    // The fade-out effect over [start, stop); a negative type takes the effect off the timeline.
    HRESULT AdjustEffect(CTrimTrans* fx, CTrimSource* source, LONGLONG start, LONGLONG stop, LONGLONG clipIn,
                         LONGLONG clipOut);

    // The clip's text overlay / low-light mix over its stretch of the timeline, when the clip asked
    // for it: 1 done or nothing to do; the creation's failure otherwise.
    int SetTextMixInfo(CTrimSource* source, LONGLONG timelineStart, LONGLONG timelineStop, LONGLONG mediaStart,
                       LONGLONG mediaStop);
    int SetMavixMixInfo(CTrimSource* source, LONGLONG timelineStart, LONGLONG timelineStop, LONGLONG mediaStart,
                        LONGLONG mediaStop);
    // Splice the overlay / low-light plug-in in front of the graph's video renderer: 1 done (or `on`
    // FALSE), 0 failed, the user told and the graph put back as it was.
    static int ApplyTextMix(IBaseFilter* overlay, IGraphBuilder* graph, BOOL on);
    static int ApplyMavixMix(IBaseFilter* plugin, IGraphBuilder* graph, BOOL on, BOOL enable);
    // The first input pin of the first filter whose name contains `name`, with a reference; or null.
    static IPin* FindInputPin(IGraphBuilder* graph, const char* name);
    // Takes both mix filters out of the graph and clears their settings; they stay created.
    void RemoveFilter();

    // Runs the record's Release; 0 for null.
    BOOL ReleaseObj(CTrimSource* source);
    BOOL ReleaseObj(CTrimTrack* track);
    BOOL ReleaseObj(CTrimTrans* trans);

    TrimState GetTrimState() const { return m_TrimState; }

    // Preview of the timeline in a child window of `video` at (x, y, width, height). rebuild FALSE
    // resumes the graph of the last preview. The result is that of the graph's audio query.
    HRESULT StartPreview(HWND video, int x, int y, int width, int height, BOOL rebuild, CMediaPlayer** unused);
    // Running <-> paused (states 2 and 5).
    BOOL PauseNContinuous();
    // Stops the preview and keeps its graph for a resume; 1 when no preview runs.
    HRESULT StopPreview();
    BOOL SetPreviewPosition(LONGLONG position);
    HRESULT SetShowWndSize(int x, int y, int width, int height, BOOL visibleWhileMoving, BOOL visibleAfter);
    // Percent 0..100 on the player's scale; kept for later graphs even when out of range.
    BOOL SetVolume(DWORD percent);
    BOOL GetTotalDuration(LONGLONG* out);
    // The position of a running preview or render (the render's progress).
    BOOL GetProcessDuration(LONGLONG* out);
    BOOL SetOutputFormat(_TRIMOUTFORMAT* format);

    // Renders the timeline to an AVI file, without overlays.
    HRESULT StartProcess(wchar_t* file, int unused);
    // Renders to AVI (avi nonzero) or ASF with the mix overlays and the free-space watch.
    HRESULT StartProcess2(wchar_t* file, int unused, BOOL avi, int unused2);
    // The picture size of an ASF render; 0 when either is 0 (the profile's size is kept then).
    BOOL SetAsfFrameSize(long width, long height);
    // Ends a render; 1 when none runs.
    HRESULT StopProcess();
    // Stops the graph and hides its window; nothing is released.
    void StopGraph();
    // For an owner that handles 0x1500 itself: reads the graph's events; on an ending one stops the
    // preview (message 0x1501) or the render (0x1502) and returns 1.
    BOOL GraphEventCallback(UINT& message, LONG& lParam);
    // The free-space limit of the next render on the volume of `path`; 0 (and no watch) while
    // rendering, for interval 0, or when the space is already short.
    BOOL SetMinFreeSpace(wchar_t* path, UINT megabytes, UINT intervalMs);

    // Forwards the editor's graph notification to HandleTrimNotify and everything else to the
    // procedure in the process-wide slot.
    static LRESULT CALLBACK s_TrimInterWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    BOOL IsValidClass(CTrimSource* source) const;
    HRESULT WriteMediaInfoToSrc(CTrimSource* source, wchar_t* file);
    HRESULT MakeNode(TIMELINE_MAJOR_TYPE type, IAMTimelineObj** node);
    HRESULT MakeGroup(const GUID& majorType, IAMTimelineObj** group);
    HRESULT PlaceSource(CTrimSource* source, CTrimTrack* track, long index);
    void AddVideoFillers(CTrimSource* source, CTrimTrack* track, long index, long count);
    void ReleaseTimeline();
    void FreeBuilderInterface();
    // Stops the graph; a render's graph stops its feeders before its writer.
    void StopMediaControl();
    void MyShowErrMSG(HRESULT result, const char* source, int line);
    const wchar_t* xGetMergeFileName() const { return m_szMergeFileName; }
    ULONGLONG xGetMinFreeSpace() const { return m_nMinFreeSpace; }
    UINT xGetSpacePollingInterval() const { return m_nPollingInterval; }
    HWND xGetClassNotifyHWND() const { return m_hNotifyWnd; }
    HRESULT xAsfFrameSize();
    HRESULT PrepareRender(wchar_t* file, BOOL avi);
    HRESULT RunRender();
    // Calls render with each group that has an output pin.
    void ForEachGroupPin(const std::function<void(long, IPin*)>& render);
    HRESULT CreateRenderEngine();
    HRESULT QueryGraphInterfaces();
    void SetupVideoWindow(HWND video, int x, int y, int width, int height);
    // Puts the used overlays that are not in the preview graph back in front of its renderer.
    void SpliceUsedMixesAgain();
    void RenderGroup(long index, IPin* groupPin);
    BOOL HookWinProc(HWND hwnd, WNDPROC newProc, WNDPROC* oldProc);
    BOOL HandleTrimNotify(HWND hwnd, UINT* message, UINT* wParam, LONG* lParam);
    BOOL xCheckFreeSpace(const wchar_t* path, ULONGLONG minimum);
    BOOL xOnReachFreeSpace();
    BOOL StartWatch();
    void StopWatch();
    static DWORD WINAPI xPollingFreeSizeThread(LPVOID editor);
    HRESULT SetTransitionSpan(IAMTimelineObj* node, BOOL swapInputs, LONGLONG start, LONGLONG stop);
    HRESULT SetFillerSpan(IAMTimelineObj* filler, LONGLONG mediaStop, LONGLONG start, LONGLONG stop);
    HRESULT CreateTextMix();
    HRESULT CreateLowLight();

    IBaseFilter* m_pTextMix;
    IBaseFilter* m_pLowLight;
    BOOL m_bTextMixUsed;
    BOOL m_bLowLightUsed;
    BOOL m_bLowLightEnable;
    IAMTimeline* m_pTimeline;
    IAMTimelineObj* m_pVideoGroup;
    IAMTimelineObj* m_pAudioGroup;
    IGraphBuilder* m_pGraph;
    IMediaControl* m_pMediaControl;
    IMediaEventEx* m_pMediaEvent;
    ICaptureGraphBuilder2* m_pCaptureBuilder;
    IRenderEngine* m_pRenderEngine;
    IVideoWindow* m_pVideoWindow;
    IBaseFilter* m_pMux;
    IFileSinkFilter* m_pFileSink;
    IMediaSeeking* m_pMediaSeeking;
    IBasicAudio* m_pBasicAudio;
    TrimState m_TrimState;
    HWND m_hNotifyWnd;
    BOOL m_bLog;
    UINT m_nVolume;
    wchar_t m_szMergeFileName[MAX_PATH];
    ULONGLONG m_nMinFreeSpace;
    UINT m_nPollingInterval;
    long m_nAsfWidth;
    long m_nAsfHeight;
    HANDLE m_hWatchThread;
    HANDLE m_hWatchStop;
    volatile LONG m_lWatchNotifying;
};
