#include "qelimaging/cpu_features.h"

namespace qel::imaging {

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = [] {
        // Static libraries may run before the runtime's own processor probe: ask for it explicitly.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

} // namespace qel::imaging
