// Compiled with AVX2 enabled; only called where the processor has it.
#include "colour_cube_avx2.h"

#include "rgb24_avx2.h"

namespace qel::imaging {

void PackCube(const ColourCube& cube, PackedCube& packed) {
    for (int n = 0; n < ColourCube::kNodes; ++n) {
        packed.nodes[n] = static_cast<std::uint32_t>(cube.nodes[n][0]) |
                          (static_cast<std::uint32_t>(cube.nodes[n][1]) << 8) |
                          (static_cast<std::uint32_t>(cube.nodes[n][2]) << 16);
    }
}

namespace {

// One axis of eight values: the node offset of the value's cell and its sort key (fraction << 16 |
// node step along the axis, the step 0 in the last cell), as the plain path forms them.
inline void Axis(__m256i value, int nodesPerCell, __m256i& offset, __m256i& key) {
    const __m256i cell = _mm256_srli_epi32(_mm256_sub_epi32(value, _mm256_srli_epi32(value, 4)), 4);
    const __m256i fraction = _mm256_sub_epi32(value, _mm256_mullo_epi16(cell, _mm256_set1_epi32(17)));
    const __m256i inner = _mm256_cmpgt_epi32(_mm256_set1_epi32(ColourCube::kSide - 1), cell);
    const __m256i step = _mm256_and_si256(inner, _mm256_set1_epi32(nodesPerCell));
    offset = _mm256_mullo_epi16(cell, _mm256_set1_epi32(nodesPerCell));
    key = _mm256_or_si256(_mm256_slli_epi32(fraction, 16), step);
}

// A weight 0..16 in both 16-bit halves of each lane.
inline __m256i Pair(__m256i weight) {
    return _mm256_or_si256(weight, _mm256_slli_epi32(weight, 16));
}

// The interpolated channels held in 16-bit lanes (mask picks them out of the packed node words):
// p0 + shift-form (w1 p1 + w2 p2 + w3 p3 - w0 p0) / 17, bounded to 0..255.
inline __m256i Channels(__m256i n0, __m256i n1, __m256i n2, __m256i n3, __m256i w0, __m256i w1, __m256i w2,
                        __m256i w3, __m256i mask) {
    const __m256i p0 = _mm256_and_si256(n0, mask);
    __m256i sum = _mm256_mullo_epi16(_mm256_and_si256(n1, mask), w1);
    sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(_mm256_and_si256(n2, mask), w2));
    sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(_mm256_and_si256(n3, mask), w3));
    sum = _mm256_sub_epi16(sum, _mm256_mullo_epi16(p0, w0));
    const __m256i quotient = _mm256_srai_epi16(_mm256_sub_epi16(sum, _mm256_srai_epi16(sum, 4)), 4);
    const __m256i value = _mm256_add_epi16(p0, quotient);
    return _mm256_min_epi16(_mm256_max_epi16(value, _mm256_setzero_si256()), _mm256_set1_epi16(255));
}

} // namespace

int ApplyCubeRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr, const PackedCube& cube,
                     const std::int32_t* after) {
    const int red = bgr ? 2 : 0;
    const int blue = bgr ? 0 : 2;
    const __m256i takeRed = avx2::TakeByte(red);
    const __m256i takeGreen = avx2::TakeByte(1);
    const __m256i takeBlue = avx2::TakeByte(blue);
    const __m256i redBlue = _mm256_set1_epi32(0x00FF00FF);
    const __m256i green = _mm256_set1_epi32(0x0000FF00);
    const __m256i low16 = _mm256_set1_epi32(0xFFFF);
    const int* nodes = reinterpret_cast<const int*>(cube.nodes);

    int done = 0;
    // Each group loads 32 bytes for its 24: eleven pixels must remain.
    for (; done + 11 <= count; done += 8) {
        const __m256i bytes = avx2::LoadEightPixels(in + 3 * done);
        __m256i rOffset, gOffset, bOffset, rKey, gKey, bKey;
        Axis(_mm256_shuffle_epi8(bytes, takeRed), 1, rOffset, rKey);
        Axis(_mm256_shuffle_epi8(bytes, takeGreen), ColourCube::kSide, gOffset, gKey);
        Axis(_mm256_shuffle_epi8(bytes, takeBlue), ColourCube::kSide * ColourCube::kSide, bOffset, bKey);
        const __m256i largestKey = _mm256_max_epi32(rKey, _mm256_max_epi32(gKey, bKey));
        const __m256i smallestKey = _mm256_min_epi32(rKey, _mm256_min_epi32(gKey, bKey));
        const __m256i keySum = _mm256_add_epi32(rKey, _mm256_add_epi32(gKey, bKey));
        const __m256i middleKey = _mm256_sub_epi32(_mm256_sub_epi32(keySum, largestKey), smallestKey);
        const __m256i largest = _mm256_srli_epi32(largestKey, 16);
        const __m256i middle = _mm256_srli_epi32(middleKey, 16);
        const __m256i smallest = _mm256_srli_epi32(smallestKey, 16);
        const __m256i allSteps = _mm256_and_si256(keySum, low16);
        const __m256i i0 = _mm256_add_epi32(rOffset, _mm256_add_epi32(gOffset, bOffset));
        const __m256i i1 = _mm256_add_epi32(i0, _mm256_and_si256(largestKey, low16));
        const __m256i i3 = _mm256_add_epi32(i0, allSteps);
        const __m256i i2 = _mm256_sub_epi32(i3, _mm256_and_si256(smallestKey, low16));
        const __m256i n0 = _mm256_i32gather_epi32(nodes, i0, 4);
        const __m256i n1 = _mm256_i32gather_epi32(nodes, i1, 4);
        const __m256i n2 = _mm256_i32gather_epi32(nodes, i2, 4);
        const __m256i n3 = _mm256_i32gather_epi32(nodes, i3, 4);
        const __m256i w0 = Pair(largest);
        const __m256i w1 = Pair(_mm256_sub_epi32(largest, middle));
        const __m256i w2 = Pair(_mm256_sub_epi32(middle, smallest));
        const __m256i w3 = Pair(smallest);
        const __m256i rb = Channels(n0, n1, n2, n3, w0, w1, w2, w3, redBlue);
        const __m256i g = Channels(_mm256_srli_epi32(n0, 8), _mm256_srli_epi32(n1, 8), _mm256_srli_epi32(n2, 8),
                                   _mm256_srli_epi32(n3, 8), w0, w1, w2, w3, redBlue);
        __m256i words;
        if (after == nullptr) {
            words = _mm256_or_si256(rb, _mm256_and_si256(_mm256_slli_epi32(g, 8), green));
        } else {
            const __m256i r = _mm256_i32gather_epi32(after, _mm256_and_si256(rb, low16), 4);
            const __m256i gg = _mm256_i32gather_epi32(after + 256, _mm256_and_si256(g, low16), 4);
            const __m256i bb = _mm256_i32gather_epi32(after + 512, _mm256_srli_epi32(rb, 16), 4);
            words = _mm256_or_si256(_mm256_or_si256(r, _mm256_slli_epi32(gg, 8)), _mm256_slli_epi32(bb, 16));
        }
        // The words hold red, green, blue in bytes 0, 1, 2: the pixel's red byte takes byte 0.
        avx2::StoreEightPixels(words, out + 3 * done, red, blue);
    }
    return done;
}

} // namespace qel::imaging
