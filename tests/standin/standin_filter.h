#pragma once
// The stand-in plug-in: a pass-through effect filter that answers the parameter layout of the class
// ID it was created as and logs every parameter call, with what it was given, for the tests.
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
    } values;

    CCritSec* Lock() { return &m_filterLock; }

protected:
    REFIID ParamsIid() const override { return rotate_ ? IID_IQelRotateParams : IID_IQelFilterParams; }
    IUnknown* ParamsObject() override { return params_ ? params_->Interface() : nullptr; }

private:
    CLSID clsid_;
    int instance_;
    bool rotate_;
    StandinParamsOwner* params_;   // the layout object, owned
};

// Makes the parameter object of clsid's layout for filter.
StandinParamsOwner* CreateStandinParams(CStandinFilter* filter, REFCLSID clsid, bool* rotate);
