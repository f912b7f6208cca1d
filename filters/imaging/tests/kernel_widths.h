#pragma once
// Runs a check once for every kernel width the processor has, so that each wide path is compared with
// the plain one on the same machine.
#include <functional>

namespace qel::testing {

// Calls `check` with the kernels limited to the plain path, then AVX2, then AVX-512 (those the processor
// has; the others are named on the output as not checked here), and allows every width again after.
void ForEveryKernelWidth(const std::function<void()>& check);

} // namespace qel::testing
