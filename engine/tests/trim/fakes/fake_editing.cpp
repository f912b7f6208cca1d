#include "fake_editing.h"

#include <cstdio>
#include <map>

#include "EnginePins.h"
#include "VostrelTestSeams.h"
#include "qeldshow/base_filter.h"
#include "qeldshow/com_ptr.h"
#include "stub_bases.h"

namespace trimfake {
namespace {

constexpr CLSID kRenderEngineClsid = {0x64D8A8E0, 0x80A2, 0x11D2, {0x8C, 0xF3, 0x00, 0xA0, 0xC9, 0x44, 0x1E, 0x20}};
constexpr CLSID kPropertySetterClsid = {0xADF95821, 0xDED7, 0x11D2, {0xAC, 0xBE, 0x00, 0x80, 0xC7, 0x5E, 0x24, 0x6E}};

FakeOptions g_options;
qel::ComPtr<IGraphBuilder> g_lastGraph;
std::vector<std::string> g_calls;
std::map<char, int> g_serials;

void Record(const std::string& object, const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g_calls.push_back(object + "." + text);
}

std::string NextName(char kind) { return std::string(1, kind) + std::to_string(++g_serials[kind]); }

// Reference counting shared by the fakes.
class Counted {
public:
    virtual ~Counted() = default;
    ULONG AddRefImpl() { return InterlockedIncrement(&refs_); }
    ULONG ReleaseImpl() {
        const ULONG left = InterlockedDecrement(&refs_);
        if (!left)
            delete this;
        return left;
    }

private:
    LONG refs_ = 1;
};

#define FAKE_REFCOUNT                                                         \
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }        \
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

class FakeSetter : public StubIPropertySetter, public Counted {
public:
    FakeSetter() : name_(NextName('P')) {}
    FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IPropertySetter)
            return *out = nullptr, E_NOINTERFACE;
        *out = static_cast<IPropertySetter*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddProp(DEXTER_PARAM param, DEXTER_VALUE* values) override {
        std::string text;
        for (LONG i = 0; i < param.nValues; ++i) {
            char one[64];
            if (values[i].v.vt == VT_R8)
                std::snprintf(one, sizeof one, "%s%g@%lld/%lu", i ? " " : "", values[i].v.dblVal,
                              static_cast<long long>(values[i].rt), values[i].dwInterp);
            else
                std::snprintf(one, sizeof one, "%s%ld@%lld/%lu", i ? " " : "", static_cast<long>(values[i].v.lVal),
                              static_cast<long long>(values[i].rt), values[i].dwInterp);
            text += one;
        }
        char name[64] = {0};
        WideCharToMultiByte(CP_ACP, 0, param.name, -1, name, sizeof name - 1, nullptr, nullptr);
        Record(name_, "AddProp(%s,%s)", name, text.c_str());
        return S_OK;
    }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

// One timeline node; it answers the interfaces of its kind.
class FakeNode : public StubIAMTimelineObj,
                 public StubIAMTimelineGroup,
                 public StubIAMTimelineComp,
                 public StubIAMTimelineTrack,
                 public StubIAMTimelineTransable,
                 public StubIAMTimelineEffectable,
                 public StubIAMTimelineSrc,
                 public StubIAMTimelineTrans,
                 public Counted {
public:
    explicit FakeNode(TIMELINE_MAJOR_TYPE type) : type_(type), name_(NextName(KindLetter(type))) {}
    ~FakeNode() override {
        if (media_.pbFormat)
            CoTaskMemFree(media_.pbFormat);
    }
    FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        const bool group = type_ == TIMELINE_MAJOR_TYPE_GROUP, track = type_ == TIMELINE_MAJOR_TYPE_TRACK;
        const bool source = type_ == TIMELINE_MAJOR_TYPE_SOURCE, transition = type_ == TIMELINE_MAJOR_TYPE_TRANSITION;
        if (iid == IID_IUnknown || iid == IID_IAMTimelineObj)
            *out = static_cast<IAMTimelineObj*>(this);
        else if (group && iid == IID_IAMTimelineGroup)
            *out = static_cast<IAMTimelineGroup*>(this);
        else if (group && iid == __uuidof(IAMTimelineComp))
            *out = static_cast<IAMTimelineComp*>(this);
        else if (track && iid == __uuidof(IAMTimelineTrack))
            *out = static_cast<IAMTimelineTrack*>(this);
        else if ((track || group) && iid == __uuidof(IAMTimelineTransable))
            *out = static_cast<IAMTimelineTransable*>(this);
        else if ((track || source) && iid == __uuidof(IAMTimelineEffectable))
            *out = static_cast<IAMTimelineEffectable*>(this);
        else if (source && iid == IID_IAMTimelineSrc)
            *out = static_cast<IAMTimelineSrc*>(this);
        else if (transition && iid == __uuidof(IAMTimelineTrans))
            *out = static_cast<IAMTimelineTrans*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    const std::string& Name() const { return name_; }

    // IAMTimelineObj
    HRESULT STDMETHODCALLTYPE SetStartStop(REFERENCE_TIME start, REFERENCE_TIME stop) override {
        Record(name_, "SetStartStop(%lld,%lld)", static_cast<long long>(start), static_cast<long long>(stop));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertySetter(IPropertySetter** setter) override {
        *setter = setter_.Get();
        if (*setter)
            (*setter)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPropertySetter(IPropertySetter* setter) override {
        setter_ = setter;
        Record(name_, "SetPropertySetter(%s)", setter ? static_cast<FakeSetter*>(setter)->Name().c_str() : "null");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSubObjectGUID(GUID guid) override {
        Record(name_, "SetSubObjectGUID(%08lX)", guid.Data1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMuted(WINBOOL muted) override {
        Record(name_, "SetMuted(%d)", muted);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveAll() override {
        Record(name_, "RemoveAll()");
        return S_OK;
    }
    // IAMTimelineGroup
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* type) override {
        Record(name_, "SetMediaType(%.4s)", reinterpret_cast<const char*>(&type->majortype.Data1));
        if (media_.pbFormat)
            CoTaskMemFree(media_.pbFormat);
        media_ = *type;
        media_.pUnk = nullptr;
        if (type->cbFormat && type->pbFormat) {
            media_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type->cbFormat));
            memcpy(media_.pbFormat, type->pbFormat, type->cbFormat);
        } else if (type->majortype == MEDIATYPE_Video) {
            // A video group gets the default picture format, as the real group fills in.
            media_.formattype = FORMAT_VideoInfo;
            media_.cbFormat = sizeof(VIDEOINFOHEADER);
            media_.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
            VIDEOINFOHEADER info = {};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = 320;
            info.bmiHeader.biHeight = 240;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 16;
            memcpy(media_.pbFormat, &info, sizeof info);
        }
        if (type->pbFormat && type->formattype == FORMAT_VideoInfo) {
            const VIDEOINFOHEADER* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
            Record(name_, "Format(%08lX,%ld,%ld,%d,%lu)", type->subtype.Data1, info->bmiHeader.biWidth,
                   info->bmiHeader.biHeight, info->bmiHeader.biBitCount, info->bmiHeader.biSizeImage);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE* type) override {
        *type = media_;
        if (media_.cbFormat) {
            type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(media_.cbFormat));
            memcpy(type->pbFormat, media_.pbFormat, media_.cbFormat);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOutputFPS(double fps) override {
        Record(name_, "SetOutputFPS(%g)", fps);
        return S_OK;
    }
    // IAMTimelineComp
    HRESULT STDMETHODCALLTYPE VTrackInsBefore(IAMTimelineObj* track, long priority) override {
        Record(name_, "VTrackInsBefore(%s,%ld)", static_cast<FakeNode*>(track)->Name().c_str(), priority);
        return S_OK;
    }
    // IAMTimelineTrack
    HRESULT STDMETHODCALLTYPE SrcAdd(IAMTimelineObj* source) override {
        Record(name_, "SrcAdd(%s)", static_cast<FakeNode*>(source)->Name().c_str());
        return S_OK;
    }
    // IAMTimelineTransable
    HRESULT STDMETHODCALLTYPE TransAdd(IAMTimelineObj* transition) override {
        Record(name_, "TransAdd(%s)", static_cast<FakeNode*>(transition)->Name().c_str());
        return S_OK;
    }
    // IAMTimelineSrc
    HRESULT STDMETHODCALLTYPE SetMediaTimes(REFERENCE_TIME start, REFERENCE_TIME stop) override {
        Record(name_, "SetMediaTimes(%lld,%lld)", static_cast<long long>(start), static_cast<long long>(stop));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMediaName(BSTR name) override {
        char ansi[MAX_PATH] = {0};
        WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
        Record(name_, "SetMediaName(%s)", ansi);
        return S_OK;
    }
    // IAMTimelineTrans
    HRESULT STDMETHODCALLTYPE SetSwapInputs(WINBOOL swap) override {
        Record(name_, "SetSwapInputs(%d)", swap);
        return S_OK;
    }

private:
    static char KindLetter(TIMELINE_MAJOR_TYPE type) {
        switch (type) {
        case TIMELINE_MAJOR_TYPE_GROUP: return 'G';
        case TIMELINE_MAJOR_TYPE_TRACK: return 'K';
        case TIMELINE_MAJOR_TYPE_SOURCE: return 'S';
        case TIMELINE_MAJOR_TYPE_TRANSITION: return 'X';
        case TIMELINE_MAJOR_TYPE_EFFECT: return 'E';
        default: return 'N';
        }
    }

    TIMELINE_MAJOR_TYPE type_;
    std::string name_;
    qel::ComPtr<IPropertySetter> setter_;
    AM_MEDIA_TYPE media_ = {};
};

class FakeTimeline : public StubIAMTimeline, public Counted {
public:
    FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IAMTimeline)
            return *out = nullptr, E_NOINTERFACE;
        *out = static_cast<IAMTimeline*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateEmptyNode(IAMTimelineObj** node, TIMELINE_MAJOR_TYPE type) override {
        *node = static_cast<IAMTimelineObj*>(new FakeNode(type));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddGroup(IAMTimelineObj* group) override {
        Record("T", "AddGroup(%s)", static_cast<FakeNode*>(group)->Name().c_str());
        groups_.push_back(group);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetGroup(IAMTimelineObj** group, LONG index) override {
        if (index < 0 || index >= static_cast<LONG>(groups_.size()))
            return E_INVALIDARG;
        return groups_[index].CopyTo(group);
    }
    HRESULT STDMETHODCALLTYPE GetGroupCount(LONG* count) override {
        *count = static_cast<LONG>(groups_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearAllGroups() override {
        Record("T", "ClearAllGroups()");
        groups_.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDuration(REFERENCE_TIME* duration) override {
        *duration = 30000000;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ValidateSourceNames(LONG flags, IMediaLocator*, LONG_PTR) override {
        Record("T", "ValidateSourceNames(%ld)", flags);
        return S_OK;
    }

private:
    std::vector<qel::ComPtr<IAMTimelineObj>> groups_;
};

// A filter without pins whose only part is IBasicAudio: the graph manager hands a volume to the first
// filter of its graph that has the interface, and this one records what it was given.
class VolumeProbe : public CBaseFilter, public IBasicAudio {
public:
    VolumeProbe() : CBaseFilter("Volume probe", nullptr, &lock_, CLSID_NULL) {}
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IBasicAudio)
            return GetInterface(static_cast<IBasicAudio*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return nullptr; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP put_Volume(long volume) override {
        Record("A", "put_Volume(%ld)", volume);
        volume_ = volume;
        return S_OK;
    }
    STDMETHODIMP get_Volume(long* volume) override { return volume ? (*volume = volume_, S_OK) : E_POINTER; }
    STDMETHODIMP put_Balance(long) override { return S_OK; }
    STDMETHODIMP get_Balance(long* balance) override { return balance ? (*balance = 0, S_OK) : E_POINTER; }

private:
    CCritSec lock_;
    long volume_ = 0;
};

HRESULT AddVolumeProbe(IGraphBuilder* graph) {
    VolumeProbe* probe = new VolumeProbe;
    probe->NonDelegatingAddRef();
    const HRESULT hr = graph->AddFilter(probe, L"Volume probe");
    probe->NonDelegatingRelease();
    return hr;
}

// Builds the graph of the clip: file source and AVI splitter, whose video output is the video group's pin.
class FakeRenderEngine : public StubIRenderEngine, public Counted {
public:
    FAKE_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != __uuidof(IRenderEngine))
            return *out = nullptr, E_NOINTERFACE;
        *out = static_cast<IRenderEngine*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTimelineObject(IAMTimeline* timeline) override {
        Record("R", "SetTimelineObject(%s)", timeline ? "timeline" : "null");
        return timeline ? S_OK : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE ConnectFrontEnd() override {
        Record("R", "ConnectFrontEnd()");
        HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                      reinterpret_cast<void**>(graph_.ReleaseAndGetAddressOf()));
        g_lastGraph = graph_;
        qel::ComPtr<IBaseFilter> source, splitter;
        if (SUCCEEDED(hr))
            hr = graph_->AddSourceFilter(g_options.clip.c_str(), L"Clip", &source);
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(CLSID_AviSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(splitter.GetAddressOf()));
        if (SUCCEEDED(hr))
            hr = graph_->AddFilter(splitter.Get(), L"Group splitter");
        if (SUCCEEDED(hr)) {
            const qel::ComPtr<IPin> out = qel::TakeOver(FindPin(source.Get(), PINDIR_OUTPUT));
            const qel::ComPtr<IPin> in = qel::TakeOver(FindPin(splitter.Get(), PINDIR_INPUT));
            hr = out && in ? graph_->ConnectDirect(out.Get(), in.Get(), nullptr) : E_FAIL;
        }
        if (SUCCEEDED(hr)) {
            videoPin_ = qel::TakeOver(FindPin(splitter.Get(), PINDIR_OUTPUT));
            hr = videoPin_ ? S_OK : E_FAIL;
        }
        if (SUCCEEDED(hr) && g_options.volumeProbe)
            hr = AddVolumeProbe(graph_.Get());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE RenderOutputPins() override {
        Record("R", "RenderOutputPins()");
        return videoPin_ ? graph_->Render(videoPin_.Get()) : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE GetFilterGraph(IGraphBuilder** graph) override {
        return graph_ ? graph_.CopyTo(graph) : E_UNEXPECTED;
    }
    HRESULT STDMETHODCALLTYPE GetGroupOutputPin(long group, IPin** pin) override {
        *pin = nullptr;
        if (group != 0 || !videoPin_)
            return S_FALSE;
        return videoPin_.CopyTo(pin);
    }
    HRESULT STDMETHODCALLTYPE ScrapIt() override {
        Record("R", "ScrapIt()");
        videoPin_.Reset();
        graph_.Reset();
        return S_OK;
    }

private:
    qel::ComPtr<IGraphBuilder> graph_;
    qel::ComPtr<IPin> videoPin_;
};

HRESULT CreateFake(REFCLSID clsid, DWORD context, REFIID iid, void** object) {
    qel::ComPtr<IUnknown> made;
    if (clsid == CLSID_AMTimeline)
        *made.GetAddressOf() = static_cast<IAMTimeline*>(new FakeTimeline);
    else if (clsid == kRenderEngineClsid)
        *made.GetAddressOf() = static_cast<IRenderEngine*>(new FakeRenderEngine);
    else if (clsid == kPropertySetterClsid && g_options.refusePropertySetter)
        return REGDB_E_CLASSNOTREG;
    else if (clsid == kPropertySetterClsid)
        *made.GetAddressOf() = static_cast<IPropertySetter*>(new FakeSetter);
    else
        return CoCreateInstance(clsid, nullptr, context, iid, object);
    return made->QueryInterface(iid, object);
}

} // namespace

ScopedFakeEditing::ScopedFakeEditing(const FakeOptions& options) {
    g_options = options;
    g_calls.clear();
    g_serials.clear();
    SetTrimObjectCreator(CreateFake);
}

ScopedFakeEditing::~ScopedFakeEditing() {
    SetTrimObjectCreator(nullptr);
    g_lastGraph.Reset();
}

IGraphBuilder* ScopedFakeEditing::LastGraph() const {
    IGraphBuilder* graph = g_lastGraph.Get();
    if (graph)
        graph->AddRef();
    return graph;
}

std::vector<std::string> ScopedFakeEditing::Calls() const { return g_calls; }

std::vector<std::string> ScopedFakeEditing::CallsWith(const std::string& part) const {
    std::vector<std::string> found;
    for (const std::string& call : g_calls)
        if (call.find(part) != std::string::npos)
            found.push_back(call);
    return found;
}

void ScopedFakeEditing::ClearCalls() { g_calls.clear(); }

} // namespace trimfake
