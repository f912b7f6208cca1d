#pragma once
// CMediaFrameReader: the reader's one COM class. It keeps a private video graph (ending in an RGB24
// sample grabber) and a private audio graph (ending in a PCM grabber) for one opened file.
//  MediaFrameReader.cpp       identity, open and close, formats and names
//  ReaderPositions.cpp        the stream-flag methods (durations, positions, rates)
//  ReaderRecognition.cpp      what kind of file it is (name, header, start codes, trial graph)
//  ReaderSeekable.cpp         the Windows Media seekability and protection query
//  ReaderVideoGraph.cpp       building the video graph (and the kind's source filters)
//  ReaderAudioGraph.cpp       building the audio graph, with and without a sound device
//  ReaderFrames.cpp           ReadVideoFrame and the graph state changes
//  ReaderAudio.cpp            ReadAudioData
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "qeldshow/com_ptr.h"
#include "GrabberCallbacks.h"
#include "QelReader.h"
#include "Win32Handle.h"
#include "qeldshow/critical_section.h"
#include "qeldshow/unknown.h"

// The private graph of one stream and the interfaces the reader drives it with.
struct ReaderGraph {
    qel::ComPtr<ICaptureGraphBuilder2> builder;
    qel::ComPtr<IGraphBuilder> graph;
    qel::ComPtr<IMediaControl> control;
    qel::ComPtr<IMediaEvent> events;
    qel::ComPtr<IMediaSeeking> seeking;
    qel::ComPtr<IMediaSeeking> dvrSeeking; // the Stream Buffer Source's seeking, for recorded TV files

    IMediaSeeking* Seeking() const { return dvrSeeking ? dvrSeeking.Get() : seeking.Get(); }
    // Capture Graph Builder over a new Filter Graph Manager, media time as time format.
    HRESULT Create();
    void Release();
};

enum class GraphState { Stopped = 0, Paused = 1, Running = 2 };

