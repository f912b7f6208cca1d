#pragma once
// The Editing Services interfaces and class IDs the trim editor uses that mingw's qedit.h lacks,
// declared from their public interface definitions (method order is the vtable order).
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

struct IGrfCache;

// Nodes that hold virtual tracks: groups and compositions.
MIDL_INTERFACE("EAE58536-622E-11D2-8CAD-00A024580902")
IAMTimelineComp : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE VTrackInsBefore(IAMTimelineObj* virtualTrack, long priority) = 0;
    virtual HRESULT STDMETHODCALLTYPE VTrackSwapPriorities(long trackA, long trackB) = 0;
    virtual HRESULT STDMETHODCALLTYPE VTrackGetCount(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVTrack(IAMTimelineObj** virtualTrack, long which) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCountOfType(long* count, long* countWithComps,
                                                     TIMELINE_MAJOR_TYPE type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfType(IAMTimelineObj** virtualTrack, long whichLayer,
                                                              TIMELINE_MAJOR_TYPE type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfTypeI(IAMTimelineObj** virtualTrack, long* whichLayer,
                                                               TIMELINE_MAJOR_TYPE type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextVTrack(IAMTimelineObj* virtualTrack,
                                                    IAMTimelineObj** nextVirtualTrack) = 0;
};

// A track: holds sources in time order.
MIDL_INTERFACE("EAE58538-622E-11D2-8CAD-00A024580902")
IAMTimelineTrack : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SrcAdd(IAMTimelineObj* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSrc(IAMTimelineObj** source, REFERENCE_TIME* inOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSrc2(IAMTimelineObj** source, REFTIME* inOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEverythingBy(REFERENCE_TIME start, REFERENCE_TIME moveBy) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEverythingBy2(REFTIME start, REFTIME moveBy) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSourcesCount(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE AreYouBlank(long* blank) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSrcAtTime(IAMTimelineObj** source, REFERENCE_TIME time,
                                                   long searchDirection) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSrcAtTime2(IAMTimelineObj** source, REFTIME time,
                                                    long searchDirection) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertSpace(REFERENCE_TIME start, REFERENCE_TIME end) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertSpace2(REFTIME start, REFTIME end) = 0;
    virtual HRESULT STDMETHODCALLTYPE ZeroBetween(REFERENCE_TIME start, REFERENCE_TIME end) = 0;
    virtual HRESULT STDMETHODCALLTYPE ZeroBetween2(REFTIME start, REFTIME end) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSrcEx(IAMTimelineObj* last, IAMTimelineObj** next) = 0;
};

// A transition node.
MIDL_INTERFACE("BCE0C265-622D-11D2-8CAD-00A024580902")
IAMTimelineTrans : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCutPoint(REFERENCE_TIME* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCutPoint2(REFTIME* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCutPoint(REFERENCE_TIME time) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCutPoint2(REFTIME time) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSwapInputs(BOOL* swap) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSwapInputs(BOOL swap) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCutsOnly(BOOL* cutsOnly) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCutsOnly(BOOL cutsOnly) = 0;
};

// A node that can hold transitions (tracks, compositions, groups).
MIDL_INTERFACE("378FA386-622E-11D2-8CAD-00A024580902")
IAMTimelineTransable : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE TransAdd(IAMTimelineObj* transition) = 0;
    virtual HRESULT STDMETHODCALLTYPE TransGetCount(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextTrans(IAMTimelineObj** transition, REFERENCE_TIME* inOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextTrans2(IAMTimelineObj** transition, REFTIME* inOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTransAtTime(IAMTimelineObj** transition, REFERENCE_TIME time,
                                                     long searchDirection) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTransAtTime2(IAMTimelineObj** transition, REFTIME time,
                                                      long searchDirection) = 0;
};

// A node that can hold effects (sources, tracks, compositions, groups).
MIDL_INTERFACE("EAE58537-622E-11D2-8CAD-00A024580902")
IAMTimelineEffectable : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EffectInsBefore(IAMTimelineObj* effect, long priority) = 0;
    virtual HRESULT STDMETHODCALLTYPE EffectSwapPriorities(long priorityA, long priorityB) = 0;
    virtual HRESULT STDMETHODCALLTYPE EffectGetCount(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEffect(IAMTimelineObj** effect, long which) = 0;
};

// Builds and runs the graph of a timeline.
MIDL_INTERFACE("6BEE3A81-66C9-11D2-918F-00C0DF10D434")
IRenderEngine : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetTimelineObject(IAMTimeline* timeline) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimelineObject(IAMTimeline** timeline) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilterGraph(IGraphBuilder** graph) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFilterGraph(IGraphBuilder* graph) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInterestRange(REFERENCE_TIME start, REFERENCE_TIME stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInterestRange2(double start, double stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRenderRange(REFERENCE_TIME start, REFERENCE_TIME stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRenderRange2(double start, double stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGroupOutputPin(long group, IPin** pin) = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrapIt() = 0;
    virtual HRESULT STDMETHODCALLTYPE RenderOutputPins() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVendorString(BSTR* vendor) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConnectFrontEnd() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSourceConnectCallback(IGrfCache* callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDynamicReconnectLevel(long level) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoSmartRecompression() = 0;
    virtual HRESULT STDMETHODCALLTYPE UseInSmartRecompressionGraph() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSourceNameValidation(BSTR filterString, IMediaLocator* locator,
                                                              LONG flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Commit() = 0;
    virtual HRESULT STDMETHODCALLTYPE Decommit() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(long index, long* value) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IAMTimelineComp, 0xEAE58536, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02)
__CRT_UUID_DECL(IAMTimelineTrack, 0xEAE58538, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02)
__CRT_UUID_DECL(IAMTimelineTrans, 0xBCE0C265, 0x622D, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02)
__CRT_UUID_DECL(IAMTimelineTransable, 0x378FA386, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02)
__CRT_UUID_DECL(IAMTimelineEffectable, 0xEAE58537, 0x622E, 0x11D2, 0x8C, 0xAD, 0x00, 0xA0, 0x24, 0x58, 0x09, 0x02)
__CRT_UUID_DECL(IRenderEngine, 0x6BEE3A81, 0x66C9, 0x11D2, 0x91, 0x8F, 0x00, 0xC0, 0xDF, 0x10, 0xD4, 0x34)
#endif

// Class IDs of the Editing Services objects the editor creates or names.
namespace qeltrim_clsid {
// {64D8A8E0-80A2-11D2-8CF3-00A0C9441E20}
constexpr CLSID kRenderEngine = {0x64D8A8E0, 0x80A2, 0x11D2, {0x8C, 0xF3, 0x00, 0xA0, 0xC9, 0x44, 0x1E, 0x20}};
// {ADF95821-DED7-11D2-ACBE-0080C75E246E}
constexpr CLSID kPropertySetter = {0xADF95821, 0xDED7, 0x11D2, {0xAC, 0xBE, 0x00, 0x80, 0xC7, 0x5E, 0x24, 0x6E}};
// {036A9790-C153-11D2-9EF7-006008039E37}
constexpr CLSID kAudioMixer = {0x036A9790, 0xC153, 0x11D2, {0x9E, 0xF7, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
// {0CFDD070-581A-11D2-9EE6-006008039E37}
constexpr CLSID kColorSource = {0x0CFDD070, 0x581A, 0x11D2, {0x9E, 0xE6, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
} // namespace qeltrim_clsid

// ValidateSourceNames flags: check every source name, and replace those a locator finds elsewhere.
constexpr LONG kValidateSourceNamesCheckReplace = 0x1 | 0x8;
