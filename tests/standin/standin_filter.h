#pragma once
// The stand-in plug-in: a pass-through effect filter that answers the parameter layout of the class
// ID it was created as and logs every parameter call, with what it was given, for the tests.
#include "TextMix.h"
#include "effect_filter_base.h"

#include <string>

// The layout object of one instance: the interface it answers, and its owner's handle on it.
class StandinParamsOwner {
public:
    virtual ~StandinParamsOwner() = default;
    virtual IUnknown* Interface() = 0;
};

class CStandinFilter : public CEffectFilterBase {
public:
    CStandinFilter(IUnknown* outer, REFCLSID clsid, HRESULT* hr);
    ~CStandinFilter() override;

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;

    // One call on the log, under this instance's number.
    void Record(const char* format, ...);

    // What the setters were given, for the getters to answer.
    struct Values {
        int value[4] = {0, 0, 0, 0};
        int alignment = 0, padding = 0, method = 0, angle = 0;
        COLORREF color = 0;
        BYTE red = 0, green = 0, blue = 0;
        LOGFONTA font = {};
        POINT start = {0, 0};
        wchar_t path[kQelFramePathChars] = {0};
    } m_values;

    CCritSec* Lock() { return &m_filterLock; }

protected:
    // A pass-through: every frame goes out as it came.
    bool ProcessFrame(const BYTE*, BYTE*, const qel::imaging::PixelLayout&) override { return false; }
    REFIID ParamsIid() const override { return m_rotate ? IID_IQelRotateParams : IID_IQelFilterParams; }
    IUnknown* ParamsObject() override { return m_params ? m_params->Interface() : nullptr; }

private:
    class TextMix : public ITarnTextMix {
    public:
        explicit TextMix(CStandinFilter* filter) : filter_(filter) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return filter_->GetOwner()->QueryInterface(riid, ppv); }
        STDMETHODIMP_(ULONG) AddRef() override { return filter_->GetOwner()->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return filter_->GetOwner()->Release(); }
        STDMETHODIMP Unused1() override { return Unexpected(1); }
        STDMETHODIMP Unused2() override { return Unexpected(2); }
        STDMETHODIMP Unused3() override { return Unexpected(3); }
        STDMETHODIMP Unused4() override { return Unexpected(4); }
        STDMETHODIMP Unused5() override { return Unexpected(5); }
        STDMETHODIMP Unused6() override { return Unexpected(6); }
        STDMETHODIMP Unused7() override { return Unexpected(7); }
        STDMETHODIMP Unused8() override { return Unexpected(8); }
        STDMETHODIMP Unused9() override { return Unexpected(9); }
        STDMETHODIMP Unused10() override { return Unexpected(10); }
        STDMETHODIMP Unused11() override { return Unexpected(11); }
        STDMETHODIMP Unused12() override { return Unexpected(12); }
        STDMETHODIMP SetMixInfo(CTextMixInfo* info, BOOL flag) override {
            filter_->Record("SetMixInfo(%s,%d)", info ? "info" : "null", flag);
            return S_OK;
        }
        STDMETHODIMP ClearMixInfo() override {
            filter_->Record("ClearMixInfo");
            return S_OK;
        }
        STDMETHODIMP SetPosition(LONGLONG position, BOOL flag) override {
            filter_->Record("SetPosition(%lld,%d)", static_cast<long long>(position), flag);
            return S_OK;
        }

    private:
        HRESULT Unexpected(int slot) {
            filter_->Record("Unused%d", slot);
            return E_NOTIMPL;
        }
        CStandinFilter* filter_;
    };

    TextMix m_textMix{this};
    CLSID m_clsid;
    int m_instance;
    bool m_rotate;
    StandinParamsOwner* m_params;   // the layout object, owned
};

// Makes the parameter object of clsid's layout for filter.
StandinParamsOwner* CreateStandinParams(CStandinFilter* filter, REFCLSID clsid, bool* rotate);
