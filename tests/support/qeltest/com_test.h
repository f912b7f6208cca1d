#pragma once
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

namespace qeltest {

// Test fixture with COM initialised (single-threaded apartment, as the program's UI thread) per test.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(SUCCEEDED(hr)) << "CoInitializeEx failed: 0x" << std::hex << hr;
        comInitialized_ = true;
    }
    void TearDown() override {
        if (comInitialized_)
            CoUninitialize();
    }

private:
    bool comInitialized_ = false;
};

} // namespace qeltest
