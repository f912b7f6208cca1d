#pragma once
// CBasicPlayer: plays one movie file into a control of the caller's window through the playback
// enhancement chain and, while it plays, writes the enhanced picture to a copy beside the source
// (name + "_Apply"), through an AVI mux and file writer or through the Windows Media ASF writer.
// The player plays without sound.
#include <afxwin.h>

#include <dshow.h>

#include "VideoMavix.h"
#include "VostrelApi.h"

// Where the video window goes in a control of controlWidth x controlHeight: a window smaller than the
// control in either direction keeps its size, centred (halves rounded towards zero); a larger one
// takes the control's size at its own place.
struct VideoPlacement {
    long left, top, width, height;
};
VOSTREL_API VideoPlacement FitVideoToControl(long left, long top, long width, long height, long controlWidth,
                                             long controlHeight);

class VOSTREL_API CBasicPlayer {
public:
    CBasicPlayer();
    virtual ~CBasicPlayer();
    // One object owns one reference on each interface and filter: copies would release them twice.
    CBasicPlayer(const CBasicPlayer&) = delete;
    CBasicPlayer& operator=(const CBasicPlayer&) = delete;

    // Graph building: 1 success, 0 failure, except BuildMainGraph (0 success, 1 failure).
    int BuildMainGraph();
    int CreateSmartTee();
    int CreateAsfWriter();
    int CreateVideoRender();
    IBaseFilter* CreateInfPinTee();
    int CreateAVIFileWriter();
    int CreateAviCompressor();
    void SetMovieName(CString name);
    void SetExtFlag(CString name);
    int PrepareGraph(int withChain);
    int RenderMovie();
    void InitializeFilters();
    HRESULT AddGraphFiltersToList(IGraphBuilder* graph);
    int SetDuration();

    // Links of the copy's branch.
    int LinkInfPinTee();
    int LinkAVIFileWriter(CString name);
    int LinkAsfWriter(CString name);
    int ConfigAsfWriter();
    int RelinkAudioFilter(IBaseFilter* audioPinTee, IBaseFilter* sink);
    int AddAboutAsfFilter();
    int LinkAviCompressor();
    int UnLinkAviCompressor();
    int LinkToVdoRender(IBaseFilter* renderer, IBaseFilter* filter, int outPin);
    HRESULT LinkTwoFilter(IGraphBuilder* graph, IBaseFilter* up, int upPin, IBaseFilter* down, int downPin);
    IPin* GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index);
    IBaseFilter* GetVdoRenderFilter(IGraphBuilder* graph);
    IBaseFilter* GetAdoRenderFilter(IGraphBuilder* graph);
    // The copy's name: drive, folder, base name + "_Apply", the source's extension (".asf" on the
    // ASF path). Empty for an empty name or one whose copy cannot fit MAX_PATH - 1 characters.
    CString SetTempMovName(CString name);
    // Takes the copy's branch out of the graph: its writer and mux, and its tee unless that tee
    // now feeds the video renderer (the movie plays on through it).
    void RemoveFileWriteFilters();

    // Window, events, registration.
    int AssociateVideoWinToControlVMX(HWND owner, CWnd* control);
    int RegisterNotificationWindow(HWND window, UINT message);
    IMediaEventEx* GetEventPointer() { return m_pMediaEvent; }
    HRESULT AddGraphToRot(IUnknown* object, DWORD* cookie);
    void RemoveGraphFromRot(DWORD cookie);
    HRESULT SetShowWndSize(int, int, int, int, int, int, HWND) { return E_FAIL; }

    // Playback.
    int PlayMovie();
    int PauseMovie();
    int StopMovie();
    int ResetMovie();
    HRESULT SeekPosition(LONGLONG position, const GUID* format, int run);
    long CurrentMoviePosition();
    int GetState(OAFilterState* state);
    int IfHasVideo(int unused);
    int GraphReady() { return m_pGraph ? 1 : 0; }
    int CleanUp();

    // Enhancement: switches and strengths of the chain's three plug-ins.
    int ApplyVideoMavix(VIDEOMAVIX type, int on);
    int ApplyIntensityLevel(VIDEOMAVIX type, int level, int set);

private:
    int AddNamed(IBaseFilter* filter, const WCHAR* name);
    // The graph and its media control, asked for once; 0 with its trace when either is missing.
    int HaveMediaControl();
    IBaseFilter* RendererByName(IGraphBuilder* graph, const char* name, const char* failureText);
    void SeekToStart();
    void SetCopyName(IBaseFilter* sink, const CString& name);
    // Removes a tee of the copy's branch unless it feeds the renderer; a renderer left without a
    // feed gets what fed the tee.
    void TakeOutCopyTee(IBaseFilter* tee, IBaseFilter* renderer);

    int m_bWriteFile;
    int m_bAviFile;
    int m_bCompressorLinked;
    LONGLONG m_llDuration;
    DWORD m_dwRotRegister;
    CVideoMavix m_VideoMavix;
    int m_nPosition;
    int m_bHasVideo;
    IMediaControl* m_pMediaControl;
    IMediaEventEx* m_pMediaEvent;
    IMediaSeeking* m_pMediaSeeking;
    IBasicAudio* m_pBasicAudio;
    IBasicVideo* m_pBasicVideo;
    IVideoWindow* m_pVideoWinOrg;
    IBaseFilter* m_pSmartTee;
    IBaseFilter* m_pVideoRender;
    IBaseFilter* m_pAudioRender;
    IBaseFilter* m_pVideoPinTee;
    IBaseFilter* m_pAudioPinTee;
    IBaseFilter* m_pFileWriter;
    IBaseFilter* m_pAviMux;
    IBaseFilter* m_pAviCompressor;
    int m_bSeeking;
    long m_lVideoWidth;
    long m_lVideoHeight;
    int m_bAudioLinked;
    IBaseFilter* m_pAsfWriter;
    IGraphBuilder* m_pGraph;
    CString m_strMovieName;
    CString m_strTempMovName;
};
