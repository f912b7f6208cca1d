// CImage colour reduction to 1, 4 and 8 bits with a nearest-colour lookup table.
#include "ImageObject.h"

#include <cstdlib>

#include "GdiplusAccess.h"
#include "ImageSupport.h"

using namespace Gdiplus;

namespace {

constexpr size_t kLutBytes = 32 * 32 * 32;

UINT PaletteEntriesFor(int format) {
    switch (format) {
    case PixelFormat1bppIndexed: return 2;
    case PixelFormat4bppIndexed: return 16;
    case PixelFormat8bppIndexed: return 256;
    default: return 0;
    }
}

} // namespace

BYTE CImage::FindNearestMatch0(int r, int g, int b) {
    if (!m_palette)
        return 0;
    UINT entries = PaletteEntriesFor(Format());
    // A palette shorter than the format allows is searched only as far as it goes.
    if (entries > m_palette->Count)
        entries = m_palette->Count;
    UINT best = 0;
    int minimum = 1000000;
    for (UINT i = 0; i < entries; ++i) {
        const Color entry(m_palette->Entries[i]);
        const int dr = r - entry.GetR();
        const int dg = g - entry.GetG();
        const int db = b - entry.GetB();
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < minimum) {
            minimum = d;
            best = i;
        }
        if (minimum < 50)
            break;
    }
    return static_cast<BYTE>(best);
}

BYTE CImage::FindNearestMatch(int r, int g, int b) {
    if (!m_lut)
        return 0;
    return m_lut[((r >> 3) << 10) + ((g >> 3) << 5) + (b >> 3)];
}

int CImage::CreateRGBLut() {
    const int bits = BitCount();
    if (bits <= 1 || bits > 8)
        return 0;
    if (!m_palette) {
        const INT bytes = GetPaletteSize();
        if (bytes <= 0)
            return 0;
        m_palette = static_cast<ColorPalette*>(std::malloc(static_cast<size_t>(bytes)));
        if (!m_palette)
            return 0;
        if (GetPalette(m_palette, bytes) != Ok) {
            std::free(m_palette);
            m_palette = nullptr;
            return 0;
        }
    }
    if (m_lut)
        return 1;
    m_lut = static_cast<BYTE*>(std::malloc(kLutBytes));
    if (!m_lut)
        return 0;
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j)
            for (int k = 0; k < 32; ++k)
                m_lut[(i << 10) + (j << 5) + k] = FindNearestMatch0(i << 3, j << 3, k << 3);
    return 1;
}

CImage* CImage::ReduceColor(int format) {
    if (PaletteEntriesFor(format) == 0 || !NativeImageOf(*this))
        return nullptr;
    const UINT width = Width();
    const UINT height = Height();
    CImage* reduced = NewLike(static_cast<int>(width), static_cast<int>(height), format);
    if (!reduced)
        return nullptr;
    // The 1-bit reduction thresholds grey and needs no table.
    if (format != PixelFormat1bppIndexed && !reduced->CreateRGBLut()) {
        delete reduced;
        return nullptr;
    }
    const Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    bool done = false;
    {
        BitsLock source(*this, all, ImageLockModeRead, PixelFormat24bppRGB);
        BitsLock target(*reduced, all, ImageLockModeRead | ImageLockModeWrite, format);
        if (source.Locked() && target.Locked()) {
            for (UINT y = 0; y < height; ++y) {
                const BYTE* in = source.Row(y);
                BYTE* out = target.Row(y);
                for (UINT x = 0; x < width; ++x) {
                    const int blue = in[3 * x];
                    const int green = in[3 * x + 1];
                    const int red = in[3 * x + 2];
                    if (format == PixelFormat1bppIndexed) {
                        const int grey = (77 * red + 151 * green + 28 * blue + 128) >> 8;
                        const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
                        out[x / 8] = static_cast<BYTE>((grey >> 7) ? (out[x / 8] | mask) : (out[x / 8] & ~mask));
                    } else if (format == PixelFormat4bppIndexed) {
                        const BYTE index = static_cast<BYTE>(reduced->FindNearestMatch(red, green, blue) & 0x0F);
                        out[x / 2] = (x % 2) ? static_cast<BYTE>((out[x / 2] & 0xF0) | index)
                                             : static_cast<BYTE>((out[x / 2] & 0x0F) | (index << 4));
                    } else {
                        out[x] = reduced->FindNearestMatch(red, green, blue);
                    }
                }
            }
            done = true;
        }
    }
    if (!done) {
        delete reduced;
        return nullptr;
    }
    return reduced;
}
