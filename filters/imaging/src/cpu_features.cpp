#include "qelimaging/cpu_features.h"

#include <atomic>

namespace qel::imaging {

namespace {

std::atomic<WideKernels> g_widest{WideKernels::Avx512Vbmi};

bool Allowed(WideKernels level) {
    return static_cast<int>(level) <= static_cast<int>(g_widest.load(std::memory_order_relaxed));
}

} // namespace

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = [] {
        // Static libraries may run before the runtime's own processor probe: ask for it explicitly.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has && Allowed(WideKernels::Avx2);
#else
    return false;
#endif
}

bool CpuHasAvx512Vbmi() {
#if defined(__x86_64__) || defined(__i386__)
    // The runtime's probe also asks the system whether it keeps the wide registers across switches.
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
               __builtin_cpu_supports("avx512vbmi") != 0;
    }();
    return has && Allowed(WideKernels::Avx512Vbmi);
#else
    return false;
#endif
}

void LimitWideKernels(WideKernels widest) {
    g_widest.store(widest, std::memory_order_relaxed);
}

} // namespace qel::imaging
