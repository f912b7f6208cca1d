#pragma once
// Whole 256-entry byte tables looked up 64 bytes at a time with the AVX-512 byte permutes, and 64 packed
// three-byte pixels split into three planes and joined again (include only from files compiled for
// AVX-512 F, BW and VBMI).
#include <immintrin.h>

#include <cstdint>

namespace qel::imaging::avx512 {

// A table in four registers of 64 entries.
struct ByteTable {
    __m512i part[4];
};

inline ByteTable LoadTable(const std::uint8_t table[256]) {
    ByteTable t;
    for (int k = 0; k < 4; ++k) {
        t.part[k] = _mm512_loadu_si512(table + 64 * k);
    }
    return t;
}

// Every byte of `index` through the table: the low seven bits pick within each half, the top bit the half.
inline __m512i Lookup(const ByteTable& t, __m512i index) {
    const __m512i low = _mm512_permutex2var_epi8(t.part[0], index, t.part[1]);
    const __m512i high = _mm512_permutex2var_epi8(t.part[2], index, t.part[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
}

// The same lookup straight from memory, for tables that change from one lookup to the next; `high` is
// the top bit of every index byte (_mm512_movepi8_mask), shared by lookups of the same indices.
inline __m512i LookupAt(const std::uint8_t table[256], __m512i index, __mmask64 high) {
    const __m512i low = _mm512_permutex2var_epi8(_mm512_loadu_si512(table), index, _mm512_loadu_si512(table + 64));
    const __m512i top =
        _mm512_permutex2var_epi8(_mm512_loadu_si512(table + 128), index, _mm512_loadu_si512(table + 192));
    return _mm512_mask_blend_epi8(high, low, top);
}

// Bit m of `ofByte[j][c]` is set where byte m of register j of 64 packed pixels (192 bytes) is component
// c of its pixel.
struct PixelByteMasks {
    std::uint64_t ofByte[3][3] = {};

    constexpr PixelByteMasks() {
        for (int j = 0; j < 3; ++j) {
            for (int m = 0; m < 64; ++m) {
                ofByte[j][(64 * j + m) % 3] |= std::uint64_t{1} << m;
            }
        }
    }
};

inline constexpr PixelByteMasks kPixelByteMasks{};

// The permutes that split 64 packed pixels into planes of one component and join them back, built once
// at compile time (rows call them afresh).
struct PlaneIndices {
    std::uint8_t split[3][64];     // byte of component c of pixel i within the first 128 bytes
    std::uint8_t splitLate[3][64]; // the same within the last 128 bytes
    std::uint64_t late[3] = {};    // pixels whose component c lies in the last 64 bytes
    std::uint8_t join[3][64];      // register j from planes 0 and 1
    std::uint8_t joinThird[3][64]; // and from plane 2
    std::uint64_t fromThird[3] = {};

    constexpr PlaneIndices() : split{}, splitLate{}, join{}, joinThird{} {
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 64; ++i) {
                const int at = 3 * i + c;
                split[c][i] = static_cast<std::uint8_t>(at & 127);
                splitLate[c][i] = static_cast<std::uint8_t>((at - 64) & 127);
                if (at >= 128) {
                    late[c] |= std::uint64_t{1} << i;
                }
            }
        }
        for (int j = 0; j < 3; ++j) {
            for (int m = 0; m < 64; ++m) {
                const int at = 64 * j + m;
                const int pixel = at / 3, c = at % 3;
                join[j][m] = static_cast<std::uint8_t>(c == 1 ? 64 + pixel : pixel);
                joinThird[j][m] = static_cast<std::uint8_t>(pixel);
                if (c == 2) {
                    fromThird[j] |= std::uint64_t{1} << m;
                }
            }
        }
    }
};

inline constexpr PlaneIndices kPlaneIndices{};

// 192 bytes at `pixels` into plane[c] (byte i: component c of pixel i).
inline void Split(const std::uint8_t* pixels, __m512i plane[3]) {
    const __m512i a = _mm512_loadu_si512(pixels);
    const __m512i b = _mm512_loadu_si512(pixels + 64);
    const __m512i c = _mm512_loadu_si512(pixels + 128);
    for (int k = 0; k < 3; ++k) {
        const __m512i early = _mm512_permutex2var_epi8(a, _mm512_loadu_si512(kPlaneIndices.split[k]), b);
        const __m512i late = _mm512_permutex2var_epi8(b, _mm512_loadu_si512(kPlaneIndices.splitLate[k]), c);
        plane[k] = _mm512_mask_blend_epi8(kPlaneIndices.late[k], early, late);
    }
}

// The three planes back into 192 packed bytes at `pixels`.
inline void Join(const __m512i plane[3], std::uint8_t* pixels) {
    for (int j = 0; j < 3; ++j) {
        const __m512i twoOfThree =
            _mm512_permutex2var_epi8(plane[0], _mm512_loadu_si512(kPlaneIndices.join[j]), plane[1]);
        const __m512i all = _mm512_mask_permutexvar_epi8(twoOfThree, kPlaneIndices.fromThird[j],
                                                         _mm512_loadu_si512(kPlaneIndices.joinThird[j]), plane[2]);
        _mm512_storeu_si512(pixels + 64 * j, all);
    }
}

} // namespace qel::imaging::avx512
