#pragma once
// The base of every effect plug-in: an RGB24 copy transform with an enable switch, the time ranges
// in which the effect applies, the common parameter slots, the property-page link and the media
// type rules. The base owns the frame gate (is this frame to be processed, does a whole frame fit
// both buffers, else the input goes out unchanged); a filter adds its values, its own parameter
// slots (a CQelParamsObject<Layout> extended with them) and its kernel call (ProcessFrame).
#include "QelFilterParams.h"
#include "time_range_list.h"

#include "qeldshow/critical_section.h"
#include "qeldshow/media_type.h"
#include "qeldshow/persist_stream.h"
#include "qeldshow/setup_data.h"
#include "qeldshow/transform_filter.h"

#include "qelimaging/pixel_layout.h"

#include <ocidl.h>

#include <new>

// What TransformAndCopyProperties copies from the input sample to the output after the transform.
enum class SamplePropertyCopy {
    kAll,                     // times (on S_OK), media times (on S_OK), flags, media type, length
    kAllMediaTimesOnSuccess,  // the same, media times whenever GetMediaTime succeeds
    kLengthOnly,              // the actual data length alone
};

// What the output buffer holds when ProcessFrame is called: nothing yet, or the input copied (for an
// effect that works in place or draws over the picture).
enum class FrameStart {
    kEmpty,
    kCopyOfInput,
};

class CEffectFilterBase : public CTransformFilter, public CPersistStream {
public:
    // pageClsid: the filter's property page, or nullptr for a filter without one.
    CEffectFilterBase(const char* name, IUnknown* outer, REFCLSID clsid, const CLSID* pageClsid,
                      SamplePropertyCopy propertyCopy, FrameStart start, HRESULT* hr);
    ~CEffectFilterBase() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP GetClassID(CLSID* clsid) override;

    // ---- the common parameter slots (the interface sub-objects forward to these) ----
    virtual HRESULT Enable(BOOL on);
    virtual HRESULT AddRange(double startSeconds, double endSeconds);
    virtual HRESULT AddRanges(const double* startSeconds, const double* endSeconds, int count);
    virtual HRESULT ClearRanges();
    // Defaults: no ranges, enabled. A filter sets its own as well and calls this one.
    virtual void SetDefaults();
    // Frees working buffers; the base clears the ranges. Called by the destructors.
    virtual void ReleaseBuffers();
    // Video, RGB24, 24 bits a pixel, with a format block long enough to say so.
    virtual bool IsAcceptedType(const CMediaType* type);

    HRESULT GetEnable(int* on);

    // ---- CTransformFilter ----
    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;

    // Bytes of one connected frame (0 before the input is connected).
    size_t FrameBytes() const;

protected:
    // The IID answered with ParamsObject: IID_IQelFilterParams unless the filter has its own.
    virtual REFIID ParamsIid() const { return IID_IQelFilterParams; }
    // The filter's parameter sub-object (a CQelParamsObject), owned by the filter.
    virtual IUnknown* ParamsObject() = 0;

    // Streaming thread, before every frame (processed or not): take up the values the setters
    // changed since the last frame.
    virtual void TakeChangedValues() {}
    // The effect on one whole connected frame that is to be processed, in the kernels' shape (see
    // pixel_layout.h): both buffers hold the connected layout. False: the input goes out unchanged.
    virtual bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) = 0;
    // The connected format as the kernels take it (blue, green, red; sign of the height kept).
    qel::imaging::PixelLayout FrameLayout() const;
    // Raises the persistence dirty flag: every setter does.
    void MarkChanged() { SetDirty(TRUE); }
    // A parameter getter: the stored value read under the filter lock.
    template <class Value, class Stored>
    HRESULT ReadParam(Value* out, const Stored& stored) {
        if (!out)
            return E_POINTER;
        CAutoLock lock(&m_filterLock);
        *out = stored;
        return S_OK;
    }
    // A parameter setter: the value stored as given under the filter lock, the dirty flag raised.
    template <class Stored, class Value>
    HRESULT StoreParam(Stored& stored, Value value) {
        CAutoLock lock(&m_filterLock);
        stored = value;
        MarkChanged();
        return S_OK;
    }

    // The filter lock: guards every parameter setter and getter.
    CCritSec m_filterLock;
    CTimeRangeList m_ranges;
    int m_enabled = 1;
    int m_rangesActive = 0;
    int m_valueChanged = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bytesPerPixel = 0;
    int m_bitsPerChannel = 0;
    int m_stride = 0;

private:
    // Whether this sample gets the effect: enabled, and inside a range when ranges are active (a
    // sample without a time counts as time 0). Runs on the streaming thread only (it moves the
    // list's cursor), under the filter lock, so that a setter cannot free nodes under its walk.
    bool ShouldProcess(IMediaSample* in);
    // The frame gate: ProcessFrame when this sample is to be processed and both samples hold a whole
    // connected frame; the input copied through otherwise.
    HRESULT ProcessOrCopy(IMediaSample* in, IMediaSample* out);

    // Persistence keeps only the dirty mark: nothing is written to or read from a stream and the
    // version is 0 (the persistence base's defaults), and IPersistStream is not answered.

    // ISpecifyPropertyPages as a sub-object whose references are the filter's.
    class PagesObject : public ISpecifyPropertyPages {
    public:
        explicit PagesObject(CEffectFilterBase* filter) : m_filter(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP GetPages(CAUUID* pages) override;

    private:
        CEffectFilterBase* m_filter;
    };

    const CLSID* m_pageClsid;
    const SamplePropertyCopy m_propertyCopy;
    const FrameStart m_frameStart;
    PagesObject m_pages{this};
};

// Fills pages with the one page, in memory from allocate (CoTaskMemAlloc by default). Without a
// page, or when memory runs out (E_OUTOFMEMORY), the count is 0 and the array null.
HRESULT FillPropertyPages(CAUUID* pages, const CLSID* page, void* (*allocate)(SIZE_T) = CoTaskMemAlloc);

// The parameter sub-object of a filter: IUnknown goes to the filter's outer unknown, the common
// slots to the filter. Interface is IQelFilterParams, one of its layouts, or IQelRotateParams; a
// filter derives from this and adds its own slots.
template <class Interface>
class CQelParamsObject : public Interface {
public:
    explicit CQelParamsObject(CEffectFilterBase* filter) : m_effect(filter) {}
    virtual ~CQelParamsObject() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_effect->GetOwner()->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_effect->GetOwner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_effect->GetOwner()->Release(); }

    STDMETHODIMP Enable(BOOL on) override { return m_effect->Enable(on); }
    STDMETHODIMP AddRange(double start, double end) override { return m_effect->AddRange(start, end); }
    STDMETHODIMP AddRanges(const double* starts, const double* ends, int count) override {
        return m_effect->AddRanges(starts, ends, count);
    }
    STDMETHODIMP ClearRanges() override { return m_effect->ClearRanges(); }
    STDMETHODIMP GetEnable(int* on) override { return m_effect->GetEnable(on); }
    STDMETHODIMP SetEnable(BOOL on) override { return m_effect->Enable(on); }

protected:
    CEffectFilterBase* m_effect;
};

// The class factory's creation function of an effect filter: a new Filter(outer, hr), or null with
// E_OUTOFMEMORY.
template <class Filter>
CUnknown* CALLBACK CreateEffectFilter(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) Filter(outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

// Registration data every plug-in shares: its two pins, "Input" and "Output", RGB24 video.
extern const AMOVIESETUP_PIN kEffectFilterPins[2];
constexpr DWORD kEffectFilterMerit = 0x200000; // MERIT_DO_NOT_USE: only ever added by name
