// The parameter layouts the stand-in answers, one per kind of plug-in, each logging its calls.
#include "standin_filter.h"

#include "QelPluginIds.h"

#include <string>

namespace {

std::string Ansi(const wchar_t* text) {
    if (!text)
        return "(null)";
    char buffer[600] = {0};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

// The common slots, logged, over any layout.
template <class Layout>
class Logged : public CQelParamsObject<Layout>, public StandinParamsOwner {
public:
    explicit Logged(CStandinFilter* filter) : CQelParamsObject<Layout>(filter), m_standin(filter) {}
    IUnknown* Interface() override { return static_cast<Layout*>(this); }

    STDMETHODIMP Enable(BOOL on) override {
        m_standin->Record("Enable(%d)", on);
        return m_standin->CEffectFilterBase::Enable(on);
    }
    STDMETHODIMP SetEnable(BOOL on) override {
        m_standin->Record("SetEnable(%d)", on);
        return m_standin->CEffectFilterBase::Enable(on);
    }
    STDMETHODIMP GetEnable(int* on) override {
        m_standin->Record("GetEnable");
        return m_standin->GetEnable(on);
    }
    STDMETHODIMP AddRange(double start, double end) override {
        m_standin->Record("AddRange(%g,%g)", start, end);
        return m_standin->CEffectFilterBase::AddRange(start, end);
    }
    STDMETHODIMP AddRanges(const double* starts, const double* ends, int count) override {
        m_standin->Record("AddRanges(%d)", count);
        return m_standin->CEffectFilterBase::AddRanges(starts, ends, count);
    }
    STDMETHODIMP ClearRanges() override {
        m_standin->Record("ClearRanges");
        return m_standin->CEffectFilterBase::ClearRanges();
    }

protected:
    // A getter of one kept int.
    HRESULT Get(const char* name, int* out, int value) {
        m_standin->Record("%s", name);
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }
    // A setter of one kept int, logged with what it was given.
    HRESULT Set(const char* name, int value, int& slot) {
        m_standin->Record("%s(%d)", name, value);
        slot = value;
        return S_OK;
    }
    CStandinFilter* m_standin;
};

class CommonParams : public Logged<IQelFilterParams> {
public:
    using Logged::Logged;
};

class StrengthParams : public Logged<IQelStrengthParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetStrength(int* v) override { return Get("GetStrength", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetStrength(int v) override { return Set("SetStrength", v, m_standin->m_values.value[0]); }
};

class ContrastBrightnessParams : public Logged<IQelContrastBrightnessParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetContrast(int* v) override { return Get("GetContrast", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetContrast(int v) override { return Set("SetContrast", v, m_standin->m_values.value[0]); }
    STDMETHODIMP GetBrightness(int* v) override { return Get("GetBrightness", v, m_standin->m_values.value[1]); }
    STDMETHODIMP SetBrightness(int v) override { return Set("SetBrightness", v, m_standin->m_values.value[1]); }
};

class DateTimeParams : public Logged<IQelDateTimeParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetColor(BYTE* red, BYTE* green, BYTE* blue) override {
        m_standin->Record("GetColor");
        *red = m_standin->m_values.red;
        *green = m_standin->m_values.green;
        *blue = m_standin->m_values.blue;
        return S_OK;
    }
    STDMETHODIMP SetColor(int red, int green, int blue) override {
        m_standin->Record("SetColor(%d,%d,%d)", red, green, blue);
        m_standin->m_values.red = static_cast<BYTE>(red);
        m_standin->m_values.green = static_cast<BYTE>(green);
        m_standin->m_values.blue = static_cast<BYTE>(blue);
        return S_OK;
    }
    STDMETHODIMP GetFont(LOGFONTA* font) override {
        m_standin->Record("GetFont");
        *font = m_standin->m_values.font;
        return S_OK;
    }
    STDMETHODIMP SetFont(const LOGFONTA* font) override {
        m_standin->Record("SetFont(%s,%ld)", font->lfFaceName, static_cast<long>(font->lfHeight));
        m_standin->m_values.font = *font;
        m_standin->m_values.font.lfEscapement = 0;
        m_standin->m_values.font.lfOrientation = 0;
        return S_OK;
    }
    STDMETHODIMP GetAlignment(int* alignment, int* padding) override {
        m_standin->Record("GetAlignment");
        *alignment = m_standin->m_values.alignment;
        *padding = m_standin->m_values.padding;
        return S_OK;
    }
    STDMETHODIMP SetAlignment(int alignment, int padding) override {
        m_standin->Record("SetAlignment(%d,%d)", alignment, padding);
        m_standin->m_values.alignment = alignment;
        m_standin->m_values.padding = padding;
        return S_OK;
    }
    STDMETHODIMP GetStartPosition(POINT* position) override {
        m_standin->Record("GetStartPosition");
        *position = m_standin->m_values.start;
        return S_OK;
    }
    STDMETHODIMP SetStartPosition(const POINT* position) override {
        m_standin->Record("SetStartPosition(%ld,%ld)", static_cast<long>(position->x), static_cast<long>(position->y));
        m_standin->m_values.start = *position;
        return S_OK;
    }
};

class DigitalZoomParams : public Logged<IQelDigitalZoomParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetZoom(int* v) override { return Get("GetZoom", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetZoom(int v) override { return Set("SetZoom", v, m_standin->m_values.value[0]); }
};

class SpecialEffectParams : public Logged<IQelSpecialEffectParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetStrength(int* v) override { return Get("GetStrength", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetStrength(int v) override { return Set("SetStrength", v, m_standin->m_values.value[0]); }
    STDMETHODIMP GetEffect(int* v) override { return Get("GetEffect", v, m_standin->m_values.value[1]); }
    STDMETHODIMP SetEffect(int v) override { return Set("SetEffect", v, m_standin->m_values.value[1]); }
};

class PhotoFrameParams : public Logged<IQelPhotoFrameParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetFramePath(wchar_t* path) override {
        m_standin->Record("GetFramePath");
        lstrcpynW(path, m_standin->m_values.path, kQelFramePathChars);
        return S_OK;
    }
    STDMETHODIMP SetFramePath(const wchar_t* path) override {
        m_standin->Record("SetFramePath(%s)", Ansi(path).c_str());
        lstrcpynW(m_standin->m_values.path, path ? path : L"", kQelFramePathChars);
        return S_OK;
    }
};

class FlipParams : public Logged<IQelFlipParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetValue(int* v) override { return Get("GetValue", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetValue(int v) override { return Set("SetValue", v, m_standin->m_values.value[0]); }
    STDMETHODIMP GetValue2(int* v) override { return Get("GetValue2", v, m_standin->m_values.value[1]); }
    STDMETHODIMP SetValue2(int v) override { return Set("SetValue2", v, m_standin->m_values.value[1]); }
};

class RotateParams : public Logged<IQelRotateParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetValue(int* v) override { return Get("GetValue", v, m_standin->m_values.value[0]); }
    STDMETHODIMP SetValue(int v) override { return Set("SetValue", v, m_standin->m_values.value[0]); }
    STDMETHODIMP GetValue2(int* v) override { return Get("GetValue2", v, m_standin->m_values.value[1]); }
    STDMETHODIMP SetValue2(int v) override { return Set("SetValue2", v, m_standin->m_values.value[1]); }
    STDMETHODIMP SetMethod(int method) override { return Set("SetMethod", method, m_standin->m_values.method); }
    STDMETHODIMP GetMethod(int* method) override { return Get("GetMethod", method, m_standin->m_values.method); }
    STDMETHODIMP SetBackColor(COLORREF color) override {
        m_standin->Record("SetBackColor(0x%06lx)", static_cast<unsigned long>(color));
        m_standin->m_values.color = color;
        return S_OK;
    }
    STDMETHODIMP GetBackColor(COLORREF* color) override {
        m_standin->Record("GetBackColor");
        *color = m_standin->m_values.color;
        return S_OK;
    }
    STDMETHODIMP SetAngle(int degrees) override { return Set("SetAngle", degrees, m_standin->m_values.angle); }
    STDMETHODIMP GetAngle(int* degrees) override { return Get("GetAngle", degrees, m_standin->m_values.angle); }
};

} // namespace

StandinParamsOwner* CreateStandinParams(CStandinFilter* filter, REFCLSID clsid, bool* rotate) {
    *rotate = false;
    if (clsid == CLSID_QelFilter_Whiteboard || clsid == CLSID_QelFilter_AutoTone ||
        clsid == CLSID_QelFilter_AutoEnhance || clsid == CLSID_QelFilter_LowLight)
        return new StrengthParams(filter);
    if (clsid == CLSID_QelFilter_ContrastBrightness)
        return new ContrastBrightnessParams(filter);
    if (clsid == CLSID_QelFilter_DateTime)
        return new DateTimeParams(filter);
    if (clsid == CLSID_QelFilter_DigitalZoom)
        return new DigitalZoomParams(filter);
    if (clsid == CLSID_QelFilter_SpecialEffect)
        return new SpecialEffectParams(filter);
    if (clsid == CLSID_QelFilter_PhotoFrame)
        return new PhotoFrameParams(filter);
    if (clsid == CLSID_QelFilter_Flip)
        return new FlipParams(filter);
    if (clsid == CLSID_QelFilter_Rotate) {
        *rotate = true;
        return new RotateParams(filter);
    }
    return new CommonParams(filter);
}

