#pragma once
// What the processor offers beyond x86-64's SSE2, asked once: wider kernels run only where it is there,
// with the plain path beside them.
namespace qel::imaging {

bool CpuHasAvx2();

} // namespace qel::imaging
