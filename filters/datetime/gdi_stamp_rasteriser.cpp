#include "gdi_stamp_rasteriser.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/stamp_mask.h"

namespace {

constexpr UINT kDrawFlags = DT_EDITCONTROL | DT_NOPREFIX | DT_WORDBREAK;

// Each GDI object of one rendering, selected and released in reverse order whatever fails.
class ScopedMemoryDc {
public:
    ScopedMemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~ScopedMemoryDc() {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection() {
        if (previous_)
            SelectObject(dc_, previous_);
        if (object_)
            DeleteObject(object_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    bool ok() const { return object_ && previous_; }

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

int WidestLine(HDC dc, const std::string& text) {
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        SIZE extent{};
        if (end > start && GetTextExtentPoint32A(dc, text.c_str() + start, static_cast<int>(end - start), &extent))
            widest = std::max(widest, static_cast<int>(extent.cx));
        start = end + 2;
    }
    return widest;
}

bool MeasureBox(HDC dc, const std::string& text, int maxWidth, SIZE& box) {
    const int length = static_cast<int>(text.size());
    int width;
    if (text.find("\r\n") != std::string::npos) {
        width = std::min(WidestLine(dc, text), maxWidth);
    } else {
        SIZE extent{};
        if (!GetTextExtentPoint32A(dc, text.c_str(), length, &extent))
            return false;
        if (extent.cx < maxWidth) {
            box = extent;
            return box.cx > 0 && box.cy > 0;
        }
        width = maxWidth;
    }
    RECT rect{0, 0, width, 0};
    if (!DrawTextA(dc, text.c_str(), length, &rect, kDrawFlags | DT_CALCRECT))
        return false;
    box.cx = std::min<LONG>(rect.right - rect.left, maxWidth);
    box.cy = rect.bottom - rect.top;
    return box.cx > 0 && box.cy > 0;
}

}  // namespace

CGdiStampRasteriser::CGdiStampRasteriser() {
    std::memset(&font_, 0, sizeof font_);
    font_.lfHeight = -12;
    std::strcpy(font_.lfFaceName, "Tahoma");
}

void CGdiStampRasteriser::SetFont(const LOGFONTA& font) {
    font_ = font;
    font_.lfEscapement = 0;
    font_.lfOrientation = 0;
}

bool CGdiStampRasteriser::Rasterise(const std::string& text, int maxWidth, StampMask& mask) {
    mask = StampMask{};
    if (text.empty() || maxWidth <= 0)
        return false;
    ScopedMemoryDc dc;
    if (!dc.get())
        return false;
    ScopedSelection font(dc.get(), CreateFontIndirectA(&font_));
    if (!font.ok())
        return false;

    SIZE box{};
    if (!MeasureBox(dc.get(), text, maxWidth, box))
        return false;

    ScopedSelection bitmap(dc.get(), CreateBitmap(box.cx, box.cy, 1, 1, nullptr));
    if (!bitmap.ok())
        return false;
    RECT rect{0, 0, box.cx, box.cy};
    if (!PatBlt(dc.get(), 0, 0, box.cx, box.cy, BLACKNESS))
        return false;
    SetTextColor(dc.get(), RGB(255, 255, 255));
    SetBkMode(dc.get(), TRANSPARENT);
    if (!DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, kDrawFlags))
        return false;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = box.cx;
    info.header.biHeight = box.cy;  // bottom-up rows
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    const int rowStride = (box.cx + 31) / 32 * 4;
    std::vector<uint8_t> bits(static_cast<size_t>(rowStride) * static_cast<size_t>(box.cy));
    // GetDIBits wants the bitmap deselected.
    HBITMAP target = static_cast<HBITMAP>(GetCurrentObject(dc.get(), OBJ_BITMAP));
    HBITMAP spare = CreateBitmap(1, 1, 1, 1, nullptr);
    if (!spare)
        return false;
    SelectObject(dc.get(), spare);
    const int lines = GetDIBits(dc.get(), target, 0, static_cast<UINT>(box.cy), bits.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    SelectObject(dc.get(), target);
    DeleteObject(spare);
    if (lines != box.cy)
        return false;

    // The text was drawn white; should the colour table name white first, the set bits are the background.
    const bool whiteIsZero = info.colours[0].rgbRed == 255 && info.colours[1].rgbRed == 0;
    if (whiteIsZero)
        for (uint8_t& byte : bits)
            byte = static_cast<uint8_t>(~byte);
    return ExpandOneBitMask(bits.data(), box.cx, box.cy, rowStride, MaskRowOrder::BottomUp, mask);
}
