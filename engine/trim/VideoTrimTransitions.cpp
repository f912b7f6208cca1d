// Transitions between clips, the fades from and to black, and the audio fade effect.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "PropertySetter.h"
#include "TransitionTable.h"
#include "TransitionTiming.h"
#include "TrimLog.h"
#include "TrimObjects.h"

using qel::ComPtr;

namespace {

GUID GuidOf(const qeltrim::ClassId& id) {
    GUID guid;
    guid.Data1 = id.data1;
    guid.Data2 = id.data2;
    guid.Data3 = id.data3;
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = id.data4[i];
    return guid;
}

HRESULT CreatePropertySetter(DWORD context, ComPtr<IPropertySetter>& setter) {
    HRESULT hr = CreateTrimObject(qeltrim_clsid::kPropertySetter, context, IID_IPropertySetter,
                                  reinterpret_cast<void**>(setter.ReleaseAndGetAddressOf()));
    // A creator that answers success without an object must not be called through.
    if (SUCCEEDED(hr) && !setter)
        hr = E_NOINTERFACE;
    return hr;
}

} // namespace

HRESULT CVideoTrim::ApplyTransProperty(IAMTimelineObj* node, int type) {
    const qeltrim::TransitionRow row = qeltrim::TransitionForType(type);
    if (row.kind == qeltrim::TransitionKind::kNone)
        return S_OK;
    if (!node)
        return E_INVALIDARG;
    if (row.kind == qeltrim::TransitionKind::kTransform)
        return node->SetSubObjectGUID(GuidOf(row.transform));
    node->SetSubObjectGUID(GuidOf(qeltrim::SmpteWipeClassId()));
    ComPtr<IPropertySetter> setter;
    HRESULT hr = CreatePropertySetter(CLSCTX_INPROC_SERVER, setter);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    const TrimPropertyValue mask = TrimIntValue(row.maskNum, 0);
    const TrimPropertyValue replicateX = TrimIntValue(row.replicateX, 0);
    const TrimPropertyValue replicateY = TrimIntValue(row.replicateY, 0);
    AddTrimProperty(setter.Get(), L"MaskNum", &mask, 1);
    AddTrimProperty(setter.Get(), L"ReplicateX", &replicateX, 1);
    hr = AddTrimProperty(setter.Get(), L"ReplicateY", &replicateY, 1);
    return hr | node->SetPropertySetter(setter.Get());
}

HRESULT CVideoTrim::ApplyFXProperty(IAMTimelineObj* node, int kind) {
    if (!node)
        return E_INVALIDARG;
    node->SetSubObjectGUID(qeltrim_clsid::kAudioMixer);
    ComPtr<IPropertySetter> setter;
    HRESULT hr = CreatePropertySetter(CLSCTX_INPROC_SERVER, setter);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    const qeltrim::AudioEnvelope envelope = qeltrim::AudioEnvelopeFor(kind);
    TrimPropertyValue values[2] = {};
    for (int i = 0; i < envelope.count; ++i)
        values[i] = TrimDoubleValue(envelope.points[i].level, envelope.points[i].time,
                                    static_cast<DWORD>(envelope.points[i].interpolation));
    // A kind without an envelope adds no property: the mixer then keeps the volume as it is.
    hr = envelope.count ? AddTrimProperty(setter.Get(), L"Vol", values, envelope.count) : S_OK;
    return hr | node->SetPropertySetter(setter.Get());
}

HRESULT CVideoTrim::SetTransitionSpan(IAMTimelineObj* node, BOOL swapInputs, LONGLONG start, LONGLONG stop) {
    ComPtr<IAMTimelineTrans> transition;
    HRESULT hr = QueryInto(node, transition);
    if (SUCCEEDED(hr))
        hr = transition->SetSwapInputs(swapInputs);
    if (SUCCEEDED(hr))
        hr = node->SetStartStop(start, stop);
    if (FAILED(hr))
        TRIM_LOG(hr);
    return hr;
}

