#include "auto_correct_filter.h"

#include "QelPluginIds.h"

#include "qelimaging/auto_tone.h"

#include <memory>
#include <new>

using qel::imaging::AutoCorrection;

namespace {

// Corrects the input's copy in place (row padding included); a frame the routine refuses is left as
// that copy.
class CAutoCorrectKernel : public CStrengthKernel {
public:
    explicit CAutoCorrectKernel(AutoCorrection correction) : m_correction(correction) {}

    void SetStrength(int strength) override { m_strength = strength; }

    bool Process(const BYTE*, BYTE* target, const qel::imaging::PixelLayout& layout) override {
        if (m_correction == AutoCorrection::Enhance && !m_kept) {
            // Without room for the kept tables the frame is still corrected, only more slowly.
            m_kept.reset(new (std::nothrow) qel::imaging::EnhanceTables);
        }
        return qel::imaging::AutoCorrectFrame(target, target, layout, m_strength, m_correction, m_kept.get());
    }

private:
    const AutoCorrection m_correction;
    int m_strength = 0;
    std::unique_ptr<qel::imaging::EnhanceTables> m_kept; // the enhance cube from frame to frame
};

const StrengthPlugin kAutoTone = {"Auto tone filter", &CLSID_QelFilter_AutoTone, &CLSID_QelPage_AutoTone, 50,
                                  FrameStart::kCopyOfInput};
const StrengthPlugin kAutoEnhance = {"Auto enhance filter", &CLSID_QelFilter_AutoEnhance,
                                     &CLSID_QelPage_AutoEnhance, 50, FrameStart::kCopyOfInput};

} // namespace

CUnknown* CALLBACK CreateAutoToneFilter(IUnknown* outer, HRESULT* hr) {
    return CStrengthFilter::Create(
        kAutoTone, std::unique_ptr<CStrengthKernel>(new (std::nothrow) CAutoCorrectKernel(AutoCorrection::Tone)), outer,
        hr);
}

CUnknown* CALLBACK CreateAutoEnhanceFilter(IUnknown* outer, HRESULT* hr) {
    return CStrengthFilter::Create(
        kAutoEnhance, std::unique_ptr<CStrengthKernel>(new (std::nothrow) CAutoCorrectKernel(AutoCorrection::Enhance)),
        outer, hr);
}
