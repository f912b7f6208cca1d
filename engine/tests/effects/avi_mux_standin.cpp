#include "avi_mux_standin.h"

#include <memory>
#include <mmreg.h>
#include <new>

#include "qeldshow/base_filter.h"
#include "qeldshow/critical_section.h"
#include "qeldshow/input_pin.h"
#include "qeldshow/media_type.h"
#include "qeldshow/output_pin.h"

namespace enginetest {
namespace {

const CLSID kClsidMuxStandIn = {0x2d7c9a41, 0x6e13, 0x4f0b, {0x8a, 0x52, 0x19, 0xc4, 0x7e, 0x03, 0xb6, 0x5d}};
const CLSID kClsidSoundStandIn = {0x2d7c9a42, 0x6e13, 0x4f0b, {0x8a, 0x52, 0x19, 0xc4, 0x7e, 0x03, 0xb6, 0x5d}};

std::vector<MuxCall> g_calls;
int g_muxesMade = 0;
bool g_refuse = false;

class MuxStandIn;

class MuxInput : public CBaseInputPin {
public:
    MuxInput(MuxStandIn* mux, CCritSec* lock, HRESULT* hr, const std::wstring& name);
    HRESULT CheckMediaType(const CMediaType* type) override {
        return *type->Type() == MEDIATYPE_Video || *type->Type() == MEDIATYPE_Audio ? S_OK : S_FALSE;
    }
    HRESULT CompleteConnect(IPin* receivePin) override;

private:
    MuxStandIn* mux_;
};

class MuxOutput : public CBaseOutputPin {
public:
    MuxOutput(CBaseFilter* filter, CCritSec* lock, HRESULT* hr) : CBaseOutputPin("Mux stand-in output", filter, lock, hr, L"AVI Out") {}
    HRESULT CheckMediaType(const CMediaType* type) override { return *type->Type() == MEDIATYPE_Stream ? S_OK : S_FALSE; }
    HRESULT GetMediaType(int position, CMediaType* type) override {
        if (position != 0)
            return VFW_S_NO_MORE_ITEMS;
        type->SetType(&MEDIATYPE_Stream);
        type->SetSubtype(&MEDIASUBTYPE_Avi);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cBuffers = 1;
        request->cbBuffer = 64 * 1024;
        ALLOCATOR_PROPERTIES actual;
        return allocator->SetProperties(request, &actual);
    }
};

class MuxStandIn : public CBaseFilter, public IConfigAviMux, public IConfigInterleaving {
public:
    explicit MuxStandIn(HRESULT* hr)
        : CBaseFilter("Mux stand-in", nullptr, &lock_, kClsidMuxStandIn), number_(++g_muxesMade), output_(this, &lock_, hr) {
        AddInput(hr);
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IConfigAviMux)
            return GetInterface(static_cast<IConfigAviMux*>(this), ppv);
        if (riid == IID_IConfigInterleaving)
            return GetInterface(static_cast<IConfigInterleaving*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    int GetPinCount() override { return static_cast<int>(inputs_.size()) + 1; }
    CBasePin* GetPin(int index) override {
        if (index >= 0 && index < static_cast<int>(inputs_.size()))
            return inputs_[static_cast<size_t>(index)].get();
        return index == static_cast<int>(inputs_.size()) ? &output_ : nullptr;
    }

    // The platform's multiplexer makes a new input behind the others each time one is connected.
    void InputConnected() {
        HRESULT hr = S_OK;
        AddInput(&hr);
        IncrementPinVersion();
    }

    STDMETHODIMP SetMasterStream(LONG stream) override {
        const std::vector<std::string> inputs = ConnectedInputs();
        Record("SetMasterStream", stream, inputs);
        if (g_refuse)
            return E_NOTIMPL;
        if (stream < -1 || stream >= static_cast<LONG>(inputs.size()))
            return E_INVALIDARG;
        master_ = stream;
        return S_OK;
    }
    STDMETHODIMP GetMasterStream(LONG* stream) override {
        if (g_refuse)
            return E_NOTIMPL;
        *stream = master_;
        return S_OK;
    }
    STDMETHODIMP SetOutputCompatibilityIndex(BOOL old) override {
        Record("SetOutputCompatibilityIndex", old, ConnectedInputs());
        return g_refuse ? E_NOTIMPL : S_OK;
    }
    STDMETHODIMP GetOutputCompatibilityIndex(BOOL* old) override {
        *old = TRUE;
        return g_refuse ? E_NOTIMPL : S_OK;
    }
    STDMETHODIMP put_Mode(InterleavingMode mode) override {
        Record("put_Mode", mode, ConnectedInputs());
        if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED)
            return E_INVALIDARG;
        mode_ = mode;
        return S_OK;
    }
    STDMETHODIMP get_Mode(InterleavingMode* mode) override {
        *mode = mode_;
        return S_OK;
    }
    STDMETHODIMP put_Interleaving(const REFERENCE_TIME*, const REFERENCE_TIME*) override { return S_OK; }
    STDMETHODIMP get_Interleaving(REFERENCE_TIME*, REFERENCE_TIME*) override { return S_OK; }

private:
    void AddInput(HRESULT* hr) {
        wchar_t name[16];
        swprintf(name, 16, L"Input %02u", static_cast<unsigned>(inputs_.size() + 1));
        inputs_.push_back(std::make_unique<MuxInput>(this, &lock_, hr, name));
    }
    std::vector<std::string> ConnectedInputs() {
        std::vector<std::string> kinds;
        for (const auto& input : inputs_) {
            if (input->IsConnected())
                kinds.push_back(*input->CurrentMediaType().Type() == MEDIATYPE_Audio ? "sound" : "video");
        }
        return kinds;
    }
    void Record(const char* call, long value, std::vector<std::string> inputs) {
        g_calls.push_back({number_, call, value, std::move(inputs)});
    }

