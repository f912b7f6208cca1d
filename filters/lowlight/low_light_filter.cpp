#include "low_light_filter.h"

#include "QelPluginIds.h"
#include "core/low_light_frame.h"

#include <new>

namespace {

class CLowLightKernel : public CStrengthKernel {
public:
    void SetStrength(int strength) override { m_frame.SetStrength(strength); }
    // Refused by the routines: the input goes out unchanged.
    bool Process(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout& layout) override {
        return m_frame.Process(source, target, layout);
    }

private:
    CLowLightFrame m_frame;
};

const StrengthPlugin kLowLight = {"Low light filter", &CLSID_QelFilter_LowLight, &CLSID_QelPage_LowLight,
                                  CLowLightFrame::kDefaultStrength, FrameStart::kEmpty};

} // namespace

CUnknown* CALLBACK CreateLowLightFilter(IUnknown* outer, HRESULT* hr) {
    return CStrengthFilter::Create(kLowLight, std::unique_ptr<CStrengthKernel>(new (std::nothrow) CLowLightKernel),
                                   outer, hr);
}
