#include "date_time_filter.h"

#include "QelPluginIds.h"
#include "core/stamp_text.h"

#include <cstring>
#include <ctime>
#include <new>

CDateTimeFilter::Settings CDateTimeFilter::DefaultSettings() {
    Settings settings;
    std::memset(&settings.font, 0, sizeof settings.font);
    settings.font.lfHeight = -12;
    std::strcpy(settings.font.lfFaceName, "Tahoma");
    return settings;  // white, at start position (0, 0), padding 1
}

CDateTimeFilter::CDateTimeFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Date and time filter", outer, CLSID_QelFilter_DateTime, &CLSID_QelPage_DateTime,
                        SamplePropertyCopy::kAll, FrameStart::kCopyOfInput, hr) {}

CDateTimeFilter::~CDateTimeFilter() { CDateTimeFilter::ReleaseBuffers(); }

void CDateTimeFilter::ReleaseBuffers() {
    m_renderer.Reset();
    CEffectFilterBase::ReleaseBuffers();
}

HRESULT CDateTimeFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    const HRESULT hr = CEffectFilterBase::SetMediaType(direction, type);
    if (FAILED(hr) || direction != PINDIR_INPUT)
        return hr;
    if (!InputPin() || !InputPin()->IsConnected() || type->formattype != FORMAT_VideoInfo)
        return E_FAIL;
    // Only RGB24 is ever accepted; any other pixel size draws nothing.
    m_format = FrameLayout();
    if (type->subtype != MEDIASUBTYPE_RGB24)
        m_format.channels = 0;
    m_renderer.Reset();
    // Every new connection puts the stamp at the bottom right, 5 pixels in.
    CAutoLock lock(&m_filterLock);
    m_settings.Update([](Settings& s) {
        s.stamp.layout.alignment = kStampBottomRight;
        s.stamp.layout.paddingX = 5;
        s.stamp.layout.paddingY = 5;
    });
    return S_OK;
}

bool CDateTimeFilter::ProcessFrame(const BYTE*, BYTE* target, const qel::imaging::PixelLayout&) {
    // The stamp is drawn over the input's copy.
    const size_t bytes = FrameBytes();
    const std::time_t now = std::time(nullptr);
    const std::string text = FormatStampText(std::localtime(&now));  // no time: no text, nothing drawn
    const Settings settings = m_settings.Get();
    m_rasteriser.SetFont(settings.font);
    if (m_renderer.Draw(target, bytes, m_format, text, settings.stamp, m_rasteriser) &&
        settings.stamp.layout.alignment != kStampAtStartPosition) {
        // The start position reports the last aligned place, unless a setter has moved on meanwhile.
        const StampPoint place = m_renderer.LastPlace();
        m_settings.Update([&](Settings& s) {
            if (s.stamp.layout.alignment == settings.stamp.layout.alignment)
                s.stamp.layout.start = place;
        });
    }
    return true;
}

HRESULT CDateTimeFilter::GetColor(BYTE* red, BYTE* green, BYTE* blue) {
    if (!red || !green || !blue)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    const StampColour colour = m_settings.Get().stamp.colour;
    *red = colour.red;
    *green = colour.green;
    *blue = colour.blue;
    return S_OK;
}

HRESULT CDateTimeFilter::SetColor(int red, int green, int blue) {
    CAutoLock lock(&m_filterLock);
    m_settings.Update([&](Settings& s) {
        s.stamp.colour = StampColour{static_cast<uint8_t>(red & 0xFF), static_cast<uint8_t>(green & 0xFF),
                                     static_cast<uint8_t>(blue & 0xFF)};
    });
    MarkChanged();
    return S_OK;
}

HRESULT CDateTimeFilter::GetFont(LOGFONTA* font) {
    if (!font)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *font = m_settings.Get().font;
    return S_OK;
}

HRESULT CDateTimeFilter::SetFont(const LOGFONTA* font) {
    if (!font)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    m_settings.Update([&](Settings& s) {
        s.font = *font;
        s.font.lfEscapement = 0;
        s.font.lfOrientation = 0;
        ++s.stamp.fontRevision;
    });
    MarkChanged();
    return S_OK;
}

HRESULT CDateTimeFilter::GetAlignment(int* alignment, int* padding) {
    if (!alignment || !padding)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    const StampLayout layout = m_settings.Get().stamp.layout;
    *alignment = layout.alignment;
    *padding = layout.paddingX;
    return S_OK;
}

HRESULT CDateTimeFilter::SetAlignment(int alignment, int padding) {
    CAutoLock lock(&m_filterLock);
    m_settings.Update([&](Settings& s) {
        s.stamp.layout.alignment = alignment;
        s.stamp.layout.paddingX = padding;
        s.stamp.layout.paddingY = padding;
    });
    MarkChanged();
    return S_OK;
}

HRESULT CDateTimeFilter::GetStartPosition(POINT* position) {
    if (!position)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    const StampPoint start = m_settings.Get().stamp.layout.start;
    position->x = start.x;
    position->y = start.y;
    return S_OK;
}

HRESULT CDateTimeFilter::SetStartPosition(const POINT* position) {
    if (!position)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    m_settings.Update([&](Settings& s) {
        s.stamp.layout.start = StampPoint{static_cast<int>(position->x), static_cast<int>(position->y)};
        s.stamp.layout.alignment = kStampAtStartPosition;
    });
    MarkChanged();
    return S_OK;
}
