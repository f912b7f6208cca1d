// Compiled with AVX2 enabled; only called where the processor has it.
#include "cube_cells_avx2.h"

#include "cube_walk_avx2.h"

namespace qel::imaging {

namespace {

inline __m256i Row(const ShuffleTable& table, int row) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table.rows[row])));
}

// One half of the table: with x = v - 128 half, row k answers where x - 16 k is 0..15 and the shuffle
// gives 0 where it went below 0, so the XOR of the difference rows up to the value's own row leaves
// that row's entry. Values of the other half give rubbish, which the caller drops.
inline __m256i LookupHalf(__m256i x, const ShuffleTable& table, int firstRow) {
    const __m256i sixteen = _mm256_set1_epi8(16);
    __m256i result = _mm256_shuffle_epi8(Row(table, firstRow), x);
#pragma GCC unroll 8
    for (int k = 1; k < 8; ++k) {
        x = _mm256_sub_epi8(x, sixteen);
        // Keep the running difference in its register: rewritten as v minus a constant per row, the
        // sixteen rows' lookups stay alive at once and spill.
        asm("" : "+x"(x));
        result = _mm256_xor_si256(result, _mm256_shuffle_epi8(Row(table, firstRow + k), x));
    }
    return result;
}

inline __m256i Lookup(__m256i v, const ShuffleTable& table) {
    const __m256i low = LookupHalf(v, table, 0);
    const __m256i high = LookupHalf(_mm256_xor_si256(v, _mm256_set1_epi8(static_cast<char>(0x80))), table, 8);
    return _mm256_blendv_epi8(low, high, v);
}

// Every byte of a pixel through its own table before the cube.
struct TablesFirst : avx2::CubeOnly {
    const ShuffleTable* tables;

    explicit TablesFirst(const ShuffleTable* before) : tables(before) {}
    void Planes(__m256i planes[3]) const {
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
            planes[c] = Lookup(planes[c], tables[c]);
        }
    }
};

} // namespace

void ApplyCubeCellsRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr,
                           const CubeCells& cells, const ShuffleTable* before) {
    if (before != nullptr) {
        avx2::WalkRow(in, nullptr, out, count, bgr, cells, TablesFirst(before));
    } else {
        avx2::WalkRow(in, nullptr, out, count, bgr, cells, avx2::CubeOnly());
    }
}

} // namespace qel::imaging
