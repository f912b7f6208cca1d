#pragma once
// What the processor offers beyond x86-64's SSE2, asked once: wider kernels run only where it is there,
// with the plain path beside them.
namespace qel::imaging {

bool CpuHasAvx2();

// AVX-512 with byte and word operations and the byte permutes (F, BW, VBMI): whole 256-entry byte tables
// looked up 64 bytes at a time.
bool CpuHasAvx512Vbmi();

// The widest kernels allowed to run, so that one machine can check every path against the plain one.
enum class WideKernels { None, Avx2, Avx512Vbmi };

// Process-wide; the default allows everything the processor has. For tests.
void LimitWideKernels(WideKernels widest);

} // namespace qel::imaging
