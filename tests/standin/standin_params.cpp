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
    explicit Logged(CStandinFilter* filter) : CQelParamsObject<Layout>(filter), s_(filter) {}
    IUnknown* Interface() override { return static_cast<Layout*>(this); }

    STDMETHODIMP Enable(BOOL on) override {
        s_->Record("Enable(%d)", on);
        return s_->CEffectFilterBase::Enable(on);
    }
    STDMETHODIMP SetEnable(BOOL on) override {
        s_->Record("SetEnable(%d)", on);
        return s_->CEffectFilterBase::Enable(on);
    }
    STDMETHODIMP GetEnable(int* on) override {
        s_->Record("GetEnable");
        return s_->GetEnable(on);
    }
    STDMETHODIMP AddRange(double start, double end) override {
        s_->Record("AddRange(%g,%g)", start, end);
        return s_->CEffectFilterBase::AddRange(start, end);
    }
    STDMETHODIMP AddRanges(const double* starts, const double* ends, int count) override {
        s_->Record("AddRanges(%d)", count);
        return s_->CEffectFilterBase::AddRanges(starts, ends, count);
    }
    STDMETHODIMP ClearRanges() override {
        s_->Record("ClearRanges");
        return s_->CEffectFilterBase::ClearRanges();
    }

protected:
    // A getter of one kept int.
    HRESULT Get(const char* name, int* out, int value) {
        s_->Record("%s", name);
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }
    CStandinFilter* s_;
};

class CommonParams : public Logged<IQelFilterParams> {
public:
    using Logged::Logged;
};

