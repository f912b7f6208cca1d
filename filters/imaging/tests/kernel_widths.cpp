#include "kernel_widths.h"

#include "qelimaging/cpu_features.h"

#include <gtest/gtest.h>

#include <iostream>

namespace qel::testing {

using imaging::CpuHasAvx2;
using imaging::CpuHasAvx512Vbmi;
using imaging::LimitWideKernels;
using imaging::WideKernels;

void ForEveryKernelWidth(const std::function<void()>& check) {
    struct Width {
        WideKernels level;
        const char* name;
        bool (*available)();
    };
    const Width widths[] = {{WideKernels::None, "plain", [] { return true; }},
                            {WideKernels::Avx2, "AVX2", CpuHasAvx2},
                            {WideKernels::Avx512Vbmi, "AVX-512 VBMI", CpuHasAvx512Vbmi}};
    for (const Width& width : widths) {
        LimitWideKernels(WideKernels::Avx512Vbmi);
        if (!width.available()) {
            std::cout << "this processor has no " << width.name << ": that path is not checked here\n";
            continue;
        }
        LimitWideKernels(width.level);
        SCOPED_TRACE(width.name);
        check();
    }
    LimitWideKernels(WideKernels::Avx512Vbmi);
}

} // namespace qel::testing
