// Compiled with AVX-512 F, BW and VBMI enabled; only called where the processor has them.
#include "lut_avx512.h"

#include "byte_tables_avx512.h"

namespace qel::imaging::lut {

int ApplyByteTablesAvx512(const std::uint8_t* in, std::uint8_t* out, int count, const std::uint8_t* const tables[3]) {
    const avx512::ByteTable table[3] = {avx512::LoadTable(tables[0]), avx512::LoadTable(tables[1]),
                                        avx512::LoadTable(tables[2])};
    int done = 0;
    for (; done + 192 <= count; done += 192) {
        for (int j = 0; j < 3; ++j) {
            const __m512i index = _mm512_loadu_si512(in + done + 64 * j);
            __m512i mapped = avx512::Lookup(table[0], index);
            mapped = _mm512_mask_blend_epi8(avx512::kPixelByteMasks.ofByte[j][1], mapped, avx512::Lookup(table[1], index));
            mapped = _mm512_mask_blend_epi8(avx512::kPixelByteMasks.ofByte[j][2], mapped, avx512::Lookup(table[2], index));
            _mm512_storeu_si512(out + done + 64 * j, mapped);
        }
    }
    return done;
}

} // namespace qel::imaging::lut
