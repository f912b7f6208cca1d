#include "whiteboard_filter.h"

#include "QelPluginIds.h"

#include "qelimaging/whiteboard.h"

#include <new>

namespace {

// The enhancement works in place on the input's copy (row padding included); it writes nothing when
// it fails, so the input then goes out unchanged.
class CWhiteboardKernel : public CStrengthKernel {
public:
    CWhiteboardKernel() {
        m_image.bytesPerPixel = 3;
        m_image.bitsPerChannel = 8;
        m_image.componentOrder = 1;
    }

    void SetStrength(int strength) override { m_settings.strength = strength; }

    bool Process(const BYTE*, BYTE* target, const qel::imaging::PixelLayout& layout) override {
        m_image.width = layout.width;
        m_image.height = layout.height;
        m_image.stride = layout.stride;
        m_image.source = target;
        m_image.destination = target;
        return qel::imaging::EnhanceWhiteboard(&m_image, &m_settings, nullptr) == qel::imaging::kWhiteboardOk;
    }

private:
    qel::imaging::WhiteboardImage m_image{};
    qel::imaging::WhiteboardParams m_settings{};
};

const StrengthPlugin kWhiteboard = {"Whiteboard filter", &CLSID_QelFilter_Whiteboard, &CLSID_QelPage_Whiteboard, 50,
                                    FrameStart::kCopyOfInput};

} // namespace

CUnknown* CALLBACK CreateWhiteboardFilter(IUnknown* outer, HRESULT* hr) {
    return CStrengthFilter::Create(kWhiteboard, std::unique_ptr<CStrengthKernel>(new (std::nothrow) CWhiteboardKernel),
                                   outer, hr);
}
