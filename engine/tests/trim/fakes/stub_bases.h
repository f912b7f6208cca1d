#pragma once
// Bases for the test fakes of the Editing Services interfaces: every operation answers E_NOTIMPL
// until a fake overrides it. Generated from the interfaces' operation lists.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "EditingServices.h"

namespace trimfake {

class StubIAMTimeline : public IAMTimeline {
public:
    HRESULT STDMETHODCALLTYPE CreateEmptyNode(IAMTimelineObj **, TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddGroup(IAMTimelineObj *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemGroupFromList(IAMTimelineObj *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroup(IAMTimelineObj **, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupCount(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearAllGroups() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInsertMode(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInsertMode(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableTransitions(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransitionsEnabled(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableEffects(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EffectsEnabled(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDuration(REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDuration2(double *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultFPS(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultFPS(double *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCountOfType(LONG, LONG *, LONG *, TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ValidateSourceNames(LONG, IMediaLocator *, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTransition(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultTransition(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultEffect(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultEffect(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTransitionB(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultTransitionB(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultEffectB(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultEffectB(BSTR *) override { return E_NOTIMPL; }
};

class StubIAMTimelineObj : public IAMTimelineObj {
public:
    HRESULT STDMETHODCALLTYPE GetStartStop(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStartStop2(REFTIME *, REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixTimes(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixTimes2(REFTIME *, REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStartStop(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStartStop2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertySetter(IPropertySetter **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPropertySetter(IPropertySetter *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObject(IUnknown **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObject(IUnknown *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObjectGUID(GUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSubObjectGUIDB(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectGUID(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectGUIDB(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSubObjectLoaded(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineType(TIMELINE_MAJOR_TYPE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTimelineType(TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserID(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserID(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGenID(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserData(BYTE *, LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUserData(BYTE *, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMuted(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMuted(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLocked(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLocked(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirtyRange2(REFTIME *, REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDirtyRange(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDirtyRange2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearDirty() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Remove() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAll() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineNoRef(IAMTimeline **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupIBelongTo(IAMTimelineGroup **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEmbedDepth(LONG *) override { return E_NOTIMPL; }
};

class StubIAMTimelineGroup : public IAMTimelineGroup {
public:
    HRESULT STDMETHODCALLTYPE SetTimeline(IAMTimeline *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimeline(IAMTimeline **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOutputFPS(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOutputFPS(double *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetGroupName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPreviewMode(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPreviewMode(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTypeForVB(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOutputBuffering(int *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOutputBuffering(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSmartRecompressFormat(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSmartRecompressFormat(LONG **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsSmartRecompressFormatSet(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRecompressFormatDirty(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearRecompressFormatDirty() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRecompFormatFromSource(IAMTimelineSrc *) override { return E_NOTIMPL; }
};

class StubIAMTimelineSrc : public IAMTimelineSrc {
public:
    HRESULT STDMETHODCALLTYPE GetMediaTimes(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaTimes2(REFTIME *, REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStopTime(REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStopTime2(REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixMediaTimes(REFERENCE_TIME *, REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FixMediaTimes2(REFTIME *, REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTimes(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaTimes2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaLength(REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaLength2(REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaLength(REFERENCE_TIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaLength2(REFTIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMediaName(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMediaName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpliceWithNext(IAMTimelineObj *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamNumber(LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStreamNumber(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsNormalRate(WINBOOL *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultFPS(double *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultFPS(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStretchMode(int *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStretchMode(int) override { return E_NOTIMPL; }
};

class StubIPropertySetter : public IPropertySetter {
public:
    HRESULT STDMETHODCALLTYPE LoadXML(IUnknown *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PrintXML(char *, int, int *, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloneProps(IPropertySetter **, REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddProp(DEXTER_PARAM, DEXTER_VALUE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProps(LONG *, DEXTER_PARAM **, DEXTER_VALUE **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FreeProps(LONG, DEXTER_PARAM *, DEXTER_VALUE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearProps() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveToBlob(LONG *, BYTE **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadFromBlob(LONG, BYTE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProps(IUnknown *, REFERENCE_TIME) override { return E_NOTIMPL; }
};

class StubIAMTimelineComp : public IAMTimelineComp {
public:
    HRESULT STDMETHODCALLTYPE VTrackInsBefore(IAMTimelineObj*, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VTrackSwapPriorities(long, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VTrackGetCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVTrack(IAMTimelineObj**, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCountOfType(long*, long*, TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfType(IAMTimelineObj**, long, TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRecursiveLayerOfTypeI(IAMTimelineObj**, long*, TIMELINE_MAJOR_TYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextVTrack(IAMTimelineObj*, IAMTimelineObj**) override { return E_NOTIMPL; }
};

class StubIAMTimelineTrack : public IAMTimelineTrack {
public:
    HRESULT STDMETHODCALLTYPE SrcAdd(IAMTimelineObj*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrc(IAMTimelineObj**, REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrc2(IAMTimelineObj**, REFTIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveEverythingBy(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveEverythingBy2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSourcesCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AreYouBlank(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSrcAtTime(IAMTimelineObj**, REFERENCE_TIME, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSrcAtTime2(IAMTimelineObj**, REFTIME, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertSpace(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertSpace2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ZeroBetween(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ZeroBetween2(REFTIME, REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextSrcEx(IAMTimelineObj*, IAMTimelineObj**) override { return E_NOTIMPL; }
};

class StubIAMTimelineTrans : public IAMTimelineTrans {
public:
    HRESULT STDMETHODCALLTYPE GetCutPoint(REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCutPoint2(REFTIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCutPoint(REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCutPoint2(REFTIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSwapInputs(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSwapInputs(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCutsOnly(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCutsOnly(BOOL) override { return E_NOTIMPL; }
};

class StubIAMTimelineTransable : public IAMTimelineTransable {
public:
    HRESULT STDMETHODCALLTYPE TransAdd(IAMTimelineObj*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransGetCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextTrans(IAMTimelineObj**, REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextTrans2(IAMTimelineObj**, REFTIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransAtTime(IAMTimelineObj**, REFERENCE_TIME, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransAtTime2(IAMTimelineObj**, REFTIME, long) override { return E_NOTIMPL; }
};

class StubIAMTimelineEffectable : public IAMTimelineEffectable {
public:
    HRESULT STDMETHODCALLTYPE EffectInsBefore(IAMTimelineObj*, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EffectSwapPriorities(long, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EffectGetCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEffect(IAMTimelineObj**, long) override { return E_NOTIMPL; }
};

class StubIRenderEngine : public IRenderEngine {
public:
    HRESULT STDMETHODCALLTYPE SetTimelineObject(IAMTimeline*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimelineObject(IAMTimeline**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFilterGraph(IGraphBuilder**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilterGraph(IGraphBuilder*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInterestRange2(double, double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderRange(REFERENCE_TIME, REFERENCE_TIME) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderRange2(double, double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGroupOutputPin(long, IPin**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ScrapIt() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenderOutputPins() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVendorString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConnectFrontEnd() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSourceConnectCallback(IGrfCache*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDynamicReconnectLevel(long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoSmartRecompression() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UseInSmartRecompressionGraph() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSourceNameValidation(BSTR, IMediaLocator*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Decommit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaps(long, long*) override { return E_NOTIMPL; }
};

} // namespace trimfake
