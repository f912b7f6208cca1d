#pragma once
// The records a trim editor's caller owns: one clip, one editing track (two timeline tracks for A/B
// rolling), one transition or audio effect, and a file's media information. The editor stores the
// timeline nodes it makes in them; the records never release on destruction: Release (or
// CVideoTrim::ReleaseObj) takes the nodes off the timeline and drops them.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "MixInfo.h"
#include "VostrelApi.h"

struct IAMTimelineTransable;
struct IAMTimelineEffectable;
class CVideoTrim;

class VOSTREL_API CTrimSource {
public:
    CTrimSource();
    virtual ~CTrimSource();
    CTrimSource(const CTrimSource&) = default;
    CTrimSource& operator=(const CTrimSource&) = default;

    IAMTimelineObj* GetThisObj() const { return m_pThisObj; }
    void SetThisObj(IAMTimelineObj* node) { m_pThisObj = node; }
    IAMTimelineObj* GetColorObj() const { return m_pColorObj; }
    void SetColorObj(IAMTimelineObj* node) { m_pColorObj = node; }
    IAMTimelineObj* GetColorObj2() const { return m_pColorObj2; }
    void SetColorObj2(IAMTimelineObj* node) { m_pColorObj2 = node; }

    LONGLONG GetDuration() const { return m_llDuration; }
    LONGLONG GetFrames() const { return m_llFrames; }
    long GetWidth() const { return m_nWidth; }
    long GetHeight() const { return m_nHeight; }
    LONGLONG GetTimelineStart() const { return m_llTimelineStart; }
    LONGLONG GetTimelineStop() const { return m_llTimelineStop; }
    LONGLONG GetMediaStart() const { return m_llMediaStart; }
    LONGLONG GetMediaStop() const { return m_llMediaStop; }
    LONGLONG GetMediaDuration() const { return m_llMediaStop - m_llMediaStart; }
    void SetMediaRange(LONGLONG start, LONGLONG stop) {
        m_llMediaStart = start;
        m_llMediaStop = stop;
    }

    CTextMixInfo& TextMixInfo() { return m_TextMix; }
    BOOL IsTextMixEnabled() const { return m_bTextMixEnabled; }
    void EnableTextMix(BOOL enable) { m_bTextMixEnabled = enable; }
    CMavixMixInfo& MavixMixInfo() { return m_MavixMix; }
    BOOL IsMavixMixEnabled() const { return m_bMavixMixEnabled; }
    void EnableMavixMix(BOOL enable) { m_bMavixMixEnabled = enable; }

    // Takes the clip and its fillers off the timeline and drops the nodes.
    void Release();

private:
    friend class CVideoTrim;

    CTextMixInfo m_TextMix;
    BOOL m_bTextMixEnabled;
    CMavixMixInfo m_MavixMix;
    BOOL m_bMavixMixEnabled;
    IAMTimelineObj* m_pThisObj;
    IAMTimelineObj* m_pColorObj;
    IAMTimelineObj* m_pColorObj2;
    LONGLONG m_llTimelineStart, m_llTimelineStop;
    LONGLONG m_llMediaStart, m_llMediaStop;
    LONGLONG m_llDuration;
    LONGLONG m_llFrames;
    long m_nWidth, m_nHeight;
};

class VOSTREL_API CTrimTrack {
public:
    CTrimTrack();
    virtual ~CTrimTrack();
    CTrimTrack(const CTrimTrack&) = default;
    CTrimTrack& operator=(const CTrimTrack&) = default;

    // Track A for 0, track B for any other value.
    IAMTimelineObj* GetThisObj(int which) const { return which == 0 ? m_pThisObj : m_pThatObj; }
    void SetThisObj(IAMTimelineObj* node) { m_pThisObj = node; }
    void SetThatObj(IAMTimelineObj* node) { m_pThatObj = node; }
    IAMTimelineTransable* GetTransbleObj() const { return m_pTransable; }
    void SetTransbleObj(IAMTimelineTransable* transable) { m_pTransable = transable; }
    IAMTimelineEffectable* GetEffectableObj() const { return m_pEffectable; }
    void SetEffectableObj(IAMTimelineEffectable* effectable) { m_pEffectable = effectable; }

    // Only the video and audio major types are taken (1); null or any other type is refused (0).
    BOOL SetTrackType(const GUID* type);
    BOOL GetTrackType(const GUID** type) const;

    // Takes both tracks off the timeline and drops every interface held.
    void Release();

private:
    IAMTimelineObj* m_pThisObj;
    IAMTimelineObj* m_pThatObj;
    IAMTimelineTransable* m_pTransable;
    IAMTimelineEffectable* m_pEffectable;
    const GUID* m_pTrackType;
};

class VOSTREL_API CTrimTrans {
public:
    CTrimTrans();
    virtual ~CTrimTrans();
    CTrimTrans(const CTrimTrans&) = default;
    CTrimTrans& operator=(const CTrimTrans&) = default;

    IAMTimelineObj* GetThisObj() const { return m_pThisObj; }
    void SetThisObj(IAMTimelineObj* node) { m_pThisObj = node; }
    int GetTransType() const { return m_nType; }
    void SetTransType(int type) { m_nType = type; }
    LONGLONG GetTransDuration() const { return m_llDuration; }
    void SetTransDuration(LONGLONG duration) { m_llDuration = duration; }

    void Release();

private:
    IAMTimelineObj* m_pThisObj;
    int m_nType;          // transition type 0..23 or effect kind; negative: none
    LONGLONG m_llDuration;
};

// A file's media information as the trim editor reads it (CVideoTrim::GetMediaInfo).
struct _TrimMediaInfo {
    BOOL bHasVideo;
    LONGLONG llDuration;   // 100 ns
    LONGLONG llFrames;
    long nWidth, nHeight;
    BOOL bCanSeekForward;
    BOOL bCanSeekBackward;
    long nBitRate;
    BOOL bHasAudio;
};

// The output format of a render (CVideoTrim::SetOutputFormat).
struct _TRIMOUTFORMAT {
    int nPixelFormat;       // 0 keep, 1 RGB555, 2 RGB24, 3 ARGB32
    int nReserved;
    unsigned int nFrameRate;   // 1..30
    int nWidth;
    int nHeight;
};

enum TrimState {
    TrimStateConstructed = 0,
    TrimStateReady = 1,
    TrimStatePreviewing = 2,
    TrimStateRendering = 3,
    TrimStatePaused = 5,
};
