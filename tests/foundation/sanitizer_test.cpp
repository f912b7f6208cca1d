// The native configuration exists to run the cores under the sanitizers: prove they are really on.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QEL_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_HAS_ASAN 1
#endif
#endif

TEST(NativeSanitizers, AddressSanitizerCatchesAReadPastTheEnd) {
#ifndef QEL_HAS_ASAN
    FAIL() << "the native tests are built without AddressSanitizer";
#else
    EXPECT_DEATH(
        {
            std::vector<unsigned char> row(33);
            volatile unsigned char* data = row.data();
            std::exit(data[row.size() + 16]);
        },
        "heap-buffer-overflow");
#endif
}

TEST(NativeSanitizers, UndefinedBehaviourSanitizerCatchesSignedOverflow) {
    EXPECT_DEATH(
        {
            volatile int big = INT_MAX;
            volatile int result = big + 1;
            std::exit(result == 0 ? 1 : 2);
        },
        "signed integer overflow");
}
