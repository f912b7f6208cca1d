#pragma once
#include <gtest/gtest.h>

namespace qeltest {

// Fails a test that hangs: if one test runs longer than its limit, the watchdog prints the
// test's name and ends the process with a failure code (a hung Wine process would stall CTest).
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    explicit Watchdog(unsigned defaultSeconds);
    ~Watchdog() override;

    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

    // Gives the running test a longer limit (for a test that legitimately waits on slow graphs).
    static void ExtendCurrentTest(unsigned seconds);

private:
    unsigned defaultSeconds_;
};

} // namespace qeltest