HRESULT CVideoTrim::SetFillerSpan(IAMTimelineObj* filler, LONGLONG mediaStop, LONGLONG start, LONGLONG stop) {
    if (!filler)
        return E_INVALIDARG;
    ComPtr<IAMTimelineSrc> source;
    HRESULT hr = QueryInto(filler, source);
    if (SUCCEEDED(hr))
        hr = source->SetMediaTimes(0, mediaStop);
    if (SUCCEEDED(hr))
        hr = filler->SetStartStop(start, stop);
    if (FAILED(hr))
        TRIM_LOG(hr);
    return hr;
}

HRESULT CVideoTrim::AdjustTransition(CTrimTrans* trans, BOOL swapInputs, CTrimSource* previous, CTrimSource* next,
                                     LONGLONG& start, LONGLONG& end, LONGLONG& clipIn, LONGLONG& clipOut) {
    if (!trans || (!previous && !next))
        return E_INVALIDARG;
    IAMTimelineObj* node = trans->GetThisObj();
    if (!node)
        return S_FALSE;
    const int type = trans->GetTransType();
    HRESULT hr = S_OK;
    // The type's transform on the node; the transition keeps the duration it gets.
    auto applyType = [&](LONGLONG duration) {
        if (FAILED(hr = ApplyTransProperty(node, type))) {
            TRIM_LOG(hr);
            return false;
        }
        trans->SetTransDuration(duration);
        return true;
    };
    if (!previous) {
        const qeltrim::FadeIn plan = qeltrim::PlanFirstClip(type, trans->GetTransDuration(), next->GetMediaDuration());
        if (plan.cut)
            return node->RemoveAll(), S_OK;
        if (!applyType(plan.duration))
            return hr;
        if (FAILED(hr = SetTransitionSpan(node, TRUE, start, start + plan.duration)))
            return hr;
        return SetFillerSpan(next->GetColorObj(), plan.duration, start, start + plan.duration);
    }
    if (next) {
        const qeltrim::Overlap plan = qeltrim::PlanBetweenClips(type, trans->GetTransDuration(),
                                                               previous->GetMediaDuration(), next->GetMediaDuration(),
                                                               end, clipIn, clipOut);
        if (plan.cut) {
            start = plan.start;
            end = plan.end;
            return node->RemoveAll(), S_OK;
        }
        if (!applyType(plan.duration))
            return hr;
        ComPtr<IAMTimelineTrans> transition;
        if (FAILED(hr = QueryInto(node, transition)) || FAILED(hr = transition->SetSwapInputs(swapInputs))) {
            TRIM_LOG(hr);
            return hr;
        }
        start = plan.start;
        end = plan.end;
        if (FAILED(hr = node->SetStartStop(start, start + plan.duration)))
            TRIM_LOG(hr);
        return hr;
    }
    const qeltrim::FadeOut plan = qeltrim::PlanLastClip(type, trans->GetTransDuration(), previous->GetMediaDuration(),
                                                       start, end);
    if (plan.cut)
        return node->RemoveAll(), S_OK;
    if (!applyType(plan.duration))
        return hr;
    if (FAILED(hr = SetTransitionSpan(node, swapInputs, plan.transStart, plan.transStop)))
        return hr;
    IAMTimelineObj* filler = plan.useSecondFiller ? previous->GetColorObj2() : previous->GetColorObj();
    if (FAILED(hr = SetFillerSpan(filler, plan.fillerMediaStop, plan.fillerStart, plan.fillerStop)))
        return hr;
    end = plan.end;
    return S_OK;
}

HRESULT CVideoTrim::AdjustEffect(CTrimTrans* fx, CTrimSource* source, LONGLONG start, LONGLONG stop, LONGLONG clipIn,
                                 LONGLONG clipOut) {
    if (!fx || !source)
        return E_INVALIDARG;
    IAMTimelineObj* node = fx->GetThisObj();
    if (!node)
        return S_FALSE;
    if (fx->GetTransType() < 0)
        return node->RemoveAll(), S_OK;
    HRESULT hr = ApplyFXProperty(node, 1);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    fx->SetTransDuration(clipOut - clipIn);
    if (FAILED(hr = node->SetStartStop(start, stop)))
        TRIM_LOG(hr);
    return hr;
}