    CCritSec lock_;
    int number_;
    MuxOutput output_;
    std::vector<std::unique_ptr<MuxInput>> inputs_;
    LONG master_ = -1;
    InterleavingMode mode_ = INTERLEAVE_NONE;
};

MuxInput::MuxInput(MuxStandIn* mux, CCritSec* lock, HRESULT* hr, const std::wstring& name)
    : CBaseInputPin("Mux stand-in input", mux, lock, hr, name.c_str()), mux_(mux) {}

HRESULT MuxInput::CompleteConnect(IPin* receivePin) {
    const HRESULT hr = CBaseInputPin::CompleteConnect(receivePin);
    if (SUCCEEDED(hr))
        mux_->InputConnected();
    return hr;
}

class SoundOutput : public CBaseOutputPin {
public:
    SoundOutput(CBaseFilter* filter, CCritSec* lock, HRESULT* hr) : CBaseOutputPin("Sound stand-in output", filter, lock, hr, L"Capture") {}
    HRESULT CheckMediaType(const CMediaType* type) override { return *type->Type() == MEDIATYPE_Audio ? S_OK : S_FALSE; }
    HRESULT GetMediaType(int position, CMediaType* type) override {
        if (position != 0)
            return VFW_S_NO_MORE_ITEMS;
        WAVEFORMATEX format = {};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = 8000;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = 16000;
        type->SetType(&MEDIATYPE_Audio);
        type->SetSubtype(&MEDIASUBTYPE_PCM);
        type->SetFormatType(&FORMAT_WaveFormatEx);
        type->SetFormat(reinterpret_cast<BYTE*>(&format), sizeof format);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cBuffers = 4;
        request->cbBuffer = 8000;
        ALLOCATOR_PROPERTIES actual;
        return allocator->SetProperties(request, &actual);
    }
};

class SoundStandIn : public CBaseFilter {
public:
    explicit SoundStandIn(HRESULT* hr) : CBaseFilter("Sound stand-in", nullptr, &lock_, kClsidSoundStandIn), output_(this, &lock_, hr) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int index) override { return index == 0 ? &output_ : nullptr; }

private:
    CCritSec lock_;
    SoundOutput output_;
};

template <typename Filter>
IBaseFilter* Make() {
    HRESULT hr = S_OK;
    auto* made = new (std::nothrow) Filter(&hr);
    if (!made)
        return nullptr;
    IBaseFilter* filter = nullptr;
    made->NonDelegatingAddRef();
    if (FAILED(hr) || FAILED(made->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter))))
        filter = nullptr;
    made->NonDelegatingRelease();
    return filter;
}

} // namespace

std::vector<MuxCall> MuxCalls() { return g_calls; }
void ClearMuxCalls() { g_calls.clear(); }
void RefuseMuxConfiguration(bool refuse) { g_refuse = refuse; }

HRESULT CreateAviMuxStandIn(IBaseFilter** mux) {
    *mux = Make<MuxStandIn>();
    return *mux ? S_OK : E_OUTOFMEMORY;
}

IBaseFilter* CreateSoundSourceStandIn() { return Make<SoundStandIn>(); }

} // namespace enginetest
