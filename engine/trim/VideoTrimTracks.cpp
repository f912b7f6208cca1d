// Building the timeline: tracks, clips with their black fillers, transition and effect nodes.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "TrimLog.h"
#include "TrimPlacement.h"

namespace {

constexpr DWORD kBlack = 0;

bool IsType(const GUID* type, const GUID& expected) {
    return type && IsEqualGUID(*type, expected);
}

IAMTimelineObj* TrackNode(CTrimTrack* track, qeltrim::TrackSide side) {
    return track->GetThisObj(side == qeltrim::TrackSide::kA ? 0 : 1);
}

} // namespace

HRESULT CVideoTrim::InitialTrack(CTrimTrack* track, const GUID* type, long priority, wchar_t* /*name*/) {
    if (!track || !m_pTimeline)
        return E_INVALIDARG;
    const bool video = IsType(type, MEDIATYPE_Video) && m_pVideoGroup;
    const bool audio = IsType(type, MEDIATYPE_Audio) && m_pAudioGroup;
    if (!video && !audio)
        return E_INVALIDARG;
    qel::ComPtr<IAMTimelineObj> trackA, trackB;
    HRESULT hr = MakeNode(TIMELINE_MAJOR_TYPE_TRACK, trackA.ReleaseAndGetAddressOf());
    if (FAILED(hr) || FAILED(hr = MakeNode(TIMELINE_MAJOR_TYPE_TRACK, trackB.ReleaseAndGetAddressOf())))
        return hr;
    qel::ComPtr<IAMTimelineComp> composition;
    if (FAILED(hr = QueryInto(video ? m_pVideoGroup : m_pAudioGroup, composition))) {
        TRIM_LOG(hr);
        return hr;
    }
    if (FAILED(hr = composition->VTrackInsBefore(trackA.Get(), priority)) ||
        FAILED(hr = composition->VTrackInsBefore(trackB.Get(), priority))) {
        TRIM_LOG(hr);
        return hr;
    }
    composition.Reset();
    qel::ComPtr<IAMTimelineTrack> trackInterface;
    if (FAILED(hr = QueryInto(trackB.Get(), trackInterface))) {
        TRIM_LOG(hr);
        return hr;
    }
    track->SetThisObj(trackA.Detach());
    track->SetThatObj(trackB.Detach());
    track->SetTrackType(type);
    if (video) {
        qel::ComPtr<IAMTimelineTransable> transable;
        if (FAILED(hr = QueryInto(trackInterface.Get(), transable))) {
            TRIM_LOG(hr);
            return hr;
        }
        track->SetTransbleObj(transable.Detach());
    } else {
        qel::ComPtr<IAMTimelineEffectable> effectable;
        if (FAILED(hr = QueryInto(trackInterface.Get(), effectable))) {
            TRIM_LOG(hr);
            return hr;
        }
        track->SetEffectableObj(effectable.Detach());
    }
    return S_OK;
}

HRESULT CVideoTrim::PlaceSource(CTrimSource* source, CTrimTrack* track, long index) {
    qel::ComPtr<IAMTimelineObj> node;
    HRESULT hr = MakeNode(TIMELINE_MAJOR_TYPE_SOURCE, node.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    qel::ComPtr<IAMTimelineTrack> onTrack;
    if (FAILED(hr = QueryInto(TrackNode(track, qeltrim::TrackForClip(index)), onTrack))) {
        TRIM_LOG(hr);
        return hr;
    }
    source->SetThisObj(node.Detach());
    if (FAILED(hr = onTrack->SrcAdd(source->GetThisObj())))
        TRIM_LOG(hr);
    return hr;
}

void CVideoTrim::AddVideoFillers(CTrimSource* source, CTrimTrack* track, long index, long count) {
    const qeltrim::FillerPlan plan = qeltrim::FillersForClip(index, count);
    IAMTimelineObj* last = nullptr;
    for (int i = 0; i < plan.count; ++i) {
        qel::ComPtr<IAMTimelineObj> filler;
        if (FAILED(MakeNode(TIMELINE_MAJOR_TYPE_SOURCE, filler.ReleaseAndGetAddressOf())))
            return;
        qel::ComPtr<IAMTimelineTrack> onTrack;
        const HRESULT hr = QueryInto(TrackNode(track, plan.tracks[i]), onTrack);
        if (SUCCEEDED(hr))
            onTrack->SrcAdd(filler.Get()); // a filler that cannot be added only loses its fade
        else
            TRIM_LOG(hr);
        last = filler.Get();
        if (i == 0)
            source->SetColorObj(filler.Detach());
        else
            source->SetColorObj2(filler.Detach());
    }
    if (last)
        ApplyColorProperty(last, kBlack);
}

HRESULT CVideoTrim::InitialVideoSource(CTrimSource* source, CTrimTrack* track, CTrimTrans* trans, long index,
                                       long count) {
    if (!source || !track || !trans || !m_pTimeline || !track->GetThisObj(0) || !track->GetThisObj(1))
        return E_INVALIDARG;
    const GUID* type = nullptr;
    if (!track->GetTrackType(&type))
        return S_FALSE;
    HRESULT hr = PlaceSource(source, track, index);
    if (FAILED(hr))
        return hr;
    AddVideoFillers(source, track, index, count);
    return InitialTransIntro(track, trans);
}

HRESULT CVideoTrim::InitialAudioSource(CTrimSource* source, CTrimTrack* track, CTrimTrans* trans, long index) {
    if (!source || !track || !trans || !m_pTimeline || !track->GetThisObj(0) || !track->GetThisObj(1))
        return E_INVALIDARG;
    const GUID* type = nullptr;
    if (!track->GetTrackType(&type))
        return S_FALSE;
    const HRESULT hr = PlaceSource(source, track, index);
    if (FAILED(hr))
        return hr;
    return InitialFXIntro(track, trans);
}

HRESULT CVideoTrim::InitialTransIntro(CTrimTrack* track, CTrimTrans* trans) {
    if (!track || !trans || !m_pTimeline)
        return E_INVALIDARG;
    qel::ComPtr<IAMTimelineObj> node;
    HRESULT hr = MakeNode(TIMELINE_MAJOR_TYPE_TRANSITION, node.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    if (!track->GetTransbleObj())
        return S_FALSE;
    if (FAILED(hr = track->GetTransbleObj()->TransAdd(node.Get()))) {
        TRIM_LOG(hr);
        return hr;
    }
    trans->SetThisObj(node.Detach());
    return S_OK;
}

HRESULT CVideoTrim::InitialFXIntro(CTrimTrack* track, CTrimTrans* trans) {
    if (!track || !trans || !m_pTimeline)
        return E_INVALIDARG;
    qel::ComPtr<IAMTimelineObj> node;
    const HRESULT hr = MakeNode(TIMELINE_MAJOR_TYPE_EFFECT, node.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    if (!track->GetEffectableObj())
        return S_FALSE;
    // Kept for the fade of the audio timing, not inserted into the track.
    trans->SetThisObj(node.Detach());
    return S_OK;
}
