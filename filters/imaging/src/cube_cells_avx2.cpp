// Compiled with AVX2 enabled; only called where the processor has it.
#include "cube_cells_avx2.h"

#include "byte_tables_avx2.h"
#include "cube_walk_avx2.h"

namespace qel::imaging {

namespace {

// Every byte of a pixel through its own table before the cube.
struct TablesFirst : avx2::CubeOnly {
    const ByteSlices* tables;

    explicit TablesFirst(const ByteSlices* before) : tables(before) {}
    void Planes(__m256i planes[3]) const {
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
            planes[c] = avx2::Lookup(tables[c], planes[c]);
        }
    }
};

} // namespace

void ApplyCubeCellsRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, bool bgr,
                           const CubeCells& cells, const ByteSlices* before) {
    if (before != nullptr) {
        avx2::WalkRow(in, nullptr, out, count, bgr, cells, TablesFirst(before));
    } else {
        avx2::WalkRow(in, nullptr, out, count, bgr, cells, avx2::CubeOnly());
    }
}

} // namespace qel::imaging