class CMediaFrameReader : public CUnknown, public IMediaFrameReader {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);
    explicit CMediaFrameReader(IUnknown* outer);
    ~CMediaFrameReader() override;

    DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT STDMETHODCALLTYPE Reserved1(DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenFileHalfRes(const char* path) override;
    HRESULT STDMETHODCALLTYPE OpenFile(const char* path) override;
    HRESULT STDMETHODCALLTYPE Reserved2(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HasVideo() override { return hasVideo_ ? S_OK : E_FAIL; }
    HRESULT STDMETHODCALLTYPE HasAudio() override { return hasAudio_ ? S_OK : E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetVideoFormat(VIDEOINFO* format) override;
    HRESULT STDMETHODCALLTYPE GetAudioFormat(WAVEFORMATEX* format) override;
    HRESULT STDMETHODCALLTYPE ReadVideoFrame(double position, HGLOBAL* frame) override;
    HRESULT STDMETHODCALLTYPE ReadAudioData(double start, double end, HGLOBAL* data, LONG* bytes) override;
    HRESULT STDMETHODCALLTYPE QuerySeekable(const char* path, BOOL* seekable) override;
    HRESULT STDMETHODCALLTYPE GetFileType(int* kind) override;
    HRESULT STDMETHODCALLTYPE GetStreamFilterNames(char* video, int* videoLength, char* audio,
                                                   int* audioLength) override;
    HRESULT STDMETHODCALLTYPE get_Duration(double* seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE put_CurrentPosition(double seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE get_CurrentPosition(double* seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE get_StopTime(double* seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE put_StopTime(double seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE get_PrerollTime(double* seconds, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE put_PrerollTime(double, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Rate(double rate, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE get_Rate(double* rate, DWORD streams) override;
    HRESULT STDMETHODCALLTYPE OpenFileEx(const char* path) override;

private:
    // Open and close.
    HRESULT Open(const char* path, bool dvFull, bool describeOnly);
    void CloseAll();
    void CloseVideo();
    void CloseAudio();
    static void TakeDown(ReaderGraph& graph);

    // Recognition.
    int CheckFileType(const char* path);
    int ReadAviHeader(const char* path, struct AviVideoTiming* video);
    int CheckFileTypeByGraph(const char* path);
    HRESULT RecogniseForBuild(const char* path);

    // Graph building.
    bool AddKindFilters(IGraphBuilder* graph, int kind, bool dvFull, DWORD streams);
    HRESULT AutoRenderVideoStream(const char* path, bool dvFull, bool* describeAudio);
    HRESULT BuildVideoGraph(const char* path, bool dvFull, bool* describeAudio);
    HRESULT BuildAudioGraph(const char* path);
    HRESULT BuildAudioBySplitter(const char* path);
    HRESULT AutoRenderAudioStream(const char* path);
    HRESULT RenderAudioBySplitter(const char* path);
    HRESULT BuildWindowsMediaSource(ReaderGraph& target, const char* path, int stream, IBaseFilter* grabber,
                                    IBaseFilter* sink, bool alsoAudio);
    qel::ComPtr<IBaseFilter> FindKindSplitter(IGraphBuilder* graph);
    HRESULT ChooseVideoFeedPin(IGraphBuilder* graph, qel::ComPtr<IPin>* feed);
    HRESULT ChooseAudioFeedPin(IGraphBuilder* graph, qel::ComPtr<IPin>* feed);
    HRESULT AttachVideoGrabber(IPin* feed);
    HRESULT TakeVideoFormat(ISampleGrabber* grabber, const char* path);
    HRESULT FinishAudioGraph(ISampleGrabber* grabber);
    void DescribeAudioFromVideoGraph(IGraphBuilder* graph);

    // Frames.
    HRESULT ReadFrameByIndex(LONGLONG index, HGLOBAL* frame);
    HRESULT ReadFrameByTime(double seconds, HGLOBAL* frame);
    HRESULT ReadLastFrame(HGLOBAL* frame);
    bool SampleArrivesWithin(DWORD milliseconds);
    bool CompletedAmongPendingEvents();
    HRESULT VideoPause();
    HRESULT VideoRun();
    HRESULT VideoStop();
    // Lets a streaming thread parked at the grabber go and stops pacing: a seek of the video graph
    // waits on that thread. The running graph's next frame is then unknown.
    void ReleaseParkedFrame();
    double FrameSeconds() const;
    // The number of the frame that starts at the time, rounded to the nearest.
    LONGLONG FrameAt(double seconds) const;

    // Positions.
    HRESULT QueryDuration(ReaderGraph& graph, double* seconds);
    HRESULT SetPosition(double seconds, DWORD streams, bool stopPosition);
    void SeekSplitterDirectly(LONGLONG position, bool stopPosition);

    CCritSec readerLock_;
    ReaderGraph video_;
    ReaderGraph audio_;
    int kind_ = 0;
    char videoFilterName_[MAX_PATH] = {};
    char audioFilterName_[MAX_PATH] = {};
    VIDEOINFO videoFormat_ = {};
    BOOL hasVideo_ = FALSE;
    BOOL hasAudio_ = FALSE;
    WAVEFORMATEX audioFormat_ = {};
    CFrameGrabberCallback videoCallback_;
    CAudioGrabberCallback audioCallback_;
    double videoDuration_ = -1.0;
    double audioDuration_ = -1.0;
    BOOL seekable_ = TRUE;
    LONGLONG m_nFrameNo = -1;
    bool atEnd_ = false;
    bool frameTimeGuessed_ = false;
    EventHandle frameCopied_;
    EventHandle sampleArrived_;
    GraphState videoState_ = GraphState::Stopped;
};

// The AVI video stream's timing, read again when the grabber's connection has no frame time.
struct AviVideoTiming {
    DWORD scale = 0;
    DWORD rate = 0;
};

class CGraphHelper;
// The reader module's one graph helper.
CGraphHelper& ReaderGraphHelper();

// Waits on a graph's completion: the graphs run without a clock and end quickly, but a damaged file
// can keep a splitter from ever ending, so the wait has a limit.
constexpr long kCompletionLimitMs = 60000;
