#pragma once
// The clip editor: lays clips, black fillers, transitions and audio effects on an editing timeline.
// The caller owns the records (TrimRecords.h) and keeps them; the editor stores its nodes in them.
// Order a caller follows: Initial; InitialTrack for a video and an audio track; per clip
// InitialVideoSource/InitialAudioSource, then SetSrcFile and SetDuration; ReleaseObj on every record
// before the editor is destroyed.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "TrimRecords.h"
#include "VostrelApi.h"

struct IRenderEngine;

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

    // Runs the record's Release; 0 for null.
    BOOL ReleaseObj(CTrimSource* source);
    BOOL ReleaseObj(CTrimTrack* track);
    BOOL ReleaseObj(CTrimTrans* trans);

    TrimState GetTrimState() const { return m_TrimState; }

private:
    BOOL IsValidClass(CTrimSource* source) const;
    HRESULT WriteMediaInfoToSrc(CTrimSource* source, wchar_t* file);
    HRESULT MakeNode(TIMELINE_MAJOR_TYPE type, IAMTimelineObj** node);
    HRESULT MakeGroup(const GUID& majorType, IAMTimelineObj** group);
    HRESULT PlaceSource(CTrimSource* source, CTrimTrack* track, long index);
    void AddVideoFillers(CTrimSource* source, CTrimTrack* track, long index, long count);
    void ReleaseTimeline();
    void FreeBuilderInterface();
    void MyShowErrMSG(HRESULT result, const char* source, int line);

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
};