class StrengthParams : public Logged<IQelStrengthParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetStrength(int* v) override { return Get("GetStrength", v, s_->values.value[0]); }
    STDMETHODIMP SetStrength(int v) override {
        s_->Record("SetStrength(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
};

class ContrastBrightnessParams : public Logged<IQelContrastBrightnessParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetContrast(int* v) override { return Get("GetContrast", v, s_->values.value[0]); }
    STDMETHODIMP SetContrast(int v) override {
        s_->Record("SetContrast(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
    STDMETHODIMP GetBrightness(int* v) override { return Get("GetBrightness", v, s_->values.value[1]); }
    STDMETHODIMP SetBrightness(int v) override {
        s_->Record("SetBrightness(%d)", v);
        s_->values.value[1] = v;
        return S_OK;
    }
};

class DateTimeParams : public Logged<IQelDateTimeParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetColor(BYTE* red, BYTE* green, BYTE* blue) override {
        s_->Record("GetColor");
        *red = s_->values.red;
        *green = s_->values.green;
        *blue = s_->values.blue;
        return S_OK;
    }
    STDMETHODIMP SetColor(int red, int green, int blue) override {
        s_->Record("SetColor(%d,%d,%d)", red, green, blue);
        s_->values.red = static_cast<BYTE>(red);
        s_->values.green = static_cast<BYTE>(green);
        s_->values.blue = static_cast<BYTE>(blue);
        return S_OK;
    }
    STDMETHODIMP GetFont(LOGFONTA* font) override {
        s_->Record("GetFont");
        *font = s_->values.font;
        return S_OK;
    }
    STDMETHODIMP SetFont(const LOGFONTA* font) override {
        s_->Record("SetFont(%s,%ld)", font->lfFaceName, static_cast<long>(font->lfHeight));
        s_->values.font = *font;
        s_->values.font.lfEscapement = 0;
        s_->values.font.lfOrientation = 0;
        return S_OK;
    }
    STDMETHODIMP GetAlignment(int* alignment, int* padding) override {
        s_->Record("GetAlignment");
        *alignment = s_->values.alignment;
        *padding = s_->values.padding;
        return S_OK;
    }
    STDMETHODIMP SetAlignment(int alignment, int padding) override {
        s_->Record("SetAlignment(%d,%d)", alignment, padding);
        s_->values.alignment = alignment;
        s_->values.padding = padding;
        return S_OK;
    }
    STDMETHODIMP GetStartPosition(POINT* position) override {
        s_->Record("GetStartPosition");
        *position = s_->values.start;
        return S_OK;
    }
    STDMETHODIMP SetStartPosition(const POINT* position) override {
        s_->Record("SetStartPosition(%ld,%ld)", static_cast<long>(position->x), static_cast<long>(position->y));
        s_->values.start = *position;
        return S_OK;
    }
};

class DigitalZoomParams : public Logged<IQelDigitalZoomParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetZoom(int* v) override { return Get("GetZoom", v, s_->values.value[0]); }
    STDMETHODIMP SetZoom(int v) override {
        s_->Record("SetZoom(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
};

class SpecialEffectParams : public Logged<IQelSpecialEffectParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetStrength(int* v) override { return Get("GetStrength", v, s_->values.value[0]); }
    STDMETHODIMP SetStrength(int v) override {
        s_->Record("SetStrength(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
    STDMETHODIMP GetEffect(int* v) override { return Get("GetEffect", v, s_->values.value[1]); }
    STDMETHODIMP SetEffect(int v) override {
        s_->Record("SetEffect(%d)", v);
        s_->values.value[1] = v;
        return S_OK;
    }
};

class PhotoFrameParams : public Logged<IQelPhotoFrameParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetFramePath(wchar_t* path) override {
        s_->Record("GetFramePath");
        lstrcpynW(path, s_->values.path, kQelFramePathChars);
        return S_OK;
    }
    STDMETHODIMP SetFramePath(const wchar_t* path) override {
        s_->Record("SetFramePath(%s)", Ansi(path).c_str());
        lstrcpynW(s_->values.path, path ? path : L"", kQelFramePathChars);
        return S_OK;
    }
};

class FlipParams : public Logged<IQelFlipParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetValue(int* v) override { return Get("GetValue", v, s_->values.value[0]); }
    STDMETHODIMP SetValue(int v) override {
        s_->Record("SetValue(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
    STDMETHODIMP GetValue2(int* v) override { return Get("GetValue2", v, s_->values.value[1]); }
    STDMETHODIMP SetValue2(int v) override {
        s_->Record("SetValue2(%d)", v);
        s_->values.value[1] = v;
        return S_OK;
    }
};

class RotateParams : public Logged<IQelRotateParams> {
public:
    using Logged::Logged;
    STDMETHODIMP GetValue(int* v) override { return Get("GetValue", v, s_->values.value[0]); }
    STDMETHODIMP SetValue(int v) override {
        s_->Record("SetValue(%d)", v);
        s_->values.value[0] = v;
        return S_OK;
    }
    STDMETHODIMP GetValue2(int* v) override { return Get("GetValue2", v, s_->values.value[1]); }
    STDMETHODIMP SetValue2(int v) override {
        s_->Record("SetValue2(%d)", v);
        s_->values.value[1] = v;
        return S_OK;
    }
    STDMETHODIMP SetMethod(int method) override {
        s_->Record("SetMethod(%d)", method);
        s_->values.method = method;
        return S_OK;
    }
    STDMETHODIMP GetMethod(int* method) override { return Get("GetMethod", method, s_->values.method); }
    STDMETHODIMP SetBackColor(COLORREF color) override {
        s_->Record("SetBackColor(0x%06lx)", static_cast<unsigned long>(color));
        s_->values.color = color;
        return S_OK;
    }
    STDMETHODIMP GetBackColor(COLORREF* color) override {
        s_->Record("GetBackColor");
        *color = s_->values.color;
        return S_OK;
    }
    STDMETHODIMP SetAngle(int degrees) override {
        s_->Record("SetAngle(%d)", degrees);
        s_->values.angle = degrees;
        return S_OK;
    }
    STDMETHODIMP GetAngle(int* degrees) override { return Get("GetAngle", degrees, s_->values.angle); }
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

