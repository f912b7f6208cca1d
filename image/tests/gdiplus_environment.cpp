// GDI+ for the whole test program: the image library never starts it, its host does.
#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
